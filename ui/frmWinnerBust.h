#pragma once
// The announcement dialog: a bust, a won leg or the match winner. It never
// blocks the board, and only "&Ok" closes it: the close box, Escape and
// losing the focus are refused and leave it on view.
#include "engine/Commands.h"

#include <QDialog>
#include <QPointF>
#include <QRect>

#include <optional>

class FitLabel;
class ModDarts;
class QPushButton;
class VantrellApp;

// Where a window whose frame is `size` can stand on `screen` without
// covering the circle round `centre` (all in global pixels). Spots inside
// `home` come first, then those that leave `keepClear` uncovered, then those
// that cover fewest of `ratherClear`, then the one farthest from the circle
// and, among those, nearest to the bottom-left corner of `home`. Where every spot on the screen touches the
// circle, the one that reaches least far into it.
QPoint ClearSpotFor(const QSize& size, const QRect& screen, const QRect& home,
                    const QPointF& centre, double radius, const QRect& keepClear,
                    const QList<QRect>& ratherClear = {});

class frmWinnerBust : public QDialog {
    Q_OBJECT
public:
    frmWinnerBust(QWidget* parent, VantrellApp& app);

    // Shows what the model now holds of the parts given: the announcement's
    // texts (its revision rises each time it is announced or shown again,
    // which brings the dialog to the front), and a place clear of the board
    // when the board has moved.
    void refresh(Commands::Parts parts);
    // Closes the dialog for good, after "&Ok".
    void closeForGood();
    // Moves the dialog off the board when the board has grown under it.
    void keepClearOfTheBoard();
    // Where the dialog goes on a screen of that area (global pixels): clear
    // of the beds, of "&Undo" and, where there is room, of the scores. The
    // frame is the dialog's own unless one is given.
    std::optional<QPoint> clearSpotOn(const QRect& area, QSize frame = {}) const;

    // The board's scoring area (the double ring and what it holds) in
    // global pixels, and the spot the dialog's frame may not cover.
    bool boardRing(QPointF* centre, double* radius) const;
    // The dialog's frame as it stands, or will stand once the window system
    // has decorated it.
    QRect expectedFrame() const;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* e) override;
    // A window manager makes the dialog active as it appears; darts typed
    // then still go to the scoreboard's entry.
    void keyPressEvent(QKeyEvent* e) override;

private:
    void layOutLines(int winnerTopTwips);
    void placeClearOfTheBoard();

    void syncTexts();

    VantrellApp& app_;
    const ModDarts& model_;
    Commands& commands_;
    FitLabel* lblWinner_ = nullptr;
    FitLabel* lblPlayer_ = nullptr;
    QPushButton* cmdOk_ = nullptr;
    quint64 shownRevision_ = 0;
    bool closing_ = false;
    bool placed_ = false;
};
