#include "engine/DartRecorder.h"

#include "engine/ModDarts.h"

namespace history {

void DartRecorder::dartScored(const match::DartScored& e)
{
    const match::Match& m = engine_->match();
    const match::PlayerState& thrower = m.player(e.player);
    Thrown t;
    t.player = e.player;
    t.dart = e.dart;
    t.numberInVisit = e.numberInVisit;
    t.set = int(m.player(0).sets + m.player(1).sets + 1);
    t.leg = int(m.player(0).legs + m.player(1).legs + 1);
    // The leg's first dart finds both players at the leg's start; every
    // later one belongs to the leg of the dart before it.
    const bool firstOfLeg = thrower.dartsInLeg == 1 && m.player(1 - e.player).dartsInLeg == 0;
    t.legStart = firstOfLeg || darts_.empty() ? thrower.remaining : darts_.back().legStart;
    t.entry = engine_->replayPosition();
    t.remainingAfter = m.visitRemaining();
    darts_.push_back(t);
}

void DartRecorder::visitEnded(const match::VisitEnded& e)
{
    if (darts_.empty())
        return;
    Thrown& t = darts_.back();
    t.endsVisit = true;
    // The visit that wins a leg has left 0, whatever the board shows after.
    if (!t.winsLeg)
        t.remainingAfter = engine_->match().player(e.player).remaining;
}

void DartRecorder::bust(const match::Bust& e)
{
    if (darts_.empty())
        return;
    Thrown& t = darts_.back();
    t.endsVisit = t.bust = true;
    t.remainingAfter = engine_->match().player(e.player).remaining;
}

void DartRecorder::legWon(const match::LegWon&)
{
    if (darts_.empty())
        return;
    Thrown& t = darts_.back();
    t.endsVisit = t.winsLeg = true;
    t.remainingAfter = 0;
}

void DartRecorder::setWon(const match::SetWon&)
{
    if (!darts_.empty())
        darts_.back().winsSet = true;
}

void DartRecorder::matchWon(const match::MatchWon& e)
{
    if (!darts_.empty())
        darts_.back().matchWonBy = e.player;
}

void DartRecorder::dartTakenBack(const match::DartTakenBack&)
{
    if (!darts_.empty())
        darts_.pop_back();
}

std::vector<Visit> DartRecorder::visits(std::size_t first) const
{
    std::vector<Visit> out;
    // Counted first: a long match's visits are made in one allocation.
    std::size_t count = 0;
    for (std::size_t i = first, open = 0; i < darts_.size(); ++i) {
        const Thrown& t = darts_[i];
        count += !open || t.numberInVisit == 1 || darts_[i - 1].player != t.player;
        open = !t.endsVisit;
    }
    out.reserve(count);
    bool open = false;
    for (std::size_t i = first; i < darts_.size(); ++i) {
        const Thrown& t = darts_[i];
        if (!open || t.numberInVisit == 1 || out.back().player != t.player) {
            Visit v;
            v.set = t.set;
            v.leg = t.leg;
            v.legStart = t.legStart;
            v.player = t.player;
            out.push_back(v);
        }
        Visit& v = out.back();
        v.darts.push_back(Dart{t.dart.label(), t.dart.score()});
        v.total += t.dart.score();
        v.bust = t.bust;
        v.winsLeg = t.winsLeg;
        v.remainingAfter = t.remainingAfter;
        v.complete = t.endsVisit;
        open = !t.endsVisit;
    }
    return out;
}

int DartRecorder::winningDart() const
{
    for (std::size_t i = 0; i < darts_.size(); ++i)
        if (darts_[i].matchWonBy >= 0)
            return int(i);
    return -1;
}

bool DartRecorder::playedOn() const
{
    const int won = winningDart();
    return won >= 0 && std::size_t(won) + 1 < darts_.size();
}

} // namespace history
