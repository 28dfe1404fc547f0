#include "engine/BigScreen.h"

#include "engine/ModDarts.h"

#include <QStringList>

namespace {

BigScreenPlayer ReadPlayer(const PlayerPanel& panel)
{
    BigScreenPlayer p;
    p.name = panel.lblNames.text();
    p.sets = panel.lblSet.text();
    p.legs = panel.lblLeg.text();
    p.remaining = panel.lblScoreLeft.text();
    p.darts = {panel.lblFirstDart.text(), panel.lblSecondDart.text(), panel.lblThirdDart.text()};
    p.visitTotal = panel.lblThreeDartScore.text();
    if (panel.lblFinishAdj.visible()) {
        p.finish = panel.lblFinishAdj.text();
        p.finishBack = panel.lblFinishAdj.back();
        p.finishFore = panel.lblFinishAdj.fore();
    }
    p.average = panel.lblAverage.text();
    p.throwing = panel.imgarrow.visible();
    return p;
}

} // namespace

BigScreenView ReadBigScreen(const ModDarts& engine)
{
    BigScreenView view;
    // A one-player game shows its player alone, unless the game was made one
    // player's while the second had the throw: then both stay on view.
    view.players = engine.twoPlayers() || engine.board.panel[1].imgarrow.visible() ? 2 : 1;
    for (int p = 0; p < view.players; ++p)
        view.player[p] = ReadPlayer(engine.board.panel[p]);
    const Announcement& a = engine.winner;
    view.announcing = a.open();
    if (view.announcing) {
        for (const QString& line : {a.lblWinner(), a.lblPlayer()})
            if (!line.trimmed().isEmpty())
                view.announcement << line;
    }
    return view;
}

void ModDarts::BigScreenChosen(bool screenOfItsOwn)
{
    BigScreenWindow& w = bigScreenWindow;
    w.fullScreen = !w.open && screenOfItsOwn;
    w.open = !w.open;
}

void ModDarts::BigScreenFullScreen()
{
    BigScreenWindow& w = bigScreenWindow;
    w.fullScreen = !w.open || !w.fullScreen;
    w.open = true;
}

void ModDarts::BigScreenClosed()
{
    bigScreenWindow = BigScreenWindow();
}

QStringList BigScreenView::describe() const
{
    QStringList lines;
    lines << QStringLiteral("players %1").arg(players);
    for (int p = 0; p < players; ++p) {
        const BigScreenPlayer& s = player[p];
        lines << QStringLiteral("%1: [%2] sets %3 legs %4 left %5 visit [%6|%7|%8] = %9 finish [%10] %11/%12 avg %13%14")
                     .arg(p)
                     .arg(s.name, s.sets, s.legs, s.remaining, s.darts[0], s.darts[1], s.darts[2], s.visitTotal,
                          s.finish)
                     .arg(s.finishBack, 6, 16, QLatin1Char('0'))
                     .arg(s.finishFore, 6, 16, QLatin1Char('0'))
                     .arg(s.average, s.throwing ? QStringLiteral(" throwing") : QString());
    }
    if (announcing)
        lines << QStringLiteral("announcing [%1]").arg(announcement.join(QStringLiteral("|")));
    return lines;
}
