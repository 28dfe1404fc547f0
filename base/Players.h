#pragma once
// The two players are 0 and 1. A player number that is not 1 (a stray value
// in a field that should hold 0 or 1) always means the first player.
#include <QtGlobal>

inline int PlayerIndex(qint64 player)
{
    return player == 1 ? 1 : 0;
}

inline int OtherPlayer(qint64 player)
{
    return 1 - PlayerIndex(player);
}
