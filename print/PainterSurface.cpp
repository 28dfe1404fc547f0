#include "print/PainterSurface.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

namespace {

constexpr double TwipsPerInch = 1440.0;
constexpr double TwipsPerPoint = 20.0;

} // namespace

PainterSurface::PainterSurface(QPagedPaintDevice* device)
{
    setDevice(device);
}

void PainterSurface::setDevice(QPagedPaintDevice* device)
{
    device_ = device;
    if (device_) {
        const double height = device_->pageLayout().paintRectPoints().height();
        setPageHeight(qint64(height * TwipsPerPoint));
    }
}

QString PainterSurface::FontFamilyFor(const QString& requested)
{
    if (requested.compare(QLatin1String("Arial Narrow"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans Narrow");
    return requested;
}

QFont PainterSurface::FontFor(const QString& requested, double points, bool bold)
{
    QFont font(FontFamilyFor(requested));
    if (points > 0)
        font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

bool PainterSurface::finish()
{
    RecordingSurface::finish();
    if (!device_) {
        setError(QStringLiteral("There is no printer to print on."));
        return false;
    }
    QPainter painter;
    if (!painter.begin(device_)) {
        setError(QStringLiteral("The printer could not start the document."));
        return false;
    }
    bool ok = true;
    for (std::size_t i = 0; i < pages().size(); ++i) {
        if (i > 0 && !device_->newPage()) {
            setError(QStringLiteral("The printer could not start a new page."));
            ok = false;
            break;
        }
        drawPage(painter, pages()[i]);
    }
    if (!painter.end() && ok) {
        setError(QStringLiteral("The printer could not finish the document."));
        ok = false;
    }
    return ok;
}

void PainterSurface::drawPage(QPainter& painter, const Page& page) const
{
    // The painter works in device pixels with its origin at the top-left of
    // the printable area. Fonts are given in points, which the device turns
    // into its own pixels, so the painter itself is not scaled.
    const double sx = device_->logicalDpiX() / TwipsPerInch;
    const double sy = device_->logicalDpiY() / TwipsPerInch;

    painter.setPen(QPen(Qt::black, 0));
    for (const Line& line : page.lines)
        painter.drawLine(QPointF(line.x1 * sx, line.y1 * sy), QPointF(line.x2 * sx, line.y2 * sy));

    for (const Text& text : page.texts) {
        if (text.text.isEmpty())
            continue;
        const QFont font = FontFor(text.font, text.points, text.bold);
        painter.setFont(font);
        // Texts are placed by their top-left corner: the baseline is one
        // ascent below it.
        const QFontMetricsF metrics(painter.font(), device_);
        painter.drawText(QPointF(text.x * sx, text.y * sy + metrics.ascent()), text.text);
    }
}
