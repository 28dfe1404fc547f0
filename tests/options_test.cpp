// The options dialog and the high-score window on a whole engine: loading the
// saved row, OK and Cancel, what the boxes take and what OK refuses, the
// starting scores OK sets, the list and its reset, and saving that fails
// without stopping the game.
#include "board/BoardGeometry.h"
#include "engine/ModDarts.h"
#include "base/SoundOutput.h"
#include "store/HiScoreTable.h"

#include "StoreTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

namespace {

// Darts as clicks well inside their beds, a blank-separated list.
void play(ModDarts& e, const QString& darts)
{
    for (const QString& label : darts.split(' ', Qt::SkipEmptyParts)) {
        const QPointF at = PointFor(e.board.Image1, label);
        e.BoardPressed(at.x(), at.y());
    }
}

QString scores(ModDarts& e)
{
    return e.panel(0).lblScoreLeft.text() + ' ' + e.panel(1).lblScoreLeft.text();
}

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
        QVERIFY(e->commentaryOn() && !e->options.visible);
        QCOMPARE(e->options.txtLegs + e->options.txtSets, QStringLiteral("31"));

        e.reset(); // one program on the folder at a time
        e = start({"UPDATE Options SET Player1 = 'Ann', Players = 1, StartWith = 101, "
                   "Commentry = 7, NumberOfLegs = 'ab', NumberofSets = ''"});
        QVERIFY(e);
        QCOMPARE(e->panel(0).lblNames.text(), QStringLiteral("Ann"));
        QCOMPARE(e->panel(0).lblScoreLeft.text() + e->panel(1).lblScoreLeft.text(), QStringLiteral("101101"));
        // Commentary saved as neither 0 nor 1: no button, and it stays off.
        QCOMPARE((QList<int>{e->options.OptScore, e->options.OptPlayers, e->options.OptComm}), (QList<int>{2, 0, -1}));
        QVERIFY(!e->commentaryOn());
        QCOMPARE(e->options.txtLegs + "|" + e->options.txtSets, QStringLiteral("ab|"));
        QCOMPARE(e->savedStartWith(), 101);
        QCOMPARE(e->savedPlayers(), 1);

        // Such a row, left by an older file, still plays as its texts read:
        // no legs makes no set, and no sets makes every leg the match's.
        play(*e, "T20 9 D16");
        QCOMPARE(e->panel(0).lblLeg.text() + e->panel(0).lblSet.text(), QStringLiteral("10"));
        QVERIFY(e->winner.open());
        QCOMPARE(e->winner.lblWinner(), QStringLiteral("Match winner is:"));
        QCOMPARE(e->options.txtLegs, QStringLiteral("ab"));

        // A name longer than a name box holds comes into the box cut, as the
        // window's box would cut it.
        const QString longName = QStringLiteral("Maximilian Alexander Featherstonehaugh");
        e.reset();
        e = start({"UPDATE Options SET Player2 = '" + longName + "'"});
        QVERIFY(e);
        QCOMPARE(e->panel(1).lblNames.text(), longName);
        e->ShowOptions(2);
        QCOMPARE(e->options.txtName2, longName.left(30));
    }

    void boxesKeepWhatTheyTake_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("count"); // "&Ok" accepts what was kept
        QTest::newRow("two digits") << "12" << "12" << true;
        QTest::newRow("third digit dropped") << "123" << "12" << true;
        QTest::newRow("letter before") << "x9" << "9" << true;
        QTest::newRow("letters between") << "a1b2c3" << "12" << true;
        QTest::newRow("blank and sign") << " -7" << "7" << true;
        QTest::newRow("decimal point") << "1.5" << "15" << true;
        QTest::newRow("leading zero") << "07" << "07" << true;
        QTest::newRow("digit of another script") << QString(QChar(0x0663)) + "4" << "4" << true;
        QTest::newRow("letters only") << "ab" << "" << false;
        QTest::newRow("empty") << "" << "" << false;
        QTest::newRow("zero") << "0" << "0" << false;
        QTest::newRow("two zeros") << "00" << "00" << false;
    }

    void boxesKeepWhatTheyTake()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(bool, count);
        OptionsDialog o;
        o.setLegs(typed);
        o.setSets(typed);
        QCOMPARE(o.txtLegs, kept);
        QCOMPARE(o.txtSets, kept);
        QCOMPARE(OptionsDialog::isCount(kept), count);
    }

    void nameBoxesKeepThirtyCharacters()
    {
        OptionsDialog o;
        o.setName(0, QString(29, 'a') + "bc");
        o.setName(1, "  Ann  ");
        QCOMPARE(o.txtName1, QString(29, 'a') + "b");
        QCOMPARE(o.txtName2, QStringLiteral("  Ann  "));
    }

    // "&Ok" with a legs or sets box that cannot be played to: the box is
    // named, the dialog stays, and nothing it holds is saved or put to use.
    void okRefusesLegsOrSetsThatCannotBePlayed_data()
    {
        QTest::addColumn<QString>("legs");
        QTest::addColumn<QString>("sets");
        QTest::addColumn<QString>("message");
        const QString legs = "Legs per set must be a whole number from 1 to 99.";
        const QString sets = "Sets per match must be a whole number from 1 to 99.";
        QTest::newRow("legs empty") << "" << "1" << legs;
        QTest::newRow("legs 0") << "0" << "1" << legs;
        QTest::newRow("sets empty") << "3" << "" << sets;
        QTest::newRow("sets 00") << "3" << "00" << sets;
        QTest::newRow("both 0: legs first") << "0" << "0" << legs;
        QTest::newRow("legs from an older file") << "ab" << "1" << legs;
    }

    void okRefusesLegsOrSetsThatCannotBePlayed()
    {
        QFETCH(QString, legs);
        QFETCH(QString, sets);
        QFETCH(QString, message);
        auto e = start();
        QVERIFY(e);
        const auto saved = rawRows(path_, OptionsRow);
        e->ShowOptions(3);
        OptionsDialog& o = e->options;
        o.txtLegs = legs; // as loaded: an older file may hold anything
        o.txtSets = sets;
        o.setName(0, "Ann");
        o.OptScore = 2;
        o.OptComm = 1;
        e->OptionsOk();
        QCOMPARE(notifier_.messages, QStringList{message});
        QVERIFY(o.visible);
        QCOMPARE(rawRows(path_, OptionsRow), saved);
        QCOMPARE(e->panel(0).lblNames.text(), QStringLiteral("Player 1"));
        QCOMPARE(scores(*e), QStringLiteral("501 501"));
        QVERIFY(e->commentaryOn());

        // Mended, the same dialog saves it all.
        o.setLegs("2");
        o.setSets("1");
        e->OptionsOk();
        QCOMPARE(notifier_.messages.size(), 1);
        QVERIFY(!o.visible);
        QCOMPARE(rawRows(path_, OptionsRow)[0],
                 (QVariantList{"Ann", "Player 2", 2, "2", "1", 101, 0}));
        QCOMPARE(scores(*e), QStringLiteral("101 101"));
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
        QTest::newRow("sets, letter dropped") << "sets" << "NumberofSets" << QVariant("4");
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
            o.setSets("x4");
        e->OptionsOk();
        QVERIFY(!o.visible && notifier_.messages.isEmpty());
        QCOMPARE(e->commentaryOn(), control != "comm");

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

    // "&Cancel" goes back to the controls as they were when the dialog came
    // up from hidden, or when it was last closed, whichever is later; so
    // nothing cancelled reaches the game, which reads players, legs and sets
    // from the controls.
    void cancelPutsEveryControlBack()
    {
        auto e = start();
        QVERIFY(e);
        OptionsDialog& o = e->options;
        const auto saved = rawRows(path_, OptionsRow);
        auto changeEverything = [&] {
            o.setName(0, "Zed");
            o.setName(1, "Yan");
            o.setLegs("7");
            o.setSets("4");
            o.OptScore = 2;
            o.OptPlayers = 0;
            o.OptComm = 1;
        };

        e->ShowOptions(2);
        const OptionsDialog::Controls shown = o.controls();
        QCOMPARE(shown.txtName1 + shown.txtLegs, QStringLiteral("Player 13"));
        changeEverything();
        QVERIFY(!e->twoPlayers()); // counts while the dialog is open
        e->ShowOptions(3);         // a tab switch is not a new showing
        e->OptionsCancel();
        QVERIFY(!o.visible);
        QCOMPARE(o.controls(), shown);
        QVERIFY(e->twoPlayers());
        QVERIFY(e->commentaryOn());
        QCOMPARE(rawRows(path_, OptionsRow), saved);
        QCOMPARE(e->panel(0).lblNames.text(), QStringLiteral("Player 1"));

        // After "&Ok" the saved choice is what "&Cancel" returns to.
        e->ShowOptions(3);
        o.setLegs("5");
        o.OptPlayers = 0;
        e->OptionsOk();
        const OptionsDialog::Controls okayed = o.controls();
        e->ShowOptions(3);
        changeEverything();
        e->OptionsCancel();
        QCOMPARE(o.controls(), okayed);
        QVERIFY(!e->twoPlayers());

        // Changed while hidden (the driver can), then cancelled: as closed.
        o.setLegs("9");
        e->OptionsCancel();
        QCOMPARE(o.txtLegs, QStringLiteral("5"));

        // Played on: a cancelled "1 leg a set" never takes a set.
        e->ShowOptions(3);
        o.setLegs("1");
        e->OptionsCancel();
        e->ShowOptions(3);
        o.setLegs("3");
        o.setSets("1");
        o.OptPlayers = 1;
        o.OptScore = 2;
        e->OptionsOk();
        e->ShowOptions(3);
        o.setLegs("1");
        e->OptionsCancel();
        play(*e, "T20 9 D16");
        QCOMPARE(e->panel(0).lblLeg.text() + e->panel(0).lblSet.text(), QStringLiteral("10"));
        QCOMPARE(e->winner.lblPlayer(), QStringLiteral("has won the leg"));
    }

    // A new starting score replaces the remaining scores only at the start
    // of a leg; once any dart of the leg is in, both scores stay and the new
    // score waits for the next leg or game.
    void okSetsTheScoresOnlyAtTheStartOfALeg_data()
    {
        QTest::addColumn<QString>("setup");   // "one" for a one-player game
        QTest::addColumn<QString>("darts");   // thrown before "&Ok"
        QTest::addColumn<bool>("undoOne");
        QTest::addColumn<QString>("after");   // scores after choosing 301
        QTest::newRow("new game") << "" << "" << false << "301 301";
        QTest::newRow("first dart of the leg in") << "" << "0" << false << "501 501";
        QTest::newRow("taken back again") << "" << "0" << true << "301 301";
        QTest::newRow("second player has scored, first on 501")
            << "" << "0 0 0 20 20 20" << false << "501 441";
        QTest::newRow("first player on 301 in a 501 leg")
            << "" << "T20 T20 T20 0 0 0 20 0 0 5" << false << "301 501";
        QTest::newRow("first player has scored") << "" << "20 20 20" << false << "441 501";
        QTest::newRow("bust, nothing left on the panels")
            << "101" << "T20 T20" << false << "101 101";
        QTest::newRow("leg just won") << "101" << "T20 9 D16" << false << "301 301";
        QTest::newRow("next leg's first dart in") << "101" << "T20 9 D16 20" << false << "101 101";
        QTest::newRow("one player, nothing thrown") << "one" << "" << false << "301 301";
        QTest::newRow("one player has thrown") << "one" << "20 20 20" << false << "441 501";
    }

    // A starting score applied at the start of a leg belongs to the dart
    // that won the leg before: taking that dart back goes back to the old
    // leg with both its scores, not to a mixture of the old and the new.
    void undoOfTheWinningDartTakesTheNewStartBack()
    {
        auto e = start({"UPDATE Options SET StartWith = 101"});
        QVERIFY(e);
        play(*e, "T17 50");
        QCOMPARE(scores(*e), QStringLiteral("101 101"));
        e->ShowOptions(3);
        e->OptionsScoreChosen(1);
        e->OptionsOk();
        QCOMPARE(scores(*e), QStringLiteral("301 301"));
        // Back in the visit: T17 on view, both still on the old leg's 101.
        e->UndoLast();
        QCOMPARE(scores(*e), QStringLiteral("101 101"));
        QCOMPARE(e->panel(0).lblFirstDart.text(), QStringLiteral("T17"));
        QCOMPARE(e->match().dartsInVisit(), 1);
        // The new score is saved and opens the next leg.
        play(*e, "50");
        QCOMPARE(scores(*e), QStringLiteral("301 301"));
    }

    void okSetsTheScoresOnlyAtTheStartOfALeg()
    {
        QFETCH(QString, setup);
        QFETCH(QString, darts);
        QFETCH(bool, undoOne);
        QFETCH(QString, after);
        std::unique_ptr<ModDarts> e;
        if (setup == "101")
            e = start({"UPDATE Options SET StartWith = 101"});
        else if (setup == "one")
            e = start({"UPDATE Options SET Players = 1"});
        else
            e = start();
        QVERIFY(e);
        play(*e, darts);
        if (undoOne)
            e->UndoLast();
        const QString before = scores(*e);
        e->ShowOptions(3);
        e->options.OptScore = 1;
        e->OptionsOk();
        QCOMPARE(scores(*e), after);
        QCOMPARE(e->savedStartWith(), 301);
        // Whether or not it applied at once, the next game starts at 301.
        if (after != QStringLiteral("301 301"))
            QCOMPARE(scores(*e), before);
        e->NewGame();
        QCOMPARE(scores(*e), QStringLiteral("301 301"));
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
        QVERIFY(!e->options.visible && !e->commentaryOn());
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
