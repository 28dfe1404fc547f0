#pragma once
// What the big screen shows: the match as the spectators read it from across
// the room. It is read from the engine's own display fields, so the big
// screen and the scoreboard always agree; the window that paints it holds no
// figure of its own.
#include <QString>
#include <QStringList>

#include <array>

class ModDarts;

struct BigScreenPlayer {
    QString name;
    QString sets, legs;
    QString remaining;
    std::array<QString, 3> darts;   // the visit on view, dart by dart
    QString visitTotal;
    // The finish box: the suggested checkout or the warning that there is
    // none; empty while the scoreboard hides the box. Its colours are the
    // window system's numbers (blue in the high byte), as the box has them.
    QString finish;
    quint32 finishBack = 0, finishFore = 0;
    QString average;
    bool throwing = false;          // the turn marker is at this player

    bool operator==(const BigScreenPlayer&) const = default;
};

struct BigScreenView {
    // One in a one-player game: the second panel takes no part in it.
    int players = 2;
    std::array<BigScreenPlayer, 2> player;
    // The announcement while its dialog is open, its lines top first
    // (blank lines left out).
    bool announcing = false;
    QStringList announcement;

    bool operator==(const BigScreenView&) const = default;

    // One line per figure, for messages and comparisons in tests.
    QStringList describe() const;
};

BigScreenView ReadBigScreen(const ModDarts& engine);

// The big screen's window as state: open or not, and whether it fills the
// screen it is on. View, "Big Screen" opens and closes it; F11 (and a double
// click on it) puts it full screen and back; Escape, with nothing typed on
// the scoreboard, takes it out of full screen.
struct BigScreenWindow {
    bool open = false;
    bool fullScreen = false;
};
