#include "match/Dart.h"

#include <array>

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
    // Made once and shared: showing a dart or taking it back copies a label
    // without allocating.
    static const std::array<QString, 63> labels = [] {
        std::array<QString, 63> made;
        made[0] = QStringLiteral("0");
        for (int n = 1; n <= 20; ++n) {
            made[std::size_t(n)] = QString::number(n);
            made[std::size_t(20 + n)] = u'D' + QString::number(n);
            made[std::size_t(40 + n)] = u'T' + QString::number(n);
        }
        made[61] = QStringLiteral("25");
        made[62] = QStringLiteral("50");
        return made;
    }();
    // The named constructors take any number; only 1..20 is on the board.
    if ((bed_ == Bed::Single || bed_ == Bed::Double || bed_ == Bed::Treble) && (number_ < 1 || number_ > 20)) {
        const QString prefix = bed_ == Bed::Double ? QStringLiteral("D") : bed_ == Bed::Treble ? QStringLiteral("T") : QString();
        return prefix + QString::number(number_);
    }
    switch (bed_) {
    case Bed::Single: return labels[std::size_t(number_)];
    case Bed::Double: return labels[std::size_t(20 + number_)];
    case Bed::Treble: return labels[std::size_t(40 + number_)];
    case Bed::OuterBull: return labels[61];
    case Bed::Bull: return labels[62];
    case Bed::Miss: break;
    }
    return labels[0];
}

} // namespace match
