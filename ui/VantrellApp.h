#pragma once
// The program's windows round the one engine. Every operator event a window
// receives is forwarded to ModDarts, which does all the work; afterwards the
// windows re-read the model (sync) and show what changed.
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

    ModDarts& model() { return *model_; }
    const Setup& setup() const { return setup_; }

    // The splash's step: the database and its two record sets.
    bool openDatabase(QString* error);
    // The main window's load: the windows are made (the statistics window and
    // the options dialog hidden), the engine loads, the board is fitted to the
    // window, and the main window is shown filling the screen.
    void loadMainWindow();

    // The windows; nullptr for one that is not there at the moment.
    frmScores* scores() const;
    frmStats* stats() const;
    frmOptions* options() const;
    frmWinnerBust* winner() const;
    frmHiScores* hiScores() const;
    frmAbout* about() const;
    frmPrint* print() const;

    // The current printer, the printers to choose from and where documents
    // go, kept for the whole run.
    Printing& printing() { return *printing_; }

    // --- Events, forwarded to the engine ---------------------------------
    void boardPressed(double X, double Y);
    void boardMoved(double X, double Y);
    void windowMoved();
    void undo();
    void newGame();

    void showOptions(int tab);
    void optionsActivated();
    void optionsTabClicked(int tab);
    void optionsOk();
    void optionsCancel();
    void optionsNameEdited(int player, const QString& text);
    void optionsLegsEdited(const QString& text);
    void optionsSetsEdited(const QString& text);
    void optionsScoreChosen(int button);
    void optionsPlayersChosen(int button);
    void optionsCommentaryChosen(int button);

    void showStats(int tab);
    void statsActivated();
    void statsTabClicked(int tab);
    void statsExit();
    void statsPrint();

    void showHiScores();
    void hiScoresReset();
    void hiScoresClose();

    void winnerOk();
    void winnerCloseRequest();

    void openHelp();
    void openUpdates();
    void showAbout();
    void exitProgram();

    // The board was placed anew (the window was sized).
    void boardPlaced();

    // Brings every window up to date with the model.
    void sync();

signals:
    // "&Print" of the statistics window has shown the print dialog.
    void printRequested();

private:
    void syncWinner();
    void syncHiScores();

    Setup setup_;
    std::unique_ptr<ModDarts> model_;
    QPointer<frmScores> scores_;
    QPointer<frmStats> stats_;
    QPointer<frmOptions> options_;
    QPointer<frmWinnerBust> winner_;
    QPointer<frmHiScores> hiScores_;
    QPointer<frmAbout> about_;
    QPointer<frmPrint> print_;
    std::unique_ptr<Printing> printing_;
    bool syncing_ = false;
    bool resync_ = false;
};
