#include "print/PrintDialog.h"

#include "base/Clock.h"
#include "base/Notifier.h"
#include "print/PdfSurface.h"
#include "print/StatisticsReport.h"
#include "stats/StatsWindow.h"

std::unique_ptr<PageSurface> PdfFileTarget::begin(const QString& /*printerName*/, QString* error)
{
    if (path_.isEmpty()) {
        if (error)
            *error = QStringLiteral("No file was named for the PDF file.");
        return nullptr;
    }
    return std::make_unique<PdfSurface>(path_);
}

QString CurrentPrinter::name(const PrinterList& printers) const
{
    if (!chosen_.isEmpty())
        return chosen_;
    const QString fallback = printers.defaultPrinter();
    if (!fallback.isEmpty())
        return fallback;
    const QStringList installed = printers.installedPrinters();
    return installed.isEmpty() ? PrintDialog::PdfFileEntry : installed.first();
}

PrintDialog::PrintDialog(CurrentPrinter& current, const PrinterList& printers, PrintTarget& target,
                         PrintSources sources)
    : current_(current), printers_(printers), target_(target), sources_(sources)
{
    Load();
}

QPoint PrintDialog::centredOn(int screenWidth, int screenHeight)
{
    return {screenWidth / 2 - Width / 2, screenHeight / 2 - Height / 2};
}

QStringList PrintDialog::allPrinters() const
{
    QStringList names = printers_.installedPrinters();
    names.append(PdfFileEntry);
    return names;
}

void PrintDialog::Load()
{
    printerNames_ = allPrinters();
    printerText_ = current_.name(printers_);
}

void PrintDialog::Ok()
{
    if (closed_)
        return;
    outcome_ = Outcome::Nothing;
    error_.clear();

    // The printers are asked again: one listed when the dialog opened may
    // have gone since. A name that matches none leaves the current printer.
    for (const QString& name : allPrinters()) {
        if (name == printerText_) {
            current_.choose(name);
            break;
        }
    }

    if (caption_ != StatisticsJob)
        return;
    if (!sources_.stats || !sources_.statsWindow)
        return;

    // The tab selected now is the page printed, whatever it was when the
    // dialog opened.
    const int tab = sources_.statsWindow->tab;
    if (tab < 1 || tab > 3)
        return;

    QString error;
    std::unique_ptr<PageSurface> surface = target_.begin(current_.name(printers_), &error);
    if (!surface) {
        // No error text: the operator called it off.
        if (!error.isEmpty())
            fail(error);
        return;
    }

    const QDateTime moment = sources_.clock ? sources_.clock->now() : QDateTime::currentDateTime();
    if (tab <= 2)
        PrintPlayerPage(*surface, *sources_.stats, tab - 1, sources_.statsWindow->tabCaption[tab - 1], moment,
                        sources_.played);
    else
        PrintGamePage(*surface, *sources_.stats, moment, sources_.played);

    if (!surface->finish()) {
        fail(surface->error().isEmpty() ? QStringLiteral("The printer reported an error.") : surface->error());
        return;
    }
    outcome_ = Outcome::Printed;

    // A player's page closes the dialog; after the game's page it stays open
    // for another copy.
    if (tab <= 2)
        closed_ = true;
}

void PrintDialog::Cancel()
{
    closed_ = true;
}

void PrintDialog::fail(const QString& error)
{
    // The dialog stays open, so another printer can be tried.
    outcome_ = Outcome::Failed;
    error_ = error;
    if (sources_.notifier)
        sources_.notifier->message(QStringLiteral("The statistics could not be printed. ") + error, caption_);
}
