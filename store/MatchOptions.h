#pragma once
// The settings record: the one row of the `Options` table.
#include <QString>

struct MatchOptions {
    QString Player1 = QStringLiteral("Player 1");
    QString Player2 = QStringLiteral("Player 2");
    int Players = 2;                              // 1 or 2
    QString NumberOfLegs = QStringLiteral("3");   // read as a number where used
    QString NumberofSets = QStringLiteral("1");
    int StartWith = 501;                          // 101, 301 or 501
    int Commentry = 1;                            // 1 on, 0 off
};
