#pragma once
// How far undo reaches. The board keeps the last 50 darts in numbered slots
// 1..50; the 51st dart since the history was emptied goes into slot 1 again,
// and undo counts down the slot number and stops at 0. So after 60 darts only
// the last 10 can be taken back, after 100 the last 50. Each kept dart comes
// with the whole match state from before it.
#include "match/Dart.h"
#include "match/MatchState.h"

#include <deque>

namespace match {

class UndoHistory {
public:
    static constexpr int Slots = 50;

    struct Entry {
        Dart dart;
        MatchState before;
    };

    void push(const Dart& dart, const MatchState& before)
    {
        index_ = (index_ + 1 > Slots) ? 1 : index_ + 1;
        if (entries_.size() == std::size_t(Slots))
            entries_.pop_front();
        entries_.push_back(Entry{dart, before});
    }

    // The newest dart, taken out; only while the slot number is above 0.
    std::optional<Entry> pop()
    {
        if (index_ <= 0 || entries_.empty())
            return std::nullopt;
        Entry newest = std::move(entries_.back());
        entries_.pop_back();
        --index_;
        return newest;
    }

    // The dart pop() would take back.
    std::optional<Dart> newest() const
    {
        if (index_ <= 0 || entries_.empty())
            return std::nullopt;
        return entries_.back().dart;
    }

    // The slot of the newest dart, 0 when undo has nothing to take back.
    int index() const { return index_; }
    void clear()
    {
        index_ = 0;
        entries_.clear();
    }

private:
    int index_ = 0;
    std::deque<Entry> entries_;
};

} // namespace match
