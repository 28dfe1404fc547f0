#pragma once
// The running match as numbers, and its rules: a dart, the end of a visit, a
// bust, a won leg with its sets and match, undo, a new game and a new
// starting score. Every rule changes the state here and tells the listeners
// (MatchEvents.h) what happened; nothing here knows how it is shown.
#include "base/Players.h"
#include "match/Dart.h"
#include "match/MatchEvents.h"
#include "match/MatchSettings.h"
#include "match/MatchState.h"
#include "match/UndoHistory.h"

#include <vector>

namespace match {

class Match {
public:
    // The state a started program is in: both players at the starting score,
    // player 0 to throw, nothing to undo. `settings` must outlive the match.
    explicit Match(const MatchSettings& settings);

    void addListener(MatchListener* listener) { listeners_.push_back(listener); }

    // A dart thrown by the current player.
    void throwDart(const Dart& dart);

    // Takes back the newest dart: the whole state becomes what it was before
    // that dart. False, changing nothing, when the history allows no more.
    bool undoLastDart();

    // Discards the running match and starts again at the starting score.
    void newGame();

    // A new starting score takes over both remaining scores at once, but only
    // at a leg's start (no dart in a visit, no dart counted in the leg for
    // either player); otherwise the running leg is finished from where it
    // stands. Returns whether it was applied.
    bool applyStartingScore();

    // A new game leaves the first-nine figures and the last visit's
    // remaining score standing until darts replace them; a match played back
    // from its log starts from the figures its game began with.
    void carryOver(qint64 firstNine0, qint64 firstNine1, qint64 visitRemaining)
    {
        state_.player[0].firstNineAverage = firstNine0;
        state_.player[1].firstNineAverage = firstNine1;
        state_.visitRemaining = visitRemaining;
    }

    const MatchState& state() const { return state_; }
    const PlayerState& player(int p) const { return state_.player[PlayerIndex(p)]; }
    int currentPlayer() const { return state_.currentPlayer; }
    int dartsInVisit() const { return state_.dartsInVisit; }
    qint64 visitRemaining() const { return state_.visitRemaining; }
    bool atStartOfLeg() const;
    // The dart undo would take back next.
    std::optional<Dart> newestDart() const { return history_.newest(); }
    // How many darts undo can still take back.
    int undoableDarts() const { return history_.index(); }

private:
    bool twoPlayers() const { return settings_.players() == 2; }
    PlayerState& thrower() { return state_.player[PlayerIndex(state_.currentPlayer)]; }
    void clearVisit(int p);
    void passThrow(int to);
    void endVisit();
    void bust();
    void winLeg();
    void countLeg(int p);
    // Records a three-dart visit in the list (only then) and lowers the
    // remaining score by the shown total (always, as a finish leaves 0).
    void recordVisit(qint64 score, bool winsLeg);

    template <typename Event>
    void tell(void (MatchListener::*handler)(const Event&), const Event& event)
    {
        for (MatchListener* l : listeners_)
            (l->*handler)(event);
    }

    const MatchSettings& settings_;
    MatchState state_;
    UndoHistory history_;
    std::vector<MatchListener*> listeners_;
};

} // namespace match
