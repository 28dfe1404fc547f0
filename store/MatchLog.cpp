#include "store/MatchLog.h"

#include "base/RunningProcess.h"
#include "store/SqlErrorText.h"
#include "store/Transaction.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <unordered_map>

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

// The texts every row repeats (its kind, a dart's label) are shared rather
// than made anew for each row: a long match is read back in a fraction of
// the memory.
const QString& Shared(const QString& text)
{
    static QHash<QString, QString> seen;
    if (text.size() > 8)
        return text;
    auto found = seen.constFind(text);
    if (found == seen.constEnd()) {
        if (seen.size() > 512)
            return text;
        found = seen.insert(text, text);
    }
    return *found;
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

const QStringList& Kinds()
{
    static const QStringList kinds{QStringLiteral("press"),   QStringLiteral("undo"),      QStringLiteral("winnerok"),
                                   QStringLiteral("options"), QStringLiteral("activate"),  QStringLiteral("tab"),
                                   QStringLiteral("name1"),   QStringLiteral("name2"),     QStringLiteral("legs"),
                                   QStringLiteral("sets"),    QStringLiteral("start"),     QStringLiteral("players"),
                                   QStringLiteral("commentary"), QStringLiteral("ok"),     QStringLiteral("cancel")};
    return kinds;
}

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
    updateSummary_.reset();
    db_ = db;
    open_ = newer_ = newColumns_ = false;
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
                                      "Writer TEXT, Summary TEXT)"),
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
    if (newColumns_)
        return true;
    // A log made by an earlier version lacks the columns naming the writer
    // and holding the summary.
    const QStringList have = matchColumns();
    for (const char* column : {"Writer", "Summary"}) {
        QSqlQuery q(db_);
        if (!have.contains(QLatin1String(column)) &&
            !exec(q, QStringLiteral("ALTER TABLE LoggedMatches ADD COLUMN %1 TEXT").arg(QLatin1String(column)), error))
            return false;
    }
    newColumns_ = true;
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

QStringList Log::matchColumns() const
{
    QStringList columns;
    QSqlQuery q(db_);
    if (q.exec(QStringLiteral("PRAGMA table_info(LoggedMatches)")))
        while (q.next())
            columns << q.value(1).toString();
    return columns;
}

bool Log::setSummary(const QString& summary, QString* error)
{
    if (!open_ || current_ == 0)
        return false;
    if (!updateSummary_) {
        auto q = std::make_unique<QSqlQuery>(db_);
        if (!q->prepare(QStringLiteral("UPDATE LoggedMatches SET Summary = ? WHERE Id = ?"))) {
            if (error)
                *error = q->lastError().text();
            return false;
        }
        updateSummary_ = std::move(q);
    }
    QSqlQuery& q = *updateSummary_;
    q.bindValue(0, summary);
    q.bindValue(1, current_);
    const bool written = run(q, error);
    q.finish();
    return written;
}

std::vector<LoggedMatch> Log::read(const QString& where, bool withEntries, LeftOut* leftOut, QString* error) const
{
    std::vector<LoggedMatch> matches;
    LeftOut ignored;
    LeftOut& out = leftOut ? *leftOut : ignored;
    out = LeftOut();
    if (!open_ || !made_)
        return matches;
    // A log of an earlier version, never written by this one, has neither
    // writers nor summaries.
    const QStringList have = matchColumns();
    const auto column = [&](const char* name) {
        return have.contains(QLatin1String(name)) ? QLatin1String(name) : QLatin1String("NULL");
    };
    QSqlQuery m(db_);
    m.setForwardOnly(true);
    if (!exec(m,
              QStringLiteral("SELECT Id, Started, Status, Settings, %1, %2 FROM LoggedMatches %3 ORDER BY Id DESC")
                  .arg(column("Writer"), column("Summary"), where),
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
        match.summary = m.value(5).toString();
        matches.push_back(std::move(match));
    }
    if (withEntries) {
        for (LoggedMatch& match : matches) {
            EntryReader entries(*this, match.id);
            while (const Entry* e = entries.next())
                match.entries.push_back(*e);
            if (!entries.error().isEmpty() && error)
                *error = entries.error();
            match.lastSeq = entries.lastSeq();
            match.events = entries.rows();
            match.darts = entries.darts();
            out.rows += entries.unreadable();
        }
    } else if (!matches.empty()) {
        // What the list needs of the events, from the index alone: how far
        // each match's go and how many there are.
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        if (!exec(q, QStringLiteral("SELECT MatchId, MAX(Seq), COUNT(*) FROM LoggedEvents GROUP BY MatchId"), error))
            return matches;
        std::unordered_map<qint64, std::size_t> at;
        for (std::size_t i = 0; i < matches.size(); ++i)
            at[matches[i].id] = i;
        while (q.next()) {
            const auto found = at.find(q.value(0).toLongLong());
            if (found == at.end())
                continue;
            LoggedMatch& match = matches[found->second];
            match.lastSeq = q.value(1).toLongLong();
            match.events = q.value(2).toLongLong();
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

std::optional<LoggedMatch> Log::unfinished(QString* error) const
{
    std::vector<LoggedMatch> newest = read(QStringLiteral("WHERE Id = (SELECT MAX(Id) FROM LoggedMatches) AND Ended IS NULL"),
                                           false, nullptr, error);
    if (newest.empty() || newest.front().events == 0)
        return std::nullopt;
    return std::move(newest.front());
}

std::vector<LoggedMatch> Log::all(LeftOut* leftOut, QString* error) const
{
    return read(QString(), true, leftOut, error);
}

std::vector<LoggedMatch> Log::list(LeftOut* leftOut, QString* error) const
{
    return read(QString(), false, leftOut, error);
}

std::optional<LoggedMatch> Log::match(qint64 id, LeftOut* leftOut, QString* error) const
{
    std::vector<LoggedMatch> found = read(QStringLiteral("WHERE Id = %1").arg(id), true, leftOut, error);
    if (found.empty())
        return std::nullopt;
    return std::move(found.front());
}

EntryReader::EntryReader(const Log& log, qint64 match) : q_(log.db_)
{
    q_.setForwardOnly(true);
    q_.prepare(QStringLiteral("SELECT Kind, X, Y, Label, Text, Number, Extra, Seq FROM LoggedEvents "
                              "WHERE MatchId = ? ORDER BY Seq, Id"));
    q_.addBindValue(match);
    if (!log.open_ || !log.made_ || !run(q_, &error_))
        done_ = true;
}

const Entry* EntryReader::next()
{
    while (!done_) {
        if (!q_.next()) {
            if (q_.lastError().isValid())
                error_ = q_.lastError().text();
            q_.finish();
            done_ = true;
            break;
        }
        lastSeq_ = std::max(lastSeq_, q_.value(7).toLongLong());
        ++rows_;
        Entry& e = entry_;
        e.kind = Shared(q_.value(0).toString());
        bool xOk = true, yOk = true, nOk = true;
        e.x = q_.value(1).isNull() ? 0 : q_.value(1).toDouble(&xOk);
        e.y = q_.value(2).isNull() ? 0 : q_.value(2).toDouble(&yOk);
        e.label = Shared(q_.value(3).toString());
        e.text = q_.value(4).toString();
        e.number = q_.value(5).isNull() ? 0 : q_.value(5).toLongLong(&nOk);
        e.extra = q_.value(6).toString();
        if (e.kind.isEmpty() || !xOk || !yOk || !nOk) {
            ++unreadable_;
            continue;
        }
        darts_ += e.kind == u"press";
        return &e;
    }
    return nullptr;
}

} // namespace matchlog
