#include "ui/VantrellApp.h"

#include "print/PrintModDarts.h"
#include "ui/AppPaths.h"
#include "ui/QtPrinting.h"
#include "ui/frmAbout.h"
#include "ui/frmHiScores.h"
#include "ui/frmOptions.h"
#include "ui/frmPrint.h"
#include "ui/frmScores.h"
#include "ui/frmStats.h"
#include "ui/frmWinnerBust.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

VantrellApp::VantrellApp(const Setup& setup, QObject* parent)
    : QObject(parent), setup_(setup), printing_(std::make_unique<Printing>())
{
    ModDarts::Setup engine;
    engine.databasePath = setup.databasePath;
    engine.soundsFolder = setup.soundsFolder;
    engine.sound = setup.sound;
    engine.notifier = setup.notifier;
    model_ = std::make_unique<ModDarts>(engine);
}

VantrellApp::~VantrellApp()
{
    // The other windows are the main window's children and go with it.
    delete scores_.data();
}

frmScores* VantrellApp::scores() const { return scores_; }
frmStats* VantrellApp::stats() const { return stats_; }
frmOptions* VantrellApp::options() const { return options_; }
frmWinnerBust* VantrellApp::winner() const { return winner_; }
frmHiScores* VantrellApp::hiScores() const { return hiScores_; }
frmAbout* VantrellApp::about() const { return about_; }
frmPrint* VantrellApp::print() const { return print_; }

bool VantrellApp::openDatabase(QString* error)
{
    return model_->OpenDatabase(error);
}

void VantrellApp::loadMainWindow()
{
    if (scores_)
        return;
    scores_ = new frmScores(*this);
    // Made now and kept hidden: their controls hold the match's settings
    // and statistics for the whole run.
    stats_ = new frmStats(scores_, *this);
    options_ = new frmOptions(scores_, *this);
    model_->Load();
    scores_->showOnScreen();
    sync();
}

// --- Board and scoreboard ---------------------------------------------------

void VantrellApp::boardPressed(double X, double Y)
{
    model_->BoardPressed(X, Y);
    sync();
}

void VantrellApp::boardMoved(double X, double Y)
{
    model_->BoardMoved(X, Y);
    // A pointer move changes the aim box and nothing else.
    if (scores_)
        scores_->syncAim();
}

void VantrellApp::windowMoved()
{
    model_->WindowMoved();
    if (scores_)
        scores_->syncAim();
}

void VantrellApp::undo()
{
    model_->UndoLast();
    sync();
}

void VantrellApp::newGame()
{
    model_->NewGame();
    sync();
}

void VantrellApp::boardPlaced()
{
    if (scores_)
        scores_->sync();
    if (winner_)
        winner_->keepClearOfTheBoard();
}

// --- Options ------------------------------------------------------------------

void VantrellApp::showOptions(int tab)
{
    model_->ShowOptions(tab);
    sync();
    if (options_) {
        options_->raise();
        options_->activateWindow();
    }
}

void VantrellApp::optionsActivated()
{
    model_->OptionsActivated();
    sync();
}

void VantrellApp::optionsTabClicked(int tab)
{
    model_->OptionsTabClicked(tab);
    sync();
}

void VantrellApp::optionsOk()
{
    model_->OptionsOk();
    sync();
}

void VantrellApp::optionsCancel()
{
    model_->OptionsCancel();
    sync();
}

void VantrellApp::optionsNameEdited(int player, const QString& text)
{
    model_->OptionsNameTyped(player, text);
    sync();
}

void VantrellApp::optionsLegsEdited(const QString& text)
{
    model_->OptionsLegsTyped(text);
    sync();
}

void VantrellApp::optionsSetsEdited(const QString& text)
{
    model_->OptionsSetsTyped(text);
    sync();
}

void VantrellApp::optionsScoreChosen(int button)
{
    model_->OptionsScoreChosen(button);
    sync();
}

void VantrellApp::optionsPlayersChosen(int button)
{
    model_->OptionsPlayersChosen(button);
    sync();
}

void VantrellApp::optionsCommentaryChosen(int button)
{
    model_->OptionsCommentaryChosen(button);
    sync();
}

// --- Statistics ---------------------------------------------------------------

void VantrellApp::showStats(int tab)
{
    model_->ShowStats(tab);
    sync();
    if (stats_) {
        stats_->raise();
        stats_->activateWindow();
    }
}

void VantrellApp::statsActivated()
{
    model_->StatsActivated();
    sync();
}

void VantrellApp::statsTabClicked(int tab)
{
    model_->StatsTabClicked(tab);
    sync();
}

void VantrellApp::statsExit()
{
    model_->StatsExit();
    sync();
}

void VantrellApp::statsPrint()
{
    // "&Print" opens the print dialog over the statistics window, modeless.
    // A dialog still open (after a game report) is used again; otherwise a
    // new one is made, which lists the printers afresh. Its caption is set
    // before it is shown: that names the job it prints.
    if (!print_ || print_->model().closed()) {
        QWidget* over = stats_ ? static_cast<QWidget*>(stats_) : static_cast<QWidget*>(scores_);
        print_ = new frmPrint(over, *printing_, PrintSourcesOf(*model_));
    }
    print_->setCaption(PrintDialog::StatisticsJob);
    print_->model().show();
    print_->show();
    print_->raise();
    print_->activateWindow();
    emit printRequested();
}

// --- High scores --------------------------------------------------------------

void VantrellApp::showHiScores()
{
    model_->ShowHiScores();
    sync();
    if (hiScores_) {
        hiScores_->raise();
        hiScores_->activateWindow();
    }
}

void VantrellApp::hiScoresReset()
{
    model_->HiScoresReset();
    sync();
}

void VantrellApp::hiScoresClose()
{
    model_->HiScoresClose();
    sync();
}

// --- Announcement ---------------------------------------------------------------

void VantrellApp::winnerOk()
{
    model_->WinnerOk();
    sync();
}

void VantrellApp::winnerCloseRequest()
{
    model_->WinnerCloseRequest();
    sync();
}

// --- Shell ----------------------------------------------------------------------

void VantrellApp::openHelp()
{
    // What the system's handler makes of it is its own business: a missing
    // page or handler shows nothing.
    QDesktopServices::openUrl(QUrl::fromLocalFile(setup_.helpPage));
}

void VantrellApp::openUpdates()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(UpdatePageAddress)));
}

void VantrellApp::showAbout()
{
    if (!about_)
        about_ = new frmAbout(scores_);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void VantrellApp::exitProgram()
{
    QCoreApplication::quit();
}

// --- Showing the model ------------------------------------------------------------

void VantrellApp::sync()
{
    // A window can report an activation while the windows are being brought
    // up to date; its event has then changed the model, so go round again.
    if (syncing_) {
        resync_ = true;
        return;
    }
    syncing_ = true;
    int rounds = 0;
    do {
        resync_ = false;
        if (scores_)
            scores_->sync();
        if (stats_)
            stats_->sync();
        if (options_)
            options_->sync();
        syncWinner();
        syncHiScores();
    } while (resync_ && ++rounds < 8);
    syncing_ = false;
}

void VantrellApp::syncWinner()
{
    if (model_->winner.open()) {
        if (!winner_) {
            winner_ = new frmWinnerBust(scores_, *this);
            winner_->setAttribute(Qt::WA_DeleteOnClose);
        }
        winner_->sync();
    } else if (winner_) {
        frmWinnerBust* closing = winner_;
        winner_ = nullptr;
        closing->closeForGood();
    }
}

void VantrellApp::syncHiScores()
{
    if (model_->hiScoresWindow.open) {
        if (!hiScores_) {
            hiScores_ = new frmHiScores(scores_, *this);
            hiScores_->setAttribute(Qt::WA_DeleteOnClose);
        }
        hiScores_->sync();
        if (hiScores_->isHidden())
            hiScores_->show();
    } else if (hiScores_) {
        frmHiScores* closing = hiScores_;
        hiScores_ = nullptr;
        closing->closeForGood();
    }
}
