#pragma once
// Hears a match as it is played back from its log and keeps its darts with
// what each one did. Undo takes the newest dart back and a new game forgets
// them all, so the darts kept at the end are the match as it stands: its
// visits, its win and any play that went on after the win are read from them.
#include "engine/MatchHistory.h"
#include "match/MatchEvents.h"

#include <vector>

class ModDarts;

namespace history {

class DartRecorder final : public match::MatchListener {
public:
    struct Thrown {
        int player = 0;
        match::Dart dart;
        int numberInVisit = 1;
        int set = 1, leg = 1;       // from 1; the leg within its set
        qint64 legStart = 0;        // the score the dart's leg started from
        int entry = -1;             // the logged entry that threw it
        // What the dart did to its visit.
        bool endsVisit = false, bust = false, winsLeg = false, winsSet = false;
        qint64 remainingAfter = 0;
        int matchWonBy = -1;
    };

    // The engine the match is played back on, given before its first entry.
    void follow(const ModDarts& engine) { engine_ = &engine; }

    const std::vector<Thrown>& darts() const { return darts_; }
    // The visits made by the darts from `first` on.
    std::vector<Visit> visits(std::size_t first = 0) const;
    // The dart that first won the match, if it still stands; a later count
    // reaching the sets again does not take the win away. -1 for none.
    int winningDart() const;
    // Whether darts still stand after the one that won the match.
    bool playedOn() const;

    void dartScored(const match::DartScored& e) override;
    void visitEnded(const match::VisitEnded& e) override;
    void bust(const match::Bust& e) override;
    void legWon(const match::LegWon& e) override;
    void setWon(const match::SetWon& e) override;
    void matchWon(const match::MatchWon& e) override;
    void dartTakenBack(const match::DartTakenBack&) override;
    void gameStarted(const match::GameStarted&) override { darts_.clear(); }

private:
    const ModDarts* engine_ = nullptr;
    std::vector<Thrown> darts_;
};

} // namespace history
