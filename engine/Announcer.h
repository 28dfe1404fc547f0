#pragma once
// The announcement follows the match: a bust, a won leg and the match's
// winner, each by the name the winner's panel shows.
#include "base/Players.h"
#include "engine/Announcement.h"
#include "engine/Scoreboard.h"
#include "match/MatchEvents.h"

class Announcer final : public match::MatchListener {
public:
    Announcer(Announcement& announcement, const Scoreboard& board) : a_(announcement), board_(board) {}

    void bust(const match::Bust&) override { a_.announceBust(); }
    void legWon(const match::LegWon& w) override { a_.announceLegWon(name(w.player)); }
    void matchWon(const match::MatchWon& w) override { a_.announceMatchWinner(name(w.player).trimmed()); }

private:
    const QString& name(int p) const { return board_.panel[PlayerIndex(p)].lblNames.text(); }

    Announcement& a_;
    const Scoreboard& board_;
};
