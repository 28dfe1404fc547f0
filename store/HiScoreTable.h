#pragma once
// The permanent high-score table: the `HiScores` rows of type "H". A visit
// that beats the lowest of them takes its place, so the number of rows stays
// as the file has it; a reset overwrites every row with a placeholder.
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVector>

#include <optional>

class RecordSet;

namespace HiScoreTable {

// `Date` is stored as this text so that ordering by it orders by time.
inline const QString StoredDateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// What a reset leaves in every row, and what a new file starts with.
inline const QString PlaceholderName = QStringLiteral("Brannoque");
inline const QString PlaceholderDate = QStringLiteral("1980-01-01 00:00:00");
inline const QString EntryType = QStringLiteral("H");

// The list of the high-score window: the "H" rows, highest score first and,
// among equal scores, the later date first.
inline const QString ListQuery = QStringLiteral(
    "SELECT * FROM HiScores Where Type = 'H' Order By Score DESC, Date DESC");

// A moment as the `Date` column stores it.
QString StoredDate(const QDateTime& when);
// A stored `Date` as it is shown: "dd/MM/yyyy HH:mm:ss"; a text that is not
// a stored date is shown as it is, a Null as the empty text.
QString ShownDate(const QVariant& stored);

} // namespace HiScoreTable

// One row of the table as it is listed. A Null column is an empty text.
struct HiScoreEntry {
    QString Name;
    QString Against;
    QString Date;      // shown form
    QString Score;     // as text
    QVariant ScoreValue; // as stored (null when Null)
};

// Reads the listed rows with their own query (the list is a snapshot and
// does not disturb the program's record sets). False with `error` when the
// table cannot be read.
bool ReadHighScores(QSqlDatabase db, QVector<HiScoreEntry>* entries, QString* error);

// What entering a high score changed, so that undo can put it back: the row
// it replaced (when there was one) and the row it added.
struct HiScoreReplacement {
    bool replacedRow = false;
    qint64 replacedRowId = 0;
    QVariantMap replacedValues;
    qint64 addedRowId = 0;
    QVariantMap addedValues;
};

// Enters a visit into the table when it beats the lowest "H" row (a strictly
// greater score; an equal one is not entered). The lowest row is the last
// one of `rsHiScores`' order; it is deleted and the new row added, both in
// one transaction, so the table keeps its number of rows. With no "H" row
// at all the new row is added without deleting one.
// `rsHiScores` is re-queried first. Nothing is returned when the visit is
// not entered or the write fails; `error` is empty in the first case and
// says what went wrong in the second (the table is then unchanged).
std::optional<HiScoreReplacement> EnterHighScore(RecordSet& rsHiScores, const QString& name,
                                                 const QString& against, const QDateTime& when,
                                                 qint64 score, QString* error);

// Whether `values` are a whole row of the table: its five columns (a file
// may have more), of type "H", with a whole-number score. What undo is told to take
// out or put back must be one (it may come from a damaged match log).
bool IsEntryRow(const QVariantMap& values);

// Takes an entry back: deletes the added row and puts the replaced one back
// with its old rowid and columns, in one transaction, then re-queries. When
// the added row has changed since (the table was reset) or is gone, or
// either row is not a whole entry row, the table is left alone: the entry
// is no longer there (or never was) to take back. False
// with `error` when the write fails.
bool RevertHighScore(RecordSet& rsHiScores, const HiScoreReplacement& replacement,
                     QString* error);
