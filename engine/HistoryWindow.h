#pragma once
// The match-history window as state: open or not, the stored matches it
// lists (read when it was filled, newest first), and the statistics pages of
// the one match opened from it.
#include "engine/MatchHistory.h"
#include "stats/StatsWindow.h"

#include <memory>
#include <vector>

class ModDarts;

struct HistoryWindow {
    bool open = false;
    std::vector<history::StoredMatch> rows;
    quint64 revision = 0;   // rises with every filling of the list

    // The opened match: its row, and the engine it was played back on, whose
    // tables are its pages. `pages` is the pages' window: shown or not, the
    // tab on view and the tabs' captions, as the statistics window has them.
    int openedRow = -1;
    std::shared_ptr<const ModDarts> opened;
    StatsWindow pages;
};
