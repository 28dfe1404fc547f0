#include "print/PageSurface.h"

void PageSurface::setFont(const QString& name, double points, bool bold)
{
    fontName_ = name;
    fontPoints_ = points;
    fontBold_ = bold;
    fontChanged();
}

RecordingSurface::RecordingSurface(qint64 pageHeightTwips)
    : pages_(1), pageHeight_(pageHeightTwips)
{
}

void RecordingSurface::drawText(qint64 x, qint64 y, const QString& text)
{
    pages_[std::size_t(current_)].texts.push_back({x, y, text, fontName(), fontPoints(), fontBold()});
}

void RecordingSurface::drawLine(qint64 x1, qint64 y1, qint64 x2, qint64 y2)
{
    pages_[std::size_t(current_)].lines.push_back({x1, y1, x2, y2});
}

void RecordingSurface::newPage()
{
    pages_.emplace_back();
    current_ = int(pages_.size()) - 1;
}

void RecordingSurface::setCurrentPage(int page)
{
    // Only pages already begun can be returned to.
    if (page >= 0 && page < pageCount())
        current_ = page;
}

bool RecordingSurface::finish()
{
    finished_ = true;
    return true;
}
