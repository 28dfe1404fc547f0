#include "match/Match.h"

#include "base/Players.h"

#include <cmath>

namespace match {

namespace {

// Halves to the even neighbour, as every real-to-whole conversion of the
// scoreboard rounds.
qint64 roundHalfEven(double value)
{
    return static_cast<qint64>(std::nearbyint(value));
}

} // namespace

Match::Match(const MatchSettings& settings) : settings_(settings)
{
    const qint64 start = settings_.startingScore();
    for (PlayerState& p : state_.player)
        p.remaining = start;
}

void Match::clearVisit(int p)
{
    VisitOnView& visit = state_.player[p].visit;
    if (visit == VisitOnView())
        return;
    visit.clear();
    tell(&MatchListener::visitCleared, VisitCleared{p});
}

void Match::passThrow(int to)
{
    state_.currentPlayer = PlayerIndex(to);
    tell(&MatchListener::throwPassed, ThrowPassed{state_.currentPlayer});
}

bool Match::atStartOfLeg() const
{
    return state_.dartsInVisit == 0 && state_.player[0].dartsInLeg == 0 &&
           state_.player[1].dartsInLeg == 0;
}

void Match::throwDart(const Dart& dart)
{
    history_.push(dart, state_);

    // The other player's last visit stays on view until this player's first
    // dart; alone, a finished visit stays until the next one starts.
    if (twoPlayers())
        clearVisit(OtherPlayer(state_.currentPlayer));
    else if (state_.player[0].visit.thirdDartShown())
        clearVisit(0);

    state_.dartsInVisit += 1;
    const int p = PlayerIndex(state_.currentPlayer);
    PlayerState& P = thrower();
    const qint64 score = dart.score();

    // The panel adds the dart to whatever total it shows.
    P.visit.total = P.visit.totalOrZero() + score;
    if (state_.dartsInVisit >= 1 && state_.dartsInVisit <= 3)
        P.visit.darts[std::size_t(state_.dartsInVisit - 1)] = dart;

    P.dartsInLeg += 1;
    P.dartsInLegShown = P.dartsInLeg;
    P.dartsInMatch += 1;
    P.matchPoints += score;
    P.legPoints += score;
    // The first nine darts of the leg, from the leg's own points.
    if (P.inFirstNine())
        P.firstNineAverage = roundHalfEven(double(P.legPoints) / double(P.dartsInLegShown) * 3);

    if (state_.dartsInVisit == 1)
        state_.visitRemaining = P.remaining;
    state_.visitRemaining -= score;

    const qint64 left = state_.visitRemaining;
    const bool wins = left == 0 && dart.finishes();
    const bool busts = (left == 0 && !wins) || left < 0 || left == 1;
    tell(&MatchListener::dartScored, DartScored{p, dart, state_.dartsInVisit});

    if (wins)
        winLeg();
    else if (busts)
        bust();
    if (state_.dartsInVisit == 3)
        endVisit();
}

void Match::endVisit()
{
    PlayerState& P = thrower();
    recordVisit(P.visit.totalOrZero(), false);
    state_.dartsInVisit = 0;
    if (twoPlayers())
        passThrow(OtherPlayer(state_.currentPlayer));
    else
        passThrow(0);
}

void Match::recordVisit(qint64 score, bool winsLeg)
{
    const int p = PlayerIndex(state_.currentPlayer);
    PlayerState& P = thrower();
    qint64 row = 0;
    if (state_.dartsInVisit == 3)
        row = P.nextRow++;
    P.remaining -= P.visit.totalOrZero();
    if (row > 0)
        tell(&MatchListener::visitEnded, VisitEnded{p, score, row, winsLeg});
}

void Match::bust()
{
    const int p = PlayerIndex(state_.currentPlayer);
    PlayerState& P = thrower();

    // A busted visit counts as three darts thrown in the leg, and its points
    // are taken back, the busting dart's included.
    P.dartsInLeg += 3 - state_.dartsInVisit;
    const qint64 total = P.visit.totalOrZero();
    P.matchPoints -= total;
    P.legPoints -= total;
    const qint64 row = P.nextRow++;
    tell(&MatchListener::bust, Bust{p, total, row});

    state_.dartsInVisit = 0;
    if (twoPlayers()) {
        passThrow(OtherPlayer(p));
    } else {
        clearVisit(0);
        passThrow(0);
    }
}

void Match::winLeg()
{
    const int p = PlayerIndex(state_.currentPlayer);
    const qint64 outShot = thrower().remaining;
    tell(&MatchListener::legWon, LegWon{p, thrower().dartsInLeg, outShot});

    recordVisit(outShot, true);
    countLeg(p);

    if (!twoPlayers()) {
        clearVisit(0);
        passThrow(0);
        state_.dartsInVisit = 0;
        return;
    }
    // The opening throw alternates with every leg and set counted; past 99
    // the winner keeps the throw.
    const qint64 n = state_.player[0].legs + state_.player[1].legs + state_.player[0].sets +
                     state_.player[1].sets;
    if (n >= 0 && n <= 99)
        passThrow(n % 2 == 0 ? 0 : 1);
    clearVisit(0);
    clearVisit(1);
    state_.dartsInVisit = 0;
}

void Match::countLeg(int p)
{
    const qint64 start = settings_.startingScore();
    for (PlayerState& each : state_.player) {
        each.dartsInLeg = 0;
        each.dartsInLegShown = 0;
        each.nextRow = 1;
        each.remaining = start;
        each.legPoints = 0;
    }
    PlayerState& P = state_.player[p];
    P.legs += 1;
    tell(&MatchListener::legCounted, LegCounted{p, P.legs});

    // Equality, not "at least": a target lowered below a count already passed
    // is not reached again.
    if (settings_.legsPerSet() == double(P.legs)) {
        P.sets += 1;
        state_.player[0].legs = state_.player[1].legs = 0;
        tell(&MatchListener::setWon, SetWon{p, P.sets});
    }
    if (settings_.setsPerMatch() == double(P.sets))
        tell(&MatchListener::matchWon, MatchWon{p});
}

bool Match::undoLastDart()
{
    std::optional<UndoHistory::Entry> newest = history_.pop();
    if (!newest)
        return false;
    state_ = newest->before;
    tell(&MatchListener::dartTakenBack,
         DartTakenBack{PlayerIndex(state_.currentPlayer), newest->dart});
    return true;
}

void Match::newGame()
{
    const qint64 start = settings_.startingScore();
    for (PlayerState& P : state_.player) {
        // The first-nine figure is left: the next dart of a leg replaces it.
        const qint64 firstNine = P.firstNineAverage;
        P = PlayerState();
        P.remaining = start;
        P.firstNineAverage = firstNine;
    }
    state_.currentPlayer = 0;
    state_.dartsInVisit = 0;
    history_.clear();
    tell(&MatchListener::gameStarted, GameStarted{});
}

bool Match::applyStartingScore()
{
    if (!atStartOfLeg())
        return false;
    const qint64 start = settings_.startingScore();
    state_.player[0].remaining = state_.player[1].remaining = start;
    tell(&MatchListener::startingScoreApplied, StartingScoreApplied{start});
    return true;
}

} // namespace match
