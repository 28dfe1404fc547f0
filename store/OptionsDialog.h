#pragma once
// The options dialog `frmOptions` as state: its text boxes, its three groups
// of option buttons, which tab is selected and whether it is shown. The
// engine reads the number of players, legs and sets live from here.
#include <QString>

class OptionsDialog {
public:
    static constexpr int MaxLength = 2; // of the legs and sets boxes

    QString txtName1, txtName2;
    QString txtLegs, txtSets;
    int OptScore = -1;     // -1 none, 0 "501", 1 "301", 2 "101"
    int OptPlayers = -1;   // -1 none, 0 "1", 1 "2"
    int OptComm = -1;      // -1 none, 0 "On", 1 "Off"
    bool visible = false;
    int tab = 1;           // 1 "Player 1", 2 "Player 2", 3 "Game"

    bool twoPlayers() const { return OptPlayers == 1; }
    // Typing into the boxes: each keeps at most two characters.
    void setLegs(const QString& text) { txtLegs = text.left(MaxLength); }
    void setSets(const QString& text) { txtSets = text.left(MaxLength); }
    // The starting score of the selected button, 0 when none is selected.
    int selectedStart() const;
    // Shows the page of a tab (1, 2, anything else the game page).
    void selectTab(int t) { tab = (t == 1 || t == 2) ? t : 3; }

    // A name with its leading and trailing blanks removed (blanks only: any
    // other character is part of the name), as it is saved and shown in the
    // name boxes.
    static QString trimBlanks(const QString& text);
};
