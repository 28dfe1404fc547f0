#pragma once
// Small widgets the windows are built from: a label that shows a display
// field of the model, the turn arrow, the highlight outline, a plain rule and
// the rating bar of the statistics window.
#include "ui/Twips.h"

#include <QLabel>
#include <QWidget>

#include <QStringList>

class Field;

// Escapes a text for a menu entry or a tab, whose "&" would otherwise mark
// an access key: a name such as "Tom & Jerry" shows as written.
QString LiteralCaption(const QString& text);

// A tooltip that shows a text as written: Qt takes a tooltip that looks
// like markup for rich text, so a name such as "<b>Bo</b>" would be drawn
// bold, or not at all.
QString LiteralToolTip(const QString& text);

// A text laid out to fit a box: the font it is drawn in and its lines.
struct FittedText {
    QFont font;
    QStringList lines;
    int lineSpacing = 0;
    bool elided = false;
};

// Lays out `text` in a box of `box` pixels. Without wrapping the text keeps
// to one line; with wrapping it breaks between words, or inside a word too
// long for a line. With `minPixelSize` below the font's size the font
// shrinks step by step until the text fits; what still does not fit ends
// in an ellipsis.
FittedText FitText(const QString& text, const QFont& font, const QSize& box, bool wrap,
                   int minPixelSize);

// A label whose text never runs out of its box or under its neighbours: it
// is drawn fitted to the label (shrunk, wrapped or cut short with an
// ellipsis), and a text cut short shows whole in the label's tooltip. Texts
// are shown literally: no rich text, no access keys.
class FitLabel : public QLabel {
    Q_OBJECT
public:
    enum class Fit {
        None,       // a plain label
        Elide,      // one line, cut short with an ellipsis
        ShrinkWrap, // wrapped, the font shrunk to fit, an ellipsis as a last resort
    };
    explicit FitLabel(QWidget* parent);

    void setFit(Fit fit, int minPixelSize = 11);
    Fit fit() const { return fit_; }
    // The text as it is drawn at the label's current size and font.
    FittedText fitted() const;
    // The rectangle, in the label's coordinates, that the drawn text takes.
    QRect textRect() const;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;

private:
    Fit fit_ = Fit::None;
    int minPixelSize_ = 11;
};

// A label bound to a model field. apply() writes the caption, the visibility
// and the colours only where they differ from what is on view, so an
// unchanged field never causes a repaint.
class FieldLabel : public FitLabel {
    Q_OBJECT
public:
    explicit FieldLabel(QWidget* parent, const QString& name);

    void apply(const Field& field);
    // How often the caption has been written since the label was made.
    quint64 captionWrites() const { return captionWrites_; }
    void setCaption(const QString& text);

private:
    quint64 captionWrites_ = 0;
    quint32 back_ = 0xFFFFFFFF, fore_ = 0xFFFFFFFF;
};

// Makes a fixed label at a design rectangle.
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text,
                  double left, double top, double width, double height,
                  const QFont& font, const QColor& back, const QColor& fore,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop);

// The part of the screen a window may take: the available area of the
// screen it is on, or, before it is first shown, of its parent window's.
QRect ScreenRoom(const QWidget* window);
// Moves a window whose frame sticks out of that area back inside it.
void KeepOnScreen(QWidget* window);

// A mark of the player to throw, lit or dark. The marks change with every
// visit and stay shown: showing or hiding a widget while the pointer is over
// the window makes Qt ask the X server where the pointer is, a round trip
// each time, and work out again which widget is under it. A dark mark draws
// nothing, so what lies under it shows, and takes no click.
class TurnMark : public QWidget {
    Q_OBJECT
public:
    // `clickable`: whether the lit mark takes the clicks on it.
    TurnMark(QWidget* parent, bool clickable);

    void setLit(bool lit);
    bool lit() const { return lit_; }

private:
    bool lit_ = true;
    bool clickable_;
};

// A turn arrow: a filled triangle pointing left or right across the widget.
class ArrowWidget : public TurnMark {
    Q_OBJECT
public:
    ArrowWidget(QWidget* parent, const QString& name, bool pointsLeft);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool left_;
};

// A rectangle outline (the highlight of the player to throw). It takes no
// mouse input, so the controls under it work as if it were not there. The
// widget is masked to the outline's own pixels: it spans a whole panel, and
// unmasked, lighting or darkening it would repaint the panel, and every
// label repainted under it would repaint it too.
class OutlineWidget : public TurnMark {
    Q_OBJECT
public:
    OutlineWidget(QWidget* parent, const QString& name, const QColor& colour, int widthPx);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void drawOutline(QPainter& p, const QColor& colour) const;

    QColor colour_;
    int width_;
};

// A straight line of a solid colour (rules and the scale's ticks).
class RuleWidget : public QWidget {
    Q_OBJECT
public:
    RuleWidget(QWidget* parent, const QColor& colour);
};

// A rating bar from 0 to 100 whose fill grows linearly across its whole width,
// so the scale's ticks above it mark the values they stand for.
class RatingBar : public QWidget {
    Q_OBJECT
public:
    RatingBar(QWidget* parent, const QString& name);
    double value() const { return value_; }
    void setValue(double value);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double value_ = 0;
};
