#pragma once
// A printout written to a PDF file: A4 portrait with a quarter-inch margin,
// positions from the top-left corner of the area inside the margins.
#include "print/PainterSurface.h"

#include <QBuffer>
#include <memory>

class QPdfWriter;

class PdfSurface : public PainterSurface {
public:
    static constexpr double MarginMillimetres = 6.35; // a quarter inch

    explicit PdfSurface(const QString& path);
    ~PdfSurface() override;

    // Lays the document out in memory, then writes the file in one go. The
    // PDF writer itself never reports a failed write (a full disk leaves an
    // empty or cut-off file behind its back), so the bytes are written here,
    // where every failure can be seen and told.
    bool finish() override;

    const QString& path() const { return path_; }

    // The file is written whole or not at all (base/WholeFile.h), so a failed
    // report never costs the previous one; a device or pipe (/dev/stdout, a
    // FIFO) is written directly.

private:
    PdfSurface(const QString& path, std::unique_ptr<QBuffer> buffer);

    QString path_;
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QPdfWriter> writer_;
};
