#include "match/Bands.h"

namespace match {

LegDartsBand legDartsBand(qint64 darts)
{
    switch (darts) {
    case 9: return LegDartsBand::Nine;
    case 10: return LegDartsBand::Ten;
    case 11: return LegDartsBand::Eleven;
    case 12:
    case 13: return LegDartsBand::TwelveOrThirteen;
    case 14:
    case 15: return LegDartsBand::FourteenOrFifteen;
    default: return LegDartsBand::Other;
    }
}

std::optional<VisitScoreBand> visitScoreBand(qint64 score)
{
    if (score < 0 || score > 180)
        return std::nullopt;
    if (score == 180) return VisitScoreBand::OneEighty;
    if (score >= 140) return VisitScoreBand::From140;
    if (score >= 100) return VisitScoreBand::From100;
    if (score >= 80) return VisitScoreBand::From80;
    if (score >= 60) return VisitScoreBand::From60;
    if (score >= 40) return VisitScoreBand::From40;
    if (score >= 20) return VisitScoreBand::From20;
    return VisitScoreBand::Below20;
}

} // namespace match
