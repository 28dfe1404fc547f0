#pragma once
// The statistics window `frmStats` as state: shown or hidden, the selected
// tab and the tabs' captions. Its grids and bars are the StatsTables.
#include <QString>

struct StatsWindow {
    bool visible = false;
    int tab = 1;   // 1 first player, 2 second player, 3 the game
    QString tabCaption[3] = {QStringLiteral("Player 1"), QStringLiteral("Player 2"),
                             QStringLiteral("Game")};
};
