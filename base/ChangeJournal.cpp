#include "base/ChangeJournal.h"

void ChangeJournal::beginDart()
{
    if (darts_.size() == depth_)
        darts_.pop_front();
    darts_.emplace_back();
    darts_.back().reserve(64);
    recording_ = true;
}

bool ChangeJournal::resumeNewestDart()
{
    if (darts_.empty())
        return false;
    recording_ = true;
    return true;
}

void ChangeJournal::endDart()
{
    recording_ = false;
}

bool ChangeJournal::revertNewestDart()
{
    if (darts_.empty())
        return false;
    std::vector<Revert> changes = std::move(darts_.back());
    darts_.pop_back();
    const bool was = recording_;
    recording_ = false;
    for (auto it = changes.rbegin(); it != changes.rend(); ++it)
        (*it)();
    recording_ = was;
    return true;
}

void ChangeJournal::clear()
{
    darts_.clear();
    recording_ = false;
}
