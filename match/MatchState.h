#pragma once
// The whole state of a running match: both players and whose throw it is.
// Undo restores exactly this.
#include "match/PlayerState.h"

#include <array>

namespace match {

struct MatchState {
    std::array<PlayerState, 2> player;
    int currentPlayer = 0;        // 0 or 1: the player to throw
    int dartsInVisit = 0;         // darts of the visit in progress, 0 between visits
    qint64 visitRemaining = 0;    // the thrower's score left after this visit's darts

    bool operator==(const MatchState&) const = default;
};

} // namespace match
