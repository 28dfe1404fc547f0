// A won leg: the darts-per-leg band, both panels back to the start of a leg,
// legs and sets counted, the match winner announced.
#include "engine/ModDarts.h"
#include "base/TextNumbers.h"
#include "match/Bands.h"

int ModDarts::DartsPerLegRow(const QString& darts)
{
    // The statistics rows "9" to "16+" follow the bands' order.
    constexpr int FirstBandRow = 4;
    bool whole = false;
    const qint64 count = darts.toLongLong(&whole);
    // Only a count written as the table writes it ("12", never " 12" or
    // "12.0") is that many darts; any other text falls with the rest.
    if (!whole || NumberText(count) != darts)
        return FirstBandRow + int(match::LegDartsBand::Other);
    return FirstBandRow + int(match::legDartsBand(count));
}

void ModDarts::FinishLeg()
{
    const qint64 p = PlayerIndex(state.CurrentPlayer);
    PlayerPanel& P = panel(p);

    StatsTables::addTo(stats.grdStats[p], DartsPerLegRow(stats.grdStats[p].text(0, 1)), 1);
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
