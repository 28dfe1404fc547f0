#pragma once
// Turning a point on the board picture into a dart. The geometry is taken
// from the picture control's current place and size, so the board can be
// shown at any size; it matches the one board picture the program ships.
#include <QPointF>

#include <optional>

#include <array>
#include <QString>
#include <QStringView>

// The board picture `Image1`, in the main window's twips.
struct BoardRect {
    double Left = 2040, Top = -120, Width = 7650, Height = 7650;
};

// The board's sectors, the one table the mapping, the aiming of the driver
// and the picture all use. Each row holds the upper bound of its angle
// (degrees from 12 o'clock, as the mapping measures them) and the number on
// either half of the board; beyond the last bound lies 3, straight down.
// The bounds were measured on the board picture and are not the regular
// 9 + 18k degrees.
struct SectorRow {
    double bound;
    qint64 right; // clockwise from 12
    qint64 left;  // anticlockwise from 12
};
inline constexpr std::array<SectorRow, 10> SectorRows = {{
    {9.5, 20, 20},   {27.5, 1, 5},   {45.5, 18, 12}, {63.5, 4, 9},  {81.5, 13, 14},
    {98.5, 6, 11},   {116, 10, 8},   {134.8, 15, 16}, {152, 2, 7},  {171, 17, 19},
}};
inline constexpr qint64 BottomSector = 3;
inline constexpr int BottomRow = int(SectorRows.size());

// The row of a sector number: 0 for 20, BottomRow for 3, -1 for a number that
// is no sector. `right` tells the half it lies on (20 and 3 lie on both).
int SectorRowOf(qint64 number, bool* right = nullptr);
// The number on a row's half of the board.
qint64 SectorOn(int row, bool right);
// The middle of a row's angle range, in the mapping's degrees.
double SectorMiddleAngle(int row);

// What a point on the board stands for: "T20", "D16", "5", "25", "50" or "0".
struct DartHit {
    QString Label;
    qint64 Score = 0;
};

// The circles of the board for one placement of the picture, in window
// twips: the centre, the board radius R (outer edge of the double ring) and
// the five inner ring edges t1..t5 (bull, outer bull, inner single bed,
// treble ring, outer single bed). A distance on an edge belongs to the ring
// inside it.
struct BoardCircles {
    qint64 cx = 0, cy = 0, R = 0;
    qint64 t1 = 0, t2 = 0, t3 = 0, t4 = 0, t5 = 0;
};
BoardCircles CirclesOf(const BoardRect& image1);

// The score of a dart label: "T" triples and "D" doubles the number after
// it, anything else is worth its leading number (0 when there is none).
qint64 DartValue(QStringView label);

// Arcsine as the board mapping has always computed it, atan(x / sqrt(1 - x^2)).
// Where that formula fails (x = 1 divides by zero, |x| > 1 has no root) the
// answer is 0, which the sector step reads as "straight up or straight down".
double ArcSin(double x);

// The sector number for an angle theta (degrees from 12 o'clock, as the
// mapping measures it) with the point's horizontal offset aq from the centre
// (positive to the right) and its drop av below the top of its circle.
qint64 SectorNumber(double theta, qint64 aq, qint64 av);

// The bed under a point, without its label: the ring and, for the single,
// treble and double rings, the sector number. Drawing the board asks this
// for every pixel, so it builds no text.
struct BoardBed {
    enum Ring { Off, Bull, OuterBull, Single, Treble, Double };
    Ring ring = Off;
    qint64 number = 0;
};
BoardBed BedAt(const BoardCircles& circles, const BoardRect& image1, double X, double Y);
QString LabelOf(const BoardBed& bed);

// The dart for a point X, Y relative to the picture's top-left corner.
DartHit HitAt(const BoardRect& image1, double X, double Y);

// True for the labels the mapping can produce: "0", "25", "50", "1".."20",
// "T1".."T20" and "D1".."D20".
bool IsDartLabel(QStringView label);

// A point relative to the picture, well inside the bed that HitAt maps to
// `label` for this placement (the middle of the ring and of the sector).
// "0" and any text that is not a dart label give a point off the board.
QPointF PointFor(const BoardRect& image1, const QString& label);
// The same point, but only where a press there maps to `label`: a board
// drawn too small has no point inside some of its beds, and pressing
// anywhere else would record another dart.
std::optional<QPointF> PointInside(const BoardRect& image1, const QString& label);
