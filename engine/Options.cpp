// The options: loading the saved row into the scoreboard and the dialog, and
// the dialog's events.
#include "base/AppText.h"
#include "engine/ModDarts.h"

#include "base/TextNumbers.h"

#include <QDir>

void ModDarts::LoadOptions()
{
    if (!rsOptions)
        return;
    rsOptions->moveFirst();
    if (rsOptions->eof())
        return;

    panel(0).lblNames.setText(StoredText(rsOptions->field(QStringLiteral("Player1"))));
    panel(1).lblNames.setText(StoredText(rsOptions->field(QStringLiteral("Player2"))));

    match_.applyStartingScore();

    switch (savedStartWith()) {
    case 501:
        options.OptScore = 0;
        break;
    case 301:
        options.OptScore = 1;
        break;
    case 101:
        options.OptScore = 2;
        break;
    default:
        break;
    }

    options.OptPlayers = savedPlayers() - 1;

    const auto commentary = StoredWholeNumber(rsOptions->field(QStringLiteral("Commentry")));
    if (commentary == 1) {
        options.OptComm = 0;
        commentaryOn_ = true;
    } else if (commentary == 0) {
        options.OptComm = 1;
        commentaryOn_ = false;
    }

    // Stored as they are, also by files older than the digits-only boxes: a
    // stored "ab" is shown and counted as its text reads.
    options.txtSets = StoredText(rsOptions->field(QStringLiteral("NumberofSets")));
    options.txtLegs = StoredText(rsOptions->field(QStringLiteral("NumberOfLegs")));
    options.remember();
}

void ModDarts::ShowOptions(int tab)
{
    beginLogged();
    // Showing an open dialog only switches its tab; what "&Cancel" goes back
    // to is taken when it comes up from hidden.
    const bool shown = !options.visible;
    options.visible = true;
    OptionsActivated();
    OptionsTabClicked(tab);
    if (shown)
        options.remember();
    logged([&] { return entry(QStringLiteral("options"), QString(), tab); });
}

void ModDarts::OptionsActivated()
{
    beginLogged();
    // The boxes hold what a box with its maximum length would take; a longer
    // name from an older file is cut as the window's box cuts it.
    options.setName(0, OptionsDialog::trimBlanks(panel(0).lblNames.text()));
    options.setName(1, OptionsDialog::trimBlanks(panel(1).lblNames.text()));
    logged([&] { return entry(QStringLiteral("activate")); });
}

void ModDarts::OptionsTabClicked(int tab)
{
    beginLogged();
    options.selectTab(tab);
    logged([&] { return entry(QStringLiteral("tab"), QString(), tab); });
}

void ModDarts::OptionsOk()
{
    // A match cannot be played to no legs or sets: the dialog stays open
    // with the box to mend named, and nothing is saved or used.
    const auto refuse = [&](const QString& text) {
        notifier().message(text, apptext::Title);
    };
    if (!OptionsDialog::isCount(options.txtLegs)) {
        refuse(QStringLiteral("Legs per set must be a whole number from 1 to 99."));
        return;
    }
    if (!OptionsDialog::isCount(options.txtSets)) {
        refuse(QStringLiteral("Sets per match must be a whole number from 1 to 99."));
        return;
    }

    beginLogged();
    // Played back from the log, the row was written the first time; only the
    // settings it holds are followed.
    RecordSet* const row = replaying_ ? nullptr : rsOptions.get();
    if (row) {
        if (row->eof())
            row->moveFirst();
        row->edit();
    }
    auto set = [&](const QString& column, const QVariant& value) {
        if (row)
            row->setField(column, value);
        else if (replaySaved_ && column == u"StartWith")
            replaySaved_->start = value.toInt();
        else if (replaySaved_ && column == u"Players")
            replaySaved_->players = value.toInt();
    };

    set(QStringLiteral("Player1"), OptionsDialog::trimBlanks(options.txtName1));
    panel(0).lblNames.setText(options.txtName1);
    set(QStringLiteral("Player2"), OptionsDialog::trimBlanks(options.txtName2));
    panel(1).lblNames.setText(options.txtName2);

    if (const int start = options.selectedStart())
        set(QStringLiteral("StartWith"), start);

    if (options.OptPlayers == 0)
        set(QStringLiteral("Players"), 1);
    else if (options.OptPlayers == 1)
        set(QStringLiteral("Players"), 2);

    if (options.OptComm == 0) {
        commentaryOn_ = true;
        set(QStringLiteral("Commentry"), 1);
    } else if (options.OptComm == 1) {
        set(QStringLiteral("Commentry"), 0);
        commentaryOn_ = false;
    }

    set(QStringLiteral("NumberofSets"), options.txtSets);
    set(QStringLiteral("NumberOfLegs"), options.txtLegs);

    // A file that cannot take the change (write-protected, a full disk,
    // another program holding it) costs the saving, never the game: the
    // names and commentary are in use already and the saved row stays as it
    // was, so the starting score below is the one still saved.
    if (row && !row->update()) {
        dbDarts.reportFailedWrite(
            notifier(), QStringLiteral("The settings could not be saved in the database %1.\n\n%2")
                            .arg(QDir::toNativeSeparators(dbDarts.path()), rsOptions->lastError()));
    }

    // A new starting score takes over the scores only while the leg has not
    // begun; once a dart is in, the leg is finished from where it stands and
    // the next leg or game starts with the new score.
    if (match_.atStartOfLeg()) {
        // The leg about to start was opened by the dart that won the last
        // one: taking that dart back must take this change back with it, or
        // the old leg would go on with the new starting score.
        const bool resumed = journal_.resumeNewestDart();
        match_.applyStartingScore();
        if (resumed)
            journal_.endDart();
    }

    options.visible = false;
    options.remember();
    logged([&] { return entry(QStringLiteral("ok")); });
}

void ModDarts::OptionsCancel()
{
    beginLogged();
    options.restore();
    options.visible = false;
    logged([&] { return entry(QStringLiteral("cancel")); });
}

void ModDarts::OptionsNameTyped(int player, const QString& text)
{
    beginLogged();
    options.setName(player, text);
    logged([&] { return entry(player == 1 ? QStringLiteral("name2") : QStringLiteral("name1"), text); });
}

void ModDarts::OptionsLegsTyped(const QString& text)
{
    beginLogged();
    options.setLegs(text);
    logged([&] { return entry(QStringLiteral("legs"), text); });
}

void ModDarts::OptionsSetsTyped(const QString& text)
{
    beginLogged();
    options.setSets(text);
    logged([&] { return entry(QStringLiteral("sets"), text); });
}

void ModDarts::OptionsScoreChosen(int button)
{
    beginLogged();
    options.OptScore = button;
    logged([&] { return entry(QStringLiteral("start"), QString(), button); });
}

void ModDarts::OptionsPlayersChosen(int button)
{
    beginLogged();
    options.OptPlayers = button;
    logged([&] { return entry(QStringLiteral("players"), QString(), button); });
}

void ModDarts::OptionsCommentaryChosen(int button)
{
    beginLogged();
    options.OptComm = button;
    logged([&] { return entry(QStringLiteral("commentary"), QString(), button); });
}
