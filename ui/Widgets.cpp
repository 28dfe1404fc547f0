#include "ui/Widgets.h"

#include "engine/Field.h"

#include <QBitmap>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QScreen>
#include <QTextLayout>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>

QFont designFont(Face face, double points, bool bold)
{
    QFont font;
    switch (face) {
    case Face::SansSerif:
    case Face::Arial:
        font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                          QStringLiteral("DejaVu Sans")});
        break;
    case Face::ArialNarrow:
        font.setFamilies({QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial Narrow"),
                          QStringLiteral("DejaVu Sans Condensed")});
        break;
    case Face::ArialBlack:
        font.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans"),
                          QStringLiteral("DejaVu Sans")});
        break;
    }
    font.setPixelSize(std::max(1, int(std::lround(points * 96.0 / 72.0))));
    if (face == Face::ArialBlack)
        font.setWeight(QFont::Black);
    else if (bold)
        font.setBold(true);
    return font;
}

void paintWidget(QWidget* w, const QColor& back, const QColor& fore)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::WindowText, fore);
    pal.setColor(QPalette::Text, fore);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

QString LiteralToolTip(const QString& text)
{
    return text.isEmpty() ? text : Qt::convertFromPlainText(text, Qt::WhiteSpacePre);
}

QString LiteralCaption(const QString& text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

namespace {

int PixelSizeOf(const QFont& font)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return std::max(1, int(std::lround(font.pointSizeF() * 96.0 / 72.0)));
}

QString WithoutTrailingBlanks(QString line)
{
    while (!line.isEmpty() && line.back().isSpace())
        line.chop(1);
    return line;
}

// The lines of `text` broken to `width`, between words where it can be,
// inside a word where one word is wider than the line; and where each line
// starts in the text.
QStringList WrapLines(const QString& text, const QFont& font, int width, QList<int>* starts)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(std::max(1, width));
        lines << WithoutTrailingBlanks(text.mid(line.textStart(), line.textLength()));
        if (starts)
            starts->append(line.textStart());
    }
    layout.endLayout();
    return lines;
}

} // namespace

FittedText FitText(const QString& text, const QFont& font, const QSize& box, bool wrap,
                   int minPixelSize)
{
    FittedText fitted;
    fitted.font = font;
    const int largest = PixelSizeOf(font);
    const int smallest = std::clamp(minPixelSize, 1, largest);
    for (int size = largest; size >= smallest; --size) {
        fitted.font.setPixelSize(size);
        const QFontMetrics metrics(fitted.font);
        fitted.lineSpacing = metrics.lineSpacing();
        if (!wrap) {
            if (metrics.horizontalAdvance(text) <= box.width()) {
                fitted.lines = QStringList{text};
                return fitted;
            }
            continue;
        }
        fitted.lines = WrapLines(text, fitted.font, box.width(), nullptr);
        bool narrow = true;
        for (const QString& line : fitted.lines)
            narrow = narrow && metrics.horizontalAdvance(line) <= box.width();
        if (narrow && fitted.lines.size() * fitted.lineSpacing <= box.height())
            return fitted;
    }

    // Even the smallest font is too large: as many lines as the box holds,
    // the last one cut short.
    const QFontMetrics metrics(fitted.font);
    fitted.elided = true;
    if (!wrap) {
        fitted.lines = QStringList{metrics.elidedText(text, Qt::ElideRight, box.width())};
        return fitted;
    }
    QList<int> starts;
    const QStringList all = WrapLines(text, fitted.font, box.width(), &starts);
    const int room = std::max(1, box.height() / std::max(1, fitted.lineSpacing));
    fitted.lines = all.mid(0, room - 1);
    const QString rest = text.mid(starts.value(room - 1, 0)).simplified();
    fitted.lines << metrics.elidedText(rest, Qt::ElideRight, box.width());
    return fitted;
}

FitLabel::FitLabel(QWidget* parent) : QLabel(parent)
{
    // Names are shown as typed: "<b>" is no markup and "&" no access key.
    setTextFormat(Qt::PlainText);
}

void FitLabel::setFit(Fit fit, int minPixelSize)
{
    fit_ = fit;
    minPixelSize_ = minPixelSize;
    update();
}

FittedText FitLabel::fitted() const
{
    const QSize box = contentsRect().size();
    switch (fit_) {
    case Fit::Elide:
        return FitText(text(), font(), box, false, PixelSizeOf(font()));
    case Fit::ShrinkWrap:
        return FitText(text(), font(), box, true, minPixelSize_);
    case Fit::None:
        break;
    }
    FittedText plain;
    plain.font = font();
    plain.lines = QStringList{text()};
    plain.lineSpacing = fontMetrics().lineSpacing();
    return plain;
}

namespace {

// Where each line of a fitted text stands inside `area`.
QList<QRect> LineRects(const FittedText& t, const QRect& area, Qt::Alignment align)
{
    const QFontMetrics metrics(t.font);
    const int block = int(t.lines.size()) * t.lineSpacing;
    int y = area.top();
    if (align & Qt::AlignBottom)
        y = area.bottom() + 1 - block;
    else if (align & Qt::AlignVCenter)
        y = area.top() + (area.height() - block) / 2;
    QList<QRect> rects;
    for (const QString& line : t.lines) {
        const int w = metrics.horizontalAdvance(line);
        int x = area.left();
        if (align & Qt::AlignRight)
            x = area.right() + 1 - w;
        else if (align & Qt::AlignHCenter)
            x = area.left() + (area.width() - w) / 2;
        rects << QRect(x, y, w, metrics.height());
        y += t.lineSpacing;
    }
    return rects;
}

} // namespace

QRect FitLabel::textRect() const
{
    QRect united;
    for (const QRect& r : LineRects(fitted(), contentsRect(), alignment()))
        united = united.united(r);
    return united;
}

void FitLabel::paintEvent(QPaintEvent* e)
{
    if (fit_ == Fit::None) {
        QLabel::paintEvent(e);
        return;
    }
    QPainter p(this);
    drawFrame(&p);
    const FittedText t = fitted();
    const QList<QRect> rects = LineRects(t, contentsRect(), alignment());
    p.setFont(t.font);
    p.setPen(palette().color(foregroundRole()));
    const QFontMetrics metrics(t.font);
    for (int i = 0; i < t.lines.size(); ++i)
        p.drawText(QPoint(rects[i].left(), rects[i].top() + metrics.ascent()), t.lines[i]);
}

bool FitLabel::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip && fit_ != Fit::None && toolTip().isEmpty()) {
        // A text cut short shows whole when the pointer rests on it.
        if (fitted().elided)
            QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), LiteralToolTip(text()), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(e);
}

FieldLabel::FieldLabel(QWidget* parent, const QString& name) : FitLabel(parent)
{
    setObjectName(name);
    setAlignment(Qt::AlignCenter);
}

void FieldLabel::setCaption(const QString& text)
{
    if (text == this->text())
        return;
    setText(text);
    ++captionWrites_;
}

void FieldLabel::apply(const Field& field)
{
    setCaption(field.text());
    if (field.back() != back_ || field.fore() != fore_) {
        back_ = field.back();
        fore_ = field.fore();
        paintWidget(this, twips::colour(back_), twips::colour(fore_));
    }
    // Hidden labels of a hidden parent must keep their own flag.
    if (isHidden() == field.visible())
        setVisible(field.visible());
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, double left,
                  double top, double width, double height, const QFont& font,
                  const QColor& back, const QColor& fore, Qt::Alignment align)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setAlignment(align);
    label->setWordWrap(true);
    paintWidget(label, back, fore);
    twips::place(label, left, top, width, height);
    return label;
}

QRect ScreenRoom(const QWidget* window)
{
    const QWidget* parent = window->parentWidget();
    const QScreen* screen = window->isVisible() || !parent ? window->screen() : parent->window()->screen();
    return screen ? screen->availableGeometry() : QRect();
}

void KeepOnScreen(QWidget* window)
{
    const QRect room = ScreenRoom(window);
    const QRect frame = window->frameGeometry();
    if (room.isEmpty() || room.contains(frame))
        return;
    window->move(std::max(room.left(), std::min(frame.left(), room.right() + 1 - frame.width())),
                 std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - frame.height())));
}

TurnMark::TurnMark(QWidget* parent, bool clickable) : QWidget(parent), clickable_(clickable)
{
    setAttribute(Qt::WA_TransparentForMouseEvents, !clickable_);
}

void TurnMark::setLit(bool lit)
{
    if (lit == lit_)
        return;
    lit_ = lit;
    // Dark, a click goes where it would go were the mark not there.
    setAttribute(Qt::WA_TransparentForMouseEvents, !(lit_ && clickable_));
    update();
}

ArrowWidget::ArrowWidget(QWidget* parent, const QString& name, bool pointsLeft)
    : TurnMark(parent, true), left_(pointsLeft)
{
    setObjectName(name);
    setAttribute(Qt::WA_NoMousePropagation);
}

void ArrowWidget::paintEvent(QPaintEvent*)
{
    if (!lit())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    QPainterPath path;
    if (left_) {
        path.moveTo(r.left(), r.center().y());
        path.lineTo(r.right(), r.top());
        path.lineTo(r.right(), r.bottom());
    } else {
        path.moveTo(r.right(), r.center().y());
        path.lineTo(r.left(), r.top());
        path.lineTo(r.left(), r.bottom());
    }
    path.closeSubpath();
    p.fillPath(path, palette::Yellow);
    p.setPen(QPen(QColor(160, 160, 0), 1));
    p.drawPath(path);
}

OutlineWidget::OutlineWidget(QWidget* parent, const QString& name, const QColor& colour,
                             int widthPx)
    : TurnMark(parent, false), colour_(colour), width_(widthPx)
{
    setObjectName(name);
}

void OutlineWidget::drawOutline(QPainter& p, const QColor& colour) const
{
    const int half = width_ / 2;
    p.setPen(QPen(colour, width_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(QRect(rect()).adjusted(half, half, -half - (width_ % 2 ? 0 : 1),
                                      -half - (width_ % 2 ? 0 : 1)));
}

void OutlineWidget::paintEvent(QPaintEvent*)
{
    if (!lit())
        return;
    QPainter p(this);
    drawOutline(p, colour_);
}

void OutlineWidget::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    // The mask is the very pixels the outline paints, drawn the same way.
    QImage shape(size(), QImage::Format_Mono);
    shape.fill(0);
    {
        QPainter p(&shape);
        drawOutline(p, Qt::color1);
    }
    setMask(QBitmap::fromImage(shape));
}

RuleWidget::RuleWidget(QWidget* parent, const QColor& colour) : QWidget(parent)
{
    paintWidget(this, colour, colour);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

RatingBar::RatingBar(QWidget* parent, const QString& name) : QWidget(parent)
{
    setObjectName(name);
}

void RatingBar::setValue(double value)
{
    if (value == value_)
        return;
    value_ = value;
    update();
}

void RatingBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    p.fillRect(rect(), QColor(255, 255, 255));
    const double fraction = std::clamp(value_, 0.0, 100.0) / 100.0;
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    const int fill = int(std::lround(inner.width() * fraction));
    if (fill > 0)
        p.fillRect(QRect(inner.left(), inner.top(), fill, inner.height()), QColor(0, 0, 128));
    p.setPen(QColor(128, 128, 128));
    p.drawLine(frame.topLeft(), frame.topRight());
    p.drawLine(frame.topLeft(), frame.bottomLeft());
    p.setPen(QColor(224, 224, 224));
    p.drawLine(frame.bottomLeft(), frame.bottomRight());
    p.drawLine(frame.topRight(), frame.bottomRight());
}
