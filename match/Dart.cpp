#include "match/Dart.h"

namespace match {

std::optional<Dart> Dart::fromLabel(QStringView label)
{
    if (label == u"0")
        return Dart::miss();
    if (label == u"25")
        return Dart::outerBull();
    if (label == u"50")
        return Dart::bull();

    Bed bed = Bed::Single;
    QStringView digits = label;
    if (label.startsWith(u'D')) {
        bed = Bed::Double;
        digits = label.mid(1);
    } else if (label.startsWith(u'T')) {
        bed = Bed::Treble;
        digits = label.mid(1);
    }
    // One or two digits without a leading zero: "5" and "20", never "05".
    if (digits.isEmpty() || digits.size() > 2 || digits.front() == u'0')
        return std::nullopt;
    int n = 0;
    for (QChar ch : digits) {
        if (ch < u'0' || ch > u'9')
            return std::nullopt;
        n = n * 10 + (ch.unicode() - u'0');
    }
    if (n < 1 || n > 20)
        return std::nullopt;
    return Dart(bed, n);
}

QString Dart::label() const
{
    switch (bed_) {
    case Bed::Single: return QString::number(number_);
    case Bed::Double: return u'D' + QString::number(number_);
    case Bed::Treble: return u'T' + QString::number(number_);
    case Bed::OuterBull: return QStringLiteral("25");
    case Bed::Bull: return QStringLiteral("50");
    case Bed::Miss: break;
    }
    return QStringLiteral("0");
}

} // namespace match
