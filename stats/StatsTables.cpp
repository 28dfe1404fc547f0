#include "stats/StatsTables.h"

#include "base/ChangeJournal.h"

void Bar::setValue(double value)
{
    if (value == value_)
        return;
    if (journal_ && journal_->recording())
        journal_->record([this, old = value_] { value_ = old; });
    value_ = value;
}

// Design sizes of the grids, in twips, as the statistics window lays them out.
StatsTables::StatsTables()
    : grdLastScores{{"grdLastScores", 13, 2, 1, 1, 1995, 3255}, {"grdLastScores", 13, 2, 1, 1, 1995, 3255}},
      grdStats{{"grdStats", 13, 2, 0, 1, 1995, 3255}, {"grdStats", 13, 2, 0, 1, 1995, 3255}},
      grdStats2{{"grdStats2", 13, 2, 0, 1, 1995, 3255}, {"grdStats2", 13, 2, 0, 1, 1995, 3255}},
      grdDarts{{"grdDarts", 4, 21, 1, 1, 6495, 1095}, {"grdDarts", 4, 21, 1, 1, 6495, 1095}},
      grdDarts2{{"grdDarts2", 2, 2, 1, 0, 735, 555}, {"grdDarts2", 2, 2, 1, 0, 735, 555}},
      grdOldScores{{"grdOldScores", 5, 2, 0, 1, 2235, 1965}, {"grdOldScores", 5, 2, 0, 1, 2235, 1965}},
      grdGameStats{"grdGameStats", 5, 3, 0, 1, 4035, 4995}
{
}

void StatsTables::InitStatsTables()
{
    static const char* statsLabels[] = {"Darts thrown", "Dart Average", "3 Dart Avg", "Outshots",
                                        "9", "10", "11", "12+", "14+", "16+"};
    static const char* stats2Labels[] = {"Total darts", "Scores", "180", "140+", "100+",
                                         "80+", "60+", "40+", "20+", "0-20"};
    for (int p = 0; p < 2; ++p) {
        grdStats[p].setColWidth(0, 1100);
        grdStats[p].setColWidth(1, 600);
        grdStats[p].setColAlignment(1, Grid::AlignCentreCentre);
        for (int r = 0; r < 10; ++r)
            grdStats[p].setText(r, 0, QString::fromLatin1(statsLabels[r]));
        for (int r = 0; r < 10; ++r)
            grdStats2[p].setText(r, 0, QString::fromLatin1(stats2Labels[r]));
    }
    for (int p = 0; p < 2; ++p) {
        Grid& darts = grdDarts[p];
        darts.setColWidth(0, 200);
        darts.setText(1, 0, QStringLiteral("T"));
        darts.setText(2, 0, QStringLiteral("D"));
        darts.setText(3, 0, QStringLiteral("S"));
        for (int k = 1; k <= 20; ++k) {
            darts.setText(0, k, QString::number(21 - k));
            darts.setColWidth(k, 300);
            darts.setColAlignment(k, Grid::AlignCentreBottom);
        }
        // The first player's label column is centred like the segments; the
        // second player's keeps the grid's default alignment.
        if (p == 0)
            darts.setColAlignment(0, Grid::AlignCentreBottom);

        grdDarts2[p].setColWidth(0, 300);
        grdDarts2[p].setColWidth(1, 300);
        grdDarts2[p].setText(0, 0, QStringLiteral("50"));
        grdDarts2[p].setText(0, 1, QStringLiteral("25"));

        grdOldScores[p].setColWidth(0, 1000);
        grdOldScores[p].setColWidth(1, 1000);
        grdOldScores[p].clear();
        grdOldScores[p].setRows(5);
    }
    grdGameStats.setText(0, 0, QStringLiteral("High Score"));
    grdGameStats.setText(2, 0, QStringLiteral("Highest Out Shot"));
    grdGameStats.setText(4, 0, QStringLiteral("Legs Played"));
    grdGameStats.setColWidth(0, 1500);
    grdGameStats.setColWidth(1, 1500);
    grdGameStats.setColWidth(2, 500);
}

void StatsTables::setJournal(ChangeJournal* journal)
{
    for (int p = 0; p < 2; ++p) {
        for (Grid* g : {&grdLastScores[p], &grdStats[p], &grdStats2[p], &grdDarts[p],
                        &grdDarts2[p], &grdOldScores[p]})
            g->setJournal(journal);
        ProOverall3Dart[p].setJournal(journal);
        ProFirst9[p].setJournal(journal);
    }
    grdGameStats.setJournal(journal);
}
