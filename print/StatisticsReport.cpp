#include "print/StatisticsReport.h"

#include "base/Moments.h"
#include "base/Players.h"
#include "base/TextNumbers.h"
#include "print/PrintGrid.h"
#include "stats/StatsTables.h"

namespace {

// The right edge of the printable area of an A4 page with quarter-inch
// margins, which is narrower than that of a Letter page: no table or title
// reaches past it.
constexpr qint64 PageRight = 11185;
// Room kept between a table and the one printed to its right.
constexpr qint64 TableGap = 100;

// A title made of a name and a fixed text, the name cut short where the
// whole would run past the page.
QString TitleWithName(const PageSurface& surface, const QString& name, const QString& rest, qint64 x)
{
    const qint64 room = PageRight - x - TextWidthTwips(surface, rest);
    return ElidedToWidth(surface, name, room) + rest;
}

// The date in a page's title: the day a stored match was played, else the
// moment of printing.
QString TitleDate(const QDateTime& moment, const QDateTime& played)
{
    return MomentText(played.isValid() ? played : moment);
}

// Under the title's rule of a stored match's page: when it was printed.
void PrintPrintedLine(PageSurface& surface, const QDateTime& moment, const QDateTime& played)
{
    if (played.isValid())
        PrintAt(surface, QStringLiteral("Printed: ") + MomentText(moment), 600, 900);
}

} // namespace

void PrintPlayerPage(PageSurface& surface, const StatsTables& stats, int p, const QString& name,
                     const QDateTime& moment, const QDateTime& played)
{
    p = PlayerIndex(p);
    surface.setFont(PrinterFontName, PrinterFontPoints, false);

    surface.setBold(true);
    PrintAt(surface,
            TitleWithName(surface, name, QStringLiteral("'s Statistics - Date:") + TitleDate(moment, played), 600),
            600, 500);
    surface.drawLine(600, 750, 8000, 750);
    surface.setBold(false);
    PrintPrintedLine(surface, moment, played);

    PrintGrid(surface, stats.grdLastScores[p], 600, 1500, 4000 - TableGap);
    PrintGrid(surface, stats.grdStats[p], 4000, 1500, 8000 - TableGap);
    PrintGrid(surface, stats.grdStats2[p], 8000, 1500, PageRight);
    PrintGrid(surface, stats.grdDarts[p], 600, 9000, PageRight);
    PrintGrid(surface, stats.grdDarts2[p], 600, 10500, PageRight);

    surface.setBold(true);
    PrintAt(surface, TitleWithName(surface, name, QStringLiteral("'s Performance"), 600), 600, 12000);
    surface.setBold(false);

    // The first-nine-darts bar is not part of the printout.
    PrintAt(surface, QStringLiteral("Scoring Darts : ") + SingleText(stats.ProScoring[p].value()), 600, 12500);
    PrintAt(surface, QStringLiteral("3 Dart Average : ") + SingleText(stats.ProOverall3Dart[p].value()), 600,
            13000);
}

void PrintGamePage(PageSurface& surface, const StatsTables& stats, const QDateTime& moment,
                   const QDateTime& played)
{
    surface.setFont(PrinterFontName, PrinterFontPoints, false);

    surface.setBold(true);
    PrintAt(surface, QStringLiteral("Game Statistics - Date:") + TitleDate(moment, played), 600, 500);
    surface.drawLine(600, 750, 5000, 750);
    surface.setBold(false);
    PrintPrintedLine(surface, moment, played);

    PrintGrid(surface, stats.grdGameStats, 600, 1500, PageRight);
}
