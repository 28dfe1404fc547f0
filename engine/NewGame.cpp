// A new match: the match starts again and its listeners put the panels and
// the statistics back to a match's start.
#include "engine/ModDarts.h"

void ModDarts::NewGame()
{
    match_.newGame();
    journal_.clear();
    // The match is over for the log; the next event opens a new one. An
    // unfinished match from the last run that was not resumed goes too.
    if (unfinished_)
        Discard();
    if (log_.currentMatch() != 0 && !replaying_) {
        QString error;
        if (!log_.endMatch(matchlog::Status::Abandoned, &error))
            reportLogFailure(error);
    }
    // The new match is logged afresh, even after the last one's log failed.
    logStopped_ = false;
}
