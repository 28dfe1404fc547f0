// The options and high-score windows' logic on a whole engine: loading the
// saved row, the dialog's OK and Cancel, the high-score list and its reset,
// and saving that fails without stopping the game.
#include "engine/ModDarts.h"
#include "sound/SoundOutput.h"
#include "store/HiScoreTable.h"

#include "StoreTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

class SilentSound : public SoundOutput {
public:
    void play(const QString&) override {}
};

const QString OptionsRow = QStringLiteral(
    "SELECT Player1, Player2, Players, NumberOfLegs, NumberofSets, StartWith, Commentry "
    "FROM Options");
const QString AllScores = QStringLiteral(
    "SELECT rowid, Name, Against, Date, Score, Type FROM HiScores ORDER BY rowid");

} // namespace

class OptionsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
    SilentSound sound_;
    ScriptedNotifier notifier_;

    // A program started on the folder, as far as the main window's load.
    std::unique_ptr<ModDarts> start()
    {
        ModDarts::Setup setup;
        setup.databasePath = path_;
        setup.soundsFolder = dir_->filePath(QStringLiteral("sounds"));
        setup.sound = &sound_;
        setup.notifier = &notifier_;
        auto engine = std::make_unique<ModDarts>(setup);
        QString error;
        if (!engine->OpenDatabase(&error)) {
            qWarning("%s", qPrintable(error));
            return nullptr;
        }
        engine->Load();
        return engine;
    }

    // The file as a first start leaves it, then changed by `sql`.
    void makeFile(const QStringList& sql = {})
    {
        QVERIFY(start() != nullptr);
        if (!sql.isEmpty())
            QCOMPARE(rawExec(path_, sql), QString());
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        path_ = dir_->filePath(QStringLiteral("Data/Darts.MDB"));
        notifier_ = ScriptedNotifier();
    }

    void cleanup()
    {
        if (QFileInfo::exists(path_))
            makeWritable(path_);
        dir_.reset();
    }

    // --- Loading ----------------------------------------------------------

    void loadShowsTheSavedRow_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("scoreLeft");
        QTest::addColumn<int>("optScore");
        QTest::addColumn<int>("optPlayers");
        QTest::addColumn<int>("optComm");
        QTest::addColumn<bool>("commentaryOn");
        QTest::addColumn<QString>("legs");
        QTest::addColumn<QString>("sets");

        QTest::newRow("first start") << QString() << QStringList{"Player 1", "Player 2"} << "501"
                                     << 0 << 1 << 0 << true << "3" << "1";
        QTest::newRow("one player, 301, commentary off")
            << "UPDATE Options SET Player1 = 'Ann', Player2 = 'Bob', Players = 1, StartWith = 301, "
               "Commentry = 0, NumberOfLegs = '5', NumberofSets = '2'"
            << QStringList{"Ann", "Bob"} << "301" << 1 << 0 << 1 << false << "5" << "2";
        QTest::newRow("101 and an odd commentary value")
            << "UPDATE Options SET StartWith = 101, Commentry = 7, NumberOfLegs = 'ab', "
               "NumberofSets = ''"
            << QStringList{"Player 1", "Player 2"} << "101" << 2 << 1 << -1 << false << "ab" << "";
    }

    void loadShowsTheSavedRow()
    {
        QFETCH(QString, sql);
        QFETCH(QStringList, names);
        QFETCH(QString, scoreLeft);
        QFETCH(int, optScore);
        QFETCH(int, optPlayers);
        QFETCH(int, optComm);
        QFETCH(bool, commentaryOn);
        QFETCH(QString, legs);
        QFETCH(QString, sets);

        makeFile(sql.isEmpty() ? QStringList() : QStringList{sql});
        auto e = start();
        QVERIFY(e);
        QCOMPARE(e->panel(0).lblNames.text(), names[0]);
        QCOMPARE(e->panel(1).lblNames.text(), names[1]);
        QCOMPARE(e->panel(0).lblScoreLeft.text(), scoreLeft);
        QCOMPARE(e->panel(1).lblScoreLeft.text(), scoreLeft);
        QCOMPARE(e->options.OptScore, optScore);
        QCOMPARE(e->options.OptPlayers, optPlayers);
        QCOMPARE(e->options.OptComm, optComm);
        QCOMPARE(e->state.CommentaryOn, commentaryOn);
        QCOMPARE(e->options.txtLegs, legs);
        QCOMPARE(e->options.txtSets, sets);
        QVERIFY(!e->options.visible);
        QCOMPARE(e->savedStartWith(), scoreLeft.toInt());
        QCOMPARE(e->savedPlayers(), optPlayers + 1);
        QVERIFY(notifier_.messages.isEmpty());
    }

    // --- The dialog ------------------------------------------------------------

    void okSavesEachControl_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("saved");
        QTest::newRow("name 1") << "name1" << "Player1" << QVariant("Ann");
        QTest::newRow("name 2") << "name2" << "Player2" << QVariant("Bob");
        QTest::newRow("start 301") << "start301" << "StartWith" << QVariant(301);
        QTest::newRow("start 101") << "start101" << "StartWith" << QVariant(101);
        QTest::newRow("one player") << "players1" << "Players" << QVariant(1);
        QTest::newRow("commentary off") << "commOff" << "Commentry" << QVariant(0);
        QTest::newRow("legs") << "legs" << "NumberOfLegs" << QVariant("12");
        QTest::newRow("sets empty") << "sets" << "NumberofSets" << QVariant("");
    }

    void okSavesEachControl()
    {
        QFETCH(QString, control);
        QFETCH(QString, column);
        QFETCH(QVariant, saved);

        makeFile();
        auto e = start();
        QVERIFY(e);
        const auto before = rawRows(path_, OptionsRow);
        const QStringList columns{"Player1", "Player2", "Players", "NumberOfLegs",
                                  "NumberofSets", "StartWith", "Commentry"};

        e->ShowOptions(3);
        if (control == QLatin1String("name1"))
            e->options.txtName1 = QStringLiteral("Ann");
        else if (control == QLatin1String("name2"))
            e->options.txtName2 = QStringLiteral("Bob");
        else if (control == QLatin1String("start301"))
            e->options.OptScore = 1;
        else if (control == QLatin1String("start101"))
            e->options.OptScore = 2;
        else if (control == QLatin1String("players1"))
            e->options.OptPlayers = 0;
        else if (control == QLatin1String("commOff"))
            e->options.OptComm = 1;
        else if (control == QLatin1String("legs"))
            e->options.setLegs(QStringLiteral("123"));
        else if (control == QLatin1String("sets"))
            e->options.setSets(QString());
        e->OptionsOk();
        QVERIFY(!e->options.visible);
        QVERIFY(notifier_.messages.isEmpty());

        // That column changes, and no other.
        const auto after = rawRows(path_, OptionsRow);
        QCOMPARE(after.size(), 1);
        for (int i = 0; i < columns.size(); ++i) {
            if (columns[i] == column)
                QCOMPARE(after[0][i], saved);
            else
                QCOMPARE(after[0][i], before[0][i]);
        }
        // The record set reads what the file holds.
        QCOMPARE(e->rsOptions->field(column), saved);
        QCOMPARE(e->state.CommentaryOn, control != QLatin1String("commOff"));

        // The next start loads it back.
        e.reset();
        auto again = start();
        QVERIFY(again);
        if (column == QLatin1String("StartWith"))
            QCOMPARE(again->panel(0).lblScoreLeft.text(), saved.toString());
        if (column == QLatin1String("Player1"))
            QCOMPARE(again->panel(0).lblNames.text(), saved.toString());
        if (column == QLatin1String("NumberOfLegs"))
            QCOMPARE(again->options.txtLegs, saved.toString());
    }

    void namesAreSavedTrimmedAndShownAsTyped()
    {
        makeFile();
        auto e = start();
        QVERIFY(e);
        e->ShowOptions(1);
        e->options.txtName1 = QStringLiteral("  Ann Smith ");
        e->options.txtName2 = QStringLiteral("   ");
        e->OptionsOk();
        const auto row = rawRows(path_, QStringLiteral("SELECT Player1, Player2, typeof(Player2) FROM Options"));
        QCOMPARE(row[0], (QVariantList{"Ann Smith", "", "text"}));
        QCOMPARE(e->panel(0).lblNames.text(), QStringLiteral("  Ann Smith "));
        QCOMPARE(e->panel(1).lblNames.text(), QStringLiteral("   "));

        // Activation puts the panel's name, trimmed, back into the box and
        // throws away what was typed since.
        e->ShowOptions(2);
        e->options.txtName1 = QStringLiteral("typed, never saved");
        e->ShowOptions(1);
        QCOMPARE(e->options.txtName1, QStringLiteral("Ann Smith"));
        QCOMPARE(e->options.txtName2, QString());

        // An empty name is an empty text in the file: the next start opens
        // without a word about damaged settings.
        e.reset();
        auto again = start();
        QVERIFY(again);
        QVERIFY(notifier_.questions.isEmpty());
        QCOMPARE(again->panel(0).lblNames.text(), QStringLiteral("Ann Smith"));
    }

    void showingOnATabSelectsIt()
    {
        makeFile();
        auto e = start();
        QVERIFY(e);
        e->ShowOptions(3);
        QVERIFY(e->options.visible);
        QCOMPARE(e->options.tab, 3);
        e->ShowOptions(2); // already open: switches tab
        QCOMPARE(e->options.tab, 2);
        e->OptionsTabClicked(1);
        QCOMPARE(e->options.tab, 1);
        e->OptionsTabClicked(9);
        QCOMPARE(e->options.tab, 3);
    }

    void cancelKeepsTheControlsButSavesNothing()
    {
        makeFile();
        auto e = start();
        QVERIFY(e);
        const auto saved = rawRows(path_, OptionsRow);
        e->ShowOptions(3);
        e->options.setLegs(QStringLiteral("7"));
        e->options.setSets(QStringLiteral("2"));
        e->options.OptPlayers = 0;
        e->options.OptScore = 2;
        e->options.txtName1 = QStringLiteral("Ann");
        e->OptionsCancel();
        QVERIFY(!e->options.visible);
        QCOMPARE(rawRows(path_, OptionsRow), saved);
        QCOMPARE(e->savedStartWith(), 501);
        QCOMPARE(e->savedPlayers(), 2);
        QCOMPARE(e->panel(0).lblNames.text(), QStringLiteral("Player 1"));
        QCOMPARE(e->panel(0).lblScoreLeft.text(), QStringLiteral("501"));

        // Reopened, the dialog shows what it showed, names aside.
        e->ShowOptions(3);
        QCOMPARE(e->options.txtLegs, QStringLiteral("7"));
        QCOMPARE(e->options.txtSets, QStringLiteral("2"));
        QCOMPARE(e->options.OptPlayers, 0);
        QVERIFY(!e->twoPlayers());
        QCOMPARE(e->options.txtName1, QStringLiteral("Player 1"));
    }

    void okSetsBothScoresOnlyWhileTheFirstIsUntouched_data()
    {
        QTest::addColumn<QString>("left0");
        QTest::addColumn<QString>("left1");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("after0");
        QTest::addColumn<QString>("after1");
        QTest::newRow("new game") << "501" << "501" << 1 << "301" << "301";
        QTest::newRow("second player has scored") << "501" << "441" << 1 << "301" << "301";
        QTest::newRow("first player has scored") << "441" << "501" << 1 << "441" << "501";
        QTest::newRow("first on 101, back to 501") << "101" << "60" << 0 << "501" << "501";
        QTest::newRow("first on 301, no change of start") << "301" << "200" << 0 << "501" << "501";
    }

    void okSetsBothScoresOnlyWhileTheFirstIsUntouched()
    {
        QFETCH(QString, left0);
        QFETCH(QString, left1);
        QFETCH(int, chosen);
        QFETCH(QString, after0);
        QFETCH(QString, after1);
        makeFile();
        auto e = start();
        QVERIFY(e);
        e->panel(0).lblScoreLeft.setText(left0);
        e->panel(1).lblScoreLeft.setText(left1);
        e->ShowOptions(3);
        e->options.OptScore = chosen;
        e->OptionsOk();
        QCOMPARE(e->panel(0).lblScoreLeft.text(), after0);
        QCOMPARE(e->panel(1).lblScoreLeft.text(), after1);
        const int startWith = chosen == 0 ? 501 : 301;
        QCOMPARE(e->savedStartWith(), startWith);
        QCOMPARE(rawRows(path_, QStringLiteral("SELECT StartWith FROM Options"))[0][0].toInt(), startWith);
    }

    void failedSaveIsReportedAndPlayGoesOn()
    {
        makeFile();
        if (!makeUnwritable(path_))
            QSKIP("no way to make a file unwritable here");
        const QByteArray before = fileBytes(path_);
        auto e = start();
        QVERIFY(e);
        e->ShowOptions(3);
        e->options.txtName1 = QStringLiteral("Ann");
        e->options.OptScore = 1;
        e->options.OptComm = 1;
        e->OptionsOk();

        QCOMPARE(notifier_.messages.size(), 1);
        QVERIFY2(notifier_.messages[0].contains(QStringLiteral("could not be saved")),
                 qPrintable(notifier_.messages[0]));
        QCOMPARE(notifier_.titles.last(), QStringLiteral("Vantrell 2"));
        QVERIFY(!e->options.visible);
        // In use for this run; the saved row, and so the starting score, as before.
        QCOMPARE(e->panel(0).lblNames.text(), QStringLiteral("Ann"));
        QVERIFY(!e->state.CommentaryOn);
        QCOMPARE(e->rsOptions->field(QStringLiteral("Player1")).toString(), QStringLiteral("Player 1"));
        QCOMPARE(e->savedStartWith(), 501);
        QCOMPARE(e->panel(0).lblScoreLeft.text(), QStringLiteral("501"));

        // The high scores cannot be reset either, and say so.
        e->ShowHiScores();
        const auto shown = e->hiScoresWindow.rows;
        e->HiScoresReset();
        QCOMPARE(notifier_.messages.size(), 2);
        QVERIFY(notifier_.messages[1].contains(QStringLiteral("could not be reset")));
        QCOMPARE(e->hiScoresWindow.rows, shown);
        e.reset();
        QCOMPARE(fileBytes(path_), before);
    }

    void damagedFileStopsTheStart()
    {
        QDir().mkpath(QFileInfo(path_).absolutePath());
        writeFile(path_, QByteArray("This is not a database, just some text.\n").repeated(50));
        const QByteArray before = fileBytes(path_);
        ModDarts::Setup setup;
        setup.databasePath = path_;
        setup.sound = &sound_;
        setup.notifier = &notifier_;
        ModDarts e(setup);
        QString error;
        QVERIFY(!e.OpenDatabase(&error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(path_)), qPrintable(error));
        QVERIFY(!e.rsOptions);
        QVERIFY(!e.rsHiScores);
        QCOMPARE(fileBytes(path_), before);
        QCOMPARE(e.savedStartWith(), 501);
        QCOMPARE(e.savedPlayers(), 2);
    }

    // --- The high-score window ------------------------------------------------

    void listIsASnapshotUntilReopened()
    {
        makeFile({QStringLiteral("UPDATE HiScores SET Name = 'Ann', Against = 'Bob', Score = 100, "
                                 "Date = '2005-03-07 21:04:09' WHERE rowid = 6")});
        auto e = start();
        QVERIFY(e);
        QVERIFY(!e->hiScoresWindow.open);
        e->ShowHiScores();
        QVERIFY(e->hiScoresWindow.open);
        const auto& rows = e->hiScoresWindow.rows;
        QCOMPARE(rows.size(), 10);
        QCOMPARE(rows[0], (QStringList{"1", "Ann", "Bob", "07/03/2005 21:04:09", "100"}));
        for (int i = 1; i < rows.size(); ++i)
            QCOMPARE(rows[i], (QStringList{QString::number(i + 1), "Brannoque", "Brannoque",
                                           "01/01/1980 00:00:00", "0"}));

        // A new entry while open: the list stays as it is, even on "Hi Scores".
        QString error;
        QVERIFY(EnterHighScore(*e->rsHiScores, QStringLiteral("Cy"), QStringLiteral("-"),
                               QDateTime(QDate(2006, 1, 2), QTime(10, 0)), 180, &error));
        const quint64 revision = e->hiScoresWindow.revision;
        e->ShowHiScores();
        QCOMPARE(e->hiScoresWindow.revision, revision);
        QCOMPARE(e->hiScoresWindow.rows[0][1], QStringLiteral("Ann"));

        e->HiScoresClose();
        QVERIFY(!e->hiScoresWindow.open);
        e->ShowHiScores();
        QCOMPARE(e->hiScoresWindow.rows.size(), 10);
        QCOMPARE(e->hiScoresWindow.rows[0],
                 (QStringList{"1", "Cy", "-", "02/01/2006 10:00:00", "180"}));
        QCOMPARE(e->hiScoresWindow.rows[1][1], QStringLiteral("Ann"));
    }

    void resetOverwritesTheRowsOnlyWhileOpen()
    {
        makeFile({QStringLiteral("UPDATE HiScores SET Name = 'Ann', Score = 140, "
                                 "Date = '2005-03-07 21:04:09' WHERE rowid IN (2, 5)"),
                  QStringLiteral("INSERT INTO HiScores VALUES ('Xena', 'Yves', "
                                 "'2001-01-01 00:00:00', 99, 'X')")});
        auto e = start();
        QVERIFY(e);
        const auto before = rawRows(path_, AllScores);

        e->HiScoresReset(); // the window is closed: nothing happens
        QCOMPARE(rawRows(path_, AllScores), before);

        e->ShowHiScores();
        e->HiScoresReset();
        const auto after = rawRows(path_, AllScores);
        QCOMPARE(after.size(), before.size());
        for (const QVariantList& row : after) {
            if (row[5].toString() == QLatin1String("H"))
                QCOMPARE(row.mid(1), (QVariantList{"Brannoque", "Brannoque", "1980-01-01 00:00:00", 0, "H"}));
            else
                QCOMPARE(row, before.last());
        }
        // The list shows the reset rows at once.
        QCOMPARE(e->hiScoresWindow.rows.size(), 10);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(e->hiScoresWindow.rows[i], (QStringList{QString::number(i + 1), "Brannoque",
                                                             "Brannoque", "01/01/1980 00:00:00", "0"}));
        QVERIFY(notifier_.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(OptionsTest)
#include "options_test.moc"
