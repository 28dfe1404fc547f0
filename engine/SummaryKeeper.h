#pragma once
// What the history lists of the match on the scoreboard, kept as it is
// played: the legs won, the first win and the figures at that moment, and
// the score each leg started from. Written to the log with every logged
// event (history::Summary), so the history's list and the question at start
// never play a match back. Every change is recorded in the undo journal, so
// a dart taken back takes back what it did here; the figures are exactly
// those a play-back of the log gives (history::Read), which the tests hold
// them to.
#include "base/ChangeJournal.h"
#include "engine/MatchHistory.h"
#include "match/MatchEvents.h"

#include <optional>

class ModDarts;

class SummaryKeeper final : public match::MatchListener {
public:
    SummaryKeeper(const ModDarts& engine, ChangeJournal& journal) : e_(engine), journal_(journal) {}

    // The summary of the match as it stands, to go with the log's row `seq`.
    history::Summary summary(qint64 seq) const;

    void dartScored(const match::DartScored& e) override;
    void legWon(const match::LegWon& e) override;
    void matchWon(const match::MatchWon& e) override;
    void gameStarted(const match::GameStarted&) override;

private:
    // The match as it stood at its first win.
    struct AtWin {
        history::StoredMatch row;
        qint64 dartsInMatch = 0;   // both players'
        qint64 firstStartAfter = 0;   // the leg start of the first dart after it, 0 before one
    };

    template <class T> void set(T& value, T newValue)
    {
        journal_.record([&value, old = value] { value = old; });
        value = std::move(newValue);
    }
    // The row the history makes of the match as it stands now.
    history::StoredMatch rowNow() const;

    const ModDarts& e_;
    ChangeJournal& journal_;
    qint64 legsWon_[2] = {0, 0};
    qint64 legStart_ = 0;        // the score the leg in play started from
    qint64 firstLegStart_ = 0;   // 0 before the match's first dart
    std::optional<AtWin> win_;
};
