#pragma once
// A printout written to a PDF file: A4 portrait with a quarter-inch margin,
// positions from the top-left corner of the area inside the margins.
#include "print/PainterSurface.h"

#include <memory>

class QPdfWriter;

class PdfSurface : public PainterSurface {
public:
    static constexpr double MarginMillimetres = 6.35; // a quarter inch

    explicit PdfSurface(const QString& path);
    ~PdfSurface() override;

    // Checks that the file can be written before anything is drawn, then
    // writes the document.
    bool finish() override;

    const QString& path() const { return path_; }

private:
    PdfSurface(const QString& path, std::unique_ptr<QPdfWriter> writer);

    QString path_;
    std::unique_ptr<QPdfWriter> writer_;
};
