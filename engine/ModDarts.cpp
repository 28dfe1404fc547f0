#include "engine/ModDarts.h"

ModDarts::ModDarts(Setup setup)
    : setup_(std::move(setup)), commentary_(setup_.sound, setup_.soundsFolder)
{
    board.setJournal(&journal_);
    stats.setJournal(&journal_);
    // A new name shows on the statistics tab as typed and in the menus trimmed.
    for (int p = 0; p < 2; ++p)
        board.panel[p].lblNames.onTextChanged([this, p] { NameChanged(p); });
}

ModDarts::~ModDarts() = default;

void ModDarts::Load()
{
    state.NextRow[0] = state.NextRow[1] = 1;
    ResetLastScores();
    stats.InitStatsTables();
    LoadOptions();
    history.clear();
    journal_.clear();
}

void ModDarts::NameChanged(int p)
{
    const QString& name = board.panel[p].lblNames.text();
    statsWindow.tabCaption[p] = name;
    const QString trimmed = OptionsDialog::trimBlanks(name);
    if (p == 0) {
        board.menus.mnustaPlayer1 = trimmed;
        board.menus.mnuOptPlayer1 = trimmed;
    } else {
        board.menus.mnustaPlayer2 = trimmed;
        board.menus.mnuOptPlayer2 = trimmed;
    }
}

void ModDarts::beginDart()
{
    journal_.beginDart();
    // The engine's own numbers are few: keep them whole, so undo restores them
    // exactly. Commentary is an option, not part of the match, and stays.
    journal_.record([this, saved = state] {
        const bool commentary = state.CommentaryOn;
        state = saved;
        state.CommentaryOn = commentary;
    });
}

void ModDarts::endDart()
{
    journal_.endDart();
}

void ModDarts::PlaceBoard(const BoardRect& rect)
{
    board.Image1 = rect;
}

void ModDarts::WinnerOk()
{
    winner.Ok();
}

void ModDarts::WinnerCloseRequest()
{
    winner.closeRequest();
}
