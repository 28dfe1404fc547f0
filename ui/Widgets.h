#pragma once
// Small widgets the windows are built from: a label that shows a display
// field of the model, the turn arrow, the highlight outline, a plain rule and
// the rating bar of the statistics window.
#include "ui/Twips.h"

#include <QLabel>
#include <QWidget>

class Field;

// A label bound to a model field. apply() writes the caption, the visibility
// and the colours only where they differ from what is on view, so an
// unchanged field never causes a repaint.
class FieldLabel : public QLabel {
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

// A turn arrow: a filled triangle pointing left or right across the widget.
class ArrowWidget : public QWidget {
    Q_OBJECT
public:
    ArrowWidget(QWidget* parent, const QString& name, bool pointsLeft);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool left_;
};

// A rectangle outline (the highlight of the player to throw). It takes no
// mouse input, so the controls under it work as if it were not there.
class OutlineWidget : public QWidget {
    Q_OBJECT
public:
    OutlineWidget(QWidget* parent, const QString& name, const QColor& colour, int widthPx);

protected:
    void paintEvent(QPaintEvent*) override;

private:
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
