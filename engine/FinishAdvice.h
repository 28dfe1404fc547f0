#pragma once
// The finish box under a player's score: the suggested checkout for what is
// left, "No outshot" where there is none below 170, nothing above.
#include "engine/Field.h"

#include <QtGlobal>

// Styles `box` for `remaining` and returns the text it is to show; the caller
// writes it (or, handing the throw over, keeps the box's caption and only the
// styling counts). Advice brings a hidden box into view; the warning only
// recolours it.
QString AdviseFinish(Field& box, qint64 remaining);
