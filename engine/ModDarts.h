#pragma once
// The engine: the running match with everything that shows it and keeps it.
// The windows and the headless driver call the operator's events below; each
// runs to completion and leaves the whole state in the models it owns.
//
// The rules of the match are the typed match's (match/Match.h). The engine
// turns a click into a dart for it, and the match's events drive the
// listeners made here: the scoreboard's panels, the statistics, the
// announcements, the high-score table and the commentary. The engine's own
// files hold the operator's other events: options, statistics and
// high-score windows, undo, a new game, the database.
#include "base/ChangeJournal.h"
#include "base/Clock.h"
#include "base/Notifier.h"
#include "base/Players.h"
#include "base/SoundOutput.h"
#include "engine/Announcement.h"
#include "engine/Announcer.h"
#include "engine/BigScreen.h"
#include "engine/HistoryWindow.h"
#include "engine/KeyboardEntry.h"
#include "engine/ScoreboardPresenter.h"
#include "engine/SummaryKeeper.h"
#include "match/Match.h"
#include "sound/ScoreCaller.h"
#include "stats/MatchStatistics.h"
#include "engine/Scoreboard.h"
#include "sound/Commentary.h"
#include "stats/StatsTables.h"
#include "stats/StatsWindow.h"
#include "store/Database.h"
#include "store/HiScoreTable.h"
#include "store/MatchLog.h"
#include "store/HiScoresWindow.h"
#include "store/OptionsDialog.h"
#include "store/RecordSet.h"
#include "store/Transaction.h"

#include <functional>
#include <memory>

class ModDarts {
public:
    struct Setup {
        QString databasePath;   // .../Data/Darts.MDB
        QString soundsFolder;   // .../sounds
        SoundOutput* sound = nullptr;
        Notifier* notifier = nullptr;
        // Whether the match is logged in the database (a benchmark of the
        // engine alone turns it off).
        bool keepsLog = true;
        // Off: the rules alone, with nothing that shows or keeps the match
        // (panels, statistics, announcement, high scores, sound). What a
        // summary of a logged match needs, played back many times faster.
        bool showsMatch = true;
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

    // The scoreboard's keyboard entry (engine/KeyboardEntry.cpp): characters
    // typed, Backspace, Escape and Enter, which throws the dart typed.
    void EntryTyped(const QString& text);
    void EntryBackspace();
    void EntryEscape();
    void EntryEnter();

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

    // "Match &History...": the stored matches, each one's statistics pages
    // and the export of them all.
    void ShowHistory();
    void HistoryOpenMatch(int row);          // a row opened: its pages shown
    void HistoryTabClicked(int tab);
    void HistoryPagesClose();
    void HistoryClose();
    // CSV or JSON by the file name's ending; the list on view, or the stored
    // matches read afresh while the window is closed. False with the reason,
    // which has also been shown as a message.
    bool ExportHistory(const QString& path, QString* error);

    // View, "Big Screen": opens it (full screen where it has a screen of its
    // own, a second monitor or a projector) or, when open, closes it.
    void BigScreenChosen(bool screenOfItsOwn);
    // F11, or a double click on it: full screen and back; a closed big
    // screen opens full screen.
    void BigScreenFullScreen();
    void BigScreenClosed();                  // its window's close box

    // --- The match log ------------------------------------------------------
    // Every operator event that changes the match is logged as it happens
    // (store/MatchLog.h). A match the last run did not end is offered at
    // start for resuming.
    using Resumable = history::Resumable;
    const std::optional<Resumable>& resumable() const { return resumable_; }
    // The question asked at start about it.
    QString ResumeQuestion() const;
    // Plays the unfinished match back: everything as it was after its last
    // logged event, undo included. False when there is none.
    bool Resume();
    // Leaves the unfinished match in the history as abandoned.
    void Discard();
    // Whether a logged match's settings are whole and as they were written:
    // a match whose settings cannot be read is not played back as if it had
    // other ones.
    static bool SettingsReadable(const QString& json);
    // The settings a logged match is played back with: what the stored ones
    // lack is a first run's.
    static QString PlaybackSettings(const QString& stored);

    // What a logged match is played back from: its settings, and its
    // entries one at a time (`next` gives nothing at the end), the first
    // `count` of them (a won match's up to the winning dart) or all (-1). A
    // long match is played back without its entries all in memory.
    struct LogPlay {
        QString settings;
        std::function<const matchlog::Entry*()> next;
        qint64 count = -1;
    };
    // The entries of the stored match `id` as the log holds them; `rows`,
    // when given, is the reader, to ask afterwards what it read.
    static LogPlay Playing(const matchlog::Log& log, qint64 id, const QString& settings, qint64 count = -1,
                           std::shared_ptr<matchlog::EntryReader>* rows = nullptr);
    // A stored match played back on an engine of its own, without a file,
    // sound or log: what the history shows of it.
    static std::unique_ptr<ModDarts> Replayed(const LogPlay& match);
    // The same with `listener` hearing the match's events as it is played
    // back: it is added before the first one, after the engine's own, and
    // `watch` is given the engine first so the listener can read the match
    // at each event. Both must outlive the engine. `notPlayed` counts the
    // entries that could not be played (of no kind this program knows, a
    // dart that is no bed).
    static std::unique_ptr<ModDarts> Replayed(const LogPlay& match, match::MatchListener& listener,
                                              const std::function<void(const ModDarts&)>& watch,
                                              int* notPlayed = nullptr);
    const matchlog::Log& matchLog() const { return log_; }
    // While a logged match is played back: the index of the entry being
    // played; -1 otherwise.
    int replayPosition() const { return replayPosition_; }

    // The point of the board under (X, Y): what it is worth and its label,
    // which the aim box shows.
    DartHit MapBoardPoint(double X, double Y);
    void LoadOptions();
    void FillHighScores();

    // --- State -------------------------------------------------------------
    Scoreboard board;
    StatsTables stats;
    StatsWindow statsWindow;
    OptionsDialog options;
    Announcement winner;
    HiScoresWindow hiScoresWindow;
    HistoryWindow historyWindow;
    KeyboardEntry keyboard;
    BigScreenWindow bigScreenWindow;
    Clock clock;

    Database dbDarts;
    std::unique_ptr<RecordSet> rsHiScores;
    std::unique_ptr<RecordSet> rsOptions;

    // The saved starting score (101, 301 or 501) and number of players.
    int savedStartWith() const;
    int savedPlayers() const;

    PlayerPanel& panel(qint64 p) { return board.panel[PlayerIndex(p)]; }
    PlayerPanel& currentPanel() { return panel(match_.currentPlayer()); }
    bool twoPlayers() const { return options.twoPlayers(); }

    const match::Match& match() const { return match_; }
    bool commentaryOn() const { return commentaryOn_; }
    // The label of the last point mapped (the pointer's or a dart's), or of
    // the dart undo took back last.
    const QString& currentDartLabel() const { return currentDartLabel_; }

    Notifier& notifier() { return *setup_.notifier; }
    const Setup& setup() const { return setup_; }

private:
    // The settings the match reads: players, legs and sets live from the
    // options dialog's boxes, the starting score from the saved row.
    struct SettingsInForce final : match::MatchSettings {
        explicit SettingsInForce(const ModDarts& e) : e(e) {}
        int players() const override;
        double legsPerSet() const override;
        double setsPerMatch() const override;
        int startingScore() const override;
        const ModDarts& e;
    };
    // What the match leaves on file: every recorded visit offered to the
    // high-score table, and a won match marked so in the match log.
    struct RecordKeeper final : match::MatchListener {
        explicit RecordKeeper(ModDarts& e) : e(e) {}
        void visitEnded(const match::VisitEnded& v) override { e.recordHighScore(v.player, v.total); }
        void matchWon(const match::MatchWon&) override { e.logMatchWon(); }
        ModDarts& e;
    };
    // The saved row's starting score and players while a logged match is
    // played back: the row itself holds the newest ones.
    struct SavedSettings {
        int start = 501;
        int players = 2;
    };

    // Around every logged operator event: the first opens a logged match
    // (with the settings it starts from), the second appends the event.
    // Events an event runs inside itself are not logged again. What the
    // event writes besides (a high score, the options, the match won) goes
    // into the file with its log row, in one transaction.
    void beginLogged();
    // `make` gives the entry; it is only called when the entry is written.
    template <class Make> void logged(Make&& make)
    {
        if (--logDepth_ != 0)
            return;
        if (logging())
            appendToLog(make());
        if (logging())
            writeSummary();
        endLoggedCommand();
    }
    bool logging() const
    {
        return !replaying_ && log_.isOpen() && log_.currentMatch() != 0 && !logStopped_;
    }
    void appendToLog(const matchlog::Entry& entry);
    void writeSummary();
    void endLoggedCommand();
    // A write of the match's log failed: nothing more is logged into it, so
    // a resume never plays a match with an event missing from its middle.
    void stopLogging(const QString& error);
    void logMatchWon();
    void reportLogFailure(const QString& error);
    QString settingsJson() const;
    void applySettings(const QString& json);
    // Plays the entries back; returns how many could not be played.
    int replay(const LogPlay& match);
    bool play(const matchlog::Entry& entry);
    void findUnfinishedMatch();
    static std::unique_ptr<ModDarts> replayedWith(const LogPlay& match, bool showsMatch, int* rejected,
                                                  match::MatchListener* listener,
                                                  const std::function<void(const ModDarts&)>* watch);
    void replayHighScore(int p, qint64 score);
    void recordHighScoreRevert(const HiScoreReplacement& entered);
    matchlog::Entry pressEntry(double X, double Y) const;
    static matchlog::Entry entry(const QString& kind, const QString& text = QString(), qint64 number = 0);

    // A press at (X, Y) of the board picture that hit the bed `label`.
    void pressedOn(double X, double Y, const QString& label);
    void NameChanged(int p);
    void recordHighScore(int p, qint64 score);

    Setup setup_;
    Commentary commentary_;
    ChangeJournal journal_;
    bool commentaryOn_ = false;
    QString currentDartLabel_;

    matchlog::Log log_;
    int logDepth_ = 0;
    std::unique_ptr<Transaction> command_;   // the logged event's writes
    bool logStopped_ = false;
    QString logUnreadable_;   // why the file's log is turned away, when it is
    // What the summary of the logged match says of its log: the darts in
    // it, and the digest of the settings it began with.
    qint64 loggedDarts_ = 0;
    QString loggedSettings_;
    bool replaying_ = false;
    bool currentWon_ = false;   // the logged match is marked won
    const matchlog::Entry* replayEntry_ = nullptr;
    int replayPosition_ = -1;
    std::optional<SavedSettings> replaySaved_;
    std::optional<HiScoreReplacement> enteredHighScore_;   // by the dart in progress
    std::optional<matchlog::LoggedMatch> unfinished_;
    std::optional<Resumable> resumable_;

    SettingsInForce settings_{*this};
    match::Match match_{settings_};
    ScoreboardPresenter presenter_{board, match_};
    MatchStatistics statistics_{stats, match_, [this](int p) { return panel(p).lblNames.text(); }};
    Announcer announcer_{winner, board};
    RecordKeeper records_{*this};
    ScoreCaller scoreCaller_{commentary_, commentaryOn_};
    SummaryKeeper summary_{*this, journal_};
};
