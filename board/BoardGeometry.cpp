#include "board/BoardGeometry.h"

#include "base/TextNumbers.h"

#include <algorithm>
#include <cmath>

namespace {

// The constant the mapping has always used for pi. Angles come out about
// 0.05% larger than the true ones; the sector bounds below were fitted to
// the board picture with this very constant, so it must stay.
constexpr double MappingPi = 3.14;

double Squared(qint64 v)
{
    const double d = double(v);
    return d * d;
}

// The distance of an integer offset, computed in doubles so that no
// placement of the picture, however large, can overflow an integer.
qint64 RoundedLength(qint64 a, qint64 b)
{
    return RoundHalfEven(std::sqrt(Squared(a) + Squared(b)));
}

} // namespace

int SectorRowOf(qint64 number, bool* right)
{
    if (right)
        *right = true;
    if (number == BottomSector)
        return BottomRow;
    for (int row = 0; row < BottomRow; ++row) {
        if (SectorRows[std::size_t(row)].right == number)
            return row;
        if (SectorRows[std::size_t(row)].left == number) {
            if (right)
                *right = false;
            return row;
        }
    }
    return -1;
}

qint64 SectorOn(int row, bool right)
{
    if (row < 0 || row > BottomRow)
        return 0;
    if (row == BottomRow)
        return BottomSector;
    const SectorRow& r = SectorRows[std::size_t(row)];
    return right ? r.right : r.left;
}

double SectorMiddleAngle(int row)
{
    if (row <= 0)
        return 0;
    if (row >= BottomRow)
        return 180;
    return (SectorRows[std::size_t(row - 1)].bound + SectorRows[std::size_t(row)].bound) / 2;
}

BoardCircles CirclesOf(const BoardRect& image1)
{
    BoardCircles c;
    // The bull's centre sits 2 pixels (30 twips) right of the picture's
    // centre; that offset does not grow with the picture.
    c.cx = RoundHalfEven(image1.Width / 2 + image1.Left + 30);
    c.cy = RoundHalfEven(image1.Height / 2 + image1.Top);
    // The board radius depends on the height only.
    c.R = RoundHalfEven(image1.Height - image1.Height * 65.34 / 100);
    const double R = double(c.R);
    c.t1 = RoundHalfEven(R * 0.041509434);
    c.t2 = RoundHalfEven(R * 0.083018868);
    c.t3 = RoundHalfEven(R * 0.566037736);
    c.t4 = RoundHalfEven(R * 0.611320755);
    c.t5 = RoundHalfEven(R * 0.924528302);
    return c;
}

qint64 DartValue(QStringView label)
{
    if (label.startsWith(u'T'))
        return RoundHalfEven(3 * NumericValue(label.mid(1)));
    if (label.startsWith(u'D'))
        return RoundHalfEven(2 * NumericValue(label.mid(1)));
    return RoundHalfEven(NumericValue(label));
}

double ArcSin(double x)
{
    const double rest = 1 - x * x;
    // rest == 0 divides by zero, rest < 0 has no root, NaN is no number.
    if (!(rest > 0))
        return 0;
    const double result = std::atan(x / std::sqrt(rest));
    return std::isfinite(result) ? result : 0;
}

qint64 SectorNumber(double theta, qint64 aq, qint64 av)
{
    if (theta == 0)
        return av > 0 ? 3 : 20;
    // A point on the vertical line through the centre counts as left.
    const bool right = aq > 0;
    for (const SectorRow& row : SectorRows)
        if (theta <= row.bound)
            return right ? row.right : row.left;
    return BottomSector;
}

BoardBed BedAt(const BoardCircles& c, const BoardRect& image1, double X, double Y)
{
    const double px = image1.Left + X; // the point in window twips
    const double py = image1.Top + Y;

    const qint64 dx = RoundHalfEven(double(c.cx) - px);
    const qint64 dy = RoundHalfEven(double(c.cy) - py);
    const qint64 d = RoundedLength(dy, dx);

    BoardBed bed;
    if (d <= c.t1)
        bed.ring = BoardBed::Bull;
    else if (d <= c.t2)
        bed.ring = BoardBed::OuterBull;
    else if (d <= c.t3)
        bed.ring = BoardBed::Single;
    else if (d <= c.t4)
        bed.ring = BoardBed::Treble;
    else if (d <= c.t5)
        bed.ring = BoardBed::Single;
    else if (d <= c.R)
        bed.ring = BoardBed::Double;
    else
        bed.ring = BoardBed::Off;

    // The angle is measured by the chord from the top of the point's circle
    // to the point.
    const qint64 aq = RoundHalfEven(px - double(c.cx));
    const qint64 av = RoundHalfEven(py - (double(c.cy) - double(d)));
    const qint64 chord = RoundedLength(av, aq);

    if (chord == 0 && d == 0) {
        bed.ring = BoardBed::Bull;
    } else if (bed.ring == BoardBed::Single || bed.ring == BoardBed::Treble ||
               bed.ring == BoardBed::Double) {
        // Only a ring outside the outer bull gets here, so d is at least 1
        // for any sound placement; a degenerate one reads as the top.
        const double theta =
            d > 0 ? 2 * ArcSin(double(chord) / 2 / double(d)) * 180 / MappingPi : 0.0;
        bed.number = SectorNumber(theta, aq, av);
    }
    return bed;
}

QString LabelOf(const BoardBed& bed)
{
    switch (bed.ring) {
    case BoardBed::Off: return QStringLiteral("0");
    case BoardBed::Bull: return QStringLiteral("50");
    case BoardBed::OuterBull: return QStringLiteral("25");
    case BoardBed::Single: return QString::number(bed.number);
    case BoardBed::Treble: return u'T' + QString::number(bed.number);
    case BoardBed::Double: return u'D' + QString::number(bed.number);
    }
    return QStringLiteral("0");
}

DartHit HitAt(const BoardRect& image1, double X, double Y)
{
    const QString label = LabelOf(BedAt(CirclesOf(image1), image1, X, Y));
    return DartHit{label, DartValue(label)};
}

bool IsDartLabel(QStringView label)
{
    if (label == u"0" || label == u"25" || label == u"50")
        return true;
    QStringView number = label;
    if (label.startsWith(u'T') || label.startsWith(u'D'))
        number = label.mid(1);
    if (number.isEmpty() || number.size() > 2 || number.startsWith(u'0'))
        return false;
    for (QChar ch : number)
        if (ch < u'0' || ch > u'9')
            return false;
    const int n = number.toInt();
    return n >= 1 && n <= 20;
}

QPointF PointFor(const BoardRect& image1, const QString& label)
{
    const BoardCircles c = CirclesOf(image1);
    // The centre relative to the picture.
    const double ox = double(c.cx) - image1.Left;
    const double oy = double(c.cy) - image1.Top;

    if (!IsDartLabel(label) || label == u"0") {
        // Straight below the centre, halfway between the double ring and
        // the picture's bottom edge: off the board, yet on the picture.
        const double below = double(c.R) + std::max(1.0, (image1.Height / 2 - double(c.R)) / 2);
        return QPointF(ox, oy + below);
    }
    if (label == u"50")
        return QPointF(ox, oy);

    double radius = 0;
    qint64 number = 0;
    if (label == u"25") {
        radius = (double(c.t1) + double(c.t2)) / 2.0;
    } else if (label.startsWith(u'T')) {
        radius = (double(c.t3) + double(c.t4)) / 2.0;
        number = label.mid(1).toInt();
    } else if (label.startsWith(u'D')) {
        radius = (double(c.t5) + double(c.R)) / 2.0;
        number = label.mid(1).toInt();
    } else {
        // The outer single bed: the larger of the two single beds.
        radius = (double(c.t4) + double(c.t5)) / 2.0;
        number = label.toInt();
    }
    if (number == 0) // the outer bull: any direction will do
        return QPointF(ox, oy - radius);

    // 20 lies straight up and 3 straight down, where the sector spans both
    // halves; any other sector is aimed at the middle of its angle range,
    // converted back from the mapping's angle to a true angle.
    if (number == 20)
        return QPointF(ox, oy - radius);
    if (number == 3)
        return QPointF(ox, oy + radius);
    bool right = true;
    const double theta = SectorMiddleAngle(SectorRowOf(number, &right));
    const double angle = theta * MappingPi / 180; // true angle in radians
    const double side = right ? 1.0 : -1.0;
    return QPointF(ox + side * radius * std::sin(angle), oy - radius * std::cos(angle));
}

std::optional<QPointF> PointInside(const BoardRect& image1, const QString& label)
{
    const QPointF at = PointFor(image1, label);
    if (HitAt(image1, at.x(), at.y()).Label != label)
        return std::nullopt;
    return at;
}
