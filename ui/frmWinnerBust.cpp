#include "ui/frmWinnerBust.h"

#include "engine/ModDarts.h"
#include "ui/Twips.h"
#include "ui/VantrellApp.h"
#include "ui/Widgets.h"

#include <QCloseEvent>

#include <algorithm>
#include <QPushButton>

frmWinnerBust::frmWinnerBust(QWidget* parent, VantrellApp& app) : QDialog(parent), app_(app)
{
    setObjectName(QStringLiteral("frmWinnerBust"));
    setWindowTitle(QStringLiteral("Vantrell"));
    setModal(false);
    setFixedSize(twips::px(4545), twips::px(Announcement::DialogHeight));
    paintWidget(this, palette::DarkRed, palette::White);

    lblWinner_ = makeLabel(this, QStringLiteral("lblWinner"), QString(), 120,
                           Announcement::DesignWinnerTop, 4335, 615,
                           designFont(Face::SansSerif, 18, true), palette::DarkRed,
                           palette::White, Qt::AlignLeft | Qt::AlignTop);
    lblPlayer_ = makeLabel(this, QStringLiteral("lblPlayer"), QString(), 480, 720, 3615, 975,
                           designFont(Face::SansSerif, 18), palette::DarkRed, palette::White,
                           Qt::AlignHCenter | Qt::AlignTop);
    cmdOk_ = new QPushButton(QStringLiteral("&Ok"), this);
    cmdOk_->setObjectName(QStringLiteral("cmdOk"));
    cmdOk_->setAutoDefault(false);
    twips::place(cmdOk_, 1560, 1680, 1455, 375);
    connect(cmdOk_, &QPushButton::clicked, this, [this] { app_.winnerOk(); });
}

void frmWinnerBust::sync()
{
    const Announcement& a = app_.model().winner;
    if (!a.open())
        return;
    if (lblWinner_->text() != a.lblWinner())
        lblWinner_->setText(a.lblWinner());
    if (lblPlayer_->text() != a.lblPlayer())
        lblPlayer_->setText(a.lblPlayer());
    const int top = twips::px(a.winnerTop());
    if (lblWinner_->y() != top)
        lblWinner_->move(lblWinner_->x(), top);
    if (a.revision() != shownRevision_ || isHidden()) {
        shownRevision_ = a.revision();
        if (isHidden()) {
            if (!placed_)
                placeClearOfTheBoard();
            show();
        }
        raise();
        // Painted at once, while the click that announced it is still running.
        repaint();
    }
}

// Shown in the middle of the scoreboard, the dialog would cover the bull and
// the inner beds, which the operator must still be able to click while it is
// open. The lower left corner of the main window is off the scoring area at
// any size the board is fitted to.
void frmWinnerBust::placeClearOfTheBoard()
{
    placed_ = true;
    const QWidget* main = parentWidget();
    if (!main)
        return;
    const QRect area = main->geometry();
    move(area.left(), std::max(area.top(), area.bottom() - frameGeometry().height() + 1));
}

void frmWinnerBust::closeForGood()
{
    closing_ = true;
    close();
}

void frmWinnerBust::reject()
{
    // Escape asks to close like the close box does: refused.
    app_.winnerCloseRequest();
}

void frmWinnerBust::closeEvent(QCloseEvent* e)
{
    if (closing_) {
        e->accept();
        return;
    }
    e->ignore();
    app_.winnerCloseRequest();
}
