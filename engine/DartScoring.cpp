// A dart, from the click on the board to its classification: normal, bust or
// the leg won.
#include "board/BoardGeometry.h"
#include "engine/ModDarts.h"
#include "base/TextNumbers.h"

void ModDarts::BoardPressed(double X, double Y)
{
    beginDart();

    // The other player's last visit stays on view until this player's first
    // dart; alone, a player's finished visit stays until the next one starts.
    if (twoPlayers()) {
        panel(state.CurrentPlayer == 1 ? 0 : 1).clearVisit();
    } else if (!panel(0).lblThirdDart.text().isEmpty()) {
        panel(0).clearVisit();
    }

    state.DartsInVisit += 1;
    const qint64 score = MapBoardPoint(X, Y, true);
    ScoreDart(score);
    if (state.DartsInVisit == 3)
        EndOfVisit();

    endDart();
}

void ModDarts::ScoreDart(qint64 score)
{
    const qint64 p = PlayerIndex(state.CurrentPlayer);
    PlayerPanel& P = panel(p);
    Grid& grdStats = stats.grdStats[p];
    Grid& grdStats2 = stats.grdStats2[p];

    // Per-dart statistics.
    StatsTables::addTo(grdStats, 0, 1);
    P.lblDartsThrown.setText(NumberText(NumericValue(grdStats.text(0, 1))));
    StatsTables::addTo(grdStats2, 0, 1);
    state.PointsScored[p] += score;
    state.LegPoints[p] += score;
    const double totalDarts = NumericValue(grdStats2.text(0, 1));
    grdStats.setText(1, 1, AverageText(double(state.PointsScored[p]) / totalDarts));
    P.lblAverage.setText(AverageText(double(state.PointsScored[p]) / (totalDarts / 3)));
    const double threeDart = 3 * NumericValue(grdStats.text(1, 1));
    stats.ProOverall3Dart[p].setValue(threeDart > 100 ? 100 : threeDart);

    // The first nine darts of the leg: this leg's points, not the match's, so
    // the figure means the same in every leg.
    const double legDarts = P.lblDartsThrown.value();
    if (legDarts < 10 && legDarts > 0) {
        state.FirstNineAverage[p] = RoundHalfEven(double(state.LegPoints[p]) / legDarts * 3);
        const qint64 f = state.FirstNineAverage[p];
        stats.ProFirst9[p].setValue(f <= 100 ? double(f) : 100.0);
    }

    // Remaining score within the visit, and the advice for it.
    if (state.DartsInVisit == 1)
        state.VisitRemaining = RoundHalfEven(P.lblScoreLeft.value());
    state.VisitRemaining -= score;
    P.lblFinishAdj.setText(ShowCheckout(state.VisitRemaining));

    if (state.VisitRemaining == 0) {
        const Field* dart = P.dartLabel(state.DartsInVisit);
        const bool onDouble = dart && (dart->text().startsWith(u'D') || dart->text() == u"50");
        if (onDouble)
            LegWon();
        else
            Bust();
    } else if (state.VisitRemaining < 0 || state.VisitRemaining == 1) {
        Bust();
    } else {
        RecordDart();
    }
}

void ModDarts::Bust()
{
    const qint64 p = PlayerIndex(state.CurrentPlayer);
    PlayerPanel& P = panel(p);
    Grid& grdStats = stats.grdStats[p];

    winner.announceBust();
    if (state.CommentaryOn)
        PlaySoundFile(Commentary::NoScore);

    // A busted visit counts as three darts thrown in the leg, and its points
    // are taken back, the busting dart's included.
    StatsTables::addTo(grdStats, 0, 1, double(3 - state.DartsInVisit));
    const qint64 visitTotal = RoundHalfEven(P.lblThreeDartScore.value());
    state.PointsScored[p] -= visitTotal;
    state.LegPoints[p] -= visitTotal;
    P.lblFinishAdj.setText(ShowCheckout(P.lblScoreLeft.text()));

    const double totalDarts = NumericValue(stats.grdStats2[p].text(0, 1));
    grdStats.setText(1, 1, AverageText(double(state.PointsScored[p]) / totalDarts));
    const QString threeDart = AverageText(double(state.PointsScored[p]) / (totalDarts / 3));
    grdStats.setText(2, 1, threeDart);
    P.lblAverage.setText(threeDart);

    addLastScore(p, QStringLiteral("Bust (") + NumberText(P.lblThreeDartScore.value()) + u')');

    state.DartsInVisit = 0;
    if (twoPlayers()) {
        NextPlayer(OtherPlayer(p));
    } else {
        panel(0).clearVisit();
        NextPlayer(0);
    }
}

void ModDarts::LegWon()
{
    const qint64 p = PlayerIndex(state.CurrentPlayer);
    PlayerPanel& P = panel(p);

    winner.announceLegWon(P.lblNames.text());

    const double outshot = P.lblScoreLeft.value();
    Grid& game = stats.grdGameStats;
    if (NumericValue(game.text(2, 2)) < outshot) {
        game.setText(2, 1, P.lblNames.text());
        game.setText(2, 2, NumberText(outshot));
    }
    StatsTables::addTo(game, 4, 1);

    RecordVisit(StrictInteger(P.lblScoreLeft.text()).value_or(RoundHalfEven(outshot)));
    RecordDart();
    FinishLeg();
    if (state.CommentaryOn)
        PlaySoundFile(Commentary::GameShot);

    if (!twoPlayers()) {
        panel(0).clearVisit();
        NextPlayer(0);
        state.DartsInVisit = 0;
        return;
    }
    // The opening throw alternates with every leg and set counted on the
    // panels. The count of whole legs and sets decides; past 99 the winner
    // keeps the throw, as the scoreboard always has.
    const double n = panel(0).lblLeg.value() + panel(1).lblLeg.value() +
                     panel(0).lblSet.value() + panel(1).lblSet.value();
    if (n >= 0 && n <= 99 && n == double(qint64(n)))
        NextPlayer(qint64(n) % 2 == 0 ? 0 : 1);
    panel(0).clearVisit();
    panel(1).clearVisit();
    state.DartsInVisit = 0;
}
