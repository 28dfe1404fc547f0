#include "ui/VantrellApp.h"

#include "base/AppText.h"

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
    commands_ = std::make_unique<Commands>(*model_);
    connect(commands_.get(), &Commands::changed, this, &VantrellApp::partsChanged);
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
    return commands_->openDatabase(error);
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
    commands_->load();
    scores_->showOnScreen();
    // The match the last run did not end: resumed just as it stood, or left
    // to the history.
    if (model_->resumable()) {
        if (setup_.notifier->ask(model_->ResumeQuestion(), apptext::Title, QStringLiteral("Resume"),
                                 QStringLiteral("New match")))
            commands_->resume();
        else
            commands_->discard();
    }
}

// --- Windows brought to the front ---------------------------------------------

void VantrellApp::showOptions(int tab)
{
    commands_->showOptions(tab);
    if (options_) {
        options_->raise();
        options_->activateWindow();
    }
}

void VantrellApp::showStats(int tab)
{
    commands_->showStats(tab);
    if (stats_) {
        stats_->raise();
        stats_->activateWindow();
    }
}

void VantrellApp::showHiScores()
{
    commands_->showHiScores();
    if (hiScores_) {
        hiScores_->raise();
        hiScores_->activateWindow();
    }
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

// --- Windows that come and go -----------------------------------------------------

void VantrellApp::partsChanged(Commands::Parts parts)
{
    if (parts & Commands::Part::Announcement)
        followAnnouncement();
    if (parts & Commands::Part::HiScores)
        followHiScores();
}

void VantrellApp::followAnnouncement()
{
    if (model_->winner.open()) {
        // Made on view; from then on it follows the announcement itself.
        if (!winner_ && scores_) {
            winner_ = new frmWinnerBust(scores_, *this);
            winner_->setAttribute(Qt::WA_DeleteOnClose);
        }
    } else if (winner_) {
        frmWinnerBust* closing = winner_;
        winner_ = nullptr;
        closing->closeForGood();
    }
}

void VantrellApp::followHiScores()
{
    if (model_->hiScoresWindow.open) {
        if (!hiScores_ && scores_) {
            hiScores_ = new frmHiScores(scores_, *this);
            hiScores_->setAttribute(Qt::WA_DeleteOnClose);
        }
    } else if (hiScores_) {
        frmHiScores* closing = hiScores_;
        hiScores_ = nullptr;
        closing->closeForGood();
    }
}
