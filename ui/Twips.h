#pragma once
// The windows are laid out in twips, as the scoreboard model keeps its
// places; on screen 15 twips make one device-independent pixel. These helpers
// turn the design values into Qt's units and the model's colour numbers into
// colours.
#include <QColor>
#include <QFont>
#include <QRect>
#include <QWidget>

#include <cmath>

namespace twips {

constexpr double PerPixel = 15.0;

inline int px(double t) { return int(std::lround(t / PerPixel)); }
inline double fromPx(double p) { return p * PerPixel; }

inline QRect rect(double left, double top, double width, double height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

// Places a widget at a design rectangle of its parent.
inline void place(QWidget* w, double left, double top, double width, double height)
{
    w->setGeometry(rect(left, top, width, height));
}

// A window system colour number: red in the low byte, blue in the high byte.
inline QColor colour(quint32 number)
{
    return QColor(int(number & 0xFF), int((number >> 8) & 0xFF), int((number >> 16) & 0xFF));
}

} // namespace twips

// The faces the windows were designed with, mapped to fonts a Linux desktop
// has: Liberation Sans Narrow stands in for Arial Narrow, Liberation Sans for
// Arial and for the old MS Sans Serif, a black weight for Arial Black.
enum class Face { SansSerif, Arial, ArialNarrow, ArialBlack };

// Point sizes are converted at 96 dots per inch so the text keeps its
// proportion to the twip layout whatever the screen reports.
QFont designFont(Face face, double points, bool bold = false);

namespace palette {
inline const QColor PanelBlue{128, 128, 255};
inline const QColor DarkBlue{0, 0, 192};
inline const QColor DarkRed{192, 0, 0};
inline const QColor Yellow{255, 255, 0};
inline const QColor White{255, 255, 255};
inline const QColor Black{0, 0, 0};
inline const QColor ButtonFace{212, 208, 200};
} // namespace palette

// Gives a widget a solid background and a text colour.
void paintWidget(QWidget* w, const QColor& back, const QColor& fore);
