#pragma once
// The statistics window: a tab strip over three pages (each player's tables
// and rating bars, and the game's records). It is made once and only hidden
// when closed, so what it shows lives as long as the program.
#include "engine/Commands.h"

#include <QWidget>

class GridView;
class ModDarts;
class QFrame;
class QPushButton;
class QTabBar;
class RatingBar;
class VantrellApp;

class frmStats : public QWidget {
    Q_OBJECT
public:
    frmStats(QWidget* parent, VantrellApp& app);

    // Shows what the model now holds of the parts given.
    void refresh(Commands::Parts parts);

    QTabBar* tabs() const { return TabStats_; }
    QFrame* page(int tab) const { return pages_[tab == 1 || tab == 2 ? tab - 1 : 2]; }
    RatingBar* bar(int which, int player) const { return bars_[which][player]; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void buildPlayerPage(int p);
    void buildGamePage();
    void syncCaptions();
    void syncTables();

    VantrellApp& app_;
    const ModDarts& model_;
    Commands& commands_;
    QTabBar* TabStats_ = nullptr;
    QFrame* pages_[3] = {};
    QList<GridView*> grids_;
    RatingBar* bars_[3][2] = {};
    QPushButton* cmdPrint_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
};
