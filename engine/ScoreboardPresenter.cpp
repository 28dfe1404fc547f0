#include "engine/ScoreboardPresenter.h"

#include "base/TextNumbers.h"
#include "engine/FinishAdvice.h"

QString ScoreboardPresenter::threeDartAverage(int p) const
{
    return AverageText(match_.player(p).threeDartAverage());
}

void ScoreboardPresenter::visitCleared(const match::VisitCleared& e)
{
    panel(e.player).clearVisit();
}

void ScoreboardPresenter::dartScored(const match::DartScored& e)
{
    PlayerPanel& P = panel(e.player);
    const match::PlayerState& S = match_.player(e.player);
    P.lblThreeDartScore.setText(NumberText(S.visit.totalOrZero()));
    if (Field* dart = P.dartLabel(e.numberInVisit))
        dart->setText(e.dart.label());
    P.lblDartsThrown.setText(NumberText(S.dartsInLegShown));
    P.lblAverage.setText(threeDartAverage(e.player));
    // The advice for what this visit leaves, even past a bust: the bust puts
    // the box right again.
    P.lblFinishAdj.setText(AdviseFinish(P.lblFinishAdj, match_.visitRemaining()));
}

void ScoreboardPresenter::visitEnded(const match::VisitEnded& e)
{
    panel(e.player).lblScoreLeft.setText(NumberText(match_.player(e.player).remaining));
}

void ScoreboardPresenter::bust(const match::Bust& e)
{
    PlayerPanel& P = panel(e.player);
    P.lblFinishAdj.setText(AdviseFinish(P.lblFinishAdj, match_.player(e.player).remaining));
    P.lblAverage.setText(threeDartAverage(e.player));
}

void ScoreboardPresenter::legCounted(const match::LegCounted& e)
{
    for (int p = 0; p < 2; ++p) {
        PlayerPanel& each = panel(p);
        each.lblScoreLeft.setText(NumberText(match_.player(p).remaining));
        each.lblFinishAdj.setText(QString());
        each.lblFinishAdj.setVisible(false);
        each.lblDartsThrown.setText(QStringLiteral("0"));
    }
    panel(e.player).lblLeg.setText(NumberText(e.legs));
}

void ScoreboardPresenter::setWon(const match::SetWon& e)
{
    panel(e.player).lblSet.setText(NumberText(e.sets));
    panel(0).lblLeg.setText(QStringLiteral("0"));
    panel(1).lblLeg.setText(QStringLiteral("0"));
}

void ScoreboardPresenter::throwPassed(const match::ThrowPassed& e)
{
    const int to = PlayerIndex(e.to);
    panel(to).imgarrow.setVisible(true);
    panel(OtherPlayer(to)).imgarrow.setVisible(false);
    panel(to).Shape1.setVisible(true);
    panel(OtherPlayer(to)).Shape1.setVisible(false);
    // Only the styling of the new thrower's finish box is wanted here; the
    // box keeps its caption.
    AdviseFinish(panel(to).lblFinishAdj, match_.player(to).remaining);
}

void ScoreboardPresenter::gameStarted(const match::GameStarted&)
{
    for (int p = 0; p < 2; ++p) {
        PlayerPanel& P = panel(p);
        P.lblLeg.setText(QStringLiteral("0"));
        P.lblSet.setText(QStringLiteral("0"));
        P.lblScoreLeft.setText(NumberText(match_.player(p).remaining));
        P.clearVisit();
        P.lblFinishAdj.setText(QString());
        P.lblDartsThrown.setText(QStringLiteral("0"));
        P.lblAverage.setText(QStringLiteral("0.00"));
    }
    panel(0).imgarrow.setVisible(true);
    panel(0).Shape1.setVisible(true);
    panel(1).imgarrow.setVisible(false);
    panel(1).Shape1.setVisible(false);
}

void ScoreboardPresenter::startingScoreApplied(const match::StartingScoreApplied& e)
{
    panel(0).lblScoreLeft.setText(NumberText(e.start));
    panel(1).lblScoreLeft.setText(NumberText(e.start));
}
