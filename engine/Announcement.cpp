#include "engine/Announcement.h"

void Announcement::show()
{
    if (!open_) {
        // A closed dialog was discarded: it comes back with its design layout.
        lblWinner_ = QStringLiteral("The winner of the leg is:");
        lblPlayer_ = QStringLiteral("Name");
        winnerTop_ = DesignWinnerTop;
        open_ = true;
    }
    ++revision_;
}

void Announcement::announceBust()
{
    show();
    winnerTop_ = DialogHeight / 2;
    lblPlayer_ = QStringLiteral("BUST!");
    lblWinner_.clear();
}

void Announcement::announceLegWon(const QString& name)
{
    show();
    lblWinner_ = name;
    lblPlayer_ = QStringLiteral("has won the leg");
}

void Announcement::announceMatchWinner(const QString& trimmedName)
{
    show();
    lblWinner_ = QStringLiteral("Match winner is:");
    lblPlayer_ = trimmedName;
}

void Announcement::Ok()
{
    if (!open_)
        return;
    open_ = false;
    ++revision_;
}

void Announcement::closeRequest()
{
    // Refused: the dialog stays open, shown again where it was.
    if (open_)
        ++revision_;
}
