// Damaged databases: the program started (through the headless driver) on a
// file that is broken in one of many ways. Every one of them ends in either a
// clear message naming the file and an exit status of 1, or, where the damage
// is harmless, a normal start; never a crash. The driver declines every
// offered repair, so a refused file must come out byte for byte as it went
// in, and one the program started on must still hold exactly what it held.
#include "StoreTestSupport.h"

#include "store/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>
#include <functional>

namespace {

enum class Outcome { Refused, Starts };
enum class Lock { None, WriteTransaction, Exclusive };

struct Damage {
    const char* name;
    // Breaks the file at `path` (the folder is `path`'s); a failure text when
    // the damage could not be made.
    std::function<QString(const QString& path)> make;
    Outcome outcome;
    // A piece of the message (Refused), or nothing to look for (Starts).
    QString says;
    Lock lock = Lock::None;
    // Throws a 180, which must fail to save with a message saying so.
    bool tryWrite = false;
    // A write cut short: the start must roll it back to what the file held.
    bool rollsBack = false;
};

QString simPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../vantrell-sim");
}

QString truncateTo(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.resize(size))
        return file.errorString();
    return QString();
}

QString overwrite(const QString& path, qint64 from, qint64 count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(from))
        return file.errorString();
    QByteArray noise(count, '\0');
    QRandomGenerator rng(20261209);
    for (char& c : noise)
        c = char(rng.bounded(256));
    return file.write(noise) == count ? QString() : file.errorString();
}

QString sql(const QString& path, const QStringList& statements)
{
    return rawExec(path, statements);
}

QString unwritable(const QString& target)
{
    return makeUnwritable(target) ? QString() : QStringLiteral("cannot make %1 read-only here").arg(target);
}

// Everything a file holds: its tables' definitions and every row.
QVector<QVariantList> content(const QString& path)
{
    QVector<QVariantList> all = rawRows(path, QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY name"));
    for (const char* table : {"Options", "HiScores"})
        all += rawRows(path, QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid").arg(QLatin1String(table)));
    return all;
}

// Another program killed in the middle of a write that had already spilled
// changed pages into the file: its journal is left behind, "hot".
QString interruptedWrite(const QString& path)
{
    QProcess writer;
    writer.start(QStringLiteral("sqlite3"), {path});
    if (!writer.waitForStarted())
        return QStringLiteral("sqlite3 is not there");
    writer.write("PRAGMA cache_size = 1;\nBEGIN;\n"
                 "UPDATE HiScores SET Name = hex(randomblob(3000));\nSELECT 'ready';\n");
    while (!writer.readAllStandardOutput().contains("ready")) {
        if (!writer.waitForReadyRead(10000))
            return QStringLiteral("sqlite3 did not answer: ") + QString::fromLocal8Bit(writer.readAllStandardError());
    }
    ::kill(pid_t(writer.processId()), SIGKILL);
    writer.waitForFinished();
    if (!QFileInfo::exists(path + QStringLiteral("-journal")))
        return QStringLiteral("no journal was left behind");
    return QString();
}

const QString Refuse = QStringLiteral("The database ");

QVector<Damage> damages()
{
    return {
        {"sound file", [](const QString&) { return QString(); }, Outcome::Starts, QString()},
        {"zero length", [](const QString& p) { return truncateTo(p, 0); }, Outcome::Refused,
         QStringLiteral("the file is empty")},
        {"truncated to 50 bytes", [](const QString& p) { return truncateTo(p, 50); }, Outcome::Refused,
         QStringLiteral("cannot be used")},
        {"truncated to its header", [](const QString& p) { return truncateTo(p, 100); }, Outcome::Refused,
         QStringLiteral("cannot be used")},
        {"truncated to its first page", [](const QString& p) { return truncateTo(p, 4096); },
         Outcome::Refused, QStringLiteral("cannot be used")},
        {"truncated in its second page", [](const QString& p) { return truncateTo(p, 6000); },
         Outcome::Refused, QStringLiteral("cannot be used")},
        // SQLite reads the missing byte of the last page as a zero, in a part
        // of the page no row uses: the file still works.
        {"last byte cut off",
         [](const QString& p) { return truncateTo(p, QFileInfo(p).size() - 1); }, Outcome::Starts,
         QString()},
        {"random bytes throughout",
         [](const QString& p) { return overwrite(p, 0, QFileInfo(p).size()); }, Outcome::Refused,
         QStringLiteral("not a database")},
        {"random bytes over the tables",
         [](const QString& p) { return overwrite(p, 4096, QFileInfo(p).size() - 4096); },
         Outcome::Refused, QStringLiteral("cannot be used")},
        {"a text file", [](const QString& p) {
             QFile f(p);
             if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                 return f.errorString();
             f.write("Player1,Player2\nPlayer 1,Player 2\n");
             return QString();
         }, Outcome::Refused, QStringLiteral("not a database")},
        {"table Options missing", [](const QString& p) { return sql(p, {"DROP TABLE Options"}); },
         Outcome::Refused, QStringLiteral("the table Options is missing")},
        {"table HiScores missing", [](const QString& p) { return sql(p, {"DROP TABLE HiScores"}); },
         Outcome::Refused, QStringLiteral("the table HiScores is missing")},
        {"column Commentry missing",
         [](const QString& p) { return sql(p, {"ALTER TABLE Options DROP COLUMN Commentry"}); },
         Outcome::Refused, QStringLiteral("has no column Commentry")},
        {"column Score missing",
         [](const QString& p) { return sql(p, {"ALTER TABLE HiScores DROP COLUMN Score"}); },
         Outcome::Refused, QStringLiteral("has no column Score")},
        {"StartWith holds a word",
         [](const QString& p) { return sql(p, {"UPDATE Options SET StartWith = 'five hundred and one'"}); },
         Outcome::Refused, QStringLiteral("StartWith is \"five hundred and one\"")},
        {"Players holds a fraction",
         [](const QString& p) { return sql(p, {"UPDATE Options SET Players = 1.5"}); },
         Outcome::Refused, QStringLiteral("Players is 1.5")},
        {"Score holds words and blobs",
         [](const QString& p) {
             return sql(p, {"UPDATE HiScores SET Score = 'lots' WHERE rowid % 2 = 0",
                            "UPDATE HiScores SET Score = x'00ff' WHERE rowid % 2 = 1"});
         }, Outcome::Starts, QString()},
        {"Null in every Options column",
         [](const QString& p) {
             return sql(p, {"UPDATE Options SET Player1 = NULL, Player2 = NULL, Players = NULL, "
                            "NumberOfLegs = NULL, NumberofSets = NULL, StartWith = NULL, Commentry = NULL"});
         }, Outcome::Refused, QStringLiteral("its settings are damaged")},
        {"no settings row", [](const QString& p) { return sql(p, {"DELETE FROM Options"}); },
         Outcome::Refused, QStringLiteral("holds no settings row")},
        {"Players 0", [](const QString& p) { return sql(p, {"UPDATE Options SET Players = 0"}); },
         Outcome::Refused, QStringLiteral("Players is 0, not 1 or 2")},
        {"Players 3", [](const QString& p) { return sql(p, {"UPDATE Options SET Players = 3"}); },
         Outcome::Refused, QStringLiteral("Players is 3, not 1 or 2")},
        {"StartWith 0", [](const QString& p) { return sql(p, {"UPDATE Options SET StartWith = 0"}); },
         Outcome::Refused, QStringLiteral("StartWith is 0, not 101, 301 or 501")},
        {"StartWith 999", [](const QString& p) { return sql(p, {"UPDATE Options SET StartWith = 999"}); },
         Outcome::Refused, QStringLiteral("StartWith is 999, not 101, 301 or 501")},
        {"Commentry 7", [](const QString& p) { return sql(p, {"UPDATE Options SET Commentry = 7"}); },
         Outcome::Starts, QString()},
        {"empty \"H\" table", [](const QString& p) { return sql(p, {"DELETE FROM HiScores"}); },
         Outcome::Starts, QString()},
        {"HiScores made WITHOUT ROWID",
         [](const QString& p) {
             return sql(p, {"DROP TABLE HiScores",
                            "CREATE TABLE HiScores (Name TEXT, Against TEXT, Date TEXT, Score INTEGER, "
                            "Type TEXT, PRIMARY KEY (Name, Date)) WITHOUT ROWID",
                            "INSERT INTO HiScores VALUES ('Ann', '-', '2005-03-07 21:04:09', 60, 'H')"});
         }, Outcome::Refused, QStringLiteral("WITHOUT ROWID")},
        {"read-only file", [](const QString& p) { return unwritable(p); }, Outcome::Starts, QString(),
         Lock::None, true},
        {"read-only folder", [](const QString& p) { return unwritable(QFileInfo(p).absolutePath()); },
         Outcome::Starts, QString(), Lock::None, true},
        {"a folder in place of the file",
         [](const QString& p) {
             if (!QFile::remove(p) || !QDir().mkdir(p))
                 return QStringLiteral("cannot put a folder there");
             return QString();
         }, Outcome::Refused, QStringLiteral("it is a folder")},
        {"a link to nowhere",
         [](const QString& p) {
             if (!QFile::remove(p) || !QFile::link(p + QStringLiteral(".gone"), p))
                 return QStringLiteral("cannot make the link");
             return QString();
         }, Outcome::Refused, QStringLiteral("a link to a file that is not there")},
        {"a write cut short by a crash", [](const QString& p) { return interruptedWrite(p); },
         Outcome::Starts, QString(), Lock::None, false, true},
        {"another program writing to it", [](const QString&) { return QString(); }, Outcome::Starts,
         QString(), Lock::WriteTransaction},
        {"locked by another program", [](const QString&) { return QString(); },
         Outcome::Refused, QStringLiteral("locked"), Lock::Exclusive},
    };
}

// Another program holding the file while the driver starts.
class LockHolder {
public:
    LockHolder(const QString& path, Lock lock) : name_(QStringLiteral("fault-lock"))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        if (!db.open()) {
            error_ = db.lastError().text();
            return;
        }
        QSqlQuery query(db);
        // A write under way lets others read (until it commits); an
        // exclusive transaction lets nobody in. Neither is ever committed.
        const QStringList statements =
            lock == Lock::WriteTransaction
                ? QStringList{QStringLiteral("BEGIN IMMEDIATE"),
                              QStringLiteral("UPDATE HiScores SET Name = 'Holder'")}
                : QStringList{QStringLiteral("BEGIN EXCLUSIVE")};
        for (const QString& statement : statements) {
            if (!query.exec(statement)) {
                error_ = statement + QStringLiteral(": ") + query.lastError().text();
                return;
            }
        }
    }
    ~LockHolder()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    const QString& error() const { return error_; }

private:
    QString name_;
    QString error_;
};

} // namespace

class FaultDamagedTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(simPath()).isExecutable(), qPrintable(simPath()));
        QVERIFY(base_.isValid());
        // A sound file as the program makes it, copied for every case.
        baseFile_ = QDir(base_.path()).filePath(QStringLiteral("Darts.MDB"));
        ScriptedNotifier notifier;
        Database db;
        QString error;
        QVERIFY2(db.open(baseFile_, notifier, &error) == Database::Opened::Ok, qPrintable(error));
        db.close();
        QVERIFY(QFileInfo(baseFile_).size() >= 3 * 4096);
    }

    void damagedFile_data()
    {
        QTest::addColumn<int>("index");
        const QVector<Damage> all = damages();
        for (int i = 0; i < all.size(); ++i)
            QTest::newRow(all[i].name) << i;
    }

    void damagedFile()
    {
        QFETCH(int, index);
        const Damage damage = damages()[index];
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QString data = QDir(home.path()).filePath(QStringLiteral("Data"));
        const QString path = QDir(data).filePath(QStringLiteral("Darts.MDB"));
        QVERIFY(QDir().mkpath(data));
        QVERIFY(QFile::copy(baseFile_, path));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));

        const QVector<QVariantList> original = content(path);
        const QString made = damage.make(path);
        // Read-only cases need the folder or file given back before cleanup.
        struct Restore {
            QString data, path;
            ~Restore()
            {
                if (QFileInfo(path).isFile() && !QFileInfo(path).isSymLink())
                    makeWritable(path);
                QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), data});
                QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            }
        } restore{data, path};
        if (!made.isEmpty())
            QSKIP(qPrintable(made));

        const bool isFolder = QFileInfo(path).isDir();
        const QByteArray before = fileBytes(path);
        const QVector<QVariantList> contentBefore =
            damage.rollsBack ? original
            : damage.outcome == Outcome::Starts ? content(path) : QVector<QVariantList>();
        const QStringList filesBefore = QDir(data).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);

        std::unique_ptr<LockHolder> holder;
        if (damage.lock != Lock::None) {
            holder = std::make_unique<LockHolder>(path, damage.lock);
            QVERIFY2(holder->error().isEmpty(), qPrintable(holder->error()));
        }

        QProcess sim;
        sim.start(simPath(), {QStringLiteral("--home"), home.path()});
        QVERIFY(sim.waitForStarted());
        if (damage.tryWrite)
            sim.write("throw T20\nthrow T20\nthrow T20\n");
        sim.write("state\n");
        sim.closeWriteChannel();
        QVERIFY2(sim.waitForFinished(60000), "the driver did not end");
        holder.reset();
        const QString err = QString::fromLocal8Bit(sim.readAllStandardError());
        const QByteArray out = sim.readAllStandardOutput();

        QVERIFY2(sim.exitStatus() == QProcess::NormalExit, qPrintable(QStringLiteral("crashed: ") + err));
        if (damage.outcome == Outcome::Refused) {
            QVERIFY2(sim.exitCode() == 1, qPrintable(QStringLiteral("exit %1, stderr: %2").arg(sim.exitCode()).arg(err)));
            QVERIFY2(err.contains(Refuse) && err.contains(QDir::toNativeSeparators(path)),
                     qPrintable(QStringLiteral("no message naming the file: ") + err));
            QVERIFY2(err.contains(damage.says), qPrintable(QStringLiteral("message does not say \"%1\": %2").arg(damage.says, err)));
            QVERIFY(out.isEmpty());
        } else {
            QVERIFY2(sim.exitCode() == 0, qPrintable(QStringLiteral("exit %1, stderr: %2").arg(sim.exitCode()).arg(err)));
            const QJsonObject state = QJsonDocument::fromJson(out).object();
            QVERIFY2(state.contains(QStringLiteral("panels")), out.constData());
            const QJsonArray messages = state.value(QStringLiteral("messages")).toArray();
            if (damage.tryWrite) {
                // Said once at the start; the 180 that cannot be kept adds nothing.
                QCOMPARE(messages.size(), 1);
                QVERIFY2(messages[0].toString().contains(QStringLiteral(
                             "cannot be written: high scores and settings will not be kept this time")),
                         qPrintable(messages[0].toString()));
                const QJsonArray best = state.value(QStringLiteral("hitable")).toArray().first().toArray();
                QCOMPARE(best.last().toInt(), 0);
            } else {
                QVERIFY2(messages.isEmpty(), out.constData());
            }
        }

        QCOMPARE(QFileInfo(path).isDir(), isFolder);
        if (damage.outcome == Outcome::Refused) {
            QVERIFY2(fileBytes(path) == before, "the file was changed");
        } else {
            // A start may switch the journal mode and back, which counts
            // in the file's header; what it holds must stay as it was.
            if (!damage.rollsBack)
                QCOMPARE(fileBytes(path).size(), before.size());
            QCOMPARE(content(path), contentBefore);
        }
        QStringList filesAfter = QDir(data).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
        if (damage.rollsBack)
            filesAfter << QStringLiteral("Darts.MDB-journal"); // rolled back and gone
        QCOMPARE(filesAfter, filesBefore);
    }

private:
    QTemporaryDir base_;
    QString baseFile_;
};

QTEST_GUILESS_MAIN(FaultDamagedTest)
#include "fault_damaged_test.moc"
