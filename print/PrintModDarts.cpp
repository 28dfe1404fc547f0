// The printout as the engine's windows use it: the engine's tables, the
// statistics window's tab and the engine's clock and message boxes.
#include "print/PrintModDarts.h"

#include "engine/ModDarts.h"
#include "print/StatisticsReport.h"

PrintSources PrintSourcesOf(const ModDarts& modDarts)
{
    PrintSources sources;
    sources.stats = &modDarts.stats;
    sources.statsWindow = &modDarts.statsWindow;
    sources.clock = &modDarts.clock;
    sources.notifier = modDarts.setup().notifier;
    return sources;
}

void PrintPlayerReport(PageSurface& surface, const ModDarts& modDarts, int p, const QString& name)
{
    PrintPlayerPage(surface, modDarts.stats, p, name, modDarts.clock.now());
}

void PrintGameReport(PageSurface& surface, const ModDarts& modDarts)
{
    PrintGamePage(surface, modDarts.stats, modDarts.clock.now());
}

bool PrintSelectedTabToPdf(const ModDarts& modDarts, const QString& path, QString* error)
{
    // "&Print" on the statistics window, then "&Ok" with the PDF file as the
    // printer. The current printer of a headless run is always the file.
    NoPrinters printers;
    CurrentPrinter current;
    PdfFileTarget target(path);
    PrintDialog dialog(current, printers, target, PrintSourcesOf(modDarts));
    dialog.setCaption(PrintDialog::StatisticsJob);
    dialog.show();
    dialog.Ok();
    if (dialog.lastOutcome() == PrintDialog::Outcome::Printed)
        return true;
    if (error)
        *error = dialog.lastError();
    return false;
}
