#include "print/PrintGrid.h"

#include "print/PainterSurface.h"
#include "stats/Grid.h"

#include <QFont>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A cell's box is 300 high; its text stands 50 in from the left edge and 20
// below the top edge.
constexpr qint64 RowHeight = 300;
constexpr qint64 BoxLeft = 50;
constexpr qint64 BoxTop = 20;
constexpr qint64 BoxBottom = 280;
constexpr qint64 ColumnPadding = 150;
// Room kept between a text's end and its box's right edge.
constexpr qint64 TextGap = 50;

// The surface's font sized so that one pixel is one twip: widths measured
// with it are twips, whatever the device the page goes to.
QFont MeasuringFont(const PageSurface& surface)
{
    QFont font = PainterSurface::FontFor(surface.fontName(), surface.fontPoints(), surface.fontBold());
    font.setPixelSize(std::max(1, int(std::lround(surface.fontPoints() * 20))));
    return font;
}

void GoToNextPage(PageSurface& surface)
{
    const int next = surface.currentPage() + 1;
    if (next < surface.pageCount())
        surface.setCurrentPage(next);
    else
        surface.newPage();
}

} // namespace

void PrintAt(PageSurface& surface, const QString& text, qint64 x, qint64 y)
{
    surface.drawText(x, y, text);
}

qint64 TextWidthTwips(const PageSurface& surface, const QString& text)
{
    if (text.isEmpty())
        return 0;
    return qint64(std::ceil(QFontMetricsF(MeasuringFont(surface)).horizontalAdvance(text)));
}

QString ElidedToWidth(const PageSurface& surface, const QString& text, qint64 width)
{
    if (TextWidthTwips(surface, text) <= width)
        return text;
    return QFontMetricsF(MeasuringFont(surface)).elidedText(text, Qt::ElideRight, qreal(std::max<qint64>(0, width)));
}

void PrintGrid(PageSurface& surface, const Grid& grid, qint64 x, qint64 y, qint64 rightLimit)
{
    const int startPage = surface.currentPage();
    const int rows = grid.rows();

    // Every column as wide as its widest text needs (a text starts 50 into
    // its box, which is 150 wider than the column, and keeps 50 clear of the
    // box's right edge), never narrower than the grid's width.
    const int widestCols = grid.cols();
    const std::size_t colCount = std::size_t(std::max(0, widestCols));
    std::vector<qint64> design(colCount, 0), width(colCount, 0);
    for (int j = 0; j < widestCols; ++j) {
        design[std::size_t(j)] = grid.colWidth(j);
        qint64 text = 0;
        for (int i = 0; i < rows; ++i)
            text = std::max(text, TextWidthTwips(surface, grid.text(i, j)));
        width[std::size_t(j)] =
            std::max(design[std::size_t(j)], text + BoxLeft + TextGap - ColumnPadding);
    }
    if (rightLimit > 0) {
        qint64 total = 0;
        for (int j = 0; j < widestCols; ++j)
            total += width[std::size_t(j)] + ColumnPadding;
        // The table's right edge is 50 short of its last box's end. The
        // widest widened column gives back first, down to its own width.
        qint64 excess = x - BoxLeft + total - rightLimit;
        while (excess > 0) {
            int grown = -1;
            for (int j = 0; j < widestCols; ++j) {
                const qint64 over = width[std::size_t(j)] - design[std::size_t(j)];
                if (over > 0 && (grown < 0 || over > width[std::size_t(grown)] - design[std::size_t(grown)]))
                    grown = j;
            }
            if (grown < 0)
                break;
            const qint64 give = std::min(excess, std::max<qint64>(1, (width[std::size_t(grown)] - design[std::size_t(grown)]) / 2));
            width[std::size_t(grown)] -= give;
            excess -= give;
        }
    }

    // The top of the grid's part on the current page, for its left edge.
    qint64 pieceTop = y;
    qint64 top = y;
    bool continued = false;
    int rowsOnPage = 0;

    for (int i = 0; i < rows; ++i, top += RowHeight) {
        // A row that does not fit goes over to the next page, unless it is
        // already the first row of a continuation page (a page too short
        // for one row would otherwise never end).
        if (top + BoxBottom > surface.pageHeightTwips() && (rowsOnPage > 0 || !continued)) {
            GoToNextPage(surface);
            continued = true;
            rowsOnPage = 0;
            top = pieceTop = surface.continuationTopTwips();
        }

        qint64 offset = 0;
        const int cols = grid.cols();
        for (int j = 0; j < cols; ++j) {
            const qint64 w = j < widestCols ? width[std::size_t(j)] : qint64(grid.colWidth(j));
            PrintAt(surface, ElidedToWidth(surface, grid.text(i, j), w + ColumnPadding - BoxLeft - TextGap),
                    x + offset, top);
            offset += w + ColumnPadding;
            surface.drawLine(x + offset - BoxLeft, top - BoxTop, x + offset - BoxLeft, top + BoxBottom);
        }
        surface.drawLine(x - BoxLeft, top - BoxTop, x + offset - BoxLeft, top - BoxTop);
        surface.drawLine(x - BoxLeft, top + BoxBottom, x + offset - BoxLeft, top + BoxBottom);
        surface.drawLine(x - BoxLeft, pieceTop - BoxTop, x - BoxLeft, top + BoxBottom);
        ++rowsOnPage;
    }

    surface.setCurrentPage(startPage);
}
