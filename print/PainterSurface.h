#pragma once
// Puts a collected document on a paged paint device (a PDF writer or a
// printer) with QPainter. Positions are taken from the top-left corner of
// the device's printable area, 1440 twips to the inch.
#include "print/PageSurface.h"

#include <QFont>

class QPagedPaintDevice;
class QPainter;

class PainterSurface : public RecordingSurface {
public:
    // The device must outlive the surface; its page layout must be set
    // before the surface is made, since the page height is taken from it.
    explicit PainterSurface(QPagedPaintDevice* device);

    // Draws every page on the device and ends the document.
    bool finish() override;
    QString error() const override { return error_; }

    // The family actually drawn for a requested font: "Arial Narrow" is not
    // free to ship, Liberation Sans Narrow has the same widths.
    static QString FontFamilyFor(const QString& requested);
    // The Qt font for a recorded text's font settings.
    static QFont FontFor(const QString& requested, double points, bool bold);

protected:
    void setError(const QString& text) { error_ = text; }
    // For a surface that makes its device after the base: the page height is
    // taken from the device's layout here.
    void setDevice(QPagedPaintDevice* device);

private:
    void drawPage(QPainter& painter, const Page& page) const;

    QPagedPaintDevice* device_ = nullptr;
    QString error_;
};
