// Opening the database with its two record sets, and the two saved settings
// the engine reads from the settings row.
#include "base/AppText.h"
#include "engine/ModDarts.h"

#include <QDir>

bool ModDarts::OpenDatabase(QString* error)
{
    // The record sets hold the connection; they go before it is reopened.
    rsHiScores.reset();
    rsOptions.reset();
    // The folder is claimed before the file is looked at or made: a second
    // copy of the program on the same folder would overwrite the first one's
    // settings, and two copies making a new file at once would race.
    if (!dbDarts.claimFolder(setup().databasePath, notifier(), error))
        return false;
    if (dbDarts.open(setup().databasePath, notifier(), error) != Database::Opened::Ok)
        return false;

    rsHiScores = std::make_unique<RecordSet>(dbDarts.connection(), QStringLiteral("HiScores"),
                                             QStringLiteral("Type = 'H'"),
                                             QStringLiteral("Score DESC, Date DESC"));
    rsOptions = std::make_unique<RecordSet>(dbDarts.connection(), QStringLiteral("Options"),
                                            QString(), QString());
    for (RecordSet* rs : {rsHiScores.get(), rsOptions.get()}) {
        if (!rs->requery()) {
            if (error)
                *error = QStringLiteral("The database %1 could not be read: %2")
                             .arg(QDir::toNativeSeparators(dbDarts.path()), rs->lastError());
            rsHiScores.reset();
            rsOptions.reset();
            dbDarts.refuse();
            return false;
        }
    }
    dbDarts.accept();
    // The match log lives in the same file. A file that cannot be written
    // keeps no log (and said so below); a log of a newer program is left
    // alone, and so is a damaged one: not read, not written, not mended.
    logUnreadable_ = dbDarts.logDamage();
    if (logUnreadable_.isEmpty() && dbDarts.writable() && setup_.keepsLog) {
        QString logError;
        if (!log_.open(dbDarts.connection(), &logError) && log_.newer())
            notifier().message(QStringLiteral("The match log in %1 was written by a newer version of Vantrell 2: "
                                              "matches will not be resumed or kept this time.")
                                   .arg(QDir::toNativeSeparators(dbDarts.path())),
                               apptext::Title);
        else if (!log_.isOpen())
            logUnreadable_ = logError;
    }
    if (!logUnreadable_.isEmpty())
        notifier().message(QStringLiteral("The match history in %1 cannot be read: %2.\n\nPlay goes on with your "
                                          "settings and high scores, but matches are not kept or resumed this "
                                          "time, and the history is left as it is.")
                               .arg(QDir::toNativeSeparators(dbDarts.path()), logUnreadable_),
                           apptext::Title);
    if (!dbDarts.writable()) {
        // Said once, now; the writes that fail later say nothing more.
        notifier().message(
            QStringLiteral("The database %1 cannot be written: high scores and settings will not "
                           "be kept this time.\n\n(%2)")
                .arg(QDir::toNativeSeparators(dbDarts.path()), dbDarts.unwritableReason()),
            apptext::Title);
    }
    return true;
}

// Both read the first (and only) settings row. The open has checked it, so
// the fallbacks only matter when it could not be read at all.
int ModDarts::savedStartWith() const
{
    if (replaySaved_)
        return replaySaved_->start;
    if (!rsOptions)
        return 501;
    const auto start = StoredWholeNumber(rsOptions->fieldAt(0, QStringLiteral("StartWith")));
    if (start && (*start == 101 || *start == 301 || *start == 501))
        return int(*start);
    return 501;
}

int ModDarts::savedPlayers() const
{
    if (replaySaved_)
        return replaySaved_->players;
    if (!rsOptions)
        return 2;
    const auto players = StoredWholeNumber(rsOptions->fieldAt(0, QStringLiteral("Players")));
    if (players && (*players == 1 || *players == 2))
        return int(*players);
    return 2;
}
