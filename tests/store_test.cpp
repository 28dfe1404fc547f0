// The database file, its record sets and the high-score table, without the
// engine: what a first start makes and later starts keep, how damaged files
// are refused without a byte changed, and how high scores come and go.
#include "store/Database.h"
#include "store/HiScoreTable.h"
#include "store/MatchLog.h"
#include "store/RecordSet.h"

#include "StoreTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <memory>

namespace {

const QVariantList DefaultOptions = {"Player 1", "Player 2", 2, "3", "1", 501, 1};
const QVariantList Placeholder = {"Brannoque", "Brannoque", "1980-01-01 00:00:00", 0, "H"};
const QString AllRows = QStringLiteral(
    "SELECT rowid, Name, Against, Date, Score, Type FROM HiScores ORDER BY rowid");
const QString OptionsRow = QStringLiteral(
    "SELECT Player1, Player2, Players, NumberOfLegs, NumberofSets, StartWith, Commentry "
    "FROM Options ORDER BY rowid");

QDateTime at(const char* text)
{
    return QDateTime::fromString(QLatin1String(text), Qt::ISODate);
}

// The file opened as the program opens it, with the high-score record set.
struct Opened {
    explicit Opened(const QString& path, std::deque<bool> answers = {}, int busyMs = 0)
    {
        notifier.answers = std::move(answers);
        if (busyMs)
            db.setBusyTimeout(busyMs);
        ok = db.open(path, notifier, &error) == Database::Opened::Ok;
        scores = std::make_unique<RecordSet>(db.connection(), "HiScores", "Type = 'H'",
                                             "Score DESC, Date DESC");
    }
    std::optional<HiScoreReplacement> enter(qint64 score, const char* when = "2005-03-07T21:04:09")
    {
        return EnterHighScore(*scores, "Ann", "Bob", at(when), score, &error);
    }
    ScriptedNotifier notifier;
    Database db;
    QString error;
    bool ok = false;
    std::unique_ptr<RecordSet> scores;
};

} // namespace

class StoreTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;

    QString shown() const { return QDir::toNativeSeparators(QFileInfo(path_).absoluteFilePath()); }

    // A file as a first start leaves it, then changed by `sql`.
    void makeFile(const QStringList& sql = {})
    {
        QVERIFY(Opened(path_).ok);
        QCOMPARE(rawExec(path_, sql), QString());
    }

    // "H" rows scoring 10, 20 .. 100 by rowid, and two rows of other types.
    void makeScoredFile()
    {
        QStringList sql;
        for (int i = 1; i <= 10; ++i)
            sql << QStringLiteral("UPDATE HiScores SET Name = 'P%1', Score = %2, "
                                  "Date = '2004-01-%3 12:00:00' WHERE rowid = %1")
                       .arg(i).arg(i * 10).arg(i, 2, 10, QLatin1Char('0'));
        sql << "INSERT INTO HiScores VALUES ('Xavier', 'Yves', '2001-01-01 00:00:00', 0, 'X')"
            << "INSERT INTO HiScores VALUES ('Xena', '-', '2001-01-02 00:00:00', 5, 'B')";
        makeFile(sql);
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        path_ = dir_->filePath(QStringLiteral("Data/Darts.MDB"));
    }

    void cleanup()
    {
        if (QFileInfo::exists(path_))
            makeWritable(path_);
    }

    void firstStartMakesTheFileAndLaterStartsKeepIt()
    {
        {
            Opened first(path_);
            QVERIFY2(first.ok, qPrintable(first.error));
            QVERIFY(first.notifier.messages.isEmpty() && first.notifier.questions.isEmpty());
            QSqlQuery pragma(first.db.connection());
            QVERIFY(pragma.exec("PRAGMA journal_mode") && pragma.next());
            QCOMPARE(pragma.value(0).toString(), QStringLiteral("wal"));
            QVERIFY(pragma.exec("PRAGMA synchronous") && pragma.next());
            QCOMPARE(pragma.value(0).toInt(), 2); // FULL
            QVERIFY(pragma.exec("PRAGMA busy_timeout") && pragma.next());
            QCOMPARE(pragma.value(0).toInt(), Database::DefaultBusyTimeoutMs);
        }
        QVERIFY(!QFileInfo::exists(path_ + ".new"));
        QStringList columns;
        for (const QVariantList& row : rawRows(path_, "PRAGMA table_info(Options)"))
            columns << row[1].toString();
        QCOMPARE(columns, (QStringList{"Player1", "Player2", "Players", "NumberOfLegs",
                                       "NumberofSets", "StartWith", "Commentry"}));
        QCOMPARE(rawRows(path_, OptionsRow), QVector<QVariantList>{DefaultOptions});
        QCOMPARE(rawRows(path_, "SELECT typeof(Players), typeof(NumberOfLegs) FROM Options")[0],
                 (QVariantList{"integer", "text"}));
        const auto scores = rawRows(path_, AllRows);
        QCOMPARE(scores.size(), Database::NewFileHiScoreRows);
        for (const QVariantList& row : scores)
            QCOMPARE(row.mid(1), Placeholder);

        QCOMPARE(rawExec(path_, {"UPDATE Options SET Player1 = 'Ann', StartWith = 301",
                                 "UPDATE HiScores SET Name = 'Ann', Score = 180 WHERE rowid = 4"}),
                 QString());
        const auto options = rawRows(path_, OptionsRow);
        const auto before = rawRows(path_, AllRows);
        {
            Opened again(path_);
            QVERIFY(again.ok && again.notifier.questions.isEmpty());
        }
        QCOMPARE(rawRows(path_, OptionsRow), options);
        QCOMPARE(rawRows(path_, AllRows), before);
        // Closed, it is one file again, in the classic journal mode.
        QCOMPARE(int(fileBytes(path_).at(18)), 1);
        QVERIFY(!QFileInfo::exists(path_ + "-wal"));
    }

    void writeInterruptedByACrashIsRolledBack()
    {
        QStringList fill{"PRAGMA journal_mode = DELETE"};
        for (int i = 0; i < 200; ++i)
            fill << "INSERT INTO HiScores VALUES (printf('%.500c', 'x'), '-', '2001-01-01 00:00:00', 0, 'X')";
        makeFile(fill);
        const auto committed = rawRows(path_, AllRows);
        // A copy taken in the middle of a large write is the file as a crash
        // leaves it: pages already changed, the journal beside it.
        const QString crashed = dir_->filePath("Crashed/Darts.MDB");
        QDir().mkpath(QFileInfo(crashed).absolutePath());
        {
            QSqlDatabase writer = QSqlDatabase::addDatabase("QSQLITE", "writer");
            writer.setDatabaseName(path_);
            QVERIFY(writer.open());
            QSqlQuery query(writer);
            QVERIFY(query.exec("PRAGMA cache_size = 1") && query.exec("BEGIN"));
            QVERIFY(query.exec("UPDATE HiScores SET Name = 'lost', Score = 180"));
            QVERIFY(QFile::exists(path_ + "-journal"));
            writeFile(crashed, fileBytes(path_));
            writeFile(crashed + "-journal", fileBytes(path_ + "-journal"));
            QVERIFY(query.exec("ROLLBACK"));
            writer.close();
        }
        QSqlDatabase::removeDatabase("writer");
        QVERIFY(fileBytes(crashed) != fileBytes(path_));

        path_ = crashed;
        Opened db(path_);
        QVERIFY2(db.ok, qPrintable(db.error));
        QVERIFY(db.scores->requery());
        QCOMPARE(db.scores->field("Name").toString(), QStringLiteral("Brannoque"));
        db.scores.reset();
        db.db.close();
        QCOMPARE(rawRows(path_, AllRows), committed);
    }

    void damagedFileIsRefusedUntouched_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("expected");
        QTest::newRow("random bytes") << "random" << "it is not a database file";
        QTest::newRow("header cut short") << "header" << "it is damaged";
        QTest::newRow("truncated") << "truncated" << "it is damaged";
        QTest::newRow("zero length") << "empty" << "the file is empty";
        QTest::newRow("missing table") << "DROP TABLE HiScores" << "the table HiScores is missing";
        QTest::newRow("missing column") << "ALTER TABLE Options DROP COLUMN StartWith"
                                        << "the table Options has no column StartWith";
        QTest::newRow("folder in its place") << "folder" << "it is a folder";
        QTest::newRow("file in place of Data") << "data" << "its folder";
    }

    void damagedFileIsRefusedUntouched()
    {
        QFETCH(QString, damage);
        QFETCH(QString, expected);
        QString target = path_;
        if (damage == "random" || damage == "empty") {
            QDir().mkpath(QFileInfo(path_).absolutePath());
            QByteArray bytes(damage == "random" ? 8192 : 0, Qt::Uninitialized);
            QRandomGenerator generator(20050307);
            for (char& b : bytes)
                b = char(generator.bounded(256));
            writeFile(path_, bytes);
        } else if (damage == "folder") {
            QVERIFY(QDir().mkpath(path_));
        } else if (damage == "data") {
            target = QFileInfo(path_).absolutePath();
            writeFile(target, "not a folder");
        } else if (damage == "header" || damage == "truncated") {
            makeFile();
            const QByteArray whole = fileBytes(path_);
            writeFile(path_, whole.left(damage == "header" ? 60 : whole.size() / 2));
        } else {
            makeFile({damage});
        }
        const QByteArray before = fileBytes(target);

        for (int attempt = 0; attempt < 2; ++attempt) {
            Opened db(path_);
            QVERIFY(!db.ok && !db.db.isOpen());
            QVERIFY2(db.error.contains(shown()) && db.error.contains(expected), qPrintable(db.error));
            QVERIFY(db.notifier.questions.isEmpty() && db.notifier.messages.isEmpty());
            QCOMPARE(fileBytes(target), before);
        }
        if (damage == "folder")
            QVERIFY(QDir(path_).isEmpty());
    }

    void damagedSettingsAreOfferedForRepair_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("named");
        QTest::newRow("Null Player1") << "UPDATE Options SET Player1 = NULL" << "Player1";
        QTest::newRow("Null Player2") << "UPDATE Options SET Player2 = NULL" << "Player2";
        QTest::newRow("Players 3") << "UPDATE Options SET Players = 3" << "Players is 3";
        QTest::newRow("Players Null") << "UPDATE Options SET Players = NULL" << "Players";
        QTest::newRow("StartWith 170") << "UPDATE Options SET StartWith = 170" << "StartWith is 170";
        QTest::newRow("StartWith Null") << "UPDATE Options SET StartWith = NULL" << "StartWith";
        QTest::newRow("Null legs") << "UPDATE Options SET NumberOfLegs = NULL" << "NumberOfLegs";
        QTest::newRow("Null sets") << "UPDATE Options SET NumberofSets = NULL" << "NumberofSets";
        QTest::newRow("no row") << "DELETE FROM Options" << "no settings row";
        // Sound, though unusual: opened without a question.
        QTest::newRow("Commentry Null") << "UPDATE Options SET Commentry = NULL" << QString();
        QTest::newRow("odd texts") << "UPDATE Options SET Player1 = '', NumberOfLegs = 'ab', "
                                      "Players = '1', StartWith = '101', Commentry = 7" << QString();
        QTest::newRow("no high scores") << "DELETE FROM HiScores" << QString();
    }

    void damagedSettingsAreOfferedForRepair()
    {
        QFETCH(QString, sql);
        QFETCH(QString, named);
        makeFile({sql, "INSERT INTO HiScores VALUES ('Ann', 'Bob', '2005-01-01 10:00:00', 140, 'H')"});
        const QByteArray before = fileBytes(path_);
        const auto options = rawRows(path_, OptionsRow);
        const auto scores = rawRows(path_, AllRows);
        if (named.isEmpty()) {
            Opened db(path_);
            QVERIFY(db.ok && db.notifier.questions.isEmpty());
            QCOMPARE(rawRows(path_, OptionsRow), options);
            return;
        }

        // Declined: the open fails and the file stays exactly as it was.
        {
            Opened db(path_, {false});
            QVERIFY(!db.ok);
            QCOMPARE(db.notifier.questions.size(), 1);
            const QString& question = db.notifier.questions[0];
            QVERIFY2(question.contains(named) && question.contains(shown()) &&
                         question.contains("Restore the default settings"), qPrintable(question));
            QVERIFY2(db.error.contains(shown()) && db.error.contains(named), qPrintable(db.error));
        }
        QCOMPARE(fileBytes(path_), before);

        // Accepted: only the settings row is rewritten; the next start is quiet.
        QVERIFY(Opened(path_, {true}).ok);
        QCOMPARE(rawRows(path_, OptionsRow), QVector<QVariantList>{DefaultOptions});
        QCOMPARE(rawRows(path_, AllRows), scores);
        Opened again(path_);
        QVERIFY(again.ok && again.notifier.questions.isEmpty());
    }

    // The log keeps its insert prepared from dart to dart. Opened on another
    // file, it must write there, and the first file keep what it had.
    void logWritesToTheFileItWasLastOpenedOn()
    {
        Opened first(path_);
        Opened second(dir_->filePath(QStringLiteral("Other/Darts.MDB")));
        QVERIFY(first.ok && second.ok);
        const auto press = [](const char* label) {
            matchlog::Entry e;
            e.kind = QStringLiteral("press");
            e.label = QLatin1String(label);
            return e;
        };
        QString error;
        matchlog::Log log;
        QVERIFY(log.open(first.db.connection(), &error));
        QVERIFY(log.beginMatch(at("2005-03-07T21:04:09"), QStringLiteral("{}"), &error));
        QVERIFY2(log.append(press("T20"), &error), qPrintable(error));
        QVERIFY(log.open(second.db.connection(), &error));
        QVERIFY(log.beginMatch(at("2005-03-08T21:04:09"), QStringLiteral("{}"), &error));
        QVERIFY2(log.append(press("D16"), &error), qPrintable(error));
        QVERIFY2(log.append(press("5"), &error), qPrintable(error));

        const auto labels = [&](const Opened& file) {
            matchlog::Log reader;
            QStringList out;
            matchlog::LeftOut leftOut;
            if (!reader.open(file.db.connection(), &error))
                return out;
            for (const matchlog::LoggedMatch& m : reader.all(&leftOut, &error))
                for (const matchlog::Entry& e : m.entries)
                    if (e.kind == QLatin1String("press"))
                        out << e.label;
            return out;
        };
        QCOMPARE(labels(first), QStringList{QStringLiteral("T20")});
        QCOMPARE(labels(second), (QStringList{QStringLiteral("D16"), QStringLiteral("5")}));
    }

    void recordSetWritesByColumnNameAndBindsValues()
    {
        makeFile();
        Opened db(path_);
        RecordSet rs(db.db.connection(), "Options", QString(), QString());
        QVERIFY(rs.requery());
        QCOMPARE(rs.count(), 1);
        QCOMPARE(rs.field("numberofsets").toString(), QStringLiteral("1")); // any letter case
        QVERIFY(!rs.field("NoSuchColumn").isValid());

        // Texts are values, never part of the statement; an unset text is
        // an empty text, not Null.
        const QString hostile = QStringLiteral("O'Brien \"x\"; DROP TABLE Options; --");
        rs.edit();
        rs.setField("player1", hostile);
        rs.setField("Player2", QString());
        QVERIFY2(rs.update(), qPrintable(rs.lastError()));
        QCOMPARE(rs.field("Player1").toString(), hostile);
        QCOMPARE(rawRows(path_, "SELECT Player1, Player2, typeof(Player2) FROM Options")[0],
                 (QVariantList{hostile, "", "text"}));

        // A failing write changes neither the file nor the row.
        rs.edit();
        rs.setField("StartWith", 301);
        rs.setField("Nonsense", 1);
        QVERIFY(!rs.update() && !rs.lastError().isEmpty());
        QCOMPARE(rs.field("StartWith").toInt(), 501);
        QCOMPARE(rawRows(path_, "SELECT StartWith FROM Options")[0][0].toInt(), 501);
        QVERIFY(!rs.update()); // neither Edit nor AddNew
    }

    void recordSetAddsDeletesPutsBackAndRollsBack()
    {
        makeScoredFile();
        Opened db(path_);
        RecordSet& rs = *db.scores;
        QVERIFY(rs.requery());
        QCOMPARE(rs.count(), 10); // other types are not in the view
        rs.moveLast();
        QCOMPARE(rs.field("Score").toInt(), 10);
        rs.moveNext();
        QVERIFY(rs.eof());

        // AddNew adds at the end and leaves the current row where it was.
        rs.moveFirst();
        rs.moveNext();
        const qint64 second = rs.rowId();
        rs.addNew();
        rs.setField("Score", 150);
        rs.setField("Type", "H");
        QVERIFY(rs.update());
        QCOMPARE(rs.rowId(), second);
        const qint64 added = rs.lastInsertedRowId();
        QVERIFY(rs.requery()); // the query's order
        QCOMPARE(rs.rowId(), added);

        // Delete makes the next row current; the deleted one goes back
        // under its rowid.
        rs.moveNext();
        const qint64 deleted = rs.rowId();
        const QVariantMap values = rs.values();
        QVERIFY(rs.remove());
        QCOMPARE(rs.rowId(), second);
        QVERIFY(rawRows(path_, QStringLiteral("SELECT 1 FROM HiScores WHERE rowid = %1").arg(deleted)).isEmpty());
        QVERIFY(rs.insertRow(deleted, values) && rs.removeRowId(added));
        // Gone already: a delete that finds no row is a failure, so that a
        // row another program took away is never taken for deleted by us.
        QVERIFY(!rs.removeRowId(added) && !rs.lastError().isEmpty());
        QVERIFY(rs.requery() && rs.moveToRowId(deleted));
        QCOMPARE(rs.values(), values);

        // A batch rolled back leaves file and rows as they were.
        const auto before = rawRows(path_, AllRows);
        QVERIFY(rs.beginBatch());
        QVERIFY(rs.remove());
        rs.addNew();
        QVERIFY(rs.update());
        QVERIFY(!rs.beginBatch()); // one at a time
        rs.rollbackBatch();
        QCOMPARE(rawRows(path_, AllRows), before);
        QCOMPARE(rs.count(), 10);
    }

    void visitBeatingTheLowestReplacesItAndUndoPutsItBack()
    {
        makeScoredFile();
        const auto original = rawRows(path_, AllRows);
        Opened db(path_);
        const auto first = db.enter(55);
        QVERIFY2(first && db.error.isEmpty(), qPrintable(db.error));
        QVERIFY(first->replacedRow);
        QCOMPARE(first->replacedRowId, qint64(1)); // the score 10
        QCOMPARE(rawRows(path_, QStringLiteral("SELECT Name, Against, Date, Score, Type FROM HiScores "
                                               "WHERE rowid = %1").arg(first->addedRowId))[0],
                 (QVariantList{"Ann", "Bob", "2005-03-07 21:04:09", 55, "H"}));

        // An equal score is not entered; one point more is.
        const auto before = rawRows(path_, AllRows);
        QVERIFY(!db.enter(20) && db.error.isEmpty());
        QCOMPARE(rawRows(path_, AllRows), before);
        const auto second = db.enter(21);
        QVERIFY(second);
        QCOMPARE(second->replacedValues.value("Score").toInt(), 20);
        QCOMPARE(rawRows(path_, "SELECT Score FROM HiScores WHERE Type = 'H'").size(), 10);
        // Rows of other types are never touched, though they score lower.
        QCOMPARE(rawRows(path_, "SELECT rowid, Name, Against, Date, Score, Type FROM HiScores "
                                "WHERE Type <> 'H' ORDER BY rowid"),
                 original.mid(10));

        // Undo, newest first, brings back the very rows, rowids included.
        QVERIFY(RevertHighScore(*db.scores, *second, &db.error));
        QVERIFY(RevertHighScore(*db.scores, *first, &db.error));
        QCOMPARE(rawRows(path_, AllRows), original);

        // After a reset the entry is gone already: undo leaves the table alone.
        const auto third = db.enter(99);
        QVERIFY(third);
        QCOMPARE(rawExec(path_, {"UPDATE HiScores SET Name = 'Brannoque', Against = 'Brannoque', "
                                 "Date = '1980-01-01 00:00:00', Score = 0 WHERE Type = 'H'"}), QString());
        const auto reset = rawRows(path_, AllRows);
        QVERIFY(RevertHighScore(*db.scores, *third, &db.error) && db.error.isEmpty());
        QCOMPARE(rawRows(path_, AllRows), reset);
    }

    void lowestRowAmongTiesNullsAndAnEmptyTable()
    {
        makeFile({"UPDATE HiScores SET Score = 60",
                  "UPDATE HiScores SET Score = 0, Date = '2003-05-05 10:00:00' WHERE rowid = 3",
                  "UPDATE HiScores SET Score = 0, Date = '1999-12-31 23:59:59' WHERE rowid = 7",
                  "UPDATE HiScores SET Score = NULL, Name = NULL WHERE rowid = 9"});
        Opened db(path_);
        // A Null score is the lowest and counts as 0; among equal lowest
        // scores the oldest goes.
        QCOMPARE(db.enter(1).value().replacedRowId, qint64(9));
        QCOMPARE(db.enter(1).value().replacedRowId, qint64(7));

        // With no "H" row at all the entry is added without a deletion.
        QCOMPARE(rawExec(path_, {"UPDATE HiScores SET Type = 'X'"}), QString());
        const auto added = db.enter(0);
        QVERIFY(added && !added->replacedRow);
        QCOMPARE(rawRows(path_, "SELECT Score FROM HiScores").size(), 11);
        QVERIFY(RevertHighScore(*db.scores, *added, &db.error));
        QCOMPARE(rawRows(path_, "SELECT Score FROM HiScores").size(), 10);
    }

    void listOrdersEqualScoresByDateAndShowsNullsEmpty()
    {
        makeFile({"UPDATE HiScores SET Name = 'Early', Score = 180, Date = '2005-03-07 21:04:09' WHERE rowid = 1",
                  "UPDATE HiScores SET Name = 'Late', Score = 180, Date = '2006-01-02 10:00:00' WHERE rowid = 2",
                  "UPDATE HiScores SET Name = 'Mid', Score = 180, Date = '2005-12-31 08:30:00' WHERE rowid = 3",
                  "UPDATE HiScores SET Score = 180, Date = '2009-01-01 00:00:00', Type = 'Z' WHERE rowid = 4",
                  "UPDATE HiScores SET Date = '07/03/2005 21:04:09', Score = 1 WHERE rowid = 5",
                  "UPDATE HiScores SET Name = NULL, Against = NULL, Date = NULL, Score = NULL WHERE rowid = 6"});
        Opened db(path_);
        QVector<HiScoreEntry> list;
        QVERIFY2(ReadHighScores(db.db.connection(), &list, &db.error), qPrintable(db.error));
        QCOMPARE(list.size(), 9); // not the row of type Z
        QCOMPARE(list[0].Name + list[1].Name + list[2].Name, QStringLiteral("LateMidEarly"));
        QCOMPARE(list[0].Date, QStringLiteral("02/01/2006 10:00:00"));
        QCOMPARE(list[0].Score, QStringLiteral("180"));
        QCOMPARE(list[3].Date, QStringLiteral("07/03/2005 21:04:09")); // not a stored date: as it is
        QCOMPARE(list[4].Date, QStringLiteral("01/01/1980 00:00:00"));
        const HiScoreEntry& nulls = list.last();
        QCOMPARE(nulls.Name + nulls.Against + nulls.Date + nulls.Score, QString());
    }

    void writesThatCannotBeMadeChangeNothing()
    {
        makeFile();
        const auto before = rawRows(path_, AllRows);
        {
            // Another program holds the file for writing past the wait.
            Opened db(path_, {}, 200);
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(path_);
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec("BEGIN IMMEDIATE"));
            QVERIFY(!db.enter(180));
            QVERIFY2(db.error.contains("locked", Qt::CaseInsensitive), qPrintable(db.error));
            QVERIFY(QSqlQuery(other).exec("ROLLBACK"));
            other.close();
            QCOMPARE(rawRows(path_, AllRows), before);
            QVERIFY(db.enter(180)); // and once it is free again
        }
        QSqlDatabase::removeDatabase("other");

        const QByteArray bytes = fileBytes(path_);
        const auto rows = rawRows(path_, AllRows);
        if (!makeUnwritable(path_))
            QSKIP("no way to make a file unwritable here");
        {
            Opened db(path_);
            QVERIFY2(db.ok, qPrintable(db.error)); // still read
            QVERIFY(!db.enter(181) && !db.error.isEmpty());
            QCOMPARE(db.scores->count(), 10);
            QCOMPARE(db.scores->field("Score").toInt(), 180);
            RecordSet options(db.db.connection(), "Options", QString(), QString());
            QVERIFY(options.requery());
            options.edit();
            options.setField("Player1", "Ann");
            QVERIFY(!options.update() && !options.lastError().isEmpty());
            QCOMPARE(options.field("Player1").toString(), QStringLiteral("Player 1"));
        }
        QCOMPARE(fileBytes(path_), bytes);
        QCOMPARE(rawRows(path_, AllRows), rows);
    }
};

QTEST_GUILESS_MAIN(StoreTest)
#include "store_test.moc"
