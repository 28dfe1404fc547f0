#include "ui/VantrellApp.h"

#include "base/Moments.h"

#include "base/AppText.h"

#include "print/PrintModDarts.h"
#include "ui/AppPaths.h"
#include "ui/QtPrinting.h"
#include "ui/frmAbout.h"
#include "ui/frmBigScreen.h"
#include "ui/frmHiScores.h"
#include "ui/frmHistory.h"
#include "ui/frmOptions.h"
#include "ui/frmPrint.h"
#include "ui/frmScores.h"
#include "ui/frmStats.h"
#include "ui/frmWinnerBust.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>

#include <algorithm>

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
    // The big screen stands on its own (it may be on another screen) and
    // reads the model, so it goes first; the other windows are the main
    // window's children and go with it.
    delete bigScreen_.data();
    delete scores_.data();
}

frmScores* VantrellApp::scores() const { return scores_; }
frmStats* VantrellApp::stats() const { return stats_; }
frmOptions* VantrellApp::options() const { return options_; }
frmWinnerBust* VantrellApp::winner() const { return winner_; }
frmHiScores* VantrellApp::hiScores() const { return hiScores_; }
frmAbout* VantrellApp::about() const { return about_; }
frmPrint* VantrellApp::print() const { return print_; }
frmHistory* VantrellApp::history() const { return history_; }
frmStats* VantrellApp::historyPages() const { return historyPages_; }
frmPrint* VantrellApp::historyPrint() const { return historyPrint_; }
frmBigScreen* VantrellApp::bigScreen() const { return bigScreen_; }

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
}

void VantrellApp::offerResume()
{
    // The match the last run did not end: resumed just as it stood, or left
    // to the history.
    if (model_->resumable()) {
        if (setup_.notifier->ask(model_->ResumeQuestion(), apptext::Title, QStringLiteral("Resume"),
                                 QStringLiteral("New match")))
            commands_->resume();
        else
            commands_->discard();
        // The question had the keyboard; without a window manager nothing
        // gives it back, and the scoreboard's keys (Ctrl+Z, F11, the access
        // keys) would not fire.
        if (scores_)
            scores_->activateWindow();
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

void VantrellApp::showHistory()
{
    commands_->showHistory();
    if (history_) {
        history_->raise();
        history_->activateWindow();
    }
}

void VantrellApp::historyPagesPrint()
{
    // As "&Print" of the statistics window, with the opened match's tables
    // and the tab on view in its pages.
    const HistoryWindow& w = model_->historyWindow;
    if (!w.opened || !historyPages_)
        return;
    if (!historyPrint_ || historyPrint_->model().closed()) {
        PrintSources sources = PrintSourcesOf(*model_);
        sources.stats = &w.opened->stats;
        sources.statsWindow = &w.pages;
        sources.played = w.rows[std::size_t(w.openedRow)].log.started;
        historyPrint_ = new frmPrint(historyPages_, *printing_, sources);
    }
    historyPrint_->setCaption(PrintDialog::StatisticsJob);
    historyPrint_->model().show();
    historyPrint_->show();
    historyPrint_->raise();
    historyPrint_->activateWindow();
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

void VantrellApp::chooseBigScreen()
{
    commands_->bigScreenChosen(screenOfItsOwn() != nullptr);
}

void VantrellApp::toggleBigScreenFullScreen()
{
    commands_->bigScreenFullScreen();
}

QScreen* VantrellApp::screenOfItsOwn() const
{
    const QScreen* home = scores_ && scores_->screen() ? scores_->screen() : QGuiApplication::primaryScreen();
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != home)
            return screen;
    return nullptr;
}

void VantrellApp::exitProgram()
{
    // The big screen is no child of the scoreboard: it is closed with it.
    if (bigScreen_)
        bigScreen_->closeForGood();
    QCoreApplication::quit();
}

// --- Windows that come and go -----------------------------------------------------

void VantrellApp::partsChanged(Commands::Parts parts)
{
    if (parts & Commands::Part::Announcement)
        followAnnouncement();
    if (parts & Commands::Part::HiScores)
        followHiScores();
    if (parts & Commands::Part::History)
        followHistory();
    if (parts & Commands::Part::BigScreen)
        followBigScreen();
}

void VantrellApp::followBigScreen()
{
    const BigScreenWindow& w = model_->bigScreenWindow;
    if (!w.open) {
        if (bigScreen_) {
            frmBigScreen* closing = bigScreen_;
            bigScreen_ = nullptr;
            closing->closeForGood();
        }
        return;
    }
    if (!bigScreen_) {
        bigScreen_ = new frmBigScreen(*model_, *commands_, scores_);
        QScreen* home = scores_ && scores_->screen() ? scores_->screen() : QGuiApplication::primaryScreen();
        if (QScreen* other = screenOfItsOwn()) {
            // A second monitor or a projector: there, for the room.
            bigScreen_->setGeometry(other->availableGeometry());
        } else if (home) {
            // One screen: a 16:9 window over the scoreboard's middle, to be
            // dragged where it is wanted.
            const QRect area = home->availableGeometry();
            const int width = std::min(1280, area.width() * 2 / 3);
            const int height = std::min(width * 9 / 16, area.height() * 2 / 3);
            bigScreen_->setGeometry(QRect(QPoint(0, 0), QSize(width, height)).translated(
                area.center() - QPoint(width / 2, height / 2)));
        }
    }
    bigScreen_->setFullScreen(w.fullScreen);
    if (bigScreen_->isHidden())
        bigScreen_->show();
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

void VantrellApp::followHistory()
{
    const HistoryWindow& w = model_->historyWindow;
    if (w.open) {
        if (!history_ && scores_) {
            history_ = new frmHistory(scores_, *this);
            history_->setAttribute(Qt::WA_DeleteOnClose);
        }
    } else if (history_) {
        frmHistory* closing = history_;
        history_ = nullptr;
        closing->closeForGood();
    }

    // The pages belong to one opened match: another match opened, or the
    // pages closed, and they go, with a print dialog over them.
    const ModDarts* opened = w.pages.visible ? w.opened.get() : nullptr;
    if (historyPages_ && historyPagesOf_ != opened) {
        frmStats* going = historyPages_;
        historyPages_ = nullptr;
        disconnect(commands_.get(), nullptr, going, nullptr);
        going->hide();
        going->deleteLater();
        if (historyPrint_) {
            historyPrint_->hide();
            historyPrint_->deleteLater();
            historyPrint_ = nullptr;
        }
    }
    historyPagesOf_ = historyPages_ ? historyPagesOf_ : nullptr;
    if (opened && !historyPages_ && scores_) {
        frmStats::Source source;
        source.tables = &opened->stats;
        source.window = &w.pages;
        source.captionParts = Commands::Part::History;
        source.tableParts = Commands::Part::History;
        Commands& c = *commands_;
        source.tabClicked = [&c](int tab) { c.historyTabClicked(tab); };
        source.activated = [] {};
        source.print = [this] { historyPagesPrint(); };
        source.exit = [&c] { c.historyPagesClose(); };
        source.keep = w.opened;
        QWidget* over = history_ ? static_cast<QWidget*>(history_) : static_cast<QWidget*>(scores_);
        historyPages_ = new frmStats(over, *this, source);
        historyPages_->setObjectName(QStringLiteral("frmHistoryStats"));
        const history::StoredMatch& m = w.rows[std::size_t(w.openedRow)];
        historyPages_->setWindowTitle(QStringLiteral("Statistics - ") + MomentText(m.log.started));
        historyPagesOf_ = opened;
    }
}
