#include "engine/SummaryKeeper.h"

#include "base/TextNumbers.h"
#include "engine/ModDarts.h"

void SummaryKeeper::dartScored(const match::DartScored& d)
{
    const match::Match& m = e_.match();
    const match::PlayerState& thrower = m.player(d.player);
    // The leg's first dart finds both players at the leg's start.
    if (thrower.dartsInLeg == 1 && m.player(1 - d.player).dartsInLeg == 0)
        set(legStart_, thrower.remaining);
    if (m.player(0).dartsInMatch + m.player(1).dartsInMatch == 1)
        set(firstLegStart_, legStart_);
    if (win_ && win_->firstStartAfter == 0) {
        AtWin after = *win_;
        after.firstStartAfter = legStart_;
        set(win_, std::optional<AtWin>(after));
    }
}

void SummaryKeeper::legWon(const match::LegWon& w)
{
    set(legsWon_[w.player], legsWon_[w.player] + 1);
}

void SummaryKeeper::matchWon(const match::MatchWon& w)
{
    // The first win stands; a later count reaching the sets again does not
    // take it away.
    if (win_)
        return;
    AtWin at;
    at.row = rowNow();
    at.row.winner = w.player;
    at.dartsInMatch = e_.match().player(0).dartsInMatch + e_.match().player(1).dartsInMatch;
    set(win_, std::optional<AtWin>(at));
}

void SummaryKeeper::gameStarted(const match::GameStarted&)
{
    // A new game is no dart: the journal is emptied with it.
    legsWon_[0] = legsWon_[1] = 0;
    legStart_ = firstLegStart_ = 0;
    win_.reset();
}

history::StoredMatch SummaryKeeper::rowNow() const
{
    history::StoredMatch row;
    row.players = e_.twoPlayers() ? 2 : 1;
    for (int p = 0; p < 2; ++p) {
        const match::PlayerState& S = e_.match().player(p);
        row.names[p] = e_.board.panel[p].lblNames.text();
        row.sets[p] = S.sets;
        row.legs[p] = legsWon_[p];
        row.darts[p] = S.dartsInMatch;
        row.points[p] = S.matchPoints;
        row.average[p] = history::ThreeDartAverage(S.matchPoints, S.dartsInMatch);
    }
    row.startingScore = firstLegStart_ != 0 ? int(firstLegStart_) : e_.savedStartWith();
    row.legsPerSet = NumericValue(e_.options.txtLegs);
    row.setsPerMatch = NumericValue(e_.options.txtSets);
    return row;
}

history::Summary SummaryKeeper::summary(qint64 seq) const
{
    history::Summary s;
    s.seq = seq;
    history::StoredMatch now = rowNow();
    const match::Match& m = e_.match();
    const qint64 darts = m.player(0).dartsInMatch + m.player(1).dartsInMatch;
    if (win_ && darts > win_->dartsInMatch) {
        // Play went on after the win: the match as it stood then, and what
        // was thrown since, as an entry of its own.
        const history::StoredMatch& won = win_->row;
        history::StoredMatch after = now;
        after.playedOn = true;
        after.startingScore = int(win_->firstStartAfter);
        for (int p = 0; p < 2; ++p) {
            after.sets[p] = now.sets[p] - won.sets[p];
            after.legs[p] = now.legs[p] - won.legs[p];
            after.darts[p] = now.darts[p] - won.darts[p];
            after.points[p] = now.points[p] - won.points[p];
            after.average[p] = history::ThreeDartAverage(after.points[p], after.darts[p]);
        }
        s.rows = {after, won};
    } else {
        now.winner = win_ ? win_->row.winner : -1;
        s.rows = {now};
    }
    history::Resumable& r = s.resumable;
    for (int p = 0; p < 2; ++p) {
        const match::PlayerState& S = m.player(p);
        r.players[p] = now.names[p];
        r.sets[p] = S.sets;
        r.legs[p] = S.legs;
        r.remaining[p] = S.remaining;
    }
    r.darts = darts;
    r.wonBy = win_ ? win_->row.winner : -1;
    r.playedOn = win_ && darts > win_->dartsInMatch;
    return s;
}
