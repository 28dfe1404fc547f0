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

    // A match played back from its log is not called out again.
    void setMuted(bool muted) { muted_ = muted; }

    void visitEnded(const match::VisitEnded& e) override
    {
        if (on() && !e.winsLeg)
            commentary_.play(Commentary::ScoreFile(e.total));
    }
    void bust(const match::Bust&) override
    {
        if (on())
            commentary_.play(Commentary::NoScore);
    }
    void legCounted(const match::LegCounted&) override
    {
        if (on())
            commentary_.play(Commentary::GameShot);
    }

private:
    bool on() const { return on_ && !muted_; }

    const Commentary& commentary_;
    const bool& on_;
    bool muted_ = false;
};
