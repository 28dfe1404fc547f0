#include "engine/Commands.h"

#include "engine/ModDarts.h"

#include <array>
#include <utility>

namespace {

using Part = Commands::Part;
using Parts = Commands::Parts;
using Command = Commands::Command;

struct Reach {
    Command command;
    Parts parts;
};

// What each command may change. The model's members are plain values without
// change counters, so what a command reaches is written down here, once; a
// part left out of a command's row would leave a window showing the old state
// (the windows' test plays random commands and compares every window with a
// fresh reading of the model after each).
//
// A dart reaches the most: the panels and the statistics, the announcement
// (a bust, a won leg or match), and the stored high scores, which a window
// showing them must hear of. Undo takes all of that back.
constexpr Reach Table[] = {
    {Command::OpenDatabase, Part::All},
    {Command::Load, Part::All},

    {Command::BoardPressed,
     Part::Scoreboard | Part::Statistics | Part::Announcement | Part::HiScores},
    {Command::BoardMoved, Part::AimBox},
    {Command::PointerOffBoard, Part::AimBox},
    {Command::Undo, Part::Scoreboard | Part::Statistics | Part::Announcement | Part::HiScores},
    {Command::NewGame, Part::Scoreboard | Part::Statistics},
    {Command::PlaceBoard, Part::BoardPlace},

    {Command::EntryTyped, Part::Entry},
    {Command::EntryBackspace, Part::Entry},
    // With nothing typed, Escape takes the big screen out of full screen.
    {Command::EntryEscape, Part::Entry | Part::BigScreen},
    // A dart read from the entry reaches what a clicked one does.
    {Command::EntryEnter,
     Part::Entry | Part::Scoreboard | Part::Statistics | Part::Announcement | Part::HiScores},

    {Command::WinnerOk, Part::Announcement},
    {Command::WinnerCloseRequest, Part::Announcement},

    {Command::ShowOptions, Part::Options},
    {Command::OptionsActivated, Part::Options},
    {Command::OptionsTabClicked, Part::Options},
    // The names go to the panels, the menus and the statistics tabs; a new
    // starting score to the panels when no leg is under way.
    {Command::OptionsOk, Part::Options | Part::Scoreboard | Part::Captions},
    {Command::OptionsCancel, Part::Options},
    {Command::OptionsNameTyped, Part::Options},
    {Command::OptionsLegsTyped, Part::Options},
    {Command::OptionsSetsTyped, Part::Options},
    {Command::OptionsScoreChosen, Part::Options},
    {Command::OptionsPlayersChosen, Part::Options},
    {Command::OptionsCommentaryChosen, Part::Options},

    // Showing or activating the window works out the scoring-darts bar.
    {Command::ShowStats, Part::Statistics},
    {Command::StatsActivated, Part::Statistics},
    {Command::StatsTabClicked, Part::Statistics},
    {Command::StatsExit, Part::Statistics},

    {Command::ShowHiScores, Part::HiScores},
    {Command::HiScoresReset, Part::HiScores},
    {Command::HiScoresClose, Part::HiScores},

    {Command::FixClock, Parts()},

    // A resumed match is everything a match shows.
    {Command::Resume, Part::All},
    {Command::Discard, Parts()},

    // The history's list is read when it opens; nothing else shows it. An
    // export writes a file and changes nothing on view.
    {Command::ShowHistory, Part::History},
    {Command::HistoryOpenMatch, Part::History},
    {Command::HistoryTabClicked, Part::History},
    {Command::HistoryPagesClose, Part::History},
    {Command::HistoryClose, Part::History},
    {Command::ExportHistory, Parts()},

    {Command::BigScreenChosen, Part::BigScreen},
    {Command::BigScreenFullScreen, Part::BigScreen},
    {Command::BigScreenClosed, Part::BigScreen},
};

constexpr bool TableInOrder()
{
    if (std::size(Table) != std::size_t(Command::Count))
        return false;
    for (std::size_t i = 0; i < std::size(Table); ++i)
        if (Table[i].command != Command(i))
            return false;
    return true;
}
static_assert(TableInOrder(), "one row per command, in the order of Commands::Command");

} // namespace

Commands::Commands(ModDarts& engine, QObject* parent) : QObject(parent), engine_(engine) {}

Commands::Parts Commands::partsOf(Command command)
{
    return Table[std::size_t(command)].parts;
}

template <class Run> void Commands::run(Command command, Run&& procedure)
{
    std::forward<Run>(procedure)(engine_);
    tell(partsOf(command));
}

void Commands::tell(Parts parts)
{
    if (!parts)
        return;
    pending_ |= parts;
    if (telling_)
        return; // told once the listeners are through with the change before
    telling_ = true;
    while (pending_) {
        const Parts now = std::exchange(pending_, Parts());
        emit changed(now);
    }
    telling_ = false;
}

bool Commands::openDatabase(QString* error)
{
    bool ok = false;
    run(Command::OpenDatabase, [&](ModDarts& e) { ok = e.OpenDatabase(error); });
    return ok;
}

void Commands::load()
{
    run(Command::Load, [](ModDarts& e) { e.Load(); });
}

void Commands::boardPressed(double X, double Y)
{
    run(Command::BoardPressed, [&](ModDarts& e) { e.BoardPressed(X, Y); });
}

void Commands::entryTyped(const QString& text)
{
    run(Command::EntryTyped, [&](ModDarts& e) { e.EntryTyped(text); });
}

void Commands::entryBackspace()
{
    run(Command::EntryBackspace, [](ModDarts& e) { e.EntryBackspace(); });
}

void Commands::entryEscape()
{
    run(Command::EntryEscape, [](ModDarts& e) { e.EntryEscape(); });
}

void Commands::entryEnter()
{
    run(Command::EntryEnter, [](ModDarts& e) { e.EntryEnter(); });
}

void Commands::boardMoved(double X, double Y)
{
    run(Command::BoardMoved, [&](ModDarts& e) { e.BoardMoved(X, Y); });
}

void Commands::pointerOffBoard()
{
    run(Command::PointerOffBoard, [](ModDarts& e) { e.WindowMoved(); });
}

void Commands::undo()
{
    run(Command::Undo, [](ModDarts& e) { e.UndoLast(); });
}

void Commands::newGame()
{
    run(Command::NewGame, [](ModDarts& e) { e.NewGame(); });
}

void Commands::placeBoard(const BoardRect& rect)
{
    run(Command::PlaceBoard, [&](ModDarts& e) { e.PlaceBoard(rect); });
}

void Commands::winnerOk()
{
    run(Command::WinnerOk, [](ModDarts& e) { e.WinnerOk(); });
}

void Commands::winnerCloseRequest()
{
    run(Command::WinnerCloseRequest, [](ModDarts& e) { e.WinnerCloseRequest(); });
}

void Commands::showOptions(int tab)
{
    run(Command::ShowOptions, [&](ModDarts& e) { e.ShowOptions(tab); });
}

void Commands::optionsActivated()
{
    run(Command::OptionsActivated, [](ModDarts& e) { e.OptionsActivated(); });
}

void Commands::optionsTabClicked(int tab)
{
    run(Command::OptionsTabClicked, [&](ModDarts& e) { e.OptionsTabClicked(tab); });
}

void Commands::optionsOk()
{
    run(Command::OptionsOk, [](ModDarts& e) { e.OptionsOk(); });
}

void Commands::optionsCancel()
{
    run(Command::OptionsCancel, [](ModDarts& e) { e.OptionsCancel(); });
}

void Commands::optionsNameTyped(int player, const QString& text)
{
    run(Command::OptionsNameTyped, [&](ModDarts& e) { e.OptionsNameTyped(player, text); });
}

void Commands::optionsLegsTyped(const QString& text)
{
    run(Command::OptionsLegsTyped, [&](ModDarts& e) { e.OptionsLegsTyped(text); });
}

void Commands::optionsSetsTyped(const QString& text)
{
    run(Command::OptionsSetsTyped, [&](ModDarts& e) { e.OptionsSetsTyped(text); });
}

void Commands::optionsScoreChosen(int button)
{
    run(Command::OptionsScoreChosen, [&](ModDarts& e) { e.OptionsScoreChosen(button); });
}

void Commands::optionsPlayersChosen(int button)
{
    run(Command::OptionsPlayersChosen, [&](ModDarts& e) { e.OptionsPlayersChosen(button); });
}

void Commands::optionsCommentaryChosen(int button)
{
    run(Command::OptionsCommentaryChosen, [&](ModDarts& e) { e.OptionsCommentaryChosen(button); });
}

void Commands::showStats(int tab)
{
    run(Command::ShowStats, [&](ModDarts& e) { e.ShowStats(tab); });
}

void Commands::statsActivated()
{
    run(Command::StatsActivated, [](ModDarts& e) { e.StatsActivated(); });
}

void Commands::statsTabClicked(int tab)
{
    run(Command::StatsTabClicked, [&](ModDarts& e) { e.StatsTabClicked(tab); });
}

void Commands::statsExit()
{
    run(Command::StatsExit, [](ModDarts& e) { e.StatsExit(); });
}

void Commands::showHiScores()
{
    run(Command::ShowHiScores, [](ModDarts& e) { e.ShowHiScores(); });
}

void Commands::hiScoresReset()
{
    run(Command::HiScoresReset, [](ModDarts& e) { e.HiScoresReset(); });
}

void Commands::hiScoresClose()
{
    run(Command::HiScoresClose, [](ModDarts& e) { e.HiScoresClose(); });
}

void Commands::fixClock(const QDateTime& moment)
{
    run(Command::FixClock, [&](ModDarts& e) { e.clock.fixAt(moment); });
}

void Commands::resume()
{
    run(Command::Resume, [](ModDarts& e) { e.Resume(); });
}

void Commands::discard()
{
    run(Command::Discard, [](ModDarts& e) { e.Discard(); });
}

void Commands::showHistory()
{
    run(Command::ShowHistory, [](ModDarts& e) { e.ShowHistory(); });
}

void Commands::historyOpenMatch(int row)
{
    run(Command::HistoryOpenMatch, [&](ModDarts& e) { e.HistoryOpenMatch(row); });
}

void Commands::historyTabClicked(int tab)
{
    run(Command::HistoryTabClicked, [&](ModDarts& e) { e.HistoryTabClicked(tab); });
}

void Commands::historyPagesClose()
{
    run(Command::HistoryPagesClose, [](ModDarts& e) { e.HistoryPagesClose(); });
}

void Commands::historyClose()
{
    run(Command::HistoryClose, [](ModDarts& e) { e.HistoryClose(); });
}

bool Commands::exportHistory(const QString& path, QString* error)
{
    bool ok = false;
    run(Command::ExportHistory, [&](ModDarts& e) { ok = e.ExportHistory(path, error); });
    return ok;
}

void Commands::bigScreenChosen(bool screenOfItsOwn)
{
    run(Command::BigScreenChosen, [&](ModDarts& e) { e.BigScreenChosen(screenOfItsOwn); });
}

void Commands::bigScreenFullScreen()
{
    run(Command::BigScreenFullScreen, [](ModDarts& e) { e.BigScreenFullScreen(); });
}

void Commands::bigScreenClosed()
{
    run(Command::BigScreenClosed, [](ModDarts& e) { e.BigScreenClosed(); });
}
