#include "store/MatchLog.h"

#include "base/RunningProcess.h"
#include "store/SqlErrorText.h"
#include "store/Transaction.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace matchlog {

namespace {

bool exec(QSqlQuery& q, const QString& sql, QString* error)
{
    if (q.exec(sql))
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

bool run(QSqlQuery& q, QString* error)
{
    if (q.exec())
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

// One write in its own transaction (or a part of the command's): all of it
// is kept or none.
template <class Write> bool inTransaction(QSqlDatabase& db, QString* error, Write&& write)
{
    Transaction t(db);
    if (!t.isOpen()) {
        if (error)
            *error = t.error();
        return false;
    }
    if (!write())
        return false;
    if (!t.commit()) {
        if (error)
            *error = t.error();
        return false;
    }
    return true;
}

// This program as a match's writer: the machine and the process.
QString thisWriter()
{
    return ThisHost() + u' ' + QString::number(ThisProcess());
}

Status statusFrom(const QString& text, bool* ok)
{
    *ok = true;
    if (text == u"in progress")
        return Status::InProgress;
    if (text == u"won")
        return Status::Won;
    if (text == u"abandoned")
        return Status::Abandoned;
    *ok = false;
    return Status::Abandoned;
}

} // namespace

QString StatusText(Status status)
{
    switch (status) {
    case Status::InProgress: return QStringLiteral("in progress");
    case Status::Won: return QStringLiteral("won");
    case Status::Abandoned: break;
    }
    return QStringLiteral("abandoned");
}

bool Log::open(QSqlDatabase db, QString* error)
{
    insertEntry_.reset();
    db_ = db;
    open_ = newer_ = false;
    current_ = 0;
    // The tables are made with the first match logged: a file only opened
    // (or only read) stays as it was.
    made_ = db_.tables().contains(QStringLiteral("LogVersion"));
    if (made_) {
        QSqlQuery q(db_);
        if (!exec(q, QStringLiteral("SELECT MAX(Version) FROM LogVersion"), error))
            return false;
        if (q.next() && q.value(0).toLongLong() > Version) {
            newer_ = true;
            if (error)
                *error = QStringLiteral("The match log in this file was written by a newer version of the program.");
            return false;
        }
        // A log missing a table or a column (dropped by another program)
        // would fail at its first read or write with a message about
        // statements; it is turned away here, saying what is missing.
        const std::pair<const char*, QStringList> required[] = {
            {"LoggedMatches", {"Id", "Started", "Status", "Ended", "Settings"}},
            {"LoggedEvents", {"Id", "MatchId", "Seq", "Kind", "X", "Y", "Label", "Text", "Number", "Extra"}}};
        for (const auto& [table, columns] : required) {
            QSqlQuery info(db_);
            QStringList found;
            if (info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(QLatin1String(table))))
                while (info.next())
                    found << info.value(1).toString();
            if (found.isEmpty()) {
                if (error)
                    *error = QStringLiteral("its table %1 is missing").arg(QLatin1String(table));
                return false;
            }
            for (const QString& column : columns)
                if (!found.contains(column, Qt::CaseInsensitive)) {
                    if (error)
                        *error = QStringLiteral("its table %1 has no column %2").arg(QLatin1String(table), column);
                    return false;
                }
        }
    }
    open_ = true;
    return true;
}

bool Log::makeTables(QString* error)
{
    QSqlQuery q(db_);
    made_ = inTransaction(db_, error, [&] {
        return exec(q, QStringLiteral("CREATE TABLE IF NOT EXISTS LogVersion (Version INTEGER NOT NULL)"), error) &&
               exec(q, QStringLiteral("CREATE TABLE IF NOT EXISTS LoggedMatches (Id INTEGER PRIMARY KEY, "
                                      "Started TEXT NOT NULL, Status TEXT NOT NULL, Ended TEXT, Settings TEXT, "
                                      "Writer TEXT)"),
                    error) &&
               exec(q, QStringLiteral("CREATE TABLE IF NOT EXISTS LoggedEvents (Id INTEGER PRIMARY KEY, "
                                      "MatchId INTEGER NOT NULL, Seq INTEGER NOT NULL, Kind TEXT NOT NULL, "
                                      "X REAL, Y REAL, Label TEXT, Text TEXT, Number INTEGER, Extra TEXT)"),
                    error) &&
               exec(q, QStringLiteral("CREATE INDEX IF NOT EXISTS LoggedEventsByMatch ON LoggedEvents (MatchId, Seq)"),
                    error) &&
               exec(q, QStringLiteral("INSERT INTO LogVersion (Version) SELECT %1 WHERE NOT EXISTS "
                                      "(SELECT 1 FROM LogVersion)").arg(Version),
                    error);
    });
    return made_;
}

bool Log::readyToWrite(QString* error)
{
    if (!made_ && !makeTables(error))
        return false;
    if (writerColumn_)
        return true;
    // A log made by an earlier version lacks the column naming the writer.
    QSqlQuery q(db_);
    if (!exec(q, QStringLiteral("PRAGMA table_info(LoggedMatches)"), error))
        return false;
    bool has = false;
    while (q.next())
        has = has || q.value(1).toString() == u"Writer";
    q.finish();
    if (!has && !exec(q, QStringLiteral("ALTER TABLE LoggedMatches ADD COLUMN Writer TEXT"), error))
        return false;
    writerColumn_ = true;
    return true;
}

bool Log::beginMatch(const QDateTime& started, const QString& settings, QString* error)
{
    if (!open_ || !readyToWrite(error))
        return false;
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("INSERT INTO LoggedMatches (Started, Status, Settings, Writer) VALUES (?, ?, ?, ?)"));
    q.addBindValue(started.toString(Qt::ISODate));
    q.addBindValue(StatusText(Status::InProgress));
    q.addBindValue(settings);
    q.addBindValue(thisWriter());
    if (!inTransaction(db_, error, [&] { return run(q, error); }))
        return false;
    current_ = q.lastInsertId().toLongLong();
    nextSeq_ = 1;
    return true;
}

bool Log::append(const Entry& e, QString* error)
{
    if (!open_ || current_ == 0)
        return false;
    if (!insertEntry_) {
        auto q = std::make_unique<QSqlQuery>(db_);
        // Only after the match's last row, and only while it is not ended:
        // a second copy of the program writing the same match (its lock
        // file deleted) is refused rather than woven into it.
        if (!q->prepare(QStringLiteral("INSERT INTO LoggedEvents (MatchId, Seq, Kind, X, Y, Label, Text, Number, Extra) "
                                       "SELECT ?, ?, ?, ?, ?, ?, ?, ?, ? WHERE NOT EXISTS (SELECT 1 FROM LoggedEvents "
                                       "WHERE MatchId = ? AND Seq >= ?) AND EXISTS (SELECT 1 FROM LoggedMatches "
                                       "WHERE Id = ? AND Ended IS NULL)"))) {
            if (error)
                *error = q->lastError().text();
            return false;
        }
        insertEntry_ = std::move(q);
    }
    QSqlQuery& q = *insertEntry_;
    q.bindValue(0, current_);
    q.bindValue(1, nextSeq_);
    q.bindValue(2, e.kind);
    q.bindValue(3, e.x);
    q.bindValue(4, e.y);
    q.bindValue(5, e.label);
    q.bindValue(6, e.text);
    q.bindValue(7, e.number);
    q.bindValue(8, e.extra.isEmpty() ? QVariant() : QVariant(e.extra));
    q.bindValue(9, current_);
    q.bindValue(10, nextSeq_);
    q.bindValue(11, current_);
    // A single statement: SQLite keeps the row whole or not at all.
    bool written = run(q, error);
    if (written && q.numRowsAffected() != 1) {
        written = false;
        if (error)
            *error = QStringLiteral("another copy of the program has written to this match or ended it");
    }
    q.finish(); // the statement holds no read lock between darts
    if (!written)
        return false;
    ++nextSeq_;
    return true;
}

bool Log::endMatch(Status status, QString* error)
{
    if (!open_ || current_ == 0)
        return true;
    QSqlQuery q(db_);
    // A won match stays won whatever ends it; one another copy has taken
    // over (resumed it since) is left to that copy.
    q.prepare(QStringLiteral("UPDATE LoggedMatches SET Ended = ?, "
                             "Status = CASE Status WHEN 'won' THEN 'won' ELSE ? END "
                             "WHERE Id = ? AND (Writer IS NULL OR Writer = ?)"));
    q.addBindValue(QDateTime::currentDateTime().toString(Qt::ISODate));
    q.addBindValue(StatusText(status));
    q.addBindValue(current_);
    q.addBindValue(thisWriter());
    // The match is over whether or not the file heard of it: what follows
    // belongs to the next one (left without an end, it is offered for
    // resuming as it stood).
    current_ = 0;
    return inTransaction(db_, error, [&] { return run(q, error); });
}

bool Log::setStatus(qint64 match, Status status, QString* error)
{
    if (!open_)
        return false;
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("UPDATE LoggedMatches SET Status = ? WHERE Id = ?"));
    q.addBindValue(StatusText(status));
    q.addBindValue(match);
    return inTransaction(db_, error, [&] { return run(q, error); });
}

bool Log::continueMatch(qint64 match, qint64 lastSeq, QString* error)
{
    current_ = match;
    // After the rows played back: a row written since by anyone else makes
    // the next append fail instead of landing after it.
    nextSeq_ = lastSeq + 1;
    if (!open_ || !readyToWrite(error))
        return false;
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("UPDATE LoggedMatches SET Writer = ? WHERE Id = ?"));
    q.addBindValue(thisWriter());
    q.addBindValue(match);
    return inTransaction(db_, error, [&] { return run(q, error); });
}

bool Log::writtenByAnotherCopy(const LoggedMatch& match)
{
    // Only a writer this machine can ask about counts: a match named by a
    // copy on another machine sharing the folder cannot be told from one
    // left behind, and is treated as left behind, as before writers were
    // named.
    const QStringList words = match.writer.split(u' ');
    bool ok = false;
    const qint64 pid = words.size() == 2 ? words[1].toLongLong(&ok) : 0;
    if (!ok || words[0] != ThisHost() || pid == ThisProcess())
        return false;
    return ProcessIsRunning(words[0], pid);
}

QString LeftOut::text() const
{
    QStringList lines = matches;
    if (rows > 0)
        lines << QStringLiteral("%1 logged events cannot be read back (changed by another program, or written "
                                "only in part) and were left out.").arg(rows);
    if (orphans > 0)
        lines << QStringLiteral("%1 logged events belong to no match the log has a record of and were left out.")
                     .arg(orphans);
    return lines.join(u'\n');
}

std::vector<LoggedMatch> Log::read(const QString& where, LeftOut* leftOut, QString* error) const
{
    std::vector<LoggedMatch> matches;
    LeftOut ignored;
    LeftOut& out = leftOut ? *leftOut : ignored;
    out = LeftOut();
    if (!open_ || !made_)
        return matches;
    // A log of an earlier version, never written by this one, has no writers.
    QSqlQuery columns(db_);
    bool hasWriter = false;
    if (columns.exec(QStringLiteral("PRAGMA table_info(LoggedMatches)")))
        while (columns.next())
            hasWriter = hasWriter || columns.value(1).toString() == u"Writer";
    QSqlQuery m(db_);
    m.setForwardOnly(true);
    if (!exec(m,
              QStringLiteral("SELECT Id, Started, Status, Settings, %1 FROM LoggedMatches %2 ORDER BY Id DESC")
                  .arg(hasWriter ? QStringLiteral("Writer") : QStringLiteral("NULL"), where),
              error))
        return matches;
    while (m.next()) {
        LoggedMatch match;
        bool ok = false;
        match.id = m.value(0).toLongLong(&ok);
        if (!ok) {
            out.matches << QStringLiteral("A match whose number (%1) cannot be read was left out.")
                               .arg(m.value(0).toString());
            continue;
        }
        bool statusOk = false;
        match.status = statusFrom(m.value(2).toString(), &statusOk);
        if (!statusOk)
            out.matches << QStringLiteral("Match %1: its status \"%2\" cannot be read; it is listed as abandoned.")
                               .arg(match.id)
                               .arg(m.value(2).toString());
        match.started = QDateTime::fromString(m.value(1).toString(), Qt::ISODate);
        if (!match.started.isValid())
            out.matches << QStringLiteral("Match %1: its start \"%2\" cannot be read; it is listed without one.")
                               .arg(match.id)
                               .arg(m.value(1).toString());
        match.settings = m.value(3).toString();
        match.writer = m.value(4).toString();
        matches.push_back(std::move(match));
    }
    for (LoggedMatch& match : matches) {
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT Kind, X, Y, Label, Text, Number, Extra, Seq FROM LoggedEvents "
                                 "WHERE MatchId = ? ORDER BY Seq, Id"));
        q.addBindValue(match.id);
        if (!run(q, error))
            continue;
        while (q.next()) {
            match.lastSeq = std::max(match.lastSeq, q.value(7).toLongLong());
            Entry e;
            e.kind = q.value(0).toString();
            bool xOk = true, yOk = true, nOk = true;
            e.x = q.value(1).isNull() ? 0 : q.value(1).toDouble(&xOk);
            e.y = q.value(2).isNull() ? 0 : q.value(2).toDouble(&yOk);
            e.label = q.value(3).toString();
            e.text = q.value(4).toString();
            e.number = q.value(5).isNull() ? 0 : q.value(5).toLongLong(&nOk);
            e.extra = q.value(6).toString();
            if (e.kind.isEmpty() || !xOk || !yOk || !nOk) {
                ++out.rows;
                continue;
            }
            match.entries.push_back(std::move(e));
        }
    }
    if (where.isEmpty()) {
        QSqlQuery orphans(db_);
        if (orphans.exec(QStringLiteral("SELECT COUNT(*) FROM LoggedEvents WHERE MatchId NOT IN "
                                        "(SELECT Id FROM LoggedMatches)")) &&
            orphans.next())
            out.orphans = orphans.value(0).toInt();
    }
    return matches;
}

std::optional<LoggedMatch> Log::unfinished(int* skipped, QString* error) const
{
    LeftOut leftOut;
    std::vector<LoggedMatch> newest = read(QStringLiteral("WHERE Id = (SELECT MAX(Id) FROM LoggedMatches) AND Ended IS NULL"),
                                           &leftOut, error);
    if (skipped)
        *skipped = leftOut.rows;
    if (newest.empty() || newest.front().entries.empty())
        return std::nullopt;
    return std::move(newest.front());
}

std::vector<LoggedMatch> Log::all(LeftOut* leftOut, QString* error) const
{
    return read(QString(), leftOut, error);
}

} // namespace matchlog
