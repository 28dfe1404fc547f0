// The board mapping: circles from the picture's placement, rings, sectors,
// labels and scores, and the points the driver aims at for a label.
#include "board/BoardGeometry.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

const BoardRect Design{2040, -120, 7650, 7650};
const BoardRect Double{0, 0, 15300, 15300};

QStringList AllLabels()
{
    QStringList labels{QStringLiteral("0"), QStringLiteral("25"), QStringLiteral("50")};
    for (int n = 1; n <= 20; ++n) {
        labels << QString::number(n) << QStringLiteral("T%1").arg(n)
               << QStringLiteral("D%1").arg(n);
    }
    return labels;
}

} // namespace

class BoardTest : public QObject {
    Q_OBJECT
private slots:
    void circles();
    void hits_data();
    void hits();
    void ringEdges_data();
    void ringEdges();
    void sectorBounds();
    void sweepVisitsSectorsInBoardOrder();
    void arcSin();
    void dartValue_data();
    void dartValue();
    void dartLabels();
    void pointForEveryLabel_data();
    void pointForEveryLabel();
    void degenerateGeometryStaysSound();
};

void BoardTest::circles()
{
    const BoardCircles d = CirclesOf(Design);
    QCOMPARE(d.cx, 5895);
    QCOMPARE(d.cy, 3705);
    QCOMPARE(d.R, 2651);
    QCOMPARE(d.t1, 110);
    QCOMPARE(d.t2, 220);
    QCOMPARE(d.t3, 1501);
    QCOMPARE(d.t4, 1621);
    QCOMPARE(d.t5, 2451);

    // Twice the size: the circles scale, the 30-twip offset does not.
    const BoardCircles b = CirclesOf(Double);
    QCOMPARE(b.cx, 7680);
    QCOMPARE(b.cy, 7650);
    QCOMPARE(b.R, 5303);
    QCOMPARE(b.t1, 220);
    QCOMPARE(b.t2, 440);
    QCOMPARE(b.t3, 3002);
    QCOMPARE(b.t4, 3242);
    QCOMPARE(b.t5, 4903);

    // Half a twip rounds to the even neighbour.
    QCOMPARE(CirclesOf(BoardRect{2040, -120, 7649, 7650}).cx, 5894);
    QCOMPARE(CirclesOf(BoardRect{2040, -120, 7651, 7650}).cx, 5896);
    QCOMPARE(CirclesOf(BoardRect{2040, -120.5, 7650, 7650}).cy, 3704);
    QCOMPARE(CirclesOf(BoardRect{2040, -119.5, 7650, 7650}).cy, 3706);
    // The radius follows the height alone.
    QCOMPARE(CirclesOf(BoardRect{0, 0, 100, 3000}).R, 1040);
}

void BoardTest::hits_data()
{
    QTest::addColumn<BoardRect>("rect");
    QTest::addColumn<double>("X");
    QTest::addColumn<double>("Y");
    QTest::addColumn<QString>("label");
    QTest::addColumn<qint64>("score");

    QTest::newRow("centre") << Design << 3855.0 << 3825.0 << "50" << qint64(50);
    QTest::newRow("above, single") << Design << 3855.0 << 1825.0 << "20" << qint64(20);
    QTest::newRow("below, chord is the diameter")
        << Design << 3855.0 << 5375.0 << "T3" << qint64(9);
    QTest::newRow("right") << Design << 4855.0 << 3825.0 << "6" << qint64(6);
    QTest::newRow("left") << Design << 2855.0 << 3825.0 << "11" << qint64(11);
    QTest::newRow("double top") << Design << 3855.0 << 1225.0 << "D20" << qint64(40);
    QTest::newRow("off below") << Design << 3855.0 << 6525.0 << "0" << qint64(0);
    QTest::newRow("outer bull") << Design << 3855.0 << 3825.0 - 150 << "25" << qint64(25);
    QTest::newRow("inner single") << Design << 3855.0 + 500 << 3825.0 << "6" << qint64(6);
    QTest::newRow("far corner") << Design << 0.0 << 0.0 << "0" << qint64(0);

    // The same points at twice the size, measured from the moved centre.
    const double ox = 7680, oy = 7650;
    QTest::newRow("2x centre") << Double << ox << oy << "50" << qint64(50);
    QTest::newRow("2x above") << Double << ox << oy - 4000 << "20" << qint64(20);
    QTest::newRow("2x below treble") << Double << ox << oy + 3100 << "T3" << qint64(9);
    QTest::newRow("2x right") << Double << ox + 2000 << oy << "6" << qint64(6);
    QTest::newRow("2x left") << Double << ox - 2000 << oy << "11" << qint64(11);
    QTest::newRow("2x double top") << Double << ox << oy - 5200 << "D20" << qint64(40);
    QTest::newRow("2x off below") << Double << ox << oy + 5400 << "0" << qint64(0);
    QTest::newRow("2x treble right") << Double << ox + 3100 << oy << "T6" << qint64(18);
    QTest::newRow("2x double left") << Double << ox - 5200 << oy << "D11" << qint64(22);
}

void BoardTest::hits()
{
    QFETCH(BoardRect, rect);
    QFETCH(double, X);
    QFETCH(double, Y);
    QFETCH(QString, label);
    QFETCH(qint64, score);
    const DartHit hit = HitAt(rect, X, Y);
    QCOMPARE(hit.Label, label);
    QCOMPARE(hit.Score, score);
}

void BoardTest::ringEdges_data()
{
    // Straight above the centre at the design size: distance r.
    QTest::addColumn<double>("r");
    QTest::addColumn<QString>("label");
    const struct { double r; const char* label; } rows[] = {
        {110, "50"},  {111, "25"},  {220, "25"},    {221, "20"},   {1501, "20"},
        {1502, "T20"}, {1621, "T20"}, {1622, "20"}, {2451, "20"},  {2452, "D20"},
        {2651, "D20"}, {2652, "0"},
        // Half a twip past an even edge rounds back onto it.
        {110.5, "50"}, {220.5, "25"}, {2650.5, "D20"}, {2651.5, "0"}, {1620.5, "T20"},
    };
    for (const auto& row : rows)
        QTest::newRow(qPrintable(QStringLiteral("d=%1").arg(row.r))) << row.r << QString(row.label);
}

void BoardTest::ringEdges()
{
    QFETCH(double, r);
    QFETCH(QString, label);
    QCOMPARE(HitAt(Design, 3855, 3825 - r).Label, label);
}

void BoardTest::sectorBounds()
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct { double bound; qint64 right, left, nextRight, nextLeft; } rows[] = {
        {9.5, 20, 20, 1, 5},    {27.5, 1, 5, 18, 12},  {45.5, 18, 12, 4, 9},
        {63.5, 4, 9, 13, 14},   {81.5, 13, 14, 6, 11}, {98.5, 6, 11, 10, 8},
        {116, 10, 8, 15, 16},   {134.8, 15, 16, 2, 7}, {152, 2, 7, 17, 19},
        {171, 17, 19, 3, 3},
    };
    for (const auto& row : rows) {
        const double past = std::nextafter(row.bound, inf);
        QCOMPARE(SectorNumber(row.bound, 1, 5), row.right);
        QCOMPARE(SectorNumber(row.bound, -1, 5), row.left);
        QCOMPARE(SectorNumber(past, 1, 5), row.nextRight);
        QCOMPARE(SectorNumber(past, -1, 5), row.nextLeft);
    }
    // On the vertical line through the centre a point counts as left.
    QCOMPARE(SectorNumber(50, 0, 5), 9);
    QCOMPARE(SectorNumber(179, 0, 5), 3);
    // An angle of 0 is the top of the circle, or the bottom when the arcsine
    // failed: the drop below the top tells them apart.
    QCOMPARE(SectorNumber(0, 0, 0), 20);
    QCOMPARE(SectorNumber(0, 0, -1), 20);
    QCOMPARE(SectorNumber(0, 0, 1), 3);
    QCOMPARE(SectorNumber(0, 7, 3100), 3);
}

void BoardTest::sweepVisitsSectorsInBoardOrder()
{
    // Clockwise round the treble ring from 12 o'clock in tenths of a degree:
    // every sector is met once, in the order of the numbers round the board.
    // Right at a bound the rounded chord and distance may flicker between the
    // two neighbours for a step or two; such slivers are not sectors.
    const BoardCircles c = CirclesOf(Design);
    const double ox = c.cx - Design.Left, oy = c.cy - Design.Top;
    const double r = (c.t3 + c.t4) / 2.0;
    QList<QPair<qint64, int>> runs; // sector and how many steps it lasted
    for (int step = 0; step <= 3600; ++step) {
        const double a = step * std::numbers::pi / 1800;
        const DartHit hit = HitAt(Design, ox + r * std::sin(a), oy - r * std::cos(a));
        QVERIFY2(hit.Label.startsWith(u'T'), qPrintable(hit.Label));
        const qint64 n = hit.Label.mid(1).toLongLong();
        if (runs.isEmpty() || runs.last().first != n)
            runs.append({n, 0});
        ++runs.last().second;
    }
    QList<qint64> visited;
    for (const auto& [n, steps] : runs)
        if (steps > 3 && (visited.isEmpty() || visited.last() != n))
            visited << n;
    const QList<qint64> order{20, 1, 18, 4, 13, 6, 10, 15, 2, 17, 3,
                              19, 7, 16, 8, 11, 14, 9, 12, 5, 20};
    QCOMPARE(visited, order);
}

void BoardTest::arcSin()
{
    QCOMPARE(ArcSin(0), 0.0);
    QVERIFY(std::abs(ArcSin(0.5) - std::numbers::pi / 6) < 1e-12);
    QVERIFY(std::abs(ArcSin(-0.5) + std::numbers::pi / 6) < 1e-12);
    QVERIFY(std::abs(ArcSin(0.707) - std::asin(0.707)) < 1e-12);
    // Where the formula fails the answer is 0 rather than an error.
    QCOMPARE(ArcSin(1), 0.0);
    QCOMPARE(ArcSin(-1), 0.0);
    QCOMPARE(ArcSin(1.0000001), 0.0);
    QCOMPARE(ArcSin(2), 0.0);
    QCOMPARE(ArcSin(std::numeric_limits<double>::quiet_NaN()), 0.0);
    QCOMPARE(ArcSin(std::numeric_limits<double>::infinity()), 0.0);
}

void BoardTest::dartValue_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<qint64>("score");
    const struct { const char* label; qint64 score; } rows[] = {
        {"T20", 60}, {"D16", 32}, {"25", 25}, {"50", 50}, {"", 0}, {"x", 0}, {"T", 0},
        {"D", 0},    {"0", 0},    {"2.5", 2}, {"3.5", 4}, {"T2.5", 8}, {"D1", 2}, {"7", 7},
        {"120", 120},
    };
    for (const auto& row : rows)
        QTest::newRow(row.label[0] ? row.label : "empty") << QString(row.label) << row.score;
}

void BoardTest::dartValue()
{
    QFETCH(QString, label);
    QFETCH(qint64, score);
    QCOMPARE(DartValue(label), score);
}

void BoardTest::dartLabels()
{
    for (const QString& label : AllLabels())
        QVERIFY2(IsDartLabel(label), qPrintable(label));
    for (const char* text : {"", "T", "D", "T0", "D21", "21", "05", "T25", "D50", "x", "1.0",
                             "-1", "T 5", "Bull"})
        QVERIFY2(!IsDartLabel(QString(text)), text);
}

void BoardTest::pointForEveryLabel_data()
{
    QTest::addColumn<BoardRect>("rect");
    QTest::newRow("design") << Design;
    QTest::newRow("double") << Double;
    QTest::newRow("small") << BoardRect{0, 0, 3000, 3000};
    QTest::newRow("smaller, fractional") << BoardRect{100.5, 37.25, 1500, 1500};
    QTest::newRow("wide, shifted") << BoardRect{-500, 300, 9000, 6000};
    QTest::newRow("screen-sized") << BoardRect{2000, -120, 11360, 11360};
}

void BoardTest::pointForEveryLabel()
{
    QFETCH(BoardRect, rect);
    for (const QString& label : AllLabels()) {
        const QPointF p = PointFor(rect, label);
        // On the picture, so that a real click could land there.
        QVERIFY2(p.x() >= 0 && p.x() <= rect.Width && p.y() >= 0 && p.y() <= rect.Height,
                 qPrintable(label));
        // Well inside the bed: a few twips either way change nothing.
        for (double ex : {-3.0, 0.0, 3.0}) {
            for (double ey : {-3.0, 0.0, 3.0}) {
                const DartHit hit = HitAt(rect, p.x() + ex, p.y() + ey);
                QVERIFY2(hit.Label == label,
                         qPrintable(QStringLiteral("%1 at %2,%3 maps to %4")
                                        .arg(label).arg(p.x() + ex).arg(p.y() + ey).arg(hit.Label)));
                QCOMPARE(hit.Score, DartValue(label));
            }
        }
    }
    // A text that names no dart is aimed off the board.
    QCOMPARE(HitAt(rect, PointFor(rect, QStringLiteral("T21")).x(),
                   PointFor(rect, QStringLiteral("T21")).y()).Label, QStringLiteral("0"));
}

void BoardTest::degenerateGeometryStaysSound()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const BoardRect rects[] = {
        {2040, -120, 7650, 0},    {2040, -120, 0, 0},       {2040, -120, -7650, -7650},
        {nan, nan, nan, nan},     {inf, -inf, inf, inf},    {1e300, -1e300, 1e300, 1e300},
        {0, 0, 1e18, 1e18},       {-3e18, 3e18, 7650, 7650},
    };
    const double points[][2] = {{0, 0}, {3855, 3825}, {3855, 1825}, {-1e300, 1e300},
                                {nan, 5}, {inf, -inf}, {1e18, -1e18}};
    for (const BoardRect& rect : rects) {
        for (const auto& pt : points) {
            const DartHit hit = HitAt(rect, pt[0], pt[1]);
            QVERIFY2(IsDartLabel(hit.Label), qPrintable(hit.Label));
            QCOMPARE(hit.Score, DartValue(hit.Label));
        }
        for (const QString& label : AllLabels())
            PointFor(rect, label); // must simply return
    }
    // With no height there is no board: only the very centre is a bull.
    const BoardRect flat{2040, -120, 7650, 0};
    const BoardCircles c = CirclesOf(flat);
    QCOMPARE(HitAt(flat, c.cx - flat.Left, c.cy - flat.Top).Label, QStringLiteral("50"));
    QCOMPARE(HitAt(flat, c.cx - flat.Left + 1, c.cy - flat.Top).Label, QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(BoardTest)
#include "board_test.moc"
