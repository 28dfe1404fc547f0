#pragma once
// The engine: the running match and every procedure that changes it. The
// windows and the headless driver call the operator's events below; each
// runs to completion and leaves the whole state in the models it owns.
//
// Every procedure is defined here in engine/, one file a concern (the dart,
// the hand-over, the leg, undo, new game, board mapping, checkout advice,
// visit recording, options, high scores, commentary); the folders below it
// hold what these procedures use: the board's geometry, the checkout table,
// the statistics grids, the database and the sound files.
#include "base/ChangeJournal.h"
#include "base/Clock.h"
#include "base/Notifier.h"
#include "base/Players.h"
#include "base/SoundOutput.h"
#include "engine/Announcement.h"
#include "engine/MatchState.h"
#include "engine/Scoreboard.h"
#include "sound/Commentary.h"
#include "stats/StatsTables.h"
#include "stats/StatsWindow.h"
#include "store/Database.h"
#include "store/HiScoresWindow.h"
#include "store/OptionsDialog.h"
#include "store/RecordSet.h"

#include <memory>

class ModDarts {
public:
    struct Setup {
        QString databasePath;   // .../Data/Darts.MDB
        QString soundsFolder;   // .../sounds
        SoundOutput* sound = nullptr;
        Notifier* notifier = nullptr;
    };

    explicit ModDarts(Setup setup);
    ~ModDarts();
    ModDarts(const ModDarts&) = delete;
    ModDarts& operator=(const ModDarts&) = delete;

    // --- Start-up -------------------------------------------------------
    // Opens `dbDarts`, `rsHiScores` and `rsOptions` (the splash's step).
    bool OpenDatabase(QString* error);
    // The main window's load, less the sizing that belongs to the window.
    void Load();

    // --- The operator's events -------------------------------------------
    void BoardPressed(double X, double Y);   // a dart
    void BoardMoved(double X, double Y);     // the aim box follows
    void WindowMoved();                      // pointer over the bare window
    void UndoLast();                         // "&Undo"
    void NewGame();                          // File, "&New Game"
    void PlaceBoard(const BoardRect& rect);  // the board picture sized anew
    void WinnerOk();                         // the announcement's "&Ok"
    void WinnerCloseRequest();               // any other way of closing it

    void ShowOptions(int tab);               // "&Options" menu entries
    void OptionsActivated();
    void OptionsTabClicked(int tab);
    void OptionsOk();
    void OptionsCancel();
    // The dialog's controls as the operator types into them and clicks them.
    void OptionsNameTyped(int player, const QString& text);
    void OptionsLegsTyped(const QString& text);
    void OptionsSetsTyped(const QString& text);
    void OptionsScoreChosen(int button);      // 0: 501, 1: 301, 2: 101
    void OptionsPlayersChosen(int button);    // 0: one player, 1: two
    void OptionsCommentaryChosen(int button); // 0: on, 1: off

    void ShowStats(int tab);                 // "&Statistics" menu entries
    void StatsActivated();
    void StatsTabClicked(int tab);
    void StatsExit();

    void ShowHiScores();                     // "Hi Scores"
    void HiScoresReset();
    void HiScoresClose();

    // --- The engine's procedures -------------------------------------------
    qint64 MapBoardPoint(double X, double Y, bool Throw);
    void ScoreDart(qint64 score);
    void EndOfVisit();
    void NextPlayer(qint64 player);
    void FinishLeg();
    void ResetLastScores();
    QString ShowCheckout(qint64 remaining);
    QString ShowCheckout(const QString& remaining);
    void RecordDart();
    void RecordVisit(qint64 score);
    void AnnounceScore(qint64 score);
    void PlaySoundFile(const QString& name);
    void LoadOptions();
    void FillHighScores();

    // --- State -------------------------------------------------------------
    MatchState state;
    DartHistory history;
    Scoreboard board;
    StatsTables stats;
    StatsWindow statsWindow;
    OptionsDialog options;
    Announcement winner;
    HiScoresWindow hiScoresWindow;
    Clock clock;

    Database dbDarts;
    std::unique_ptr<RecordSet> rsHiScores;
    std::unique_ptr<RecordSet> rsOptions;

    // The statistics row a won leg is counted in, from the darts-thrown
    // cell's text; the row a recorded visit's score is counted in (-1 for
    // none).
    static int DartsPerLegRow(const QString& darts);
    static int VisitScoreRow(qint64 score);

    // The saved starting score (101, 301 or 501) and number of players.
    int savedStartWith() const;
    int savedPlayers() const;

    PlayerPanel& panel(qint64 p) { return board.panel[PlayerIndex(p)]; }
    PlayerPanel& currentPanel() { return panel(state.CurrentPlayer); }
    bool twoPlayers() const { return options.twoPlayers(); }

    Notifier& notifier() { return *setup_.notifier; }
    const Setup& setup() const { return setup_; }

private:
    void Bust();
    void LegWon();
    void NameChanged(int p);
    void recordHighScore(qint64 p, qint64 score);
    // The visit's row of the last-scores list: darts thrown by then, and the
    // score or the bust.
    void addLastScore(qint64 p, const QString& score);
    void beginDart();
    void endDart();

    Setup setup_;
    Commentary commentary_;
    ChangeJournal journal_;
};
