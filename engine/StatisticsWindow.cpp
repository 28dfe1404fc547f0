// The statistics window's events: which page is on view, and the scoring-darts
// bar worked out from the bed counts each time the window is activated.
#include "engine/ModDarts.h"

void ModDarts::ShowStats(int tab)
{
    StatsTabClicked(tab);
    statsWindow.visible = true;
    StatsActivated();
}

void ModDarts::StatsTabClicked(int tab)
{
    statsWindow.tab = (tab == 1 || tab == 2) ? tab : 3;
}

void ModDarts::StatsExit()
{
    // Only hidden: the tables keep the match's statistics for the whole run.
    statsWindow.visible = false;
}

void ModDarts::StatsActivated()
{
    statistics_.updateScoringBars();
}
