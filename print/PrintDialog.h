#pragma once
// The print dialog `frmPrint`: the operator picks a printer and confirms, and
// the page of the statistics window's selected tab is printed on it.
//
// A dialog object is one creation of the window: it lists the printers when
// it is made, and once closed it is done with; the next "&Print" makes a new
// one. The current printer outlives it in a CurrentPrinter.
#include "print/PrintTarget.h"

#include <QDateTime>
#include <QPoint>
#include <QStringList>

class Clock;
class Notifier;
struct StatsTables;
struct StatsWindow;

// The program's current printer, kept for the whole run once chosen.
class CurrentPrinter {
public:
    // The chosen printer; before any choice the platform's default, and on
    // a machine without printers the PDF file.
    QString name(const PrinterList& printers) const;
    void choose(const QString& name) { chosen_ = name; }
    bool chosen() const { return !chosen_.isEmpty(); }

private:
    QString chosen_;
};

// What a printout is made from, read when "&Ok" is pressed.
struct PrintSources {
    const StatsTables* stats = nullptr;
    const StatsWindow* statsWindow = nullptr;
    const Clock* clock = nullptr;
    Notifier* notifier = nullptr;   // failures are told here
    // The day a stored match was played, for its pages; none for the match
    // in play.
    QDateTime played;
};

class PrintDialog {
public:
    // The entry that writes a PDF file; always the last of the list.
    static inline const QString PdfFileEntry = QStringLiteral("PDF file");
    // Only the job of this caption prints anything.
    static inline const QString StatisticsJob = QStringLiteral("Print Statistics");

    // The design: client area, and left, top, width, height of the controls.
    static constexpr int Width = 4680, Height = 1785;
    static constexpr int lblPrinterRect[4] = {240, 240, 3975, 255};
    static constexpr int cmbPrinterRect[4] = {240, 480, 4095, 315};
    static constexpr int cmdOkRect[4] = {240, 960, 1335, 495};
    static constexpr int cmdCancelRect[4] = {3000, 960, 1335, 495};

    enum class Outcome { Nothing, Printed, Failed };

    // Creates the dialog and runs its load.
    PrintDialog(CurrentPrinter& current, const PrinterList& printers, PrintTarget& target,
                PrintSources sources);

    // The top-left corner that centres the dialog on a screen (twips).
    static QPoint centredOn(int screenWidth, int screenHeight);

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption) { caption_ = caption; }

    // Shown modelessly; closed means discarded.
    bool visible() const { return visible_ && !closed_; }
    void show() { if (!closed_) visible_ = true; }
    bool closed() const { return closed_; }

    // `cmbPrinter`: the list and the text in its box (which may be typed).
    const QStringList& printerNames() const { return printerNames_; }
    const QString& printerText() const { return printerText_; }
    void setPrinterText(const QString& text) { printerText_ = text; }

    void Ok();       // "&Ok"
    void Cancel();   // "&Cancel"

    // What the last "&Ok" did, and why it failed when it did.
    Outcome lastOutcome() const { return outcome_; }
    const QString& lastError() const { return error_; }

private:
    void Load();
    QStringList allPrinters() const;
    void fail(const QString& error);

    CurrentPrinter& current_;
    const PrinterList& printers_;
    PrintTarget& target_;
    PrintSources sources_;

    QString caption_ = QStringLiteral("Print");
    bool visible_ = false;
    bool closed_ = false;
    QStringList printerNames_;
    QString printerText_;
    Outcome outcome_ = Outcome::Nothing;
    QString error_;
};
