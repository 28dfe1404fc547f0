// A new match, and the reset of the last-scores lists that every leg shares.
#include "engine/ModDarts.h"
#include "base/TextNumbers.h"

void ModDarts::NewGame()
{
    const QString start = NumberText(qint64(savedStartWith()));
    for (int p = 0; p < 2; ++p) {
        for (Grid* g : {&stats.grdDarts[p], &stats.grdDarts2[p], &stats.grdLastScores[p],
                        &stats.grdStats[p], &stats.grdStats2[p]})
            g->clear();
        PlayerPanel& P = board.panel[p];
        P.lblLeg.setText(QStringLiteral("0"));
        P.lblSet.setText(QStringLiteral("0"));
        P.lblScoreLeft.setText(start);
        P.clearVisit();
        P.lblFinishAdj.setText(QString());
        P.lblDartsThrown.setText(QStringLiteral("0"));
        P.lblAverage.setText(QStringLiteral("0.00"));
        state.PointsScored[p] = 0;
        state.LegPoints[p] = 0;
    }
    stats.grdGameStats.clear();
    stats.InitStatsTables();
    ResetLastScores();
    state.CurrentPlayer = 0;
    state.DartsInVisit = 0;
    board.panel[0].imgarrow.setVisible(true);
    board.panel[0].Shape1.setVisible(true);
    board.panel[1].imgarrow.setVisible(false);
    board.panel[1].Shape1.setVisible(false);
    history.clear();
    journal_.clear();
}

void ModDarts::ResetLastScores()
{
    // Shortening first means a long leg's rows are dropped at once instead of
    // being emptied one by one; the result is the same.
    for (Grid& last : stats.grdLastScores) {
        last.setRows(10);
        last.clear();
    }
    for (Grid& last : stats.grdLastScores) {
        last.setText(0, 0, QStringLiteral("Darts"));
        last.setText(0, 1, QStringLiteral("Score"));
        last.setColWidth(0, 500);
        last.setColAlignment(0, Grid::AlignCentreCentre);
        last.setColAlignment(1, Grid::AlignCentreCentre);
    }
    state.NextRow[0] = state.NextRow[1] = 1;
}
