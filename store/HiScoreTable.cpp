#include "store/HiScoreTable.h"

#include "base/Moments.h"
#include "store/SqlErrorText.h"

#include "store/RecordSet.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace HiScoreTable {

// Date and time are formatted apart so that no time zone (and no clock
// change) can move a moment on its way into or out of the file.
QString StoredDate(const QDateTime& when)
{
    return when.date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ')
           + when.time().toString(QStringLiteral("HH:mm:ss"));
}

QString ShownDate(const QVariant& stored)
{
    const QString text = StoredText(stored);
    if (text.size() == 19 && text[10] == QLatin1Char(' ')) {
        const QDate date = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
        const QTime time = QTime::fromString(text.mid(11), QStringLiteral("HH:mm:ss"));
        if (date.isValid() && time.isValid())
            return MomentText(date, time);
    }
    return text;
}

} // namespace HiScoreTable

bool ReadHighScores(QSqlDatabase db, QVector<HiScoreEntry>* entries, QString* error)
{
    entries->clear();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    auto failed = [&] {
        entries->clear();
        if (error)
            *error = QStringLiteral("The high scores could not be read: %1")
                         .arg(SqlErrorText(query.lastError()));
        return false;
    };
    if (!query.exec(HiScoreTable::ListQuery))
        return failed();
    const QSqlRecord record = query.record();
    const int name = record.indexOf(QStringLiteral("Name"));
    const int against = record.indexOf(QStringLiteral("Against"));
    const int date = record.indexOf(QStringLiteral("Date"));
    const int score = record.indexOf(QStringLiteral("Score"));
    auto value = [&](int column) { return column < 0 ? QVariant() : query.value(column); };
    while (query.next()) {
        HiScoreEntry entry;
        entry.Name = StoredText(value(name));
        entry.Against = StoredText(value(against));
        entry.Date = HiScoreTable::ShownDate(value(date));
        entry.ScoreValue = value(score);
        entry.Score = StoredText(entry.ScoreValue);
        entries->push_back(std::move(entry));
    }
    if (query.lastError().isValid())
        return failed();
    return true;
}

namespace {

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

std::optional<HiScoreReplacement> EnterHighScore(RecordSet& rsHiScores, const QString& name,
                                                 const QString& against, const QDateTime& when,
                                                 qint64 score, QString* error)
{
    setError(error, QString());
    // Most visits do not beat the lowest row: a plain read settles those
    // without taking the write lock. (Other programs' entries only ever
    // raise the lowest score; a reset made just now counts as made after
    // this visit.)
    if (!rsHiScores.requery()) {
        setError(error, rsHiScores.lastError());
        return std::nullopt;
    }
    rsHiScores.moveLast();
    if (!rsHiScores.eof()
        && score <= StoredWholeNumber(rsHiScores.field(QStringLiteral("Score"))).value_or(0))
        return std::nullopt;

    // The lowest row is chosen under the write lock, from the rows as they
    // are now: another program on the same file may have replaced it a
    // moment ago, and a choice made before the lock would delete nothing
    // (the table grows) or that program's new score (it is lost).
    if (!rsHiScores.beginBatch()) {
        setError(error, rsHiScores.lastError());
        return std::nullopt;
    }
    if (!rsHiScores.requery()) {
        const QString why = rsHiScores.lastError();
        rsHiScores.rollbackBatch();
        setError(error, why);
        return std::nullopt;
    }

    HiScoreReplacement replacement;
    rsHiScores.moveLast();
    if (!rsHiScores.eof()) {
        // A Null or unreadable score holds its place as 0.
        const qint64 lowest = StoredWholeNumber(rsHiScores.field(QStringLiteral("Score"))).value_or(0);
        if (score <= lowest) {
            rsHiScores.commitBatch(); // nothing was written: only the lock goes
            return std::nullopt;
        }
        replacement.replacedRow = true;
        replacement.replacedRowId = rsHiScores.rowId();
        replacement.replacedValues = rsHiScores.values();
    }

    replacement.addedValues = {
        {QStringLiteral("Name"), name},
        {QStringLiteral("Against"), against},
        {QStringLiteral("Date"), HiScoreTable::StoredDate(when)},
        {QStringLiteral("Type"), HiScoreTable::EntryType},
        {QStringLiteral("Score"), score},
    };

    bool ok = !replacement.replacedRow || rsHiScores.remove();
    if (ok) {
        rsHiScores.addNew();
        for (auto it = replacement.addedValues.constBegin(); it != replacement.addedValues.constEnd(); ++it)
            rsHiScores.setField(it.key(), it.value());
        ok = rsHiScores.update();
    }
    if (ok) {
        replacement.addedRowId = rsHiScores.lastInsertedRowId();
        ok = rsHiScores.commitBatch();
    } else {
        rsHiScores.rollbackBatch();
    }
    if (!ok) {
        setError(error, rsHiScores.lastError());
        return std::nullopt;
    }
    return replacement;
}

bool IsEntryRow(const QVariantMap& values)
{
    for (const char* column : {"Name", "Against", "Date", "Type", "Score"})
        if (!values.contains(QLatin1String(column)))
            return false;
    return StoredText(values.value(QStringLiteral("Type"))) == HiScoreTable::EntryType &&
           StoredWholeNumber(values.value(QStringLiteral("Score"))).has_value();
}

bool RevertHighScore(RecordSet& rsHiScores, const HiScoreReplacement& replacement, QString* error)
{
    setError(error, QString());
    if (!IsEntryRow(replacement.addedValues) || (replacement.replacedRow && !IsEntryRow(replacement.replacedValues)))
        return true;
    // Looked at and changed under one lock, like the entry itself.
    if (!rsHiScores.beginBatch()) {
        setError(error, rsHiScores.lastError());
        return false;
    }
    auto leaveAlone = [&] {
        rsHiScores.commitBatch();
        return true;
    };
    if (!rsHiScores.requery()) {
        const QString why = rsHiScores.lastError();
        rsHiScores.rollbackBatch();
        setError(error, why);
        return false;
    }
    if (!rsHiScores.moveToRowId(replacement.addedRowId))
        return leaveAlone(); // gone already
    for (auto it = replacement.addedValues.constBegin(); it != replacement.addedValues.constEnd(); ++it) {
        const QVariant now = rsHiScores.field(it.key());
        if (StoredText(now) != StoredText(it.value()))
            return leaveAlone(); // overwritten since (a reset): not ours to take back
    }

    bool ok = rsHiScores.removeRowId(replacement.addedRowId);
    if (ok && replacement.replacedRow) {
        ok = rsHiScores.insertRow(replacement.replacedRowId, replacement.replacedValues);
        if (!ok) {
            // Another program's new row has taken the old row number: the
            // row comes back with all its columns under a new one.
            rsHiScores.addNew();
            for (auto it = replacement.replacedValues.constBegin();
                 it != replacement.replacedValues.constEnd(); ++it)
                rsHiScores.setField(it.key(), it.value());
            ok = rsHiScores.update();
        }
    }
    ok = ok && rsHiScores.commitBatch();
    if (!ok) {
        const QString why = rsHiScores.lastError();
        rsHiScores.rollbackBatch();
        setError(error, why);
        return false;
    }
    // A failed re-read leaves only the cached order behind until the next
    // re-query; the table itself is right.
    rsHiScores.requery();
    return true;
}
