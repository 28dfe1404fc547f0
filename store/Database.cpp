#include "store/Database.h"
#include "store/SqlErrorText.h"

#include "base/AppText.h"

#include "base/Notifier.h"
#include "base/RunningProcess.h"
#include "store/HiScoreTable.h"
#include "store/MatchOptions.h"
#include "store/RecordSet.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QLockFile>
#include <QStorageInfo>

#include <optional>
#include <sys/stat.h>

namespace {

const QStringList OptionsColumns = {
    QStringLiteral("Player1"),      QStringLiteral("Player2"),      QStringLiteral("Players"),
    QStringLiteral("NumberOfLegs"), QStringLiteral("NumberofSets"), QStringLiteral("StartWith"),
    QStringLiteral("Commentry")};
const QStringList HiScoresColumns = {QStringLiteral("Name"), QStringLiteral("Against"),
                                     QStringLiteral("Date"), QStringLiteral("Score"),
                                     QStringLiteral("Type")};

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString quotedValue(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString)
        return QLatin1Char('"') + value.toString() + QLatin1Char('"');
    return StoredText(value);
}

// A connection of its own for one short job (checking or making the file),
// removed again when the job is done.
class ScratchConnection {
public:
    ScratchConnection(const QString& name, const QString& path, const QString& options)
        : name_(name)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(options);
    }
    ~ScratchConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    ScratchConnection(const ScratchConnection&) = delete;
    ScratchConnection& operator=(const ScratchConnection&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

private:
    QString name_;
};

// What is found on looking at an existing file without writing to it.
struct Inspection {
    enum class Verdict { Usable, Damaged, SettingsDamaged };
    Verdict verdict = Verdict::Damaged;
    QString problem;
    std::optional<qint64> settingsRowId; // the first Options row, when there is one
    bool interruptedWrite = false;
    // Damage found in the match log's tables alone: the file is used, the
    // log is not.
    QString logProblem;
};

// The first thing a check found, as a message can quote it: SQLite may
// give a page of findings in one text, under a heading.
QString FirstFinding(const QStringList& findings)
{
    for (const QString& text : findings)
        for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts))
            if (!line.startsWith(QStringLiteral("***")))
                return line.size() > 160 ? line.left(160) + QStringLiteral("...") : line;
    return QStringLiteral("no check result");
}

// What an integrity check of the file, or of one table with its indexes,
// finds: empty when it is sound.
QString IntegrityFinding(QSqlDatabase db, const QString& table = QString())
{
    QSqlQuery check(db);
    const QString sql = table.isEmpty() ? QStringLiteral("PRAGMA integrity_check")
                                        : QStringLiteral("PRAGMA integrity_check(\"%1\")").arg(table);
    if (!check.exec(sql))
        return SqlErrorText(check.lastError());
    QStringList findings;
    while (check.next())
        findings << check.value(0).toString();
    if (check.lastError().isValid())
        return SqlErrorText(check.lastError());
    if (findings == QStringList{QStringLiteral("ok")})
        return QString();
    return FirstFinding(findings);
}

bool columnsOf(QSqlDatabase db, const QString& table, QStringList* columns, QString* problem)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table))) {
        *problem = QStringLiteral("it could not be read (%1)").arg(SqlErrorText(query.lastError()));
        return false;
    }
    while (query.next())
        *columns << query.value(1).toString();
    return true;
}

// The first problem of the settings row, empty when it is sound.
QString settingsProblem(const QSqlQuery& row)
{
    const QSqlRecord record = row.record();
    auto value = [&](const QString& column) { return record.value(column); };
    auto isNull = [](const QVariant& v) { return !v.isValid() || v.isNull(); };

    for (const QString& column : {QStringLiteral("Player1"), QStringLiteral("Player2")}) {
        if (isNull(value(column)))
            return QStringLiteral("the name %1 is empty (Null)").arg(column);
    }
    const QVariant players = value(QStringLiteral("Players"));
    if (isNull(players))
        return QStringLiteral("Players is empty (Null)");
    const auto playersNumber = StoredWholeNumber(players);
    if (!playersNumber || (*playersNumber != 1 && *playersNumber != 2))
        return QStringLiteral("Players is %1, not 1 or 2").arg(quotedValue(players));
    for (const QString& column : {QStringLiteral("NumberOfLegs"), QStringLiteral("NumberofSets")}) {
        if (isNull(value(column)))
            return QStringLiteral("%1 is empty (Null)").arg(column);
    }
    const QVariant start = value(QStringLiteral("StartWith"));
    if (isNull(start))
        return QStringLiteral("StartWith is empty (Null)");
    const auto startNumber = StoredWholeNumber(start);
    if (!startNumber || (*startNumber != 101 && *startNumber != 301 && *startNumber != 501))
        return QStringLiteral("StartWith is %1, not 101, 301 or 501").arg(quotedValue(start));
    // Commentry may hold anything: a value other than 1 or 0 only means that
    // no commentary button is selected and commentary stays off.
    return QString();
}

Inspection inspect(const QString& connectionName, const QString& path, int busyTimeoutMs)
{
    Inspection result;
    ScratchConnection connection(
        connectionName, path,
        QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    QSqlDatabase db = connection.db();
    if (!db.open()) {
        result.problem = QStringLiteral("it could not be opened (%1)").arg(SqlErrorText(db.lastError()));
        return result;
    }

    {
        // The whole check, which also finds an index that no longer matches
        // its table (the quick one does not), before anything writes.
        QSqlQuery check(db);
        if (!check.exec(QStringLiteral("PRAGMA integrity_check"))) {
            const QString why = SqlErrorText(check.lastError());
            // SQLite's primary result codes: 26 not a database, 11 corrupt.
            const int code = check.lastError().nativeErrorCode().toInt() & 0xff;
            // 8, read-only: a write interrupted by a crash left its journal
            // behind, and only a connection that may write can roll it back.
            result.interruptedWrite = code == 8 && QFile::exists(path + QStringLiteral("-journal"));
            result.problem = code == 26 ? QStringLiteral("it is not a database file (%1)").arg(why)
                : code == 11            ? QStringLiteral("it is damaged (%1)").arg(why)
                                        : QStringLiteral("it could not be read (%1)").arg(why);
            return result;
        }
        QStringList findings;
        while (check.next())
            findings << check.value(0).toString();
        if (check.lastError().isValid()) {
            result.problem = QStringLiteral("it is damaged (%1)").arg(SqlErrorText(check.lastError()));
            return result;
        }
        if (findings != QStringList{QStringLiteral("ok")}) {
            const QString found = FirstFinding(findings);
            // Damage within the match log's tables alone leaves the settings
            // and high scores usable: only the log is turned away. Anything
            // else (the program's own tables, pages no table owns) refuses
            // the file.
            const bool ownSound = IntegrityFinding(db, QStringLiteral("Options")).isEmpty() &&
                                  IntegrityFinding(db, QStringLiteral("HiScores")).isEmpty();
            QString logFinding;
            for (const char* table : {"LoggedEvents", "LoggedMatches", "LogVersion"})
                if (logFinding.isEmpty() && db.tables().contains(QLatin1String(table)))
                    logFinding = IntegrityFinding(db, QLatin1String(table));
            if (!ownSound || logFinding.isEmpty()) {
                result.problem = QStringLiteral("it is damaged (%1)").arg(found);
                return result;
            }
            result.logProblem = QStringLiteral("it is damaged (%1)").arg(logFinding);
        }
    }

    const std::pair<QString, QStringList> tables[] = {
        {QStringLiteral("Options"), OptionsColumns}, {QStringLiteral("HiScores"), HiScoresColumns}};
    for (const auto& [table, required] : tables) {
        QStringList columns;
        if (!columnsOf(db, table, &columns, &result.problem))
            return result;
        if (columns.isEmpty()) {
            result.problem = QStringLiteral("the table %1 is missing").arg(table);
            return result;
        }
        for (const QString& column : required) {
            if (!columns.contains(column, Qt::CaseInsensitive)) {
                result.problem = QStringLiteral("the table %1 has no column %2").arg(table, column);
                return result;
            }
        }
    }

    // Rows are found again by their rowid; a table made WITHOUT ROWID has
    // none, and must be turned away here, before anything writes the file.
    for (const char* table : {"Options", "HiScores"}) {
        QSqlQuery rowid(db);
        if (!rowid.exec(QStringLiteral("SELECT rowid FROM \"%1\" LIMIT 1").arg(QLatin1String(table)))) {
            result.problem = QStringLiteral("the table %1 has no row numbers (it was made WITHOUT "
                                            "ROWID)").arg(QLatin1String(table));
            return result;
        }
    }

    {
        QSqlQuery count(db);
        if (!count.exec(QStringLiteral("SELECT count(*) FROM HiScores"))) {
            result.problem = QStringLiteral("the table HiScores could not be read (%1)")
                                 .arg(SqlErrorText(count.lastError()));
            return result;
        }
    }

    QSqlQuery row(db);
    // The same rows, in the same order, as the settings record set reads.
    if (!row.exec(QStringLiteral("SELECT rowid AS rs_rowid, * FROM \"Options\""))) {
        result.problem = QStringLiteral("the table Options could not be read (%1)")
                             .arg(SqlErrorText(row.lastError()));
        return result;
    }
    if (!row.next()) {
        if (row.lastError().isValid()) {
            result.problem = QStringLiteral("the table Options could not be read (%1)")
                                 .arg(SqlErrorText(row.lastError()));
            return result;
        }
        result.verdict = Inspection::Verdict::SettingsDamaged;
        result.problem = QStringLiteral("the table Options holds no settings row");
        return result;
    }
    result.settingsRowId = row.value(0).toLongLong();
    result.problem = settingsProblem(row);
    result.verdict = result.problem.isEmpty() ? Inspection::Verdict::Usable
                                              : Inspection::Verdict::SettingsDamaged;
    return result;
}

bool exec(QSqlQuery& query, const QString& sql, QString* why)
{
    if (query.exec(sql))
        return true;
    *why = SqlErrorText(query.lastError());
    return false;
}

const QString OptionsSetSql = QStringLiteral(
    "UPDATE Options SET Player1 = ?, Player2 = ?, Players = ?, NumberOfLegs = ?, "
    "NumberofSets = ?, StartWith = ?, Commentry = ? WHERE rowid = ?");
const QString OptionsInsertSql = QStringLiteral(
    "INSERT INTO Options (Player1, Player2, Players, NumberOfLegs, NumberofSets, StartWith, "
    "Commentry) VALUES (?, ?, ?, ?, ?, ?, ?)");

// Writes the default settings into the row with `rowId`, or adds them as a
// row when there is none.
bool writeDefaultSettings(QSqlDatabase db, std::optional<qint64> rowId, QString* why)
{
    const MatchOptions defaults;
    QSqlQuery query(db);
    if (!query.prepare(rowId ? OptionsSetSql : OptionsInsertSql)) {
        *why = SqlErrorText(query.lastError());
        return false;
    }
    query.addBindValue(defaults.Player1);
    query.addBindValue(defaults.Player2);
    query.addBindValue(defaults.Players);
    query.addBindValue(defaults.NumberOfLegs);
    query.addBindValue(defaults.NumberofSets);
    query.addBindValue(defaults.StartWith);
    query.addBindValue(defaults.Commentry);
    if (rowId)
        query.addBindValue(*rowId);
    if (!query.exec()) {
        *why = SqlErrorText(query.lastError());
        return false;
    }
    return true;
}

// Makes a new file with both tables and their first rows. It is built under
// a name of its own and only then given the real name, so that a file that
// could not be finished never passes for the program's database.
bool createFile(const QString& connectionName, const QString& path, QString* why)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        *why = QStringLiteral("its folder %1 could not be made")
                   .arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    const QString building = path + QStringLiteral(".new");
    QFile::remove(building);
    bool made = false;
    {
        ScratchConnection connection(connectionName, building, QString());
        QSqlDatabase db = connection.db();
        if (!db.open()) {
            *why = SqlErrorText(db.lastError());
        } else {
            QSqlQuery query(db);
            made = exec(query, QStringLiteral("PRAGMA synchronous = FULL"), why)
                && exec(query, QStringLiteral("BEGIN"), why)
                && exec(query,
                        QStringLiteral("CREATE TABLE Options (Player1 TEXT, Player2 TEXT, "
                                       "Players INTEGER, NumberOfLegs TEXT, NumberofSets TEXT, "
                                       "StartWith INTEGER, Commentry INTEGER)"),
                        why)
                && exec(query,
                        QStringLiteral("CREATE TABLE HiScores (Name TEXT, Against TEXT, "
                                       "Date TEXT, Score INTEGER, Type TEXT)"),
                        why)
                && writeDefaultSettings(db, std::nullopt, why);
            for (int i = 0; made && i < Database::NewFileHiScoreRows; ++i) {
                QSqlQuery row(db);
                made = row.prepare(QStringLiteral(
                           "INSERT INTO HiScores (Name, Against, Date, Score, Type) "
                           "VALUES (?, ?, ?, ?, ?)"));
                if (made) {
                    row.addBindValue(HiScoreTable::PlaceholderName);
                    row.addBindValue(HiScoreTable::PlaceholderName);
                    row.addBindValue(HiScoreTable::PlaceholderDate);
                    row.addBindValue(0);
                    row.addBindValue(HiScoreTable::EntryType);
                    made = row.exec();
                }
                if (!made)
                    *why = SqlErrorText(row.lastError());
            }
            made = made && exec(query, QStringLiteral("COMMIT"), why);
        }
    }
    if (made && !QFile::rename(building, path)) {
        *why = QStringLiteral("the new file could not be given its name");
        made = false;
    }
    if (!made)
        QFile::remove(building);
    return made;
}

// The side files SQLite keeps beside a database while it is in use.
const QStringList SideFileSuffixes = {QStringLiteral("-wal"), QStringLiteral("-shm"),
                                      QStringLiteral("-journal")};

QStringList existingSideFiles(const QString& path)
{
    QStringList found;
    for (const QString& suffix : SideFileSuffixes) {
        if (QFileInfo::exists(path + suffix))
            found << suffix;
    }
    return found;
}

// A file bigger than this is not held in memory to be put back; the
// program's own file is a few pages.
constexpr qint64 SnapshotLimit = 16 * 1024 * 1024;

// The write-ahead log needs room for its index (32 KB) and its first
// frames; on a disk with less than this free the file keeps the classic
// rollback journal, which needs a page or two per write.
constexpr qint64 WalRoomNeeded = 1024 * 1024;

// Primary result codes of SQLite that mean "this file cannot be written
// here" rather than "someone else is writing just now".
bool meansUnwritable(const QSqlError& error)
{
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case 3:  // permission denied
    case 8:  // read-only
    case 10: // input/output error
    case 13: // disk full
    case 14: // journal cannot be opened
        return true;
    default:
        return false;
    }
}

int nextConnectionNumber()
{
    static QAtomicInteger<int> counter;
    return counter.fetchAndAddRelaxed(1);
}

} // namespace

Database::Database()
    : connectionName_(QStringLiteral("vantrell-db-%1").arg(nextConnectionNumber()))
{
}

Database::~Database()
{
    close();
    // The lock file goes with the program (QLockFile's destructor).
}

void Database::forgetSnapshot()
{
    haveSnapshot_ = false;
    snapshot_.clear();
    sideFilesBefore_.clear();
}

void Database::close()
{
    forgetSnapshot();
    if (!db_.isValid())
        return;
    if (db_.isOpen()) {
        // Leave the file in the classic journal mode: a single file again,
        // which can be copied on its own and read from a medium that takes
        // no side files. Harmless when it cannot be written.
        QSqlQuery(db_).exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
    }
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

void Database::refuse()
{
    if (db_.isValid()) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
    }
    if (haveSnapshot_) {
        for (const QString& suffix : SideFileSuffixes) {
            if (!sideFilesBefore_.contains(suffix))
                QFile::remove(path_ + suffix);
        }
        QFile file(path_);
        if (file.open(QIODevice::ReadOnly) && file.readAll() != snapshot_) {
            file.close();
            // Written in place: the file had this size before, so putting
            // it back needs no room a full disk would not have.
            if (file.open(QIODevice::ReadWrite)) {
                file.write(snapshot_);
                file.resize(snapshot_.size());
                file.flush();
            }
        }
    }
    forgetSnapshot();
}

bool Database::claimFolder(const QString& path, Notifier& notifier, QString* error)
{
    if (lock_)
        return true;
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    const QString lockPath = path + QStringLiteral(".lock");
    // The lock is read when one is found: a FIFO in its place would hold the
    // start for good, and a device or a folder holds no lock.
    struct stat found {};
    if (::lstat(QFile::encodeName(lockPath).constData(), &found) == 0 && !S_ISREG(found.st_mode)) {
        if (error)
            *error = QStringLiteral("The lock file %1 is not an ordinary file, so it cannot tell whether Vantrell 2 "
                                    "is already running with that folder. Remove it, then start the program again.")
                         .arg(QDir::toNativeSeparators(lockPath));
        return false;
    }
    auto lock = std::make_unique<QLockFile>(lockPath);
    // Only a lock whose program is gone is stale, however old it is: a
    // program may run for days.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        lock_ = std::move(lock);
        return true;
    }
    if (lock->error() != QLockFile::LockFailedError)
        return true;   // no lock can be made here (a read-only folder): nothing can be written either
    // A lock that names no running copy (empty or cut short by a power cut
    // right after it was made, or left by a program that is gone) is taken
    // over.
    qint64 pid = 0;
    QString host, application;
    const bool named = lock->getLockInfo(&pid, &host, &application);
    if (named && ProcessIsRunning(host, pid)) {
        if (error)
            *error = QStringLiteral("Vantrell 2 is already running with %1.\n\nOnly one copy of "
                                    "the program can keep its settings and high scores there; "
                                    "close the other one first.")
                         .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    if (lock->removeStaleLockFile() && lock->tryLock(0)) {
        lock_ = std::move(lock);
        return true;
    }
    // Where it cannot be removed (a read-only medium) it keeps nobody out:
    // nothing can be written there anyway.
    notifier.message(QStringLiteral("The lock file %1 was left by a run of Vantrell 2 that has ended, and it cannot "
                                    "be removed from that folder. The program starts without it.")
                         .arg(QDir::toNativeSeparators(lockPath)),
                     apptext::Title);
    return true;
}

void Database::reportFailedWrite(Notifier& notifier, const QString& text)
{
    if (!writable_ || failedWriteReported_)
        return;
    failedWriteReported_ = true;
    notifier.message(text + QStringLiteral("\n\nPlay goes on; further failed saves in this run "
                                           "are not reported again."),
                     apptext::Title);
}

Database::Opened Database::open(const QString& path, Notifier& notifier, QString* error)
{
    close();
    path_ = path;
    writable_ = false;
    unwritableReason_.clear();
    logDamage_.clear();
    const QString name = shownPath(path);
    auto failed = [&](const QString& text) {
        if (error)
            *error = text;
        return Opened::Failed;
    };

    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists())
        return failed(QStringLiteral("The database %1 could not be opened: it is a link to a "
                                     "file that is not there.").arg(name));
    if (info.isDir())
        return failed(QStringLiteral("The database %1 could not be opened: it is a folder, "
                                     "not a database file.").arg(name));
    if (info.exists() && !info.isFile())
        return failed(QStringLiteral("The database %1 could not be opened: it is not an ordinary file "
                                     "(a pipe or a device), not a database file.").arg(name));
    if (!info.exists()) {
        QString why;
        if (!createFile(connectionName_ + QStringLiteral("-create"), path, &why))
            return failed(QStringLiteral("The database %1 could not be made: %2.").arg(name, why));
    } else if (info.size() == 0) {
        // SQLite would take an empty file for an empty database and write
        // the tables into it; it is a damaged file that has lost them.
        return failed(QStringLiteral("The database %1 is damaged: the file is empty, its "
                                     "tables are missing.").arg(name));
    }

    Inspection found = inspect(connectionName_ + QStringLiteral("-check"), path, busyTimeoutMs_);
    if (found.interruptedWrite) {
        // SQLite's own recovery: the first read on a writing connection puts
        // back what the interrupted write had changed. Then look again.
        {
            ScratchConnection recovery(connectionName_ + QStringLiteral("-recover"), path,
                                       QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_));
            QSqlDatabase db = recovery.db();
            if (db.open())
                QSqlQuery(db).exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        }
        found = inspect(connectionName_ + QStringLiteral("-check"), path, busyTimeoutMs_);
    }
    if (found.verdict == Inspection::Verdict::Damaged)
        return failed(QStringLiteral("The database %1 cannot be used: %2.").arg(name, found.problem));
    logDamage_ = found.logProblem;

    const bool repair = found.verdict == Inspection::Verdict::SettingsDamaged;
    if (repair) {
        const QString question =
            QStringLiteral("The settings in the database %1 are damaged: %2.\n\n"
                           "Restore the default settings? The high scores are kept.")
                .arg(name, found.problem);
        if (!notifier.question(question, apptext::Title))
            return failed(QStringLiteral("The database %1 was not opened: its settings are "
                                         "damaged (%2).").arg(name, found.problem));
    }

    // From here on the file is written to (its journal mode, a repair); a
    // file that is refused after all is put back as it was found.
    takeSnapshot(path);
    auto refused = [&](const QString& text) {
        refuse();
        return failed(text);
    };

    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db_.setDatabaseName(path);
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_));
    if (!db_.open()) {
        const QString why = SqlErrorText(db_.lastError());
        return refused(QStringLiteral("The database %1 could not be opened: %2.").arg(name, why));
    }
    {
        // A file that cannot be written (write-protected, or on a read-only
        // medium) keeps its journal mode: it is still read.
        QSqlQuery query(db_);
        query.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(busyTimeoutMs_));
        const QStorageInfo disk(QFileInfo(path).absolutePath());
        if (!disk.isValid() || disk.bytesAvailable() >= WalRoomNeeded)
            query.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
        query.exec(QStringLiteral("PRAGMA synchronous = FULL"));
        if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
            const QString why = SqlErrorText(query.lastError());
            query = QSqlQuery();
            return refused(QStringLiteral("The database %1 could not be read: %2.").arg(name, why));
        }
    }

    if (repair) {
        QString why;
        QSqlQuery query(db_);
        bool ok = exec(query, QStringLiteral("BEGIN IMMEDIATE"), &why);
        ok = ok && writeDefaultSettings(db_, found.settingsRowId, &why);
        ok = ok && exec(query, QStringLiteral("COMMIT"), &why);
        if (!ok) {
            QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
            query = QSqlQuery();
            return refused(QStringLiteral("The database %1 was not opened: the default settings "
                                          "could not be written (%2).").arg(name, why));
        }
    }

    tryWriting();
    failedWriteReported_ = false;
    return Opened::Ok;
}

void Database::takeSnapshot(const QString& path)
{
    if (QFileInfo(path).size() > SnapshotLimit)
        return;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        snapshot_ = file.readAll();
        sideFilesBefore_ = existingSideFiles(path);
        haveSnapshot_ = true;
    }
}

// A trial write, rolled back: a file that can be read but not written
// (write-protected, a read-only folder or medium, a full disk) is found at
// the start, so the operator can be told once. Another program writing at
// this moment says nothing either way, and is not waited for.
void Database::tryWriting()
{
    QSqlQuery query(db_);
    query.exec(QStringLiteral("PRAGMA busy_timeout = 0"));
    writable_ = true;
    if (query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        // A change that really changes the row: SQLite leaves a page that
        // would be written back unchanged alone, journal and all.
        if (!query.exec(QStringLiteral("UPDATE Options SET Player1 = Player1 || '.' WHERE "
                                       "rowid = (SELECT min(rowid) FROM Options)"))
            && meansUnwritable(query.lastError())) {
            writable_ = false;
            unwritableReason_ = SqlErrorText(query.lastError());
        }
        QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
    } else if (meansUnwritable(query.lastError())) {
        writable_ = false;
        unwritableReason_ = SqlErrorText(query.lastError());
    }
    query.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(busyTimeoutMs_));
}
