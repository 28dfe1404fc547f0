#pragma once
// Every statistics grid and rating bar of both players and of the game, and
// the previous-scores lists of the main window, as the windows and the
// printed pages show them. The counters behind them are MatchStatistics'.
#include "stats/Grid.h"

// A rating bar: a value from 0 to 100.
class Bar {
public:
    double value() const { return value_; }
    void setValue(double value);
    void setJournal(ChangeJournal* journal) { journal_ = journal; }

private:
    double value_ = 0;
    ChangeJournal* journal_ = nullptr;
};

struct StatsTables {
    StatsTables();

    Grid grdLastScores[2];
    Grid grdStats[2];
    Grid grdStats2[2];
    Grid grdDarts[2];
    Grid grdDarts2[2];
    Grid grdOldScores[2];   // shown on the main window beside the board
    Grid grdGameStats;

    Bar ProScoring[2];
    Bar ProOverall3Dart[2];
    Bar ProFirst9[2];

    // Writes headings, labels, column widths and alignments and empties the
    // previous-scores lists; counters already recorded are left alone.
    void InitStatsTables();

    void setJournal(ChangeJournal* journal);
};
