// The windows the menus open: the announcement, the options dialog, the
// statistics window and the high-score window.
#include "UiTestSupport.h"

#include "ui/GridView.h"
#include "ui/Widgets.h"
#include "stats/Grid.h"
#include "ui/frmHiScores.h"
#include "ui/frmStats.h"
#include "ui/frmWinnerBust.h"
#include <algorithm>
#include <cmath>
#include "engine/ModDarts.h"
#include "board/BoardGeometry.h"

#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTableView>
#include <QTreeWidget>

class DialogsTest : public QObject {
    Q_OBJECT
    UiFixture f;

    QAction* menu(const char* name)
    {
        return f.scores().findChild<QAction*>(QString::fromLatin1(name));
    }
    static QString cell(QAbstractItemView* view, int row, int col)
    {
        return view->model()->index(row, col).data().toString();
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void announcement_closes_only_with_ok()
    {
        f.chooseStart(2); // 101: two trebles of 20 bust
        QCOMPARE(f.child<QLabel>(&f.scores(), QStringLiteral("lblScoreLeft_0"))->text(),
                 QStringLiteral("101"));
        f.throwAt(QStringLiteral("T20"));
        f.throwAt(QStringLiteral("T20"));
        frmWinnerBust* dialog = f.app->winner();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        auto* player = f.child<QLabel>(dialog, QStringLiteral("lblPlayer"));
        auto* winner = f.child<QLabel>(dialog, QStringLiteral("lblWinner"));
        QCOMPARE(player->text(), QStringLiteral("BUST!"));
        QCOMPARE(winner->text(), QString());
        // The bust line drops to half the dialog's height.
        QCOMPARE(winner->y(), 74);

        // It stands clear of the board's scoring area, so every bed stays
        // clickable while it is open.
        {
            const ModDarts& m = f.app->model();
            const BoardCircles c = CirclesOf(m.board.Image1);
            auto* board = f.child<QWidget>(&f.scores(), QStringLiteral("Image1"));
            const QPointF centre = QPointF(board->mapToGlobal(QPoint(0, 0))) +
                                   QPointF((double(c.cx) - m.board.Image1.Left) / 15,
                                           (double(c.cy) - m.board.Image1.Top) / 15);
            const QRectF box = QRectF(dialog->frameGeometry());
            const double nearestX = std::clamp(centre.x(), box.left(), box.right());
            const double nearestY = std::clamp(centre.y(), box.top(), box.bottom());
            QVERIFY(std::hypot(centre.x() - nearestX, centre.y() - nearestY) > double(c.R) / 15);
        }

        // The close box and Escape are refused.
        QVERIFY(!dialog->close());
        QVERIFY(dialog->isVisible());
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(f.app->winner() == dialog && dialog->isVisible());

        // The board stays usable behind it: player 1 throws.
        f.throwAt(QStringLiteral("T19"));
        QCOMPARE(f.child<QLabel>(&f.scores(), QStringLiteral("lblFirstDart_1"))->text(),
                 QStringLiteral("T19"));
        QVERIFY(dialog->isVisible());

        QPointer<frmWinnerBust> guard(dialog);
        QTest::mouseClick(f.child<QPushButton>(dialog, QStringLiteral("cmdOk")), Qt::LeftButton);
        QVERIFY(!f.app->winner());
        QTRY_VERIFY(guard.isNull()); // discarded, not kept hidden

        // The next announcement comes in a fresh dialog: player 1 wins a leg.
        f.throwAt(QStringLiteral("T19"));  // 101 - 57 - 57 < 0: a bust
        QVERIFY(f.app->winner());
        QTest::mouseClick(f.child<QPushButton>(f.app->winner(), QStringLiteral("cmdOk")),
                          Qt::LeftButton);
        f.throwAt(QStringLiteral("T17"));  // player 0: 101 - 51 = 50
        f.throwAt(QStringLiteral("50"));   // and out on the bull
        QVERIFY(f.app->winner());
        QCOMPARE(f.child<QLabel>(f.app->winner(), QStringLiteral("lblWinner"))->text(),
                 QStringLiteral("Player 1"));
        QCOMPARE(f.child<QLabel>(f.app->winner(), QStringLiteral("lblWinner"))->y(), 8);
        QCOMPARE(f.child<QLabel>(f.app->winner(), QStringLiteral("lblPlayer"))->text(),
                 QStringLiteral("has won the leg"));
    }

    void options_open_on_each_tab()
    {
        frmOptions* options = f.app->options();
        QVERIFY(options && !options->isVisible());
        const char* entries[] = {"mnuOptPlayer1", "mnuOptPlayer2", "mnuoptOptions"};
        const char* pages[] = {"fraOpt1", "Fraopt2", "FraOptGame"};
        for (int t = 0; t < 3; ++t) {
            menu(entries[t])->trigger();
            QVERIFY(options->isVisible());
            QCOMPARE(options->tabs()->currentIndex(), t);
            for (int p = 0; p < 3; ++p)
                QCOMPARE(f.child<QFrame>(options, QString::fromLatin1(pages[p]))->isVisible(), p == t);
        }
        // A click on a tab shows its page.
        QTest::mouseClick(options->tabs(), Qt::LeftButton, {},
                          options->tabs()->tabRect(0).center());
        QVERIFY(f.child<QFrame>(options, QStringLiteral("fraOpt1"))->isVisible());
        QVERIFY(!f.child<QFrame>(options, QStringLiteral("FraOptGame"))->isVisible());

        // The legs box keeps two characters; the number counts at once, and
        // "&Cancel" puts the box and the buttons back as they were shown.
        menu("mnuoptOptions")->trigger();
        auto* legs = f.child<QLineEdit>(options, QStringLiteral("txtLegs"));
        legs->selectAll();
        QTest::keyClicks(legs, QStringLiteral("123"));
        QCOMPARE(legs->text(), QStringLiteral("12"));
        QCOMPARE(f.model().options.txtLegs, QStringLiteral("12"));
        QTest::mouseClick(f.child<QRadioButton>(options, QStringLiteral("OptPlayers_0")), Qt::LeftButton);
        QVERIFY(!f.model().twoPlayers());
        QTest::mouseClick(f.child<QPushButton>(options, QStringLiteral("cmdCancel")), Qt::LeftButton);
        QVERIFY(!options->isVisible());
        QVERIFY(!f.model().options.visible);
        QVERIFY(f.model().twoPlayers());
        menu("mnuoptOptions")->trigger();
        QCOMPARE(legs->text(), QStringLiteral("3"));
        QVERIFY(f.child<QRadioButton>(options, QStringLiteral("OptPlayers_1"))->isChecked());

        // The close box hides it as "&Cancel" does, keeping the dialog for
        // the whole run.
        legs->selectAll();
        QTest::keyClicks(legs, QStringLiteral("7"));
        QTest::mouseClick(f.child<QRadioButton>(options, QStringLiteral("OptScore_2")), Qt::LeftButton);
        QVERIFY(!options->close());
        QVERIFY(!options->isVisible());
        QCOMPARE(f.app->options(), options);
        QCOMPARE(legs->text(), QStringLiteral("3"));
        QVERIFY(f.child<QRadioButton>(options, QStringLiteral("OptScore_0"))->isChecked());
        QCOMPARE(f.model().options.OptScore, 0);
    }

    void options_boxes_take_what_they_should()
    {
        menu("mnuoptOptions")->trigger();
        frmOptions* options = f.app->options();
        auto* legs = f.child<QLineEdit>(options, QStringLiteral("txtLegs"));
        auto* sets = f.child<QLineEdit>(options, QStringLiteral("txtSets"));

        // Letters typed are dropped, the cursor stays after the digits.
        legs->clear();
        QTest::keyClicks(legs, QStringLiteral("x9"));
        QCOMPARE(legs->text(), QStringLiteral("9"));
        QTest::keyClick(legs, Qt::Key_Home);
        QTest::keyClicks(legs, QStringLiteral("a1"));
        QCOMPARE(legs->text(), QStringLiteral("19"));
        QCOMPARE(legs->cursorPosition(), 1);
        QCOMPARE(f.model().options.txtLegs, QStringLiteral("19"));
        // Pasted text the same way.
        QGuiApplication::clipboard()->setText(QStringLiteral("x9"));
        sets->selectAll();
        sets->paste();
        QCOMPARE(sets->text(), QStringLiteral("9"));
        QCOMPARE(f.model().options.txtSets, QStringLiteral("9"));

        // A name box holds 30 characters.
        auto* name = f.child<QLineEdit>(options, QStringLiteral("txtName1"));
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Bartholomew Fitzgerald-Ravenscroft"));
        QCOMPARE(name->text(), QStringLiteral("Bartholomew Fitzgerald-Ravensc"));
        QCOMPARE(f.model().options.txtName1, name->text());

        // "&Ok" with no sets: the message names the box, the dialog stays.
        sets->selectAll();
        QTest::keyClick(sets, Qt::Key_Delete);
        QCOMPARE(f.model().options.txtSets, QString());
        QTest::mouseClick(f.child<QPushButton>(options, QStringLiteral("cmdOk")), Qt::LeftButton);
        QCOMPARE(f.notifier.messages,
                 QStringList{QStringLiteral("Sets per match must be a whole number from 1 to 99.")});
        QVERIFY(options->isVisible());
        QCOMPARE(f.child<QLabel>(&f.scores(), QStringLiteral("lblNames_0"))->text(),
                 QStringLiteral("Player 1"));
        QTest::keyClicks(sets, QStringLiteral("2"));
        QTest::mouseClick(f.child<QPushButton>(options, QStringLiteral("cmdOk")), Qt::LeftButton);
        QCOMPARE(f.notifier.messages.size(), 1);
        QVERIFY(!options->isVisible());
        QCOMPARE(f.child<QLabel>(&f.scores(), QStringLiteral("lblNames_0"))->text(),
                 QStringLiteral("Bartholomew Fitzgerald-Ravensc"));
        QCOMPARE(f.model().rsOptions->field(QStringLiteral("NumberofSets")).toString(),
                 QStringLiteral("2"));
    }

    // The message box of a refused "&Ok" takes the focus and gives it back;
    // that return is not the operator coming back to the dialog, so the name
    // typed stays. Leaving for the main window and coming back still shows
    // the panel's name again.
    void options_refused_ok_keeps_the_typed_name()
    {
        menu("mnuOptPlayer1")->trigger();
        frmOptions* options = f.app->options();
        // Activation is made by hand: the offscreen platform reports none.
        const auto activate = [](QWidget* w) {
            QApplication::setActiveWindow(w);
            QVERIFY(w->isActiveWindow());
        };
        activate(options);
        auto* name = f.child<QLineEdit>(options, QStringLiteral("txtName1"));
        auto* legs = f.child<QLineEdit>(options, QStringLiteral("txtLegs"));
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Ann"));
        legs->selectAll();
        QTest::keyClick(legs, Qt::Key_Delete);

        f.notifier.whileShown = [&] { activate(&f.scores()); };
        QTest::mouseClick(f.child<QPushButton>(options, QStringLiteral("cmdOk")), Qt::LeftButton);
        f.notifier.whileShown = nullptr;
        QCOMPARE(f.notifier.messages.size(), 1);
        activate(options);
        QCOMPARE(name->text(), QStringLiteral("Ann"));

        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Bob"));
        activate(&f.scores());
        activate(options);
        QCOMPARE(name->text(), QStringLiteral("Player 1"));

        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Ann"));
        QTest::keyClicks(legs, QStringLiteral("2"));
        QTest::mouseClick(f.child<QPushButton>(options, QStringLiteral("cmdOk")), Qt::LeftButton);
        QVERIFY(!options->isVisible());
        QCOMPARE(f.child<QLabel>(&f.scores(), QStringLiteral("lblNames_0"))->text(), QStringLiteral("Ann"));
    }

    void name_change_renames_menus_trimmed_and_the_tab_untrimmed()
    {
        menu("mnuOptPlayer2")->trigger();
        frmOptions* options = f.app->options();
        QVERIFY(QTest::qWaitForWindowActive(options));
        auto* name = f.child<QLineEdit>(options, QStringLiteral("txtName2"));
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("  Ann Lee "));
        QTest::mouseClick(f.child<QPushButton>(options, QStringLiteral("cmdOk")), Qt::LeftButton);

        QCOMPARE(menu("mnuOptPlayer2")->text(), QStringLiteral("Ann Lee"));
        QCOMPARE(menu("mnustaPlayer2")->text(), QStringLiteral("Ann Lee"));
        QCOMPARE(menu("mnuOptPlayer1")->text(), QStringLiteral("Player 1"));
        QCOMPARE(f.child<QLabel>(&f.scores(), QStringLiteral("lblNames_1"))->text(),
                 QStringLiteral("  Ann Lee "));
        QCOMPARE(f.app->stats()->tabs()->tabText(1), QStringLiteral("  Ann Lee "));
        QCOMPARE(f.app->stats()->tabs()->tabText(0), QStringLiteral("Player 1"));
        // The options dialog's own tabs keep their captions.
        QCOMPARE(options->tabs()->tabText(1), QStringLiteral("Player 2"));
    }

    void statistics_window_keeps_its_counters_when_closed()
    {
        f.throwAt(QStringLiteral("T20"));
        f.throwAt(QStringLiteral("25"));
        menu("mnustaPlayer1")->trigger();
        frmStats* stats = f.app->stats();
        QVERIFY(stats->isVisible());
        QCOMPARE(stats->tabs()->currentIndex(), 0);
        QVERIFY(f.child<QFrame>(stats, QStringLiteral("FraStats1"))->isVisible());
        QVERIFY(!f.child<QFrame>(stats, QStringLiteral("fraGameStats"))->isVisible());
        auto* darts = f.child<QTableView>(stats, QStringLiteral("grdDarts_0"));
        auto* bulls = f.child<QTableView>(stats, QStringLiteral("grdDarts2_0"));
        // The heading row is the view's header; T is the first body row.
        QCOMPARE(darts->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("20"));
        QCOMPARE(cell(darts, 0, 1), QStringLiteral("1"));
        QCOMPARE(cell(bulls, 0, 1), QStringLiteral("1"));
        // Activation worked out the scoring-darts bar: (60 + 25) / 2 * 3.
        QCOMPARE(f.child<RatingBar>(stats, QStringLiteral("ProScoring_0"))->value(), 100.0);
        QVERIFY(f.child<RatingBar>(stats, QStringLiteral("ProOverall3Dart_0"))->value() > 0);

        // "&Exit" and the close box only hide it.
        QTest::mouseClick(f.child<QPushButton>(stats, QStringLiteral("cmdExit")), Qt::LeftButton);
        QVERIFY(!stats->isVisible());
        f.throwAt(QStringLiteral("D1"));
        menu("mnuStaGame")->trigger();
        QCOMPARE(f.app->stats(), stats);
        QVERIFY(f.child<QFrame>(stats, QStringLiteral("fraGameStats"))->isVisible());
        QVERIFY(!stats->close());
        QVERIFY(!stats->isVisible());
        menu("mnustaPlayer1")->trigger();
        QCOMPARE(cell(darts, 0, 1), QStringLiteral("1"));
        QCOMPARE(cell(darts, 1, 20), QStringLiteral("1")); // D1, counted while hidden
        auto* last = f.child<QTableView>(stats, QStringLiteral("grdLastScores_0"));
        QCOMPARE(last->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Darts"));
        QCOMPARE(cell(last, 0, 0), QStringLiteral("3"));
        QCOMPARE(cell(last, 0, 1), QStringLiteral("87"));

        // Tab clicks switch the page.
        QTest::mouseClick(stats->tabs(), Qt::LeftButton, {}, stats->tabs()->tabRect(1).center());
        QVERIFY(f.child<QFrame>(stats, QStringLiteral("FraStats2"))->isVisible());
        QVERIFY(!f.child<QFrame>(stats, QStringLiteral("FraStats1"))->isVisible());
        QCOMPARE(f.model().statsWindow.tab, 2);
    }

    // The statistics window is hidden through most of a match; what it shows
    // when it opens must be the tables as they now stand, every column
    // measured for the texts now in it.
    void statistics_tables_hidden_through_visits_are_current_when_shown()
    {
        const char* const darts[] = {"T20", "T19", "D16", "25", "1", "T18", "50", "5",
                                     "D20", "T17", "3", "0"};
        for (const char* d : darts)
            f.throwAt(QString::fromLatin1(d));
        frmStats* stats = f.app->stats();
        QVERIFY(!stats->isVisible());
        for (const char* menuName : {"mnustaPlayer1", "mnuStaGame"}) {
            menu(menuName)->trigger();
            QVERIFY(stats->isVisible());
            const QList<GridView*> views = stats->findChildren<GridView*>();
            QCOMPARE(views.size(), 11);
            for (GridView* view : views) {
                const Grid& grid = view->gridModel()->grid();
                // Nothing left for the view to catch up on.
                QVERIFY2(!view->gridModel()->refresh(), qPrintable(view->objectName()));
                QCOMPARE(view->model()->rowCount(), grid.rows() - grid.fixedRows());
                for (int c = 0; c < grid.cols(); ++c)
                    QVERIFY2(view->columnFits(c), qPrintable(view->objectName()));
            }
            QTest::mouseClick(f.child<QPushButton>(stats, QStringLiteral("cmdExit")),
                              Qt::LeftButton);
            QVERIFY(!stats->isVisible());
            f.throwAt(QStringLiteral("T20"));
            f.throwAt(QStringLiteral("T20"));
        }
    }

    void high_score_window_lists_and_resets()
    {
        for (int i = 0; i < 3; ++i)
            f.throwAt(QStringLiteral("T20"));
        menu("mnuStaHistory")->trigger();
        frmHiScores* window = f.app->hiScores();
        QVERIFY(window && window->isVisible());
        QTreeWidget* list = window->list();
        QCOMPARE(list->columnCount(), 5);
        QCOMPARE(list->headerItem()->text(0), QStringLiteral("Pos"));
        QCOMPARE(list->headerItem()->text(4), QStringLiteral("Score"));
        QVERIFY(list->topLevelItemCount() >= 1);
        QTreeWidgetItem* top = list->topLevelItem(0);
        QCOMPARE(top->text(0), QStringLiteral("1"));
        QCOMPARE(top->text(1), QStringLiteral("Player 1"));
        QCOMPARE(top->text(2), QStringLiteral("Player 2"));
        QCOMPARE(top->text(4), QStringLiteral("180"));
        const int rows = list->topLevelItemCount();

        QTest::mouseClick(f.child<QPushButton>(window, QStringLiteral("cmdReset")), Qt::LeftButton);
        QCOMPARE(list->topLevelItemCount(), rows);
        for (int r = 0; r < rows; ++r) {
            QTreeWidgetItem* item = list->topLevelItem(r);
            QCOMPARE(item->text(0), QString::number(r + 1));
            QCOMPARE(item->text(1), QStringLiteral("Brannoque"));
            QCOMPARE(item->text(2), QStringLiteral("Brannoque"));
            QCOMPARE(item->text(4), QStringLiteral("0"));
        }

        QPointer<frmHiScores> guard(window);
        QTest::mouseClick(f.child<QPushButton>(window, QStringLiteral("cmdClose")), Qt::LeftButton);
        QVERIFY(!f.app->hiScores());
        QTRY_VERIFY(guard.isNull());
        // Opened again, it is made and filled anew.
        menu("mnuStaHistory")->trigger();
        QVERIFY(f.app->hiScores() && f.app->hiScores()->isVisible());
        QCOMPARE(f.app->hiScores()->list()->topLevelItem(0)->text(4), QStringLiteral("0"));
        // The close box does what "&Close" does.
        guard = f.app->hiScores();
        guard->close();
        QVERIFY(!f.app->hiScores());
        QVERIFY(!f.model().hiScoresWindow.open);
        QTRY_VERIFY(guard.isNull());
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
