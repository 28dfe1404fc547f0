// The end of a three-dart visit and the passing of the throw.
#include "engine/ModDarts.h"
#include "base/TextNumbers.h"

void ModDarts::EndOfVisit()
{
    const qint64 p = PlayerIndex(state.CurrentPlayer);
    PlayerPanel& P = panel(p);
    RecordVisit(RoundHalfEven(P.lblThreeDartScore.value()));
    const QString& total = P.lblThreeDartScore.text();
    AnnounceScore(StrictInteger(total).value_or(RoundHalfEven(NumericValue(total))));
    state.DartsInVisit = 0;
    if (twoPlayers())
        NextPlayer(OtherPlayer(p));
    else
        NextPlayer(0);
}

void ModDarts::NextPlayer(qint64 player)
{
    const int to = PlayerIndex(player);
    board.panel[to].imgarrow.setVisible(true);
    board.panel[1 - to].imgarrow.setVisible(false);
    board.panel[to].Shape1.setVisible(true);
    board.panel[1 - to].Shape1.setVisible(false);
    state.CurrentPlayer = to;
    // Only the styling of the new thrower's finish box is wanted here; the
    // box keeps its caption.
    ShowCheckout(board.panel[to].lblScoreLeft.text());
}
