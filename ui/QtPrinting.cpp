#include "base/AppText.h"
#include "ui/QtPrinting.h"

#include "print/PdfSurface.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPrinter>
#include <QPrinterInfo>

QStringList SystemPrinters::installedPrinters() const
{
    return QPrinterInfo::availablePrinterNames();
}

QString SystemPrinters::defaultPrinter() const
{
    return QPrinterInfo::defaultPrinterName();
}

PrinterSurface::PrinterSurface(std::unique_ptr<QPrinter> printer)
    : PrinterSurface(printer.get(), std::move(printer))
{
}

// The raw pointer is taken before the owner moves, so the base class gets
// the device while this class keeps it alive.
PrinterSurface::PrinterSurface(QPrinter* printer, std::unique_ptr<QPrinter> owned)
    : PainterSurface(printer), printer_(std::move(owned))
{
}

PrinterSurface::~PrinterSurface() = default;

SystemPrintTarget::SystemPrintTarget()
    : chooseFile_(&SystemPrintTarget::AskForFile),
      suggested_(QDir::home().filePath(QStringLiteral("Statistics.pdf")))
{
}

QString SystemPrintTarget::AskForFile(const QString& suggested)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(),
                                        QStringLiteral("Print to PDF file"), suggested,
                                        QStringLiteral("PDF files (*.pdf);;All files (*)"));
}

std::unique_ptr<PageSurface> SystemPrintTarget::begin(const QString& printerName, QString* error)
{
    if (printerName == PrintDialog::PdfFileEntry)
        return beginFile(error);
    return beginPrinter(printerName, error);
}

std::unique_ptr<PageSurface> SystemPrintTarget::beginFile(QString* error)
{
    const QString path = chooseFile_ ? chooseFile_(suggested_) : QString();
    if (path.isEmpty()) {
        // Called off in the file dialog: nothing to print and nothing to say.
        if (error)
            error->clear();
        return nullptr;
    }
    suggested_ = path;
    return std::make_unique<PdfSurface>(path);
}

std::unique_ptr<PageSurface> SystemPrintTarget::beginPrinter(const QString& printerName, QString* error)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(printerName);
    // A printer that has gone since it was chosen leaves QPrinter writing a
    // PDF to nowhere; say so instead.
    if (printerName.isEmpty() || printer->printerName() != printerName || !printer->isValid()
        || printer->outputFormat() != QPrinter::NativeFormat) {
        if (error)
            *error = QStringLiteral("The printer \"%1\" is not available.").arg(printerName);
        return nullptr;
    }
    printer->setDocName(QStringLiteral("Statistics"));
    printer->setCreator(apptext::Title);
    return std::make_unique<PrinterSurface>(std::move(printer));
}
