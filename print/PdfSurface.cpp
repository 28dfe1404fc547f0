#include "base/AppText.h"
#include "base/WholeFile.h"
#include "print/PdfSurface.h"

#include <QDir>
#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace {

std::unique_ptr<QPdfWriter> MakeWriter(QIODevice* device)
{
    auto writer = std::make_unique<QPdfWriter>(device);
    const double m = PdfSurface::MarginMillimetres;
    writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(m, m, m, m), QPageLayout::Millimeter));
    writer->setResolution(1200);
    writer->setCreator(apptext::Title);
    writer->setTitle(QStringLiteral("Statistics"));
    return writer;
}

QString CouldNotWrite(const QString& path, const QString& reason)
{
    return QStringLiteral("The file %1 could not be written (%2).")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

PdfSurface::PdfSurface(const QString& path)
    : PdfSurface(path, std::make_unique<QBuffer>())
{
}

// The writer is made on the buffer before the base class reads its page
// layout, and the buffer is owned here so it outlives the writer.
PdfSurface::PdfSurface(const QString& path, std::unique_ptr<QBuffer> buffer)
    : PainterSurface(nullptr), path_(path), buffer_(std::move(buffer))
{
    buffer_->open(QIODevice::WriteOnly);
    writer_ = MakeWriter(buffer_.get());
    setDevice(writer_.get());
}

PdfSurface::~PdfSurface() = default;

bool PdfSurface::finish()
{
    if (!PainterSurface::finish()) {
        setError(CouldNotWrite(path_, error()));
        return false;
    }
    QString reason;
    if (!WholeFile::Write(path_, buffer_->data(), WholeFile::Special::WriteInto, &reason)) {
        setError(CouldNotWrite(path_, reason));
        return false;
    }
    return true;
}
