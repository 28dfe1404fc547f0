#pragma once
// The options dialog `frmOptions` as state: its text boxes, its three groups
// of option buttons, which tab is selected and whether it is shown. The
// engine reads the number of players, legs and sets live from here.
#include <QString>

class OptionsDialog {
public:
    static constexpr int MaxLength = 2;      // of the legs and sets boxes
    static constexpr int NameMaxLength = 30; // of the name boxes

    QString txtName1, txtName2;
    QString txtLegs, txtSets;
    int OptScore = -1;     // -1 none, 0 "501", 1 "301", 2 "101"
    int OptPlayers = -1;   // -1 none, 0 "1", 1 "2"
    int OptComm = -1;      // -1 none, 0 "On", 1 "Off"
    bool visible = false;
    int tab = 1;           // 1 "Player 1", 2 "Player 2", 3 "Game"

    bool twoPlayers() const { return OptPlayers == 1; }
    // Typing into the legs and sets boxes: they take digits only, anything
    // else typed or pasted is dropped, and they keep at most two.
    void setLegs(const QString& text) { txtLegs = typedCount(text); }
    void setSets(const QString& text) { txtSets = typedCount(text); }
    static QString typedCount(const QString& text);
    // Typing into a name box (player 0 or 1): it keeps the first 30 characters.
    void setName(int player, const QString& text);
    // The starting score of the selected button, 0 when none is selected.
    int selectedStart() const;
    // Shows the page of a tab (1, 2, anything else the game page).
    void selectTab(int t) { tab = (t == 1 || t == 2) ? t : 3; }

    // Whether a legs or sets box holds a count the match can be played to:
    // a whole number from 1 to 99 written in digits.
    static bool isCount(const QString& text);

    // The settings on the controls (names, counts and the three groups of
    // buttons; not the tab, which every opening chooses anew). "&Cancel"
    // puts back what `remember` took when the dialog was shown or last
    // closed, so a cancelled change never reaches the game.
    struct Controls {
        QString txtName1, txtName2, txtLegs, txtSets;
        int OptScore = -1, OptPlayers = -1, OptComm = -1;
        bool operator==(const Controls&) const = default;
    };
    Controls controls() const;
    void remember() { remembered_ = controls(); }
    // What "&Cancel" would put back, and putting a whole set of controls
    // (a logged match's, played back) in place.
    const Controls& remembered() const { return remembered_; }
    void setRemembered(const Controls& c) { remembered_ = c; }
    void setControls(const Controls& c);
    void restore();

    // A name with its leading and trailing blanks removed (blanks only: any
    // other character is part of the name), as it is saved and shown in the
    // name boxes.
    static QString trimBlanks(const QString& text);

private:
    Controls remembered_;
};
