#include "ui/Widgets.h"

#include "engine/Field.h"

#include <QPainter>
#include <QPainterPath>
#include <QPalette>

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

FieldLabel::FieldLabel(QWidget* parent, const QString& name) : QLabel(parent)
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

ArrowWidget::ArrowWidget(QWidget* parent, const QString& name, bool pointsLeft)
    : QWidget(parent), left_(pointsLeft)
{
    setObjectName(name);
    setAttribute(Qt::WA_NoMousePropagation);
}

void ArrowWidget::paintEvent(QPaintEvent*)
{
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
    : QWidget(parent), colour_(colour), width_(widthPx)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void OutlineWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int half = width_ / 2;
    p.setPen(QPen(colour_, width_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(QRect(rect()).adjusted(half, half, -half - (width_ % 2 ? 0 : 1),
                                      -half - (width_ % 2 ? 0 : 1)));
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
