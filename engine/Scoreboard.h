#pragma once
// The main window's display state, as texts: the two players' panels, the
// board picture's place, the aim box and the menu captions that carry names.
// The windows only show this model; the engine reads and writes it.
#include "board/BoardGeometry.h"
#include "engine/Field.h"

// One player's display fields, named after their controls.
struct PlayerPanel {
    Field lblNames{QStringLiteral("Player 1")};
    Field lblScoreLeft{QStringLiteral("501")};
    Field lblFirstDart, lblSecondDart, lblThirdDart;
    Field lblThreeDartScore;
    Field lblFinishAdj{QString(), false};
    Field lblLeg{QStringLiteral("0")};
    Field lblSet{QStringLiteral("0")};
    Field lblDartsThrown{QStringLiteral("0")};
    Field lblAverage{QStringLiteral("0.00")};
    Field imgarrow;   // the turn arrow beside the panel (visibility only)
    Field Shape1;     // the highlight outline round the panel (visibility only)

    // The label of dart 1, 2 or 3 of the visit; nullptr for any other number.
    Field* dartLabel(qint64 dart);
    // Empties the three dart labels and the visit total.
    void clearVisit();
    void setJournal(ChangeJournal* journal);
};

// The aim box `Frame3` with its label `lblDartToHit`.
struct AimBox {
    bool visible = false;
    double left = 0, top = 0;
    QString caption = QStringLiteral("0");
    quint64 captionWrites = 0; // how often the caption was written (and repainted)
};

// Menu entries whose captions follow the players' names.
struct NameMenus {
    QString mnuOptPlayer1 = QStringLiteral("Player 1");
    QString mnuOptPlayer2 = QStringLiteral("Player 2");
    QString mnustaPlayer1 = QStringLiteral("Player 1");
    QString mnustaPlayer2 = QStringLiteral("Player 2");
};

struct Scoreboard {
    Scoreboard();
    PlayerPanel panel[2];
    BoardRect Image1;
    AimBox Frame3;
    NameMenus menus;

    void setJournal(ChangeJournal* journal);
};
