#pragma once
// The program's windows round the one engine. Every operator event a window
// receives goes to the engine as a command (Commands), which does all the work
// and tells the windows which parts of the model it may have changed; each
// window refreshes what it shows of those parts. The windows read the model
// only through a const reference.
#include "engine/Commands.h"
#include "engine/ModDarts.h"

#include <QObject>
#include <QPointer>
#include <memory>

class frmScores;
class frmStats;
class frmOptions;
class frmWinnerBust;
class frmHiScores;
class frmAbout;
class frmPrint;
class frmHistory;
class frmBigScreen;
class QScreen;
struct Printing;

class VantrellApp : public QObject {
    Q_OBJECT
public:
    struct Setup {
        QString databasePath;
        QString soundsFolder;
        QString helpPage;
        SoundOutput* sound = nullptr;
        Notifier* notifier = nullptr;
    };

    explicit VantrellApp(const Setup& setup, QObject* parent = nullptr);
    ~VantrellApp() override;

    const ModDarts& model() const { return *model_; }
    Commands& commands() { return *commands_; }
    const Setup& setup() const { return setup_; }

    // The splash's step: the database and its two record sets.
    bool openDatabase(QString* error);
    // The main window's load: the windows are made (the statistics window and
    // the options dialog hidden), the engine loads, the board is fitted to the
    // window, and the main window is shown filling the screen.
    void loadMainWindow();
    // The question about a match the last run left unfinished, when there
    // is one, asked over the main window.
    void offerResume();

    // The windows; nullptr for one that is not there at the moment.
    frmScores* scores() const;
    frmStats* stats() const;
    frmOptions* options() const;
    frmWinnerBust* winner() const;
    frmHiScores* hiScores() const;
    frmAbout* about() const;
    frmPrint* print() const;
    frmHistory* history() const;
    // The statistics pages of the match opened from the history, and the
    // print dialog opened over them.
    frmStats* historyPages() const;
    frmPrint* historyPrint() const;
    frmBigScreen* bigScreen() const;

    // The current printer, the printers to choose from and where documents
    // go, kept for the whole run.
    Printing& printing() { return *printing_; }

    // --- Shell: what the windows ask of the program beyond the engine ------
    // The menus' "&Options", "&Statistics" and "Hi Scores": the command, then
    // the window to the front.
    void showOptions(int tab);
    void showStats(int tab);
    void showHiScores();
    void statsPrint();
    void showHistory();
    void historyPagesPrint();

    // View, "&Big Screen": opened (full screen on a second screen where there
    // is one, the one the scoreboard is not on) or closed; F11: full screen
    // on whichever screen it is on, and back. Neither touches the match.
    void chooseBigScreen();
    void toggleBigScreenFullScreen();

    void openHelp();
    void openUpdates();
    void showAbout();
    void exitProgram();

signals:
    // "&Print" of the statistics window has shown the print dialog.
    void printRequested();

private:
    // The announcement and the high-score window are made when they open
    // and go when they close.
    void partsChanged(Commands::Parts parts);
    void followAnnouncement();
    void followHiScores();
    void followHistory();
    void followBigScreen();
    // The screen the big screen goes to: one the scoreboard is not on.
    QScreen* screenOfItsOwn() const;

    Setup setup_;
    std::unique_ptr<ModDarts> model_;
    std::unique_ptr<Commands> commands_;
    QPointer<frmScores> scores_;
    QPointer<frmStats> stats_;
    QPointer<frmOptions> options_;
    QPointer<frmWinnerBust> winner_;
    QPointer<frmHiScores> hiScores_;
    QPointer<frmAbout> about_;
    QPointer<frmPrint> print_;
    QPointer<frmHistory> history_;
    QPointer<frmStats> historyPages_;
    const ModDarts* historyPagesOf_ = nullptr;   // the engine whose tables they show
    QPointer<frmPrint> historyPrint_;
    QPointer<frmBigScreen> bigScreen_;
    std::unique_ptr<Printing> printing_;
};
