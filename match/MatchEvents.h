#pragma once
// What the match tells its listeners (statistics, high scores, commentary,
// the panels and grids). Every event fires at one fixed moment of a rule,
// in the order the rule makes its changes; the state the listener can read
// from the match at that moment is named with each event. A listener that
// writes a text at an event writes it at the moment the scoreboard always
// has. Within one dart the listeners are called in the order they were added.
//
// The events of one dart, in order:
//   VisitCleared*        panels whose old visit leaves the view
//   DartScored           always
//   then one of:
//     (a normal dart)    nothing more, or after a third dart:
//                        VisitEnded, ThrowPassed
//     (a bust)           Bust, [VisitCleared], ThrowPassed
//     (the leg won)      LegWon, [VisitEnded], LegCounted, [SetWon], [MatchWon],
//                        then ThrowPassed and VisitCleared in the hand-over's order
#include "match/Dart.h"

#include <QtGlobal>

namespace match {

// A panel's visit is emptied (its three darts and total). Fired at the start
// of a dart, before anything is counted: with two players for the player not
// throwing, alone for player 0 when a finished visit is still shown. Also
// when a bust alone or a won leg clears the panels. Only fired when the panel
// showed something. State: that visit empty.
struct VisitCleared {
    int player;
};

// A dart is counted. State: the dart shown in the visit and its total, the
// darts in leg and match raised, points of the match and leg raised, the
// first-nine average (for the leg's darts 1 to 9) and the visit's remaining
// score lowered. The dart is not yet classified: a Bust or LegWon may follow.
// The panel's darts-thrown figure is dartsInLegShown, written here only.
struct DartScored {
    int player;
    Dart dart;
    int numberInVisit;   // 1, 2 or 3
};

// A three-dart visit is recorded in the player's visit list at `row`.
// For an ordinary visit end: after the row and nextRow are used and the
// remaining score is lowered by the shown total; before the throw passes.
// When the third dart wins the leg: after LegWon, before LegCounted, and
// `total` is the out shot (the score the visit started from).
struct VisitEnded {
    int player;
    qint64 total;
    qint64 row;
    bool winsLeg;        // the leg-winning visit is not called out
};

// The visit went bust. State: the leg's darts padded to three for this visit,
// the shown total taken off the points of the match and leg, the bust listed
// at `row` (nextRow raised). dartsInLegShown is left as it was. The remaining
// score is unchanged. The throw has not passed yet.
struct Bust {
    int player;
    qint64 visitTotal;   // the shown total the bust takes back
    qint64 row;
};

// A dart brought the score to exactly 0 on a double or the bull. Fired first,
// before anything of the leg's end changes: the darts of the leg and the out
// shot are those of the state at this moment.
struct LegWon {
    int player;
    qint64 dartsInLeg;   // as the statistics count them
    qint64 outShot;      // the remaining score the finishing visit started from
};

// The leg is counted and the board set for the next one: both remaining
// scores at the starting score, darts in leg (counted and shown) 0, leg
// points 0, visit rows from 1, and the winner's legs raised. Sets not yet.
struct LegCounted {
    int player;
    qint64 legs;
};

// The legs reached the legs per set: the winner's sets raised, both players'
// legs back to 0.
struct SetWon {
    int player;
    qint64 sets;
};

// The sets equal the sets per match. Checked after every won leg, whether a
// set was won in it or not.
struct MatchWon {
    int player;
};

// The throw is given to `to` (possibly the same player: alone, or keeping
// it). Not fired when a won leg leaves the throw with the winner because more
// than 99 legs and sets stand on the panels. State: currentPlayer is `to`.
struct ThrowPassed {
    int to;
};

// The newest dart is taken back. State: exactly as before that dart.
struct DartTakenBack {
    int player;   // who threw it
    Dart dart;
};

// A new game. State: the initial state at the starting score, no undo.
struct GameStarted {
};

// A new starting score took over both remaining scores at a leg's start.
struct StartingScoreApplied {
    qint64 start;
};

class MatchListener {
public:
    virtual ~MatchListener() = default;
    virtual void visitCleared(const VisitCleared&) {}
    virtual void dartScored(const DartScored&) {}
    virtual void visitEnded(const VisitEnded&) {}
    virtual void bust(const Bust&) {}
    virtual void legWon(const LegWon&) {}
    virtual void legCounted(const LegCounted&) {}
    virtual void setWon(const SetWon&) {}
    virtual void matchWon(const MatchWon&) {}
    virtual void throwPassed(const ThrowPassed&) {}
    virtual void dartTakenBack(const DartTakenBack&) {}
    virtual void gameStarted(const GameStarted&) {}
    virtual void startingScoreApplied(const StartingScoreApplied&) {}
};

} // namespace match
