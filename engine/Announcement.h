#pragma once
// The announcement dialog `frmWinnerBust`: a bust, a won leg or the match
// winner, in two lines. It never blocks the board and only "&Ok" closes it.
#include <QString>

class Announcement {
public:
    static constexpr int DialogHeight = 2220;   // client area, twips
    static constexpr int DesignWinnerTop = 120;

    bool open() const { return open_; }
    const QString& lblWinner() const { return lblWinner_; }
    const QString& lblPlayer() const { return lblPlayer_; }
    int winnerTop() const { return winnerTop_; }
    quint64 revision() const { return revision_; }

    void announceBust();
    void announceLegWon(const QString& name);
    void announceMatchWinner(const QString& trimmedName);

    // The dialog as it stood, put back (a logged match played back).
    void restore(bool open, const QString& winner, const QString& player, int winnerTop)
    {
        open_ = open;
        lblWinner_ = winner;
        lblPlayer_ = player;
        winnerTop_ = winnerTop;
        ++revision_;
    }

    // "&Ok": the only way the dialog closes.
    void Ok();
    // Any other attempt to close it (its close box, losing the focus): refused.
    void closeRequest();

private:
    void show();

    bool open_ = false;
    QString lblWinner_, lblPlayer_;
    int winnerTop_ = DesignWinnerTop;
    quint64 revision_ = 0;
};
