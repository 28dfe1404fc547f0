#include "base/TextNumbers.h"

#include <cmath>
#include <cstdio>
#include <limits>

qint64 RoundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    // Beyond the range of the widest field the program keeps, saturate rather
    // than wrap: a wrong sign would be worse than a capped figure.
    constexpr double limit = 9.2e18;
    if (value >= limit)
        return std::numeric_limits<qint64>::max();
    if (value <= -limit)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(std::nearbyint(value)); // default mode: ties to even
}

namespace {

struct Scan {
    double value = 0;
    qsizetype end = 0;      // index after the last character that belonged to the number
    bool anyDigit = false;
};

Scan scanNumber(QStringView text)
{
    Scan scan;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && (text[i] == u' ' || text[i] == u'\t'))
            ++i;
    };
    skipBlanks();
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Collect the digits into an ASCII buffer and let strtod do the exact
    // decimal conversion; blanks between digits are skipped as they are read.
    std::string digits;
    bool point = false;
    for (;;) {
        skipBlanks();
        if (i >= n)
            break;
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            digits.push_back(char(c.unicode()));
            scan.anyDigit = true;
        } else if (c == u'.' && !point) {
            point = true;
            digits.push_back('.');
        } else {
            break;
        }
        ++i;
        scan.end = i;
    }
    if (scan.anyDigit) {
        scan.value = std::strtod(digits.c_str(), nullptr);
        if (negative)
            scan.value = -scan.value;
    }
    return scan;
}

} // namespace

double NumericValue(QStringView text)
{
    return scanNumber(text).value;
}

std::optional<qint64> StrictInteger(QStringView text)
{
    const Scan scan = scanNumber(text);
    if (!scan.anyDigit)
        return std::nullopt;
    for (qsizetype i = scan.end; i < text.size(); ++i)
        if (text[i] != u' ' && text[i] != u'\t')
            return std::nullopt;
    return RoundHalfEven(scan.value);
}

static QString generalText(double value, int significant)
{
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, value);
    // buffer: [-]d.ddddde[+-]xx ; rebuild it positionally without an exponent.
    QString s = QString::fromLatin1(buffer);
    const qsizetype e = s.indexOf(u'e');
    const int exponent = s.mid(e + 1).toInt();
    QString mantissa = s.left(e);
    const bool negative = mantissa.startsWith(u'-');
    if (negative)
        mantissa.remove(0, 1);
    mantissa.remove(u'.');
    while (mantissa.size() > 1 && mantissa.endsWith(u'0'))
        mantissa.chop(1);
    QString out;
    if (exponent < 0) {
        out = QStringLiteral("0.") + QString(-exponent - 1, u'0') + mantissa;
    } else if (exponent + 1 >= mantissa.size()) {
        out = mantissa + QString(exponent + 1 - mantissa.size(), u'0');
    } else {
        out = mantissa.left(exponent + 1) + u'.' + mantissa.mid(exponent + 1);
    }
    return negative ? u'-' + out : out;
}

QString NumberText(double value)
{
    return generalText(value, 15);
}

QString NumberText(qint64 value)
{
    return QString::number(value);
}

QString SingleText(double value)
{
    return generalText(double(float(value)), 7);
}

QString AverageText(double value)
{
    const qint64 hundredths = RoundHalfEven(value * 100.0);
    const bool negative = hundredths < 0;
    const quint64 magnitude = negative ? quint64(-(hundredths + 1)) + 1 : quint64(hundredths);
    QString whole = QString::number(magnitude / 100);
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
        whole.insert(at, u',');
    const QString cents = QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    return (negative ? QStringLiteral("-") : QString()) + whole + u'.' + cents;
}
