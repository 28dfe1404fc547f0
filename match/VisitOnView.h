#pragma once
// The visit a player's panel shows: up to three darts and their total. A
// finished visit stays on view after the throw has passed, until the next
// dart clears it (see Match::throwDart), so this is not always the visit in
// progress: the total is what the panel adds up, and it is what a visit's
// end lowers the remaining score by and what a bust takes back.
#include "match/Dart.h"

#include <array>
#include <optional>

namespace match {

struct VisitOnView {
    std::array<std::optional<Dart>, 3> darts;   // dart 1, 2 and 3; empty when none is shown
    std::optional<qint64> total;                // empty until a dart is shown (a miss shows 0)

    qint64 totalOrZero() const { return total.value_or(0); }
    bool thirdDartShown() const { return darts[2].has_value(); }
    void clear() { *this = VisitOnView(); }

    bool operator==(const VisitOnView&) const = default;
};

} // namespace match
