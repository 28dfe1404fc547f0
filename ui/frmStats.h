#pragma once
// The statistics window: a tab strip over three pages (each player's tables
// and rating bars, and the game's records). It is made once and only hidden
// when closed, so what it shows lives as long as the program.
#include "engine/Commands.h"

#include <QWidget>

#include <functional>
#include <memory>

class GridView;
class ModDarts;
class QFrame;
class QPushButton;
class QTabBar;
class RatingBar;
class VantrellApp;

struct StatsTables;
struct StatsWindow;

class frmStats : public QWidget {
    Q_OBJECT
public:
    // What the window shows and where its events go: the running match's
    // statistics, or those of a stored match opened from the history.
    struct Source {
        const StatsTables* tables = nullptr;
        const StatsWindow* window = nullptr;
        Commands::Parts captionParts;   // changes that may rename the tabs
        Commands::Parts tableParts;     // changes that may alter the pages
        std::function<void(int)> tabClicked;
        std::function<void()> activated, print, exit;
        // What the tables belong to, kept as long as the window is.
        std::shared_ptr<const void> keep;
    };

    // The running match's statistics window.
    frmStats(QWidget* parent, VantrellApp& app);
    frmStats(QWidget* parent, VantrellApp& app, Source source);

    // Shows what the model now holds of the parts given.
    void refresh(Commands::Parts parts);

    QTabBar* tabs() const { return TabStats_; }
    QFrame* page(int tab) const { return pages_[tab == 1 || tab == 2 ? tab - 1 : 2]; }
    RatingBar* bar(int which, int player) const { return bars_[which][player]; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    // The buttons under the pages, or beside them on a screen too low for
    // that, and the window's size to go with them.
    void fitToScreen();
    void buildPlayerPage(int p);
    void buildGamePage();
    void syncCaptions();
    void syncTables();
    void syncGrids();

    Source source_;
    Commands& commands_;
    QTabBar* TabStats_ = nullptr;
    QFrame* pages_[3] = {};
    QList<GridView*> grids_;
    RatingBar* bars_[3][2] = {};
    // The tables changed while the window was hidden; they are brought up to
    // date when it shows.
    bool gridsStale_ = false;
    QPushButton* cmdPrint_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
};
