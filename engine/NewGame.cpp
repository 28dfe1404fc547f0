// A new match: the match starts again and its listeners put the panels and
// the statistics back to a match's start.
#include "engine/ModDarts.h"

void ModDarts::NewGame()
{
    match_.newGame();
    journal_.clear();
}
