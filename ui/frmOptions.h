#pragma once
// The options dialog: the players' names, the starting score, the number of
// players, legs and sets, and commentary. It is made at load and only hidden
// when closed; the engine reads the number of players, legs and sets live
// from its controls, kept in the OptionsDialog model.
#include "engine/Commands.h"

#include <QWidget>

#include <functional>

class ModDarts;
class QButtonGroup;
class QFrame;
class QLineEdit;
class QRadioButton;
class QTabBar;
class VantrellApp;

class frmOptions : public QWidget {
    Q_OBJECT
public:
    frmOptions(QWidget* parent, VantrellApp& app);

    // Shows what the model now holds of the parts given.
    void refresh(Commands::Parts parts);

    QTabBar* tabs() const { return TabOptions_; }
    QFrame* page(int tab) const { return pages_[tab == 1 || tab == 2 ? tab - 1 : 2]; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    QRadioButton* option(QWidget* parent, QButtonGroup* group, const QString& name, int index,
                         const QString& caption, double left, double top, double width,
                         double height);
    void countBox(QLineEdit* box, std::function<void(const QString&)> edited);
    void okClicked();
    static void select(QButtonGroup* group, int index);

    const ModDarts& model_;
    Commands& commands_;
    QTabBar* TabOptions_ = nullptr;
    QFrame* pages_[3] = {};
    QLineEdit* txtName_[2] = {};
    QLineEdit* txtLegs_ = nullptr;
    QLineEdit* txtSets_ = nullptr;
    QButtonGroup* OptScore_ = nullptr;
    QButtonGroup* OptPlayers_ = nullptr;
    QButtonGroup* OptComm_ = nullptr;
    bool okUnderWay_ = false; // a message box of "&Ok" may be up
    bool refusedOk_ = false;  // the next activation follows a refused "&Ok"
};
