#pragma once
// The printed page as the reports see it: a font, texts placed by their
// top-left corner and lines, all in twips from the top-left corner of the
// page's printable area.
//
// A document is a row of pages and any page already begun can be written
// again: a table too long for its page carries on at the top of the next
// page while the rest of the report goes back to the page it started on.
// Surfaces that feed a real printer therefore collect the whole document and
// put it on paper only in finish().
#include <QString>
#include <QtGlobal>
#include <vector>

class PageSurface {
public:
    // Where rows carried over from the previous page start.
    static constexpr qint64 DefaultContinuationTop = 500;

    virtual ~PageSurface() = default;

    // The font of the texts drawn from now on.
    void setFont(const QString& name, double points, bool bold);
    void setBold(bool bold) { setFont(fontName_, fontPoints_, bold); }
    const QString& fontName() const { return fontName_; }
    double fontPoints() const { return fontPoints_; }
    bool fontBold() const { return fontBold_; }

    // Draws on the current page.
    virtual void drawText(qint64 x, qint64 y, const QString& text) = 0;
    virtual void drawLine(qint64 x1, qint64 y1, qint64 x2, qint64 y2) = 0;

    // Adds a page at the end of the document and makes it the current one.
    virtual void newPage() = 0;
    virtual int pageCount() const = 0;
    virtual int currentPage() const = 0;
    // Makes an existing page (0 to pageCount() - 1) current again.
    virtual void setCurrentPage(int page) = 0;

    // The height of the printable area: a row whose box would reach below it
    // belongs on the next page.
    virtual qint64 pageHeightTwips() const = 0;
    virtual qint64 continuationTopTwips() const { return DefaultContinuationTop; }

    // Ends the document (a printer then prints it). False when it could not
    // be put out; error() then says why.
    virtual bool finish() = 0;
    virtual QString error() const { return QString(); }

protected:
    // Called after every change of the font.
    virtual void fontChanged() {}

private:
    QString fontName_;
    double fontPoints_ = 12;
    bool fontBold_ = false;
};

// A surface that keeps everything drawn on it, page by page, so the
// document can be read back or drawn later.
class RecordingSurface : public PageSurface {
public:
    struct Text {
        qint64 x, y;
        QString text;
        QString font;
        double points;
        bool bold;
    };
    struct Line {
        qint64 x1, y1, x2, y2;
    };
    struct Page {
        std::vector<Text> texts;
        std::vector<Line> lines;
    };

    // A4 is 16838 twips high; less a quarter inch at top and bottom.
    static constexpr qint64 DefaultPageHeight = 16118;

    explicit RecordingSurface(qint64 pageHeightTwips = DefaultPageHeight);

    void drawText(qint64 x, qint64 y, const QString& text) override;
    void drawLine(qint64 x1, qint64 y1, qint64 x2, qint64 y2) override;
    void newPage() override;
    int pageCount() const override { return int(pages_.size()); }
    int currentPage() const override { return current_; }
    void setCurrentPage(int page) override;
    qint64 pageHeightTwips() const override { return pageHeight_; }
    bool finish() override;

    const std::vector<Page>& pages() const { return pages_; }
    bool finished() const { return finished_; }

protected:
    void setPageHeight(qint64 twips) { pageHeight_ = twips; }

private:
    std::vector<Page> pages_;
    int current_ = 0;
    qint64 pageHeight_;
    bool finished_ = false;
};
