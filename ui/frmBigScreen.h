#pragma once
// The big screen: a second window for a second monitor or a projector, with
// the match in letters large enough to read from across the room. It paints
// the view the core reads from the engine and nothing else: it never writes
// the model, and it never takes the keyboard from the scoreboard.
#include "engine/BigScreen.h"

#include <optional>
#include "engine/Commands.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

class ModDarts;

// One text as the big screen draws it: fitted to its box, in one line.
struct BigScreenText {
    QString role;    // what it shows: "remaining_0", "name_1", "announcement_0" ...
    QString text;
    QFont font;
    QRect box;
    int align = Qt::AlignCenter;
    QColor colour;

    // Where its glyphs' line lies, as the font's metrics give it.
    QRect drawn() const;
};

// A filled (and perhaps outlined) rectangle behind the texts.
struct BigScreenBox {
    QRect rect;
    QColor fill;
    QColor outline;    // invalid: none
    int outlineWidth = 0;
};

struct BigScreenLayout {
    QList<BigScreenBox> boxes;
    QList<BigScreenText> texts;
};

class frmBigScreen : public QWidget {
    Q_OBJECT
public:
    // `keyboardOwner` is the window that keeps the keyboard: should the
    // window system make this one active all the same, it is handed back.
    frmBigScreen(const ModDarts& model, Commands& commands, QWidget* keyboardOwner);

    // What it shows now, and how that is laid out at its present size.
    const BigScreenView& shown() const { return shown_; }
    const BigScreenLayout& layout() const;

    // The view laid out for a window of `size` pixels: every text fitted
    // to its own box, the boxes apart and inside the window.
    static BigScreenLayout LayOut(const BigScreenView& view, const QSize& size);

    // Full screen on whichever screen the window is on, or back.
    void setFullScreen(bool fullScreen);

    void refresh(Commands::Parts parts);
    // Closes the window for good, once the big screen is closed.
    void closeForGood();

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;

private:
    const ModDarts& model_;
    Commands& commands_;
    QPointer<QWidget> keyboardOwner_;
    QRect normal_;   // the place to go back to from full screen
    BigScreenView shown_;
    // Fitting every text takes far longer than drawing it: the layout is
    // kept until the view or the size changes.
    mutable std::optional<BigScreenLayout> laidOut_;
    mutable QSize laidOutSize_;
    bool closing_ = false;
};
