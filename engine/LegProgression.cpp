// A won leg: the darts-per-leg band, both panels back to the start of a leg,
// legs and sets counted, the match winner announced.
#include "engine/ModDarts.h"
#include "base/TextNumbers.h"

namespace {

// The row of the darts-per-leg band, chosen by the count's exact text.
int dartsPerLegRow(const QString& darts)
{
    if (darts == u"9")
        return 4;
    if (darts == u"10")
        return 5;
    if (darts == u"11")
        return 6;
    if (darts == u"12" || darts == u"13")
        return 7;
    if (darts == u"14" || darts == u"15")
        return 8;
    return 9;
}

} // namespace

void ModDarts::FinishLeg()
{
    const qint64 p = PlayerIndex(state.CurrentPlayer);
    PlayerPanel& P = panel(p);

    StatsTables::addTo(stats.grdStats[p], dartsPerLegRow(stats.grdStats[p].text(0, 1)), 1);
    stats.grdStats[0].setText(0, 1, QString());
    stats.grdStats[1].setText(0, 1, QString());
    for (Grid& old : stats.grdOldScores) {
        old.setRows(5);
        old.clear();
    }
    ResetLastScores();

    const QString start = NumberText(qint64(savedStartWith()));
    for (PlayerPanel& each : board.panel) {
        each.lblScoreLeft.setText(start);
    }
    for (PlayerPanel& each : board.panel) {
        each.lblFinishAdj.setText(QString());
        each.lblFinishAdj.setVisible(false);
    }
    for (PlayerPanel& each : board.panel)
        each.lblDartsThrown.setText(QStringLiteral("0"));
    state.LegPoints[0] = state.LegPoints[1] = 0;

    P.lblLeg.setText(NumberText(P.lblLeg.value() + 1));
    // Equality, not "at least": a target lowered during a set or a match is
    // not reached again by a player already past it.
    if (NumericValue(options.txtLegs) == P.lblLeg.value()) {
        P.lblSet.setText(NumberText(P.lblSet.value() + 1));
        panel(0).lblLeg.setText(QStringLiteral("0"));
        panel(1).lblLeg.setText(QStringLiteral("0"));
    }
    if (NumericValue(options.txtSets) == P.lblSet.value())
        winner.announceMatchWinner(P.lblNames.text().trimmed());
}
