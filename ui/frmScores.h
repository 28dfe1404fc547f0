#pragma once
// The scoreboard, the program's main window: the two player panels, the
// board picture, the turn arrows and highlights, the aim box, "&Undo" and the
// menu bar. It shows the Scoreboard model and forwards the operator's events.
#include <QElapsedTimer>
#include <QFrame>
#include <QImage>
#include <QMainWindow>
#include <QTimer>

#include "engine/Commands.h"
#include "engine/Scoreboard.h"

class EntryLine;
class FieldLabel;
class GridView;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class ModDarts;
class VantrellApp;
class ArrowWidget;
class OutlineWidget;

// The board picture `Image1`. Any mouse button records a dart; pointer
// moves drive the aim box. Positions go to the engine in twips relative to
// the picture.
class BoardWidget : public QWidget {
    Q_OBJECT
public:
    BoardWidget(QWidget* parent, Commands& commands);

    // Shows the board placed at `rect` (window twips).
    void place(const BoardRect& rect);
    const BoardRect& placed() const { return rect_; }
    // The picture as drawn for the current place and size.
    const QImage& picture();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    // A fast hand sends no move over the board on its way out: leaving it
    // for a panel, a button, the menu bar or another window hides the aim box
    // as a move over the bare window does.
    void leaveEvent(QEvent* e) override;

private:
    bool pictureCurrent() const;

    Commands& commands_;
    BoardRect rect_;
    // Drawing a large board takes a good part of a second: while the window
    // is being resized the last picture is stretched, and the new one is
    // drawn once the size has settled.
    QTimer redraw_;
    QImage picture_;
    BoardRect pictureRect_{-1, -1, -1, -1};
    int pictureSize_ = -1;
};

// The client area of the main window: black, and a pointer move over its
// bare parts hides the aim box.
class ScoresArea : public QWidget {
    Q_OBJECT
public:
    ScoresArea(QWidget* parent, Commands& commands);

signals:
    void resized();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    Commands& commands_;
};

class frmScores : public QMainWindow {
    Q_OBJECT
public:
    explicit frmScores(VantrellApp& app);
    ~frmScores() override;

    // Sizes the window to the screen it is on and shows it.
    void showOnScreen();
    // Places the panels for the current client area and the board by the
    // command that gives the engine its place.
    void fitToClientArea();

    // Shows what the model now holds of the parts given.
    void refresh(Commands::Parts parts);

    BoardWidget* board() const { return board_; }
    FieldLabel* aimLabel() const { return lblDartToHit_; }
    EntryLine* entryLine() const { return entryLine_; }
    QFrame* aimBox() const { return frame3_; }
    QWidget* clientArea() const { return area_; }
    // Whether the aim box still waits for the end of the frame to follow
    // the pointer.
    bool aimBehind() const { return aimBehind_; }

protected:
    // Paints the window at most once a frame, see paintNowOrLater.
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    // Typing on the scoreboard: a dart, Backspace, Escape and Enter.
    void keyPressEvent(QKeyEvent* e) override;

private:
    struct Panel {
        QFrame* frame = nullptr;
        FieldLabel* lblNames = nullptr;
        FieldLabel* lblSet = nullptr;
        FieldLabel* lblLeg = nullptr;
        FieldLabel* lblScoreLeft = nullptr;
        FieldLabel* lblFinishAdj = nullptr;
        FieldLabel* lblFirstDart = nullptr;
        FieldLabel* lblSecondDart = nullptr;
        FieldLabel* lblThirdDart = nullptr;
        FieldLabel* lblThreeDartScore = nullptr;
        FieldLabel* lblDartsThrown = nullptr;
        FieldLabel* lblAverage = nullptr;
        GridView* grdOldScores = nullptr;
        OutlineWidget* Shape1 = nullptr;
        ArrowWidget* imgarrow = nullptr;
        // The controls below the previous scores, with their design tops:
        // they move up together when the panel is too short for them.
        QList<QPair<QWidget*, double>> below;
    };

    void buildMenus();
    void buildPanel(int p);
    void syncPanel(int p);
    void syncMenus();
    // The aim box as the model has it; with `paintNow`, a new caption is
    // painted at once.
    void syncAim(bool paintNow = true);
    void fitPanel(int p, double panelHeight);
    // Where "&Undo" goes and how large the board may be in a client area of
    // W by H twips.
    double placeUndoAndBoard(double W, double H, double side);
    void setMenuCaption(QAction* action, const QString& caption);
    // Whether a paint of the window may go ahead now; if not, one is
    // scheduled for when the frame is over.
    bool paintNowOrLater();
    // Whether the window's last paint is a frame old (or there was none).
    bool frameOver() const;
    // The aim box to the pointer now, or at the end of the frame.
    void followPointer();

    VantrellApp& app_;
    const ModDarts& model_;
    Commands& commands_;
    ScoresArea* area_ = nullptr;
    BoardWidget* board_ = nullptr;
    Panel panel_[2];
    QFrame* frame3_ = nullptr;
    FieldLabel* lblDartToHit_ = nullptr;
    QPushButton* cmdUndo_ = nullptr;
    EntryLine* entryLine_ = nullptr;
    QAction* mnuOptPlayer1_ = nullptr;
    QAction* mnuOptPlayer2_ = nullptr;
    QAction* mnustaPlayer1_ = nullptr;
    QAction* mnustaPlayer2_ = nullptr;
    QAction* mnuViewBigScreen_ = nullptr;
    int panelHeight_ = 0;
    static constexpr int FrameMs = 16; // a 60 Hz screen
    QElapsedTimer lastPaint_;
    QTimer paintLater_;
    // The aim box is behind the pointer until the frame is over.
    bool aimBehind_ = false;
};
