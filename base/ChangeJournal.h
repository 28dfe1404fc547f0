#pragma once
// Undo takes the match back exactly as it was before a dart. Rather than copy
// the whole match for every dart, each change made while a dart is scored
// records how to put the old value back; undoing a dart plays its record
// backwards. The cost of a dart and of its undo is what the dart changed.
#include <deque>
#include <functional>
#include <vector>

class ChangeJournal {
public:
    using Revert = std::function<void()>;

    // How many darts' records are kept: undo never reaches further back.
    explicit ChangeJournal(std::size_t depth = 50) : depth_(depth) {}

    // Opens the record of one dart; changes are recorded until endDart().
    void beginDart();
    void endDart();
    bool recording() const { return recording_; }
    // Records further changes as part of the newest dart, for a change that
    // only that dart made possible. False when no dart is recorded.
    bool resumeNewestDart();

    // Records how to put back a value that is about to change.
    void record(Revert revert)
    {
        if (recording_)
            darts_.back().push_back(std::move(revert));
    }

    // Puts back everything the newest recorded dart changed, newest change
    // first, and forgets that dart. False when no dart is recorded.
    bool revertNewestDart();

    std::size_t dartsRecorded() const { return darts_.size(); }
    void clear();

private:
    std::size_t depth_;
    bool recording_ = false;
    std::deque<std::vector<Revert>> darts_;
};
