// The high-score window: its list and its reset; and every recorded visit
// offered to the table.
#include "base/AppText.h"
#include "engine/ModDarts.h"

#include "store/HiScoreTable.h"

#include <QDir>

void ModDarts::ShowHiScores()
{
    // Already open: it comes to the front as it is, without a refill.
    if (hiScoresWindow.open)
        return;
    hiScoresWindow.open = true;
    FillHighScores();
}

void ModDarts::FillHighScores()
{
    hiScoresWindow.rows.clear();
    QVector<HiScoreEntry> entries;
    QString error;
    if (!ReadHighScores(dbDarts.connection(), &entries, &error))
        notifier().message(error, apptext::Title);
    qint64 rank = 1;
    for (const HiScoreEntry& entry : entries) {
        hiScoresWindow.rows.push_back(
            {QString::number(rank), entry.Name, entry.Against, entry.Date, entry.Score});
        ++rank;
    }
    ++hiScoresWindow.revision;
}

void ModDarts::HiScoresReset()
{
    if (!hiScoresWindow.open)
        return;
    // Every row is overwritten in one transaction: the table is reset
    // completely or, when the file cannot be written, not at all.
    // The rows are read again inside the transaction, under the write lock:
    // rows another program changed a moment ago are the ones reset.
    bool ok = rsHiScores && rsHiScores->beginBatch();
    if (ok && !rsHiScores->requery()) {
        rsHiScores->rollbackBatch();
        ok = false;
    }
    if (ok) {
        for (rsHiScores->moveFirst(); ok && !rsHiScores->eof(); rsHiScores->moveNext()) {
            rsHiScores->edit();
            rsHiScores->setField(QStringLiteral("Name"), HiScoreTable::PlaceholderName);
            rsHiScores->setField(QStringLiteral("Against"), HiScoreTable::PlaceholderName);
            rsHiScores->setField(QStringLiteral("Date"), HiScoreTable::PlaceholderDate);
            rsHiScores->setField(QStringLiteral("Score"), 0);
            ok = rsHiScores->update();
        }
        ok = ok && rsHiScores->commitBatch();
        if (!ok)
            rsHiScores->rollbackBatch();
    }
    if (!ok) {
        dbDarts.reportFailedWrite(
            notifier(), QStringLiteral("The high scores could not be reset in the database %1.\n\n%2")
                            .arg(QDir::toNativeSeparators(dbDarts.path()),
                                 rsHiScores ? rsHiScores->lastError() : QString()));
    }
    FillHighScores();
}

void ModDarts::HiScoresClose()
{
    hiScoresWindow.open = false;
    hiScoresWindow.rows.clear();
    ++hiScoresWindow.revision;
}

void ModDarts::recordHighScore(int p, qint64 score)
{
    // A logged match played back entered its high scores the first time.
    if (replaying_) {
        replayHighScore(p, score);
        return;
    }
    if (!rsHiScores)
        return;
    const QString against = savedPlayers() == 2 ? panel(OtherPlayer(p)).lblNames.text() : QStringLiteral("-");
    QString error;
    const auto entered = EnterHighScore(*rsHiScores, panel(p).lblNames.text(), against,
                                        clock.now(), score, &error);
    if (!error.isEmpty()) {
        dbDarts.reportFailedWrite(notifier(), QStringLiteral("The high score could not be saved:\n") + error);
        return;
    }
    if (entered) {
        enteredHighScore_ = *entered;
        recordHighScoreRevert(*entered);
    }
}

void ModDarts::recordHighScoreRevert(const HiScoreReplacement& entered)
{
    // Undo of the dart takes the entry out again.
    journal_.record([this, entered] {
        // Played back, the entry was taken out the first time.
        if (replaying_)
            return;
        QString undoError;
        if (!RevertHighScore(*rsHiScores, entered, &undoError))
            dbDarts.reportFailedWrite(notifier(), QStringLiteral("The high-score table could not be restored:\n") + undoError);
    });
}
