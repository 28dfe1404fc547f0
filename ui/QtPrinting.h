#pragma once
// Printing on this machine: the printers the system knows (through Qt's
// print support, which asks CUPS), a document on one of them, or a PDF file
// the operator names in the usual file dialog.
#include "print/PainterSurface.h"
#include "print/PrintDialog.h"

#include <functional>
#include <memory>

class QPrinter;

// The installed printers as the printing system lists them.
class SystemPrinters : public PrinterList {
public:
    QStringList installedPrinters() const override;
    QString defaultPrinter() const override;
};

// A document for a real printer: collected page by page and sent to the
// printer when it is finished. The surface owns its printer.
class PrinterSurface : public PainterSurface {
public:
    explicit PrinterSurface(std::unique_ptr<QPrinter> printer);
    ~PrinterSurface() override;

    const QPrinter& printer() const { return *printer_; }

private:
    PrinterSurface(QPrinter* printer, std::unique_ptr<QPrinter> owned);

    std::unique_ptr<QPrinter> printer_;
};

// Starts documents for the print dialog: on the named printer, or, for the
// dialog's "PDF file", in a file the operator chooses.
class SystemPrintTarget : public PrintTarget {
public:
    // Asks for the file to write, offering a suggestion; an empty answer
    // means the operator called it off.
    using ChooseFile = std::function<QString(const QString& suggested)>;

    SystemPrintTarget();

    std::unique_ptr<PageSurface> begin(const QString& printerName, QString* error) override;

    // Replaces the file dialog (the window tests answer it themselves).
    void setChooseFile(ChooseFile choose) { chooseFile_ = std::move(choose); }

    // What the file dialog offers: the last file written this run, at first
    // "Statistics.pdf" in the home folder.
    const QString& suggestedFile() const { return suggested_; }

    // The file dialog itself.
    static QString AskForFile(const QString& suggested);

private:
    std::unique_ptr<PageSurface> beginFile(QString* error);
    static std::unique_ptr<PageSurface> beginPrinter(const QString& printerName, QString* error);

    ChooseFile chooseFile_;
    QString suggested_;
};

// What the windows keep for printing through the whole run: the current
// printer, the printers to choose from and where documents go.
struct Printing {
    CurrentPrinter current;
    std::unique_ptr<PrinterList> printers = std::make_unique<SystemPrinters>();
    SystemPrintTarget target;
};
