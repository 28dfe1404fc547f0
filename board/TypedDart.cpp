#include "board/TypedDart.h"

namespace {

TypedDart Label(const QString& label)
{
    return TypedDart{label, QString()};
}

TypedDart Hint(const QString& hint)
{
    return TypedDart{QString(), hint};
}

// A number as typed: digits only, no sign, no leading zero (a "020" is
// more likely a slip than a 20), at most three of them; -1 otherwise.
int Number(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 3 || (digits.size() > 1 && digits.front() == u'0'))
        return -1;
    int n = 0;
    for (QChar ch : digits) {
        if (ch < u'0' || ch > u'9')
            return -1;
        n = n * 10 + (ch.unicode() - u'0');
    }
    return n;
}

} // namespace

TypedDart ReadTypedDart(QStringView typed)
{
    const QString text = typed.trimmed().toString().toUpper();
    if (text.isEmpty())
        return Hint(QStringLiteral("Type a dart"));
    if (text == u"M" || text == u"MISS")
        return Label(QStringLiteral("0"));
    if (text == u"BULL")
        return Label(QStringLiteral("50"));

    const QChar ring = text.front();
    if (ring == u'T' || ring == u'D' || ring == u'S') {
        const QStringView digits = QStringView(text).mid(1);
        const int n = Number(digits);
        if (n < 0)
            return Hint(QStringLiteral("Not a dart"));
        const bool sector = n >= 1 && n <= 20;
        if (ring == u'T')
            return sector ? Label(text) : Hint(QStringLiteral("No treble %1").arg(n));
        if (ring == u'D') {
            if (n == 25)
                return Label(QStringLiteral("50"));
            return sector ? Label(text) : Hint(QStringLiteral("No double %1").arg(n));
        }
        if (sector || n == 25)
            return Label(QString::number(n));
        return Hint(QStringLiteral("No single %1").arg(n));
    }

    const int n = Number(text);
    if (n < 0)
        return Hint(QStringLiteral("Not a dart"));
    if (n <= 20 || n == 25 || n == 50)
        return Label(QString::number(n));
    return Hint(QStringLiteral("No single %1").arg(n));
}
