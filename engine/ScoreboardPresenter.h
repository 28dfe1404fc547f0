#pragma once
// The scoreboard's panels drawn from the match: scores, the visit on view,
// legs and sets, darts and average, the finish box and the turn marker. It
// listens to the match and writes each field at the moment its figure
// changes, from the match's state.
#include "base/Players.h"
#include "engine/Scoreboard.h"
#include "match/Match.h"

class ScoreboardPresenter final : public match::MatchListener {
public:
    ScoreboardPresenter(Scoreboard& board, const match::Match& match) : board_(board), match_(match) {}

    void visitCleared(const match::VisitCleared& e) override;
    void dartScored(const match::DartScored& e) override;
    void visitEnded(const match::VisitEnded& e) override;
    void bust(const match::Bust& e) override;
    void legCounted(const match::LegCounted& e) override;
    void setWon(const match::SetWon& e) override;
    void throwPassed(const match::ThrowPassed& e) override;
    void gameStarted(const match::GameStarted& e) override;
    void startingScoreApplied(const match::StartingScoreApplied& e) override;

private:
    PlayerPanel& panel(int p) { return board_.panel[PlayerIndex(p)]; }
    QString threeDartAverage(int p) const;

    Scoreboard& board_;
    const match::Match& match_;
};
