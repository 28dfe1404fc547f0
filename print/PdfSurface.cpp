#include "print/PdfSurface.h"

#include <QDir>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace {

std::unique_ptr<QPdfWriter> MakeWriter(const QString& path)
{
    auto writer = std::make_unique<QPdfWriter>(path);
    const double m = PdfSurface::MarginMillimetres;
    writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(m, m, m, m), QPageLayout::Millimeter));
    writer->setResolution(1200);
    writer->setCreator(QStringLiteral("Vantrell 2"));
    writer->setTitle(QStringLiteral("Statistics"));
    return writer;
}

} // namespace

PdfSurface::PdfSurface(const QString& path)
    : PdfSurface(path, MakeWriter(path))
{
}

PdfSurface::PdfSurface(const QString& path, std::unique_ptr<QPdfWriter> writer)
    : PainterSurface(writer.get()), path_(path), writer_(std::move(writer))
{
}

PdfSurface::~PdfSurface() = default;

bool PdfSurface::finish()
{
    if (PainterSurface::finish())
        return true;
    setError(QStringLiteral("The file %1 could not be written.").arg(QDir::toNativeSeparators(path_)));
    return false;
}
