// The database file, its record sets and the high-score table, without the
// engine: what a first start makes, what later starts keep, how damaged files
// are refused without a byte of them changed, and how high scores come and go.
#include "store/Database.h"
#include "store/HiScoreTable.h"
#include "store/RecordSet.h"

#include "StoreTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QVariantList DefaultOptions = {QStringLiteral("Player 1"), QStringLiteral("Player 2"), 2,
                                     QStringLiteral("3"), QStringLiteral("1"), 501, 1};

const QString AllRows = QStringLiteral(
    "SELECT rowid, Name, Against, Date, Score, Type FROM HiScores ORDER BY rowid");
const QString OptionsRow = QStringLiteral(
    "SELECT Player1, Player2, Players, NumberOfLegs, NumberofSets, StartWith, Commentry "
    "FROM Options ORDER BY rowid");

QDateTime at(const QString& text)
{
    return QDateTime::fromString(text, Qt::ISODate);
}

} // namespace

class StoreTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;

    QString shown() const { return QDir::toNativeSeparators(QFileInfo(path_).absoluteFilePath()); }

    // A file as a first start leaves it.
    void makeDefaultFile()
    {
        ScriptedNotifier notifier;
        Database db;
        QString error;
        QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
    }

    // Gives the "H" rows the scores 10, 20 .. 100 (by rowid) with distinct
    // dates, and adds two rows of another type with lower scores.
    void makeScoredTable()
    {
        makeDefaultFile();
        QStringList sql;
        for (int i = 1; i <= 10; ++i)
            sql << QStringLiteral("UPDATE HiScores SET Name = 'P%1', Against = 'Q%1', "
                                  "Score = %2, Date = '2004-01-%3 12:00:00' WHERE rowid = %1")
                       .arg(i)
                       .arg(i * 10)
                       .arg(i, 2, 10, QLatin1Char('0'));
        sql << QStringLiteral("INSERT INTO HiScores VALUES ('Xavier', 'Yves', "
                              "'2001-01-01 00:00:00', 0, 'X')")
            << QStringLiteral("INSERT INTO HiScores VALUES ('Xena', '-', "
                              "'2001-01-02 00:00:00', 5, 'B')");
        QCOMPARE(rawExec(path_, sql), QString());
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        path_ = dir_->filePath(QStringLiteral("Data/Darts.MDB"));
    }

    void cleanup()
    {
        if (QFileInfo::exists(path_))
            makeWritable(path_);
        dir_.reset();
    }

    // --- First and later starts ---------------------------------------------

    void firstStartMakesTheFolderFileAndDefaultRows()
    {
        ScriptedNotifier notifier;
        {
            Database db;
            QString error;
            QVERIFY(!QFileInfo::exists(QFileInfo(path_).absolutePath()));
            QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
            QVERIFY(db.isOpen());

            QSqlQuery pragma(db.connection());
            QVERIFY(pragma.exec(QStringLiteral("PRAGMA journal_mode")) && pragma.next());
            QCOMPARE(pragma.value(0).toString().toLower(), QStringLiteral("wal"));
            QVERIFY(pragma.exec(QStringLiteral("PRAGMA synchronous")) && pragma.next());
            QCOMPARE(pragma.value(0).toInt(), 2); // FULL
            QVERIFY(pragma.exec(QStringLiteral("PRAGMA busy_timeout")) && pragma.next());
            QCOMPARE(pragma.value(0).toInt(), Database::DefaultBusyTimeoutMs);
        }
        QVERIFY(notifier.messages.isEmpty());
        QVERIFY(notifier.questions.isEmpty());
        QVERIFY(!QFileInfo::exists(path_ + QStringLiteral(".new")));

        // The columns keep their names, letter case included.
        QStringList columns;
        for (const QVariantList& row : rawRows(path_, QStringLiteral("PRAGMA table_info(Options)")))
            columns << row[1].toString();
        QCOMPARE(columns, (QStringList{"Player1", "Player2", "Players", "NumberOfLegs",
                                       "NumberofSets", "StartWith", "Commentry"}));

        const auto options = rawRows(path_, OptionsRow);
        QCOMPARE(options.size(), 1);
        QCOMPARE(options[0], DefaultOptions);
        // Legs and sets are texts, the numbers numbers.
        const auto types = rawRows(path_, QStringLiteral(
            "SELECT typeof(Players), typeof(NumberOfLegs), typeof(StartWith) FROM Options"));
        QCOMPARE(types[0], (QVariantList{"integer", "text", "integer"}));

        const auto scores = rawRows(path_, AllRows);
        QCOMPARE(scores.size(), Database::NewFileHiScoreRows);
        for (const QVariantList& row : scores)
            QCOMPARE(row.mid(1), (QVariantList{"Brannoque", "Brannoque", "1980-01-01 00:00:00", 0, "H"}));
    }

    void laterStartsKeepTheUsersRows()
    {
        makeDefaultFile();
        QCOMPARE(rawExec(path_, {QStringLiteral("UPDATE Options SET Player1 = 'Ann', "
                                                "StartWith = 301, Commentry = 0"),
                                 QStringLiteral("UPDATE HiScores SET Name = 'Ann', Score = 180 "
                                                "WHERE rowid = 4")}),
                 QString());
        const auto optionsBefore = rawRows(path_, OptionsRow);
        const auto scoresBefore = rawRows(path_, AllRows);

        ScriptedNotifier notifier;
        Database db;
        QString error;
        QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
        QVERIFY(notifier.questions.isEmpty());
        db.close();
        QCOMPARE(rawRows(path_, OptionsRow), optionsBefore);
        QCOMPARE(rawRows(path_, AllRows), scoresBefore);
        QCOMPARE(optionsBefore[0][0].toString(), QStringLiteral("Ann"));
    }

    void folderThatCannotBeMadeIsReported()
    {
        // A file where the Data folder should be.
        writeFile(dir_->filePath(QStringLiteral("Data")), "not a folder");
        ScriptedNotifier notifier;
        Database db;
        QString error;
        QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Failed);
        QVERIFY2(error.contains(shown()) && error.contains(QStringLiteral("could not be made")),
                 qPrintable(error));
        QCOMPARE(fileBytes(dir_->filePath(QStringLiteral("Data"))), QByteArray("not a folder"));
    }

    // --- Damaged files --------------------------------------------------------

    void damagedFileIsRefusedUntouched_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("expected");
        QTest::newRow("random bytes") << "random" << "not a database file";
        QTest::newRow("header cut short") << "header" << "it is damaged";
        QTest::newRow("truncated") << "truncated" << "it is damaged";
        QTest::newRow("zero length") << "empty" << "the file is empty";
        QTest::newRow("missing table") << "table" << "the table HiScores is missing";
        QTest::newRow("missing column") << "column" << "the table Options has no column StartWith";
        QTest::newRow("folder in its place") << "folder" << "it is a folder";
    }

    void damagedFileIsRefusedUntouched()
    {
        QFETCH(QString, damage);
        QFETCH(QString, expected);

        if (damage == QLatin1String("random")) {
            QDir().mkpath(QFileInfo(path_).absolutePath());
            QByteArray bytes(8192, Qt::Uninitialized);
            QRandomGenerator generator(20050307);
            for (char& b : bytes)
                b = char(generator.bounded(256));
            writeFile(path_, bytes);
        } else if (damage == QLatin1String("empty")) {
            QDir().mkpath(QFileInfo(path_).absolutePath());
            writeFile(path_, QByteArray());
        } else if (damage == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path_));
        } else {
            makeDefaultFile();
            if (damage == QLatin1String("header")) {
                writeFile(path_, fileBytes(path_).left(60));
            } else if (damage == QLatin1String("truncated")) {
                const QByteArray whole = fileBytes(path_);
                QVERIFY(whole.size() > 4096);
                writeFile(path_, whole.left(whole.size() / 2));
            } else if (damage == QLatin1String("table")) {
                QCOMPARE(rawExec(path_, {QStringLiteral("DROP TABLE HiScores")}), QString());
            } else if (damage == QLatin1String("column")) {
                QCOMPARE(rawExec(path_, {QStringLiteral("ALTER TABLE Options DROP COLUMN StartWith")}),
                         QString());
            }
        }

        const bool folder = QFileInfo(path_).isDir();
        const QByteArray before = folder ? QByteArray() : fileBytes(path_);
        const QFile::Permissions permissions = QFileInfo(path_).permissions();

        ScriptedNotifier notifier;
        Database db;
        QString error;
        QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Failed);
        QVERIFY(!db.isOpen());
        QVERIFY2(error.contains(shown()), qPrintable(error));
        QVERIFY2(error.contains(expected), qPrintable(error));
        QVERIFY(notifier.questions.isEmpty());
        QVERIFY(notifier.messages.isEmpty());

        if (folder) {
            QVERIFY(QFileInfo(path_).isDir());
            QVERIFY(QDir(path_).isEmpty());
        } else {
            QCOMPARE(fileBytes(path_), before);
            QCOMPARE(QFileInfo(path_).permissions(), permissions);
        }

        // A second attempt finds the same: nothing was half-repaired.
        QString again;
        QCOMPARE(db.open(path_, notifier, &again), Database::Opened::Failed);
        QCOMPARE(again, error);
    }

    void damagedSettingsAreOfferedForRepair_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("named");
        QTest::newRow("Null Player1") << "UPDATE Options SET Player1 = NULL" << "Player1";
        QTest::newRow("Null Player2") << "UPDATE Options SET Player2 = NULL" << "Player2";
        QTest::newRow("Players 3") << "UPDATE Options SET Players = 3" << "Players is 3";
        QTest::newRow("Players Null") << "UPDATE Options SET Players = NULL" << "Players";
        QTest::newRow("Players text") << "UPDATE Options SET Players = 'two'" << "Players";
        QTest::newRow("StartWith 170") << "UPDATE Options SET StartWith = 170" << "StartWith is 170";
        QTest::newRow("StartWith Null") << "UPDATE Options SET StartWith = NULL" << "StartWith";
        QTest::newRow("Null legs") << "UPDATE Options SET NumberOfLegs = NULL" << "NumberOfLegs";
        QTest::newRow("Null sets") << "UPDATE Options SET NumberofSets = NULL" << "NumberofSets";
        QTest::newRow("no row") << "DELETE FROM Options" << "no settings row";
    }

    void damagedSettingsAreOfferedForRepair()
    {
        QFETCH(QString, sql);
        QFETCH(QString, named);
        makeDefaultFile();
        QCOMPARE(rawExec(path_, {sql, QStringLiteral("UPDATE HiScores SET Name = 'Ann', "
                                                     "Score = 140 WHERE rowid = 2")}),
                 QString());
        const QByteArray before = fileBytes(path_);
        const auto scoresBefore = rawRows(path_, AllRows);

        // Declined: the open fails and the file stays exactly as it was.
        {
            ScriptedNotifier notifier;
            notifier.answers = {false};
            Database db;
            QString error;
            QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Failed);
            QCOMPARE(notifier.questions.size(), 1);
            QVERIFY2(notifier.questions[0].contains(named), qPrintable(notifier.questions[0]));
            QVERIFY(notifier.questions[0].contains(shown()));
            QVERIFY(notifier.questions[0].contains(QStringLiteral("Restore the default settings")));
            QVERIFY2(error.contains(shown()) && error.contains(named), qPrintable(error));
            QCOMPARE(fileBytes(path_), before);
        }

        // Accepted: only the settings row is rewritten, the scores stay.
        {
            ScriptedNotifier notifier;
            notifier.answers = {true};
            Database db;
            QString error;
            QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
            QCOMPARE(notifier.questions.size(), 1);
        }
        const auto options = rawRows(path_, OptionsRow);
        QCOMPARE(options.size(), 1);
        QCOMPARE(options[0], DefaultOptions);
        QCOMPARE(rawRows(path_, AllRows), scoresBefore);

        // ... and the next start has nothing to ask.
        ScriptedNotifier notifier;
        Database db;
        QString error;
        QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
        QVERIFY(notifier.questions.isEmpty());
    }

    void unusualButSoundSettingsOpenUnasked_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("Commentry Null") << "UPDATE Options SET Commentry = NULL";
        QTest::newRow("Commentry 7") << "UPDATE Options SET Commentry = 7";
        QTest::newRow("legs not digits") << "UPDATE Options SET NumberOfLegs = 'ab', NumberofSets = ''";
        QTest::newRow("empty names") << "UPDATE Options SET Player1 = '', Player2 = ' '";
        QTest::newRow("numbers as text") << "UPDATE Options SET Players = '1', StartWith = '101'";
        QTest::newRow("no high scores") << "DELETE FROM HiScores";
    }

    void unusualButSoundSettingsOpenUnasked()
    {
        QFETCH(QString, sql);
        makeDefaultFile();
        QCOMPARE(rawExec(path_, {sql}), QString());
        const auto options = rawRows(path_, OptionsRow);
        ScriptedNotifier notifier;
        Database db;
        QString error;
        QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
        QVERIFY(notifier.questions.isEmpty());
        db.close();
        QCOMPARE(rawRows(path_, OptionsRow), options);
    }

    // --- Record sets ----------------------------------------------------------

    void recordSetReadsAndWritesByColumnName()
    {
        ScriptedNotifier notifier;
        Database db;
        QString error;
        QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
        RecordSet rs(db.connection(), QStringLiteral("Options"), QString(), QString());
        QVERIFY(rs.requery());
        QCOMPARE(rs.count(), 1);
        QCOMPARE(rs.columns(), (QStringList{"Player1", "Player2", "Players", "NumberOfLegs",
                                            "NumberofSets", "StartWith", "Commentry"}));
        // Columns are found whatever the case they are asked for in.
        QCOMPARE(rs.field(QStringLiteral("numberofsets")).toString(), QStringLiteral("1"));
        QCOMPARE(rs.field(QStringLiteral("StartWith")).toInt(), 501);
        QVERIFY(!rs.field(QStringLiteral("NoSuchColumn")).isValid());

        // Texts are bound as values, never made part of the statement; an
        // unset text is saved as an empty text, not as Null.
        const QString hostile = QStringLiteral("O'Brien \"x\"; DROP TABLE Options; --");
        rs.edit();
        rs.setField(QStringLiteral("player1"), hostile);
        rs.setField(QStringLiteral("Player2"), QString());
        rs.setField(QStringLiteral("NumberOfLegs"), QStringLiteral("ab"));
        QVERIFY2(rs.update(), qPrintable(rs.lastError()));
        QCOMPARE(rs.field(QStringLiteral("Player1")).toString(), hostile);

        const auto stored = rawRows(path_, QStringLiteral(
            "SELECT Player1, Player2, typeof(Player2), NumberOfLegs, StartWith FROM Options"));
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored[0], (QVariantList{hostile, QString(), "text", "ab", 501}));

        // A column that is not there fails the write and changes nothing.
        rs.edit();
        rs.setField(QStringLiteral("StartWith"), 301);
        rs.setField(QStringLiteral("Nonsense"), 1);
        QVERIFY(!rs.update());
        QVERIFY(!rs.lastError().isEmpty());
        QCOMPARE(rs.field(QStringLiteral("StartWith")).toInt(), 501);
        QCOMPARE(rawRows(path_, QStringLiteral("SELECT StartWith FROM Options"))[0][0].toInt(), 501);
        // Update without Edit or AddNew is refused.
        QVERIFY(!rs.update());
    }

    void recordSetAddsDeletesAndPutsBack()
    {
        makeScoredTable();
        ScriptedNotifier notifier;
        Database db;
        QString error;
        QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
        RecordSet rs(db.connection(), QStringLiteral("HiScores"), QStringLiteral("Type = 'H'"),
                     QStringLiteral("Score DESC, Date DESC"));
        QVERIFY(rs.requery());
        QCOMPARE(rs.count(), 10); // other types are not in the view
        QCOMPARE(rs.field(QStringLiteral("Score")).toInt(), 100);
        rs.moveLast();
        QCOMPARE(rs.field(QStringLiteral("Score")).toInt(), 10);
        rs.moveNext();
        QVERIFY(rs.eof());

        // AddNew adds at the end and leaves the current row where it was.
        rs.moveFirst();
        rs.moveNext();
        const qint64 second = rs.rowId();
        rs.addNew();
        rs.setField(QStringLiteral("Name"), QStringLiteral("New"));
        rs.setField(QStringLiteral("Score"), 150);
        rs.setField(QStringLiteral("Type"), QStringLiteral("H"));
        QVERIFY2(rs.update(), qPrintable(rs.lastError()));
        QCOMPARE(rs.rowId(), second);
        QCOMPARE(rs.count(), 11);
        const qint64 added = rs.lastInsertedRowId();
        QVERIFY(added > 12);
        // Its place in the order comes with the next re-query.
        QVERIFY(rs.requery());
        QCOMPARE(rs.field(QStringLiteral("Name")).toString(), QStringLiteral("New"));
        QCOMPARE(rs.rowId(), added);

        // Delete moves on to the next row; the deleted one can be put back
        // under its old rowid.
        rs.moveNext();
        const qint64 deleted = rs.rowId();
        const QVariantMap deletedValues = rs.values();
        rs.moveNext();
        const qint64 following = rs.rowId();
        rs.moveFirst();
        rs.moveNext();
        QVERIFY(rs.remove());
        QCOMPARE(rs.rowId(), following);
        QCOMPARE(rs.count(), 10);
        QVERIFY(rawRows(path_, QStringLiteral("SELECT 1 FROM HiScores WHERE rowid = %1").arg(deleted)).isEmpty());
        QVERIFY(rs.insertRow(deleted, deletedValues));
        QVERIFY(rs.removeRowId(added));
        QVERIFY(rs.removeRowId(added)); // already gone: nothing to do
        QVERIFY(rs.requery());
        QCOMPARE(rs.count(), 10);
        QVERIFY(rs.moveToRowId(deleted));
        QCOMPARE(rs.values(), deletedValues);
        QVERIFY(!rs.moveToRowId(added));
        QVERIFY(rs.eof());

        // A batch that is rolled back leaves file and rows as they were.
        const auto before = rawRows(path_, AllRows);
        QVERIFY(rs.requery());
        QVERIFY(rs.beginBatch());
        QVERIFY(rs.remove());
        rs.addNew();
        rs.setField(QStringLiteral("Score"), 1);
        QVERIFY(rs.update());
        QVERIFY(!rs.beginBatch()); // one batch at a time
        rs.rollbackBatch();
        QCOMPARE(rawRows(path_, AllRows), before);
        QCOMPARE(rs.count(), 10);
        QCOMPARE(rs.field(QStringLiteral("Score")).toInt(), 100);
    }

    // --- High scores ----------------------------------------------------------

    void visitBeatingTheLowestReplacesIt()
    {
        makeScoredTable();
        const auto original = rawRows(path_, AllRows);
        ScriptedNotifier notifier;
        Database db;
        QString error;
        QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
        RecordSet rs(db.connection(), QStringLiteral("HiScores"), QStringLiteral("Type = 'H'"),
                     QStringLiteral("Score DESC, Date DESC"));

        const auto first = EnterHighScore(rs, QStringLiteral("Ann"), QStringLiteral("Bob"),
                                          at(QStringLiteral("2005-03-07T21:04:09")), 55, &error);
        QVERIFY2(first.has_value(), qPrintable(error));
        QVERIFY(error.isEmpty());
        QVERIFY(first->replacedRow);
        QCOMPARE(first->replacedRowId, qint64(1)); // the score 10
        QCOMPARE(first->replacedValues.value(QStringLiteral("Score")).toInt(), 10);

        auto hRows = rawRows(path_, QStringLiteral(
            "SELECT Name, Against, Date, Score, Type FROM HiScores WHERE Type = 'H' "
            "ORDER BY Score"));
        QCOMPARE(hRows.size(), 10);
        QCOMPARE(hRows[0][3].toInt(), 20);
        const auto added = rawRows(path_, QStringLiteral(
            "SELECT Name, Against, Date, Score, Type FROM HiScores WHERE rowid = %1").arg(first->addedRowId));
        QCOMPARE(added.size(), 1);
        QCOMPARE(added[0], (QVariantList{"Ann", "Bob", "2005-03-07 21:04:09", 55, "H"}));

        // An equal score is not entered; one point more is.
        const auto before = rawRows(path_, AllRows);
        QVERIFY(!EnterHighScore(rs, QStringLiteral("Cy"), QStringLiteral("-"),
                                at(QStringLiteral("2005-03-08T10:00:00")), 20, &error));
        QVERIFY(error.isEmpty());
        QCOMPARE(rawRows(path_, AllRows), before);
        const auto second = EnterHighScore(rs, QStringLiteral("Cy"), QStringLiteral("-"),
                                           at(QStringLiteral("2005-03-08T10:00:00")), 21, &error);
        QVERIFY(second.has_value());
        QCOMPARE(second->replacedValues.value(QStringLiteral("Score")).toInt(), 20);

        // Rows of other types are never touched, though their scores are lower.
        const auto others = rawRows(path_, QStringLiteral(
            "SELECT rowid, Name, Against, Date, Score, Type FROM HiScores WHERE Type <> 'H' ORDER BY rowid"));
        QCOMPARE(others, (QVector<QVariantList>{original[10], original[11]}));

        // Undo, newest first, brings back the very rows, rowids included.
        QVERIFY(RevertHighScore(rs, *second, &error));
        QVERIFY(RevertHighScore(rs, *first, &error));
        QCOMPARE(rawRows(path_, AllRows), original);
        QCOMPARE(rs.count(), 10);
        rs.moveLast();
        QCOMPARE(rs.field(QStringLiteral("Score")).toInt(), 10);
    }

    void tiesAmongTheLowestGiveUpTheOldest()
    {
        makeDefaultFile();
        QCOMPARE(rawExec(path_, {QStringLiteral("UPDATE HiScores SET Score = 60"),
                                 QStringLiteral("UPDATE HiScores SET Score = 0, "
                                                "Date = '2003-05-05 10:00:00' WHERE rowid = 3"),
                                 QStringLiteral("UPDATE HiScores SET Score = 0, "
                                                "Date = '1999-12-31 23:59:59' WHERE rowid = 7")}),
                 QString());
        ScriptedNotifier notifier;
        Database db;
        QString error;
        QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
        RecordSet rs(db.connection(), QStringLiteral("HiScores"), QStringLiteral("Type = 'H'"),
                     QStringLiteral("Score DESC, Date DESC"));
        const auto entered = EnterHighScore(rs, QStringLiteral("Ann"), QStringLiteral("-"),
                                            at(QStringLiteral("2005-01-01T00:00:00")), 1, &error);
        QVERIFY(entered.has_value());
        QCOMPARE(entered->replacedRowId, qint64(7));
    }

    void emptyTableTakesTheEntryWithoutDeleting()
    {
        makeDefaultFile();
        QCOMPARE(rawExec(path_, {QStringLiteral("DELETE FROM HiScores WHERE Type = 'H'"),
                                 QStringLiteral("INSERT INTO HiScores VALUES ('X', 'Y', "
                                                "'2001-01-01 00:00:00', 0, 'X')")}),
                 QString());
        ScriptedNotifier notifier;
        Database db;
        QString error;
        QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
        RecordSet rs(db.connection(), QStringLiteral("HiScores"), QStringLiteral("Type = 'H'"),
                     QStringLiteral("Score DESC, Date DESC"));
        const auto entered = EnterHighScore(rs, QStringLiteral("Ann"), QStringLiteral("-"),
                                            at(QStringLiteral("2005-01-01T00:00:00")), 0, &error);
        QVERIFY(entered.has_value());
        QVERIFY(!entered->replacedRow);
        QCOMPARE(rawRows(path_, QStringLiteral("SELECT Name FROM HiScores WHERE Type = 'H'")).size(), 1);
        QCOMPARE(rawRows(path_, QStringLiteral("SELECT Name FROM HiScores")).size(), 2);
        QVERIFY(RevertHighScore(rs, *entered, &error));
        QCOMPARE(rawRows(path_, QStringLiteral("SELECT Name FROM HiScores WHERE Type = 'H'")).size(), 0);
        QCOMPARE(rawRows(path_, QStringLiteral("SELECT Name FROM HiScores")).size(), 1);
    }

    void undoAfterAResetLeavesTheResetRows()
    {
        makeScoredTable();
        ScriptedNotifier notifier;
        Database db;
        QString error;
        QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
        RecordSet rs(db.connection(), QStringLiteral("HiScores"), QStringLiteral("Type = 'H'"),
                     QStringLiteral("Score DESC, Date DESC"));
        const auto entered = EnterHighScore(rs, QStringLiteral("Ann"), QStringLiteral("-"),
                                            at(QStringLiteral("2005-01-01T00:00:00")), 99, &error);
        QVERIFY(entered.has_value());
        QCOMPARE(rawExec(path_, {QStringLiteral(
                     "UPDATE HiScores SET Name = 'Brannoque', Against = 'Brannoque', "
                     "Date = '1980-01-01 00:00:00', Score = 0 WHERE Type = 'H'")}),
                 QString());
        const auto reset = rawRows(path_, AllRows);
        QVERIFY(RevertHighScore(rs, *entered, &error));
        QVERIFY(error.isEmpty());
        QCOMPARE(rawRows(path_, AllRows), reset);
    }

    void listOrdersEqualScoresByDateAndShowsNullsEmpty()
    {
        makeDefaultFile();
        QCOMPARE(rawExec(path_, {
                     QStringLiteral("UPDATE HiScores SET Name = 'Early', Score = 180, "
                                    "Date = '2005-03-07 21:04:09' WHERE rowid = 1"),
                     QStringLiteral("UPDATE HiScores SET Name = 'Late', Score = 180, "
                                    "Date = '2006-01-02 10:00:00' WHERE rowid = 2"),
                     QStringLiteral("UPDATE HiScores SET Name = 'Middle', Score = 180, "
                                    "Date = '2005-12-31 08:30:00' WHERE rowid = 3"),
                     QStringLiteral("UPDATE HiScores SET Name = 'Other', Score = 180, "
                                    "Date = '2009-01-01 00:00:00', Type = 'Z' WHERE rowid = 4"),
                     QStringLiteral("UPDATE HiScores SET Name = NULL, Against = NULL, "
                                    "Date = NULL, Score = NULL WHERE rowid = 5")}),
                 QString());
        ScriptedNotifier notifier;
        Database db;
        QString error;
        QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
        QVector<HiScoreEntry> list;
        QVERIFY2(ReadHighScores(db.connection(), &list, &error), qPrintable(error));
        QCOMPARE(list.size(), 9); // the row of type Z is not listed
        QCOMPARE(list[0].Name, QStringLiteral("Late"));
        QCOMPARE(list[0].Date, QStringLiteral("02/01/2006 10:00:00"));
        QCOMPARE(list[0].Score, QStringLiteral("180"));
        QCOMPARE(list[1].Name, QStringLiteral("Middle"));
        QCOMPARE(list[2].Name, QStringLiteral("Early"));
        QCOMPARE(list[2].Date, QStringLiteral("07/03/2005 21:04:09"));
        QCOMPARE(list[3].Date, QStringLiteral("01/01/1980 00:00:00"));
        const HiScoreEntry& empty = list.last(); // Null sorts below every score
        QCOMPARE(empty.Name, QString());
        QCOMPARE(empty.Against, QString());
        QCOMPARE(empty.Date, QString());
        QCOMPARE(empty.Score, QString());

        // The Null score is the lowest and counts as 0.
        RecordSet rs(db.connection(), QStringLiteral("HiScores"), QStringLiteral("Type = 'H'"),
                     QStringLiteral("Score DESC, Date DESC"));
        const auto entered = EnterHighScore(rs, QStringLiteral("Ann"), QStringLiteral("-"),
                                            at(QStringLiteral("2005-01-01T00:00:00")), 1, &error);
        QVERIFY(entered.has_value());
        QCOMPARE(entered->replacedRowId, qint64(5));
    }

    void datesKeepTheirDigitsBothWays()
    {
        QCOMPARE(HiScoreTable::StoredDate(at(QStringLiteral("2005-03-07T21:04:09"))),
                 QStringLiteral("2005-03-07 21:04:09"));
        QCOMPARE(HiScoreTable::ShownDate(QStringLiteral("1980-01-01 00:00:00")),
                 QStringLiteral("01/01/1980 00:00:00"));
        // What is not a stored date is shown as it is.
        QCOMPARE(HiScoreTable::ShownDate(QStringLiteral("07/03/2005 21:04:09")),
                 QStringLiteral("07/03/2005 21:04:09"));
        QCOMPARE(HiScoreTable::ShownDate(QStringLiteral("2005-13-40 99:00:00")),
                 QStringLiteral("2005-13-40 99:00:00"));
        QCOMPARE(HiScoreTable::ShownDate(QVariant()), QString());
    }

    // --- Writes that cannot be made -----------------------------------------

    void unwritableFileRefusesWritesAndStaysUnchanged()
    {
        makeDefaultFile();
        if (!makeUnwritable(path_))
            QSKIP("no way to make a file unwritable here");
        const QByteArray before = fileBytes(path_);

        ScriptedNotifier notifier;
        {
            Database db;
            QString error;
            QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
            RecordSet scores(db.connection(), QStringLiteral("HiScores"), QStringLiteral("Type = 'H'"),
                             QStringLiteral("Score DESC, Date DESC"));
            QVERIFY(!EnterHighScore(scores, QStringLiteral("Ann"), QStringLiteral("-"),
                                    at(QStringLiteral("2005-01-01T00:00:00")), 180, &error));
            QVERIFY(!error.isEmpty());
            QCOMPARE(scores.count(), 10);
            QCOMPARE(scores.field(QStringLiteral("Score")).toInt(), 0);

            RecordSet options(db.connection(), QStringLiteral("Options"), QString(), QString());
            QVERIFY(options.requery());
            options.edit();
            options.setField(QStringLiteral("Player1"), QStringLiteral("Ann"));
            QVERIFY(!options.update());
            QVERIFY(!options.lastError().isEmpty());
            QCOMPARE(options.field(QStringLiteral("Player1")).toString(), QStringLiteral("Player 1"));
        }
        QVERIFY(notifier.messages.isEmpty());
        QCOMPARE(fileBytes(path_), before);
    }

    void lockedFileGivesUpAfterTheWaitAndRecovers()
    {
        makeDefaultFile();
        ScriptedNotifier notifier;
        Database db;
        db.setBusyTimeout(200);
        QString error;
        QCOMPARE(db.open(path_, notifier, &error), Database::Opened::Ok);
        RecordSet rs(db.connection(), QStringLiteral("HiScores"), QStringLiteral("Type = 'H'"),
                     QStringLiteral("Score DESC, Date DESC"));
        const auto before = rawRows(path_, AllRows);
        {
            // Another program holds the file for writing.
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(path_);
            QVERIFY(other.open());
            QSqlQuery hold(other);
            QVERIFY(hold.exec(QStringLiteral("BEGIN IMMEDIATE")));
            QVERIFY(!EnterHighScore(rs, QStringLiteral("Ann"), QStringLiteral("-"),
                                    at(QStringLiteral("2005-01-01T00:00:00")), 180, &error));
            QVERIFY2(error.contains(QStringLiteral("locked"), Qt::CaseInsensitive), qPrintable(error));
            QVERIFY(hold.exec(QStringLiteral("ROLLBACK")));
            hold = QSqlQuery();
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        QCOMPARE(rawRows(path_, AllRows), before);
        QVERIFY(EnterHighScore(rs, QStringLiteral("Ann"), QStringLiteral("-"),
                               at(QStringLiteral("2005-01-01T00:00:00")), 180, &error));
        QCOMPARE(rawRows(path_, QStringLiteral("SELECT 1 FROM HiScores WHERE Score = 180")).size(), 1);
    }
};

QTEST_GUILESS_MAIN(StoreTest)
#include "store_test.moc"
