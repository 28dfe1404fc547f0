#include "engine/Scoreboard.h"

Field* PlayerPanel::dartLabel(qint64 dart)
{
    switch (dart) {
    case 1: return &lblFirstDart;
    case 2: return &lblSecondDart;
    case 3: return &lblThirdDart;
    default: return nullptr;
    }
}

void PlayerPanel::clearVisit()
{
    lblFirstDart.setText(QString());
    lblSecondDart.setText(QString());
    lblThirdDart.setText(QString());
    lblThreeDartScore.setText(QString());
}

void PlayerPanel::setJournal(ChangeJournal* journal)
{
    for (Field* f : {&lblNames, &lblScoreLeft, &lblFirstDart, &lblSecondDart, &lblThirdDart,
                     &lblThreeDartScore, &lblFinishAdj, &lblLeg, &lblSet, &lblDartsThrown,
                     &lblAverage, &imgarrow, &Shape1})
        f->setJournal(journal);
}

Scoreboard::Scoreboard()
{
    panel[1].lblNames.setText(QStringLiteral("Player 2"));
    panel[1].imgarrow.setVisible(false);
    panel[1].Shape1.setVisible(false);
}

void Scoreboard::setJournal(ChangeJournal* journal)
{
    panel[0].setJournal(journal);
    panel[1].setJournal(journal);
}
