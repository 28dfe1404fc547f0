#pragma once
// The scoreboard's keyboard entry: the dart being typed and, after an Enter
// that recorded nothing, the hint why. It is no part of the match: undo,
// a new game and a resumed match leave it as it is.
#include <QString>

struct KeyboardEntry {
    QString text;
    QString error;

    // Longer than any dart's spelling (" bull ", "miss"), short enough to
    // show whole in the entry line; characters past it are not taken.
    static constexpr qsizetype MaxLength = 8;
};
