#pragma once
// The two drawing steps of every printout: a text at a position, and a grid
// as a table of ruled boxes.
#include "print/PageSurface.h"

class Grid;

// Prints the text with its top-left corner at (x, y) on the current page.
void PrintAt(PageSurface& surface, const QString& text, qint64 x, qint64 y);

// The width in twips of a text in the surface's current font.
qint64 TextWidthTwips(const PageSurface& surface, const QString& text);

// The text cut short with an ellipsis to at most `width` twips in the
// surface's current font (the text itself when it fits).
QString ElidedToWidth(const PageSurface& surface, const QString& text, qint64 width);

// Prints every row and column of the grid, empty ones included, as boxes 300
// high and as wide as their column plus 150, the first cell's text at
// (x, y). Each row reads the grid's column count afresh.
//
// A column whose widest text would run into the next box is widened to hold
// it. With a `rightLimit` (twips; 0 for none) the table never reaches past
// it: the widened columns give back what is too much, and a text that then
// does not fit is cut short with an ellipsis.
//
// A row whose box would reach below the page carries on, with the rows after
// it, at the top of the next page (a new one when there is none yet); the
// surface is back on the page it was on when the grid is done, so what is
// printed next lands where it is meant to.
void PrintGrid(PageSurface& surface, const Grid& grid, qint64 x, qint64 y, qint64 rightLimit = 0);
