#pragma once
// The high-score window `frmHiScores` as state: open or not, and the list it
// shows (a snapshot taken when it was filled).
#include <QStringList>
#include <QVector>

struct HiScoresWindow {
    bool open = false;
    QVector<QStringList> rows;   // Pos, Player, Against, Date, Score
    quint64 revision = 0;
};
