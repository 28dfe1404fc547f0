#include "engine/ModDarts.h"

#include "base/TextNumbers.h"

ModDarts::ModDarts(Setup setup)
    : setup_(std::move(setup)), commentary_(setup_.sound, setup_.soundsFolder)
{
    board.setJournal(&journal_);
    stats.setJournal(&journal_);
    statistics_.setJournal(&journal_);
    // A new name shows on the statistics tab as typed and in the menus trimmed.
    for (int p = 0; p < 2; ++p)
        board.panel[p].lblNames.onTextChanged([this, p] { NameChanged(p); });
    if (!setup_.showsMatch)
        return;
    // Within one event the listeners hear it in this order.
    match_.addListener(&presenter_);
    match_.addListener(&statistics_);
    match_.addListener(&announcer_);
    match_.addListener(&records_);
    match_.addListener(&scoreCaller_);
    match_.addListener(&summary_);
}

int ModDarts::SettingsInForce::players() const
{
    return e.options.twoPlayers() ? 2 : 1;
}

double ModDarts::SettingsInForce::legsPerSet() const
{
    return NumericValue(e.options.txtLegs);
}

double ModDarts::SettingsInForce::setsPerMatch() const
{
    return NumericValue(e.options.txtSets);
}

int ModDarts::SettingsInForce::startingScore() const
{
    return e.savedStartWith();
}

ModDarts::~ModDarts() = default;

void ModDarts::Load()
{
    statistics_.start();
    LoadOptions();
    journal_.clear();
    findUnfinishedMatch();
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

void ModDarts::PlaceBoard(const BoardRect& rect)
{
    board.Image1 = rect;
}

void ModDarts::WinnerOk()
{
    beginLogged();
    winner.Ok();
    logged([&] { return entry(QStringLiteral("winnerok")); });
}

void ModDarts::WinnerCloseRequest()
{
    winner.closeRequest();
}
