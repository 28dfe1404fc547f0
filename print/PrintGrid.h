#pragma once
// The two drawing steps of every printout: a text at a position, and a grid
// as a table of ruled boxes.
#include "print/PageSurface.h"

class Grid;

// Prints the text with its top-left corner at (x, y) on the current page.
void PrintAt(PageSurface& surface, const QString& text, qint64 x, qint64 y);

// Prints every row and column of the grid, empty ones included, as boxes 300
// high and as wide as their column plus 150, the first cell's text at
// (x, y). Each row reads the grid's column count afresh.
//
// A row whose box would reach below the page carries on, with the rows after
// it, at the top of the next page (a new one when there is none yet); the
// surface is back on the page it was on when the grid is done, so what is
// printed next lands where it is meant to.
void PrintGrid(PageSurface& surface, const Grid& grid, qint64 x, qint64 y);
