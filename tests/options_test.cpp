// The options dialog and the high-score window on a whole engine: loading the
// saved row, OK and Cancel, the starting scores OK sets, the list and its
// reset, and saving that fails without stopping the game.
#include "engine/ModDarts.h"
#include "sound/SoundOutput.h"
#include "store/HiScoreTable.h"

#include "StoreTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

namespace {

class SilentSound : public SoundOutput {
public:
    void play(const QString&) override {}
};

const QStringList Columns = {"Player1", "Player2", "Players", "NumberOfLegs",
                             "NumberofSets", "StartWith", "Commentry"};
const QString OptionsRow = "SELECT " + Columns.join(", ") + " FROM Options";
const QString AllScores = "SELECT rowid, Name, Against, Date, Score, Type FROM HiScores";
const QStringList ResetRow(int pos)
{
    return {QString::number(pos), "Brannoque", "Brannoque", "01/01/1980 00:00:00", "0"};
}

} // namespace

class OptionsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
    SilentSound sound_;
    ScriptedNotifier notifier_;

    // The program started on the folder, as far as the main window's load,
    // on a file made by a first start and then changed by `sql`.
    std::unique_ptr<ModDarts> start(const QStringList& sql = {})
    {
        if (!sql.isEmpty()) {
            start();
            if (!rawExec(path_, sql).isEmpty())
                return nullptr;
        }
        ModDarts::Setup setup{path_, dir_->filePath("sounds"), &sound_, &notifier_};
        auto engine = std::make_unique<ModDarts>(setup);
        QString error;
        if (!engine->OpenDatabase(&error))
            return nullptr;
        engine->Load();
        return engine;
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        path_ = dir_->filePath("Data/Darts.MDB");
        notifier_ = ScriptedNotifier();
    }

    void cleanup()
    {
        if (QFileInfo::exists(path_))
            makeWritable(path_);
    }

    void loadShowsTheSavedRow()
    {
        auto e = start();
        QVERIFY(e);
        QCOMPARE(e->panel(0).lblNames.text() + "|" + e->panel(1).lblNames.text(), QStringLiteral("Player 1|Player 2"));
        QCOMPARE(e->panel(1).lblScoreLeft.text(), QStringLiteral("501"));
        QCOMPARE((QList<int>{e->options.OptScore, e->options.OptPlayers, e->options.OptComm}), (QList<int>{0, 1, 0}));
        QVERIFY(e->state.CommentaryOn && !e->options.visible);
        QCOMPARE(e->options.txtLegs + e->options.txtSets, QStringLiteral("31"));

        e.reset(); // one program on the folder at a time
        e = start({"UPDATE Options SET Player1 = 'Ann', Players = 1, StartWith = 101, "
                   "Commentry = 7, NumberOfLegs = 'ab', NumberofSets = ''"});
        QVERIFY(e);
        QCOMPARE(e->panel(0).lblNames.text(), QStringLiteral("Ann"));
        QCOMPARE(e->panel(0).lblScoreLeft.text() + e->panel(1).lblScoreLeft.text(), QStringLiteral("101101"));
        // Commentary saved as neither 0 nor 1: no button, and it stays off.
        QCOMPARE((QList<int>{e->options.OptScore, e->options.OptPlayers, e->options.OptComm}), (QList<int>{2, 0, -1}));
        QVERIFY(!e->state.CommentaryOn);
        QCOMPARE(e->options.txtLegs + "|" + e->options.txtSets, QStringLiteral("ab|"));
        QCOMPARE(e->savedStartWith(), 101);
        QCOMPARE(e->savedPlayers(), 1);
    }

    void okSavesEachControlAndNothingElse_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("saved");
        QTest::newRow("name 1, blanks trimmed") << "name1" << "Player1" << QVariant("Ann Smith");
        QTest::newRow("name 2, blanks only") << "name2" << "Player2" << QVariant("");
        QTest::newRow("start 301") << "start" << "StartWith" << QVariant(301);
        QTest::newRow("one player") << "players" << "Players" << QVariant(1);
        QTest::newRow("commentary off") << "comm" << "Commentry" << QVariant(0);
        QTest::newRow("legs, two characters") << "legs" << "NumberOfLegs" << QVariant("12");
        QTest::newRow("sets empty") << "sets" << "NumberofSets" << QVariant("");
    }

    void okSavesEachControlAndNothingElse()
    {
        QFETCH(QString, control);
        QFETCH(QString, column);
        QFETCH(QVariant, saved);
        auto e = start();
        QVERIFY(e);
        const QVariantList before = rawRows(path_, OptionsRow)[0];
        e->ShowOptions(3);
        OptionsDialog& o = e->options;
        if (control == "name1")
            o.txtName1 = "  Ann Smith ";
        else if (control == "name2")
            o.txtName2 = "   ";
        else if (control == "start")
            o.OptScore = 1;
        else if (control == "players")
            o.OptPlayers = 0;
        else if (control == "comm")
            o.OptComm = 1;
        else if (control == "legs")
            o.setLegs("123");
        else
            o.setSets(QString());
        e->OptionsOk();
        QVERIFY(!o.visible && notifier_.messages.isEmpty());
        QCOMPARE(e->state.CommentaryOn, control != "comm");

        const QVariantList after = rawRows(path_, OptionsRow)[0];
        for (int i = 0; i < Columns.size(); ++i)
            QCOMPARE(after[i], Columns[i] == column ? saved : before[i]);
        QCOMPARE(e->rsOptions->field(column), saved);

        // Names show as typed until the next start, which loads them trimmed.
        if (control == "name1") {
            QCOMPARE(e->panel(0).lblNames.text(), QStringLiteral("  Ann Smith "));
            o.txtName1 = "typed, never saved";
            e->ShowOptions(1); // activation puts the panel's name back, trimmed
            QCOMPARE(o.txtName1, QStringLiteral("Ann Smith"));
        }
        e.reset();
        e = start();
        QVERIFY(e && notifier_.questions.isEmpty());
        QCOMPARE(e->rsOptions->field(column), saved);
        if (control == "name1")
            QCOMPARE(e->panel(0).lblNames.text(), QStringLiteral("Ann Smith"));
    }

    void cancelKeepsTheControlsButSavesNothing()
    {
        auto e = start();
        QVERIFY(e);
        const auto saved = rawRows(path_, OptionsRow);
        e->ShowOptions(2);
        QCOMPARE(e->options.tab, 2);
        e->options.setLegs("7");
        e->options.OptPlayers = 0;
        e->options.OptScore = 2;
        e->options.txtName1 = "Ann";
        e->OptionsCancel();
        QVERIFY(!e->options.visible);
        QCOMPARE(rawRows(path_, OptionsRow), saved);
        QCOMPARE(e->savedStartWith(), 501);
        QCOMPARE(e->panel(0).lblNames.text(), QStringLiteral("Player 1"));

        e->ShowOptions(3); // as left, the names aside
        QCOMPARE(e->options.tab, 3);
        QCOMPARE(e->options.txtLegs, QStringLiteral("7"));
        QVERIFY(!e->twoPlayers());
        QCOMPARE(e->options.txtName1, QStringLiteral("Player 1"));
    }

    void okSetsBothScoresOnlyWhileTheFirstIsUntouched_data()
    {
        QTest::addColumn<QString>("left");   // player 0, player 1 before
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("after");
        QTest::newRow("new game") << "501 501" << 1 << "301 301";
        QTest::newRow("second player has scored") << "501 441" << 1 << "301 301";
        QTest::newRow("first player has scored") << "441 501" << 1 << "441 501";
        QTest::newRow("first on 101") << "101 60" << 0 << "501 501";
    }

    void okSetsBothScoresOnlyWhileTheFirstIsUntouched()
    {
        QFETCH(QString, left);
        QFETCH(int, chosen);
        QFETCH(QString, after);
        auto e = start();
        QVERIFY(e);
        e->panel(0).lblScoreLeft.setText(left.section(' ', 0, 0));
        e->panel(1).lblScoreLeft.setText(left.section(' ', 1, 1));
        e->ShowOptions(3);
        e->options.OptScore = chosen;
        e->OptionsOk();
        QCOMPARE(e->panel(0).lblScoreLeft.text() + ' ' + e->panel(1).lblScoreLeft.text(), after);
        QCOMPARE(rawRows(path_, "SELECT StartWith FROM Options")[0][0].toInt(), chosen == 0 ? 501 : 301);
    }

    void highScoreListIsASnapshotAndResetOnlyWhileOpen()
    {
        auto e = start({"UPDATE HiScores SET Name = 'Ann', Against = 'Bob', Score = 100, "
                        "Date = '2005-03-07 21:04:09' WHERE rowid = 6",
                        "INSERT INTO HiScores VALUES ('Xena', 'Yves', '2001-01-01 00:00:00', 99, 'X')"});
        QVERIFY(e);
        e->ShowHiScores();
        QVERIFY(e->hiScoresWindow.open);
        QCOMPARE(e->hiScoresWindow.rows.size(), 10);
        QCOMPARE(e->hiScoresWindow.rows[0], (QStringList{"1", "Ann", "Bob", "07/03/2005 21:04:09", "100"}));
        QCOMPARE(e->hiScoresWindow.rows[9], ResetRow(10));

        // An entry while open changes the list only once it is reopened.
        QString error;
        QVERIFY(EnterHighScore(*e->rsHiScores, "Cy", "-", QDateTime(QDate(2006, 1, 2), QTime(10, 0)), 180, &error));
        const quint64 revision = e->hiScoresWindow.revision;
        e->ShowHiScores();
        QCOMPARE(e->hiScoresWindow.revision, revision);
        QCOMPARE(e->hiScoresWindow.rows[0][1], QStringLiteral("Ann"));
        e->HiScoresClose();
        QVERIFY(!e->hiScoresWindow.open);
        const auto before = rawRows(path_, AllScores);
        e->HiScoresReset(); // closed: nothing happens
        QCOMPARE(rawRows(path_, AllScores), before);
        e->ShowHiScores();
        QCOMPARE(e->hiScoresWindow.rows[0], (QStringList{"1", "Cy", "-", "02/01/2006 10:00:00", "180"}));

        const QString others = AllScores + " WHERE Type <> 'H'";
        const auto otherRows = rawRows(path_, others);
        e->HiScoresReset();
        const QString hRows = "SELECT Name, Against, Date, Score, Type FROM HiScores WHERE Type = 'H'";
        QCOMPARE(rawRows(path_, hRows),
                 QVector<QVariantList>(10, {"Brannoque", "Brannoque", "1980-01-01 00:00:00", 0, "H"}));
        QCOMPARE(rawRows(path_, others), otherRows);
        QCOMPARE(e->hiScoresWindow.rows.size(), 10);
        QCOMPARE(e->hiScoresWindow.rows[0], ResetRow(1));
        QVERIFY(notifier_.messages.isEmpty());
    }

    void failedWritesAreReportedAndPlayGoesOn()
    {
        start();
        if (!makeUnwritable(path_))
            QSKIP("no way to make a file unwritable here");
        const QByteArray before = fileBytes(path_);
        auto e = start();
        QVERIFY(e);
        e->ShowOptions(3);
        e->options.txtName1 = "Ann";
        e->options.OptScore = 1;
        e->options.OptComm = 1;
        // Said once, at the start; the saves that fail later say nothing more.
        QCOMPARE(notifier_.messages.size(), 1);
        QVERIFY2(notifier_.messages[0].contains("cannot be written: high scores and settings will not "
                                                "be kept this time"),
                 qPrintable(notifier_.messages[0]));
        QCOMPARE(notifier_.titles.last(), QStringLiteral("Vantrell 2"));
        e->OptionsOk();
        QCOMPARE(notifier_.messages.size(), 1);
        // In use for this run; the saved row, and so the starting score, as before.
        QVERIFY(!e->options.visible && !e->state.CommentaryOn);
        QCOMPARE(e->panel(0).lblNames.text(), QStringLiteral("Ann"));
        QCOMPARE(e->rsOptions->field("Player1").toString(), QStringLiteral("Player 1"));
        QCOMPARE(e->panel(0).lblScoreLeft.text(), QStringLiteral("501"));

        e->ShowHiScores();
        const auto shown = e->hiScoresWindow.rows;
        e->HiScoresReset();
        QCOMPARE(notifier_.messages.size(), 1);
        QCOMPARE(e->hiScoresWindow.rows, shown);
        e.reset();
        QCOMPARE(fileBytes(path_), before);

        // A file that cannot be used at all stops the start, untouched.
        makeWritable(path_);
        writeFile(path_, QByteArray("not a database\n").repeated(100));
        ModDarts broken({path_, QString(), &sound_, &notifier_});
        QString error;
        QVERIFY(!broken.OpenDatabase(&error) && !broken.rsOptions && !broken.rsHiScores);
        QVERIFY2(error.contains(QDir::toNativeSeparators(path_)), qPrintable(error));
        QCOMPARE(fileBytes(path_), QByteArray("not a database\n").repeated(100));
        QCOMPARE(broken.savedStartWith(), 501);
    }

    // A file that took writes at the start and then stops taking them (here
    // another program holds it): the first failed save is said, with the
    // note that no more will be; later ones, of either kind, say nothing.
    void saveFailingAfterAWritableStartIsSaidOnce()
    {
        start();
        ModDarts::Setup setup{path_, dir_->filePath("sounds"), &sound_, &notifier_};
        ModDarts e(setup);
        e.dbDarts.setBusyTimeout(50);
        QString error;
        QVERIFY2(e.OpenDatabase(&error), qPrintable(error));
        e.Load();
        QVERIFY(notifier_.messages.isEmpty());

        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "holder");
        other.setDatabaseName(path_);
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec("BEGIN IMMEDIATE"));
        e.ShowOptions(1);
        e.options.txtName1 = "Ann";
        e.OptionsOk();
        QCOMPARE(notifier_.messages.size(), 1);
        QVERIFY2(notifier_.messages[0].contains("could not be saved")
                     && notifier_.messages[0].contains("not reported again"),
                 qPrintable(notifier_.messages[0]));
        e.ShowOptions(1);
        e.OptionsOk();
        e.ShowHiScores();
        e.HiScoresReset();
        QCOMPARE(notifier_.messages.size(), 1);
        QCOMPARE(e.panel(0).lblNames.text(), QStringLiteral("Ann")); // in use all the same
        QVERIFY(QSqlQuery(other).exec("ROLLBACK"));
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase("holder");
    }
};

QTEST_GUILESS_MAIN(OptionsTest)
#include "options_test.moc"
