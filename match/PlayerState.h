#pragma once
// What the match holds for one player.
#include "match/VisitOnView.h"

#include <QtGlobal>

namespace match {

struct PlayerState {
    qint64 remaining = 501;   // the score left, lowered when a visit ends
    qint64 legs = 0;          // legs won in the running set
    qint64 sets = 0;          // sets won in the match

    // Darts thrown in the leg as the statistics count them: every dart, and
    // a bust counts its visit as three darts.
    qint64 dartsInLeg = 0;
    // The count as it stood after this player's last scored dart: what the
    // panel shows. A bust raises dartsInLeg but not this, until the next dart.
    qint64 dartsInLegShown = 0;
    // Darts thrown in the match, every dart once (no bust padding); the
    // averages divide by it.
    qint64 dartsInMatch = 0;

    qint64 matchPoints = 0;      // points of the match, busted visits taken off
    qint64 legPoints = 0;        // the same for the running leg
    qint64 firstNineAverage = 0; // three-dart average of the leg's first nine darts, whole
    qint64 nextRow = 1;          // the row of the visit list the next visit or bust fills

    VisitOnView visit;

    // Whether the player's newest dart is one of the leg's first nine: the
    // first-nine average follows those alone.
    bool inFirstNine() const { return dartsInLegShown > 0 && dartsInLegShown < 10; }

    // The three-dart average: the match's points over its darts in threes,
    // rounded only where it is shown, so every figure of it agrees.
    double threeDartAverage() const { return double(matchPoints) / (double(dartsInMatch) / 3); }

    bool operator==(const PlayerState&) const = default;
};

} // namespace match
