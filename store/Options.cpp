// The options: loading the saved row into the scoreboard and the dialog, and
// the dialog's events.
#include "engine/ModDarts.h"

#include "engine/TextNumbers.h"

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

    const QString start = NumberText(savedStartWith());
    panel(0).lblScoreLeft.setText(start);
    panel(1).lblScoreLeft.setText(start);

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
        state.CommentaryOn = true;
    } else if (commentary == 0) {
        options.OptComm = 1;
        state.CommentaryOn = false;
    }

    options.txtSets = StoredText(rsOptions->field(QStringLiteral("NumberofSets")));
    options.txtLegs = StoredText(rsOptions->field(QStringLiteral("NumberOfLegs")));
}

void ModDarts::ShowOptions(int tab)
{
    options.visible = true;
    OptionsActivated();
    OptionsTabClicked(tab);
}

void ModDarts::OptionsActivated()
{
    options.txtName1 = OptionsDialog::trimBlanks(panel(0).lblNames.text());
    options.txtName2 = OptionsDialog::trimBlanks(panel(1).lblNames.text());
}

void ModDarts::OptionsTabClicked(int tab)
{
    options.selectTab(tab);
}

void ModDarts::OptionsOk()
{
    if (rsOptions) {
        if (rsOptions->eof())
            rsOptions->moveFirst();
        rsOptions->edit();
    }
    auto set = [&](const QString& column, const QVariant& value) {
        if (rsOptions)
            rsOptions->setField(column, value);
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
        state.CommentaryOn = true;
        set(QStringLiteral("Commentry"), 1);
    } else if (options.OptComm == 1) {
        set(QStringLiteral("Commentry"), 0);
        state.CommentaryOn = false;
    }

    set(QStringLiteral("NumberofSets"), options.txtSets);
    set(QStringLiteral("NumberOfLegs"), options.txtLegs);

    // A file that cannot take the change (write-protected, a full disk,
    // another program holding it) costs the saving, never the game: the
    // names and commentary are in use already and the saved row stays as it
    // was, so the starting score below is the one still saved.
    if (rsOptions && !rsOptions->update()) {
        dbDarts.reportFailedWrite(
            notifier(), QStringLiteral("The settings could not be saved in the database %1.\n\n%2")
                            .arg(QDir::toNativeSeparators(dbDarts.path()), rsOptions->lastError()));
    }

    const double left = panel(0).lblScoreLeft.value();
    if (left == 501 || left == 301 || left == 101) {
        const QString start = NumberText(savedStartWith());
        panel(0).lblScoreLeft.setText(start);
        panel(1).lblScoreLeft.setText(start);
    }

    options.visible = false;
}

void ModDarts::OptionsCancel()
{
    options.visible = false;
}
