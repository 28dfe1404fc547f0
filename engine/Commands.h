#pragma once
// The one way into the engine for the windows and the headless driver: one
// method per operator event. Each runs the engine's procedure to completion
// and then tells its listeners which parts of the model the event may have
// changed, so a window refreshes when, and only when, something it shows may
// be different. Listeners read the model through `model()`, which is const:
// nothing but these commands writes it.
#include "board/BoardGeometry.h"

#include <QDateTime>
#include <QFlags>
#include <QObject>
#include <QString>

class ModDarts;

class Commands : public QObject {
    Q_OBJECT
public:
    // The parts of the model a window shows.
    enum class Part : unsigned {
        Scoreboard = 0x01,   // the panels: names, scores, the visit, arrows, outlines, previous scores
        BoardPlace = 0x02,   // where the board picture stands in the main window
        AimBox = 0x04,       // the box naming the bed under the pointer
        Statistics = 0x08,   // the statistics window: tables, bars, tab, shown or hidden
        Options = 0x10,      // the options dialog: controls, tab, shown or hidden
        Announcement = 0x20, // the bust / leg / match dialog
        HiScores = 0x40,     // the high-score window: open or not, its rows
        Captions = 0x80,     // menu entries and statistics tabs that carry the names
        History = 0x100,     // the match-history window: open or not, its rows, an opened match's pages
        Entry = 0x200,       // the scoreboard's keyboard entry: the text typed and its hint
        BigScreen = 0x400,   // the big screen's window: open or not, full screen or not
        All = 0x7FF,
    };
    Q_DECLARE_FLAGS(Parts, Part)
    Q_FLAG(Parts)

    // Every command, as the table of what each may change knows them.
    enum class Command {
        OpenDatabase, Load,
        BoardPressed, BoardMoved, PointerOffBoard, Undo, NewGame, PlaceBoard,
        EntryTyped, EntryBackspace, EntryEscape, EntryEnter,
        WinnerOk, WinnerCloseRequest,
        ShowOptions, OptionsActivated, OptionsTabClicked, OptionsOk, OptionsCancel,
        OptionsNameTyped, OptionsLegsTyped, OptionsSetsTyped,
        OptionsScoreChosen, OptionsPlayersChosen, OptionsCommentaryChosen,
        ShowStats, StatsActivated, StatsTabClicked, StatsExit,
        ShowHiScores, HiScoresReset, HiScoresClose,
        FixClock,
        Resume, Discard,
        ShowHistory, HistoryOpenMatch, HistoryTabClicked, HistoryPagesClose, HistoryClose, ExportHistory,
        BigScreenChosen, BigScreenFullScreen, BigScreenClosed,
        Count
    };
    Q_ENUM(Command)

    explicit Commands(ModDarts& engine, QObject* parent = nullptr);

    const ModDarts& model() const { return engine_; }

    // The parts a command may change: one table for every command.
    static Parts partsOf(Command command);

    // --- Start-up -----------------------------------------------------------
    bool openDatabase(QString* error);
    void load();

    // --- The board and the scoreboard ------------------------------------------
    void boardPressed(double X, double Y);
    void boardMoved(double X, double Y);
    void pointerOffBoard();
    void undo();
    void newGame();
    void placeBoard(const BoardRect& rect);

    // --- The keyboard entry ----------------------------------------------------------
    // Characters typed on the scoreboard, Backspace, Escape, and Enter, which
    // throws the dart typed as a click inside its bed would.
    void entryTyped(const QString& text);
    void entryBackspace();
    void entryEscape();
    void entryEnter();

    // --- The announcement ----------------------------------------------------------
    void winnerOk();
    void winnerCloseRequest();

    // --- The options dialog ----------------------------------------------------------
    void showOptions(int tab);
    void optionsActivated();
    void optionsTabClicked(int tab);
    void optionsOk();
    void optionsCancel();
    void optionsNameTyped(int player, const QString& text);
    void optionsLegsTyped(const QString& text);
    void optionsSetsTyped(const QString& text);
    void optionsScoreChosen(int button);
    void optionsPlayersChosen(int button);
    void optionsCommentaryChosen(int button);

    // --- The statistics window ---------------------------------------------------------
    void showStats(int tab);
    void statsActivated();
    void statsTabClicked(int tab);
    void statsExit();

    // --- The high-score window ----------------------------------------------------------
    void showHiScores();
    void hiScoresReset();
    void hiScoresClose();

    // --- The match-history window ----------------------------------------------------
    void showHistory();
    void historyOpenMatch(int row);
    void historyTabClicked(int tab);
    void historyPagesClose();
    void historyClose();
    // False with the reason, which has also been shown as a message.
    bool exportHistory(const QString& path, QString* error = nullptr);

    // --- The big screen ---------------------------------------------------------------
    // View, "Big Screen" (full screen where it has a screen of its own), F11
    // and a double click on it, and its close box.
    void bigScreenChosen(bool screenOfItsOwn);
    void bigScreenFullScreen();
    void bigScreenClosed();

    // --- The unfinished match found at start ------------------------------------
    void resume();
    void discard();

    // --- For the driver: the moment every later dart is dated -----------------------------
    void fixClock(const QDateTime& moment);

signals:
    // After a command: the parts it may have changed. A command issued by a
    // listener while this is being told (a window activated as it is shown)
    // runs at once, but its own `changed` follows only when every listener
    // has heard the first, so no listener is entered twice.
    void changed(Commands::Parts parts);

private:
    template <class Run> void run(Command command, Run&& procedure);
    void tell(Parts parts);

    ModDarts& engine_;
    bool telling_ = false;
    Parts pending_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Commands::Parts)
