#pragma once
// The commentary follows the match: every recorded visit but the one that
// wins a leg is called by its score, a bust is "No score", a won leg "Game
// shot". Nothing is called while the commentary is switched off.
#include "match/MatchEvents.h"
#include "sound/Commentary.h"

class ScoreCaller final : public match::MatchListener {
public:
    // `on` is read at every call, so switching it takes effect at once.
    ScoreCaller(const Commentary& commentary, const bool& on) : commentary_(commentary), on_(on) {}

    void visitEnded(const match::VisitEnded& e) override
    {
        if (on_ && !e.winsLeg)
            commentary_.play(Commentary::ScoreFile(e.total));
    }
    void bust(const match::Bust&) override
    {
        if (on_)
            commentary_.play(Commentary::NoScore);
    }
    void legCounted(const match::LegCounted&) override
    {
        if (on_)
            commentary_.play(Commentary::GameShot);
    }

private:
    const Commentary& commentary_;
    const bool& on_;
};
