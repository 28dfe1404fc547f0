#include "ui/BoardPicture.h"

#include "board/BoardGeometry.h"
#include "ui/Twips.h"

#include <QFont>
#include <QPainter>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace boardpicture {

namespace {

const QColor Black(16, 16, 16);
const QColor Cream(238, 226, 190);
const QColor Red(200, 28, 36);
const QColor Green(22, 128, 64);
const QColor Wire(170, 170, 170);
const QColor Surround(0, 0, 0);

// Dark and light sectors alternate round the board, 20 dark: every other
// row of the sector table, on both halves.
bool DarkSector(int number)
{
    const int row = SectorRowOf(number);
    return row < 0 || row % 2 == 0;
}

// The bed of a label as one small number, so neighbouring pixels compare
// cheaply: 0 off the board, 25 and 50 the bulls, n a single, 100 + n a
// treble, 200 + n a double.
int BedCode(const QString& label)
{
    if (label.isEmpty())
        return 0;
    if (label.at(0) == u'T')
        return 100 + label.mid(1).toInt();
    if (label.at(0) == u'D')
        return 200 + label.mid(1).toInt();
    return label.toInt();
}

int BedCode(const BoardBed& bed)
{
    switch (bed.ring) {
    case BoardBed::Off: return 0;
    case BoardBed::Bull: return 50;
    case BoardBed::OuterBull: return 25;
    case BoardBed::Single: return int(bed.number);
    case BoardBed::Treble: return 100 + int(bed.number);
    case BoardBed::Double: return 200 + int(bed.number);
    }
    return 0;
}

QRgb CodeColour(int code)
{
    if (code == 0)
        return Surround.rgb();
    if (code == 50)
        return Red.rgb();
    if (code == 25)
        return Green.rgb();
    const int number = code % 100;
    const bool dark = DarkSector(number);
    if (code > 100)
        return (dark ? Red : Green).rgb();
    return (dark ? Black : Cream).rgb();
}

void DrawNumbers(QImage& image, const BoardRect& image1)
{
    const BoardCircles c = CirclesOf(image1);
    // The centre and the radius in the picture's pixels.
    const double cx = (double(c.cx) - image1.Left) / twips::PerPixel;
    const double cy = (double(c.cy) - image1.Top) / twips::PerPixel;
    const double R = double(c.R) / twips::PerPixel;
    if (R < 8)
        return;

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // A thin ring outside the doubles carries the numbers.
    p.setPen(QPen(Wire, std::max(1.0, R / 120)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(cx, cy), R * 1.36, R * 1.36);

    QFont font = designFont(Face::Arial, 10, true);
    font.setPixelSize(std::max(6, int(std::lround(R * 0.16))));
    p.setFont(font);
    p.setPen(Qt::white);
    const double radius = R * 1.18;
    const double box = R * 0.34;
    // Each number in the middle of its sector as the mapping measures it.
    for (int row = 0; row <= BottomRow; ++row) {
        for (int side = 0; side < 2; ++side) {
            if (side == 1 && (row == 0 || row == BottomRow))
                continue; // 20 and 3 sit on the vertical line
            const double deg = SectorMiddleAngle(row) * (side == 0 ? 1 : -1);
            const double rad = deg * std::numbers::pi / 180;
            const QPointF at(cx + radius * std::sin(rad), cy - radius * std::cos(rad));
            const qint64 number = SectorOn(row, side == 0);
            p.drawText(QRectF(at.x() - box / 2, at.y() - box / 2, box, box), Qt::AlignCenter,
                       QString::number(number));
        }
    }
}

} // namespace

QColor BedColour(const QString& label)
{
    return QColor(CodeColour(BedCode(label)));
}

QImage Render(const BoardRect& image1, int size)
{
    QImage image(std::max(1, size), std::max(1, size), QImage::Format_RGB32);
    image.fill(Surround);
    if (size <= 0)
        return image;

    const BoardCircles c = CirclesOf(image1);
    // Pixels clearly outside the double ring need no mapping.
    const double outer = double(c.R) + 2 * twips::PerPixel;
    const double outer2 = outer * outer;

    std::vector<int> above(std::size_t(size), -1);
    std::vector<int> row(std::size_t(size), 0);
    for (int j = 0; j < size; ++j) {
        const double Y = j * twips::PerPixel;
        const double dy = double(c.cy) - (image1.Top + Y);
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(j));
        for (int i = 0; i < size; ++i) {
            const double X = i * twips::PerPixel;
            const double dx = double(c.cx) - (image1.Left + X);
            int code = 0;
            if (dx * dx + dy * dy <= outer2)
                code = BedCode(BedAt(c, image1, X, Y));
            row[std::size_t(i)] = code;
            QRgb colour = CodeColour(code);
            // A wire where the bed changes from the pixel above or to the left,
            // except at the edge of the board.
            const int left = i > 0 ? row[std::size_t(i) - 1] : code;
            const int up = above[std::size_t(i)] < 0 ? code : above[std::size_t(i)];
            if (code != 0 && ((left != code && left != 0) || (up != code && up != 0)))
                colour = Wire.rgb();
            line[i] = colour;
        }
        above.swap(row);
    }
    DrawNumbers(image, image1);
    return image;
}

QImage DesignPicture()
{
    // The splash and the window icon show the same picture: draw it once.
    static const QImage picture = Render(BoardRect{}, 510);
    return picture;
}

} // namespace boardpicture
