#pragma once
// The printed statistics: one page for a player (the player's tables and two
// of the rating bars) and one for the game. Each draws its page on the
// surface; ending the document is left to the caller.
#include "print/PageSurface.h"

#include <QDateTime>

class ModDarts;
struct StatsTables;

// The printer's one font.
inline const QString PrinterFontName = QStringLiteral("Arial Narrow");
constexpr double PrinterFontPoints = 12;

// A player's page: p is 0 or 1, name the caption of the player's tab.
// `moment` is when the page is printed. The pages of a stored match are
// headed with the day it was `played`, and say when they were printed on a
// line of their own; those of the match in play (no `played`) are headed
// with the moment of printing.
void PrintPlayerPage(PageSurface& surface, const StatsTables& stats, int p, const QString& name,
                     const QDateTime& moment, const QDateTime& played = {});
// The game's page.
void PrintGamePage(PageSurface& surface, const StatsTables& stats, const QDateTime& moment,
                   const QDateTime& played = {});

// The same pages from the engine's tables at the time of its clock.
void PrintPlayerReport(PageSurface& surface, const ModDarts& modDarts, int p, const QString& name);
void PrintGameReport(PageSurface& surface, const ModDarts& modDarts);
