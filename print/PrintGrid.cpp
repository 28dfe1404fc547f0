#include "print/PrintGrid.h"

#include "stats/Grid.h"

namespace {

// A cell's box is 300 high; its text stands 50 in from the left edge and 20
// below the top edge.
constexpr qint64 RowHeight = 300;
constexpr qint64 BoxLeft = 50;
constexpr qint64 BoxTop = 20;
constexpr qint64 BoxBottom = 280;
constexpr qint64 ColumnPadding = 150;

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

void PrintGrid(PageSurface& surface, const Grid& grid, qint64 x, qint64 y)
{
    const int startPage = surface.currentPage();
    const int rows = grid.rows();

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
            PrintAt(surface, grid.text(i, j), x + offset, top);
            offset += qint64(grid.colWidth(j)) + ColumnPadding;
            surface.drawLine(x + offset - BoxLeft, top - BoxTop, x + offset - BoxLeft, top + BoxBottom);
        }
        surface.drawLine(x - BoxLeft, top - BoxTop, x + offset - BoxLeft, top - BoxTop);
        surface.drawLine(x - BoxLeft, top + BoxBottom, x + offset - BoxLeft, top + BoxBottom);
        surface.drawLine(x - BoxLeft, pieceTop - BoxTop, x - BoxLeft, top + BoxBottom);
        ++rowsOnPage;
    }

    surface.setCurrentPage(startPage);
}
