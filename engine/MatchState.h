#pragma once
// The few numbers the engine keeps outside the scoreboard's texts.
#include <QString>

struct MatchState {
    qint64 CurrentPlayer = 0;   // 0 or 1: the player to throw
    qint64 DartsInVisit = 0;    // darts of the visit in progress, 0 between visits
    qint64 VisitRemaining = 0;  // the thrower's score left after this visit's darts
    qint64 PointsScored[2] = {0, 0};     // points of the match, busted visits taken off
    qint64 LegPoints[2] = {0, 0};        // the same, for the current leg only
    qint64 FirstNineAverage[2] = {0, 0};
    qint64 NextRow[2] = {0, 0};          // next row of the last-scores list
    bool CommentaryOn = false;
};

// The labels of the last 50 thrown darts, for undo. Slot 0 is never used.
struct DartHistory {
    static constexpr int Slots = 50;
    QString slot[Slots + 1];
    int DartHistoryIndex = 0;   // slot of the newest dart, 0 when there is none
    QString CurrentDartLabel;   // label of the last point mapped, pointer or dart

    void clear() { DartHistoryIndex = 0; }
};
