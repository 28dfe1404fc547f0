#pragma once
// The bands the statistics sort a won leg and a recorded visit into.
#include <QtGlobal>
#include <optional>

namespace match {

// How many darts a won leg took, as the statistics count them (a bust's
// visit counts three darts).
enum class LegDartsBand { Nine, Ten, Eleven, TwelveOrThirteen, FourteenOrFifteen, Other };

// Fewer than nine darts (only possible in the shorter games) falls in Other,
// with everything above fifteen.
LegDartsBand legDartsBand(qint64 darts);

// The score of a recorded three-dart visit.
enum class VisitScoreBand { OneEighty, From140, From100, From80, From60, From40, From20, Below20 };

// Nothing for a score outside 0..180: such a total is recorded but in no band.
std::optional<VisitScoreBand> visitScoreBand(qint64 score);

} // namespace match
