#pragma once
// What the print dialog needs from the platform: the installed printers and
// a way to start a document on one of them. The windows supply the system's
// printers; the headless driver prints to a PDF file.
#include "print/PageSurface.h"

#include <QStringList>
#include <memory>

class PrinterList {
public:
    virtual ~PrinterList() = default;
    // The device names of the installed printers, in the platform's order.
    virtual QStringList installedPrinters() const = 0;
    // The platform's default printer; empty when there is none.
    virtual QString defaultPrinter() const = 0;
};

// A machine without printers.
class NoPrinters : public PrinterList {
public:
    QStringList installedPrinters() const override { return {}; }
    QString defaultPrinter() const override { return {}; }
};

class PrintTarget {
public:
    virtual ~PrintTarget() = default;
    // Starts a document on the named printer. Gives nothing when it cannot:
    // with an error text when something went wrong, with none when the
    // operator called the printout off (a file dialog cancelled).
    virtual std::unique_ptr<PageSurface> begin(const QString& printerName, QString* error) = 0;
};

// Every document goes to one PDF file, whichever printer is named.
class PdfFileTarget : public PrintTarget {
public:
    explicit PdfFileTarget(QString path) : path_(std::move(path)) {}
    std::unique_ptr<PageSurface> begin(const QString& printerName, QString* error) override;
    const QString& path() const { return path_; }

private:
    QString path_;
};
