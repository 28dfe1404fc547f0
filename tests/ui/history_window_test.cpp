// The match-history window: a match played on the board, then a new one;
// the history lists both, newest first, and a stored match opened from it
// shows the very pages the statistics window showed while it was played,
// prints them, and leaves the running match's statistics alone.
#include "UiTestSupport.h"

#include "ui/QtPrinting.h"
#include "ui/frmHiScores.h"
#include "ui/frmHistory.h"
#include "ui/frmPrint.h"
#include "ui/frmStats.h"
#include "ui/frmWinnerBust.h"
#include "ui/Widgets.h"
#include "ui/GridView.h"

#include <QComboBox>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTabBar>
#include <QTreeWidget>

namespace {

// Every cell of every statistics grid, and the bars, as a window shows them.
struct Pages {
    std::vector<std::vector<QStringList>> grids;
    std::vector<double> bars;
    bool operator==(const Pages&) const = default;
};

Pages PagesOf(const StatsTables& t)
{
    Pages p;
    for (int i = 0; i < 2; ++i)
        for (const Grid* g : {&t.grdLastScores[i], &t.grdStats[i], &t.grdStats2[i], &t.grdDarts[i], &t.grdDarts2[i]})
            p.grids.push_back(g->snapshot());
    p.grids.push_back(t.grdGameStats.snapshot());
    for (int i = 0; i < 2; ++i)
        p.bars.insert(p.bars.end(), {t.ProScoring[i].value(), t.ProOverall3Dart[i].value(), t.ProFirst9[i].value()});
    return p;
}

// What the grid views of a window hold, cell by cell.
std::vector<std::vector<QStringList>> ShownGrids(QWidget* window)
{
    std::vector<std::vector<QStringList>> shown;
    for (GridView* view : window->findChildren<GridView*>()) {
        const GridModel* m = view->gridModel();
        std::vector<QStringList> rows;
        for (int r = 0; r < m->grid().rows(); ++r) {
            QStringList row;
            for (int c = 0; c < m->grid().cols(); ++c)
                row << m->grid().text(r, c);
            rows.push_back(row);
        }
        shown.push_back(rows);
    }
    std::sort(shown.begin(), shown.end());
    return shown;
}

} // namespace

class HistoryWindowTest : public QObject {
    Q_OBJECT
    UiFixture f;

    void menu(const char* entry) { f.scores().findChild<QAction*>(QString::fromLatin1(entry))->trigger(); }
    void click(QWidget* in, const char* button)
    {
        QTest::mouseClick(f.child<QPushButton>(in, QString::fromLatin1(button)), Qt::LeftButton);
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    // A name that looks like markup is shown as written wherever a tooltip
    // carries it: the history's players, the high-score table's names.
    void tooltips_show_names_as_written()
    {
        Commands& c = f.app->commands();
        c.showOptions(1);
        c.optionsNameTyped(0, QStringLiteral("<b>Bo</b> & <i>Al</i>"));
        c.optionsNameTyped(1, QStringLiteral("<img src=x>"));
        c.optionsOk();
        for (const char* label : {"T20", "T20", "T20"})
            f.throwAt(QString::fromLatin1(label));
        const auto shown = ShownToolTip;

        menu("mnuStaMatchHistory");
        QPointer<frmHistory> history = f.app->history();
        QVERIFY(history);
        QTreeWidgetItem* row = history->list()->topLevelItem(0);
        QCOMPARE(row->text(1), QStringLiteral("<b>Bo</b> & <i>Al</i> v <img src=x>"));
        QCOMPARE(shown(row->toolTip(1)), row->text(1));

        menu("mnuStaHistory");
        frmHiScores* scores = f.app->hiScores();
        QVERIFY(scores);
        QTreeWidgetItem* best = scores->list()->topLevelItem(0);
        QCOMPARE(best->text(1), QStringLiteral("<b>Bo</b> & <i>Al</i>"));
        QCOMPARE(shown(best->toolTip(1)), best->text(1));
        QCOMPARE(shown(best->toolTip(2)), QStringLiteral("<img src=x>"));
    }

    void lists_the_stored_matches_and_shows_and_prints_a_stored_matchs_pages()
    {
        f.app->commands().fixClock(QDateTime(QDate(2031, 3, 4), QTime(20, 15, 0)));
        f.chooseStart(2); // 101
        // A leg won on D20, a bust, and a dart taken back.
        for (const char* label : {"T20", "1", "D20"})
            f.throwAt(QString::fromLatin1(label));
        QVERIFY(f.app->winner());
        click(f.app->winner(), "cmdOk");
        for (const char* label : {"T20", "T20", "20", "19", "5"})
            f.throwAt(QString::fromLatin1(label));
        click(&f.scores(), "cmdUndo");
        menu("mnustaPlayer1");
        const Pages played = PagesOf(f.model().stats);
        auto both = [&](auto&& each) { return each(0) + QStringLiteral(" - ") + each(1); };
        const PlayerPanel* panels = f.model().board.panel;
        const QString shownLegs = both([&](int p) { return panels[p].lblLeg.text(); });
        const QString shownSets = both([&](int p) { return panels[p].lblSet.text(); });
        const QString shownAverage = both([&](int p) { return panels[p].lblAverage.text(); });
        const QString darts = both([&](int p) { return QString::number(f.model().match().player(p).dartsInMatch); });
        QCOMPARE(darts, QStringLiteral("5 - 2"));
        // Closed, so its activation works out no bar behind the test's back.
        click(f.app->stats(), "cmdExit");
        menu("mnuFilNew");
        f.app->commands().fixClock(QDateTime(QDate(2031, 3, 5), QTime(9, 0, 0)));
        f.throwAt(QStringLiteral("T19"));
        const Pages running = PagesOf(f.model().stats);

        menu("mnuStaMatchHistory");
        QPointer<frmHistory> window = f.app->history();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTreeWidget* list = window->list();
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("05/03/2031 09:00:00"));
        QCOMPARE(list->topLevelItem(0)->text(6), QStringLiteral("in progress"));
        QTreeWidgetItem* first = list->topLevelItem(1);
        QCOMPARE(first->text(0), QStringLiteral("04/03/2031 20:15:00"));
        QCOMPARE(first->text(1), QStringLiteral("Player 1 v Player 2"));
        QCOMPARE(first->text(2), shownSets);
        QCOMPARE(first->text(3), shownLegs);
        QCOMPARE(first->text(4), darts);
        QCOMPARE(first->text(5), shownAverage);
        QCOMPARE(first->text(6), QStringLiteral("abandoned"));
        QCOMPARE(first->text(7), QString());

        // Opened: the pages of the first match, as they were shown.
        list->setCurrentItem(first);
        click(window, "cmdOpen");
        QPointer<frmStats> pages = f.app->historyPages();
        QVERIFY(pages);
        QVERIFY(QTest::qWaitForWindowExposed(pages));
        QVERIFY(pages != f.app->stats());
        QCOMPARE(PagesOf(f.model().historyWindow.opened->stats), played);
        std::vector<std::vector<QStringList>> want = played.grids;
        std::sort(want.begin(), want.end());
        QCOMPARE(ShownGrids(pages), want);
        QCOMPARE(pages->bar(1, 0)->value(), played.bars[1]);
        QCOMPARE(pages->tabs()->tabText(0), QStringLiteral("Player 1"));
        // The running match's tables are its own. (Its bars are left out: the
        // statistics window, activated when the windows change, works out
        // the scoring bar afresh.)
        QVERIFY(PagesOf(f.model().stats).grids == running.grids);

        // Its second player's page printed to a file.
        QTabBar* tabs = pages->tabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QCOMPARE(f.model().historyWindow.pages.tab, 2);
        QCOMPARE(f.model().statsWindow.tab, 1);
        const QString pdf = f.dir->filePath(QStringLiteral("stored.pdf"));
        f.app->printing().target.setChooseFile([&](const QString&) { return pdf; });
        click(pages, "cmdPrint");
        QPointer<frmPrint> dialog = f.app->historyPrint();
        QVERIFY(dialog);
        QComboBox* box = dialog->printerBox();
        box->setCurrentIndex(box->findText(QStringLiteral("PDF file")));
        click(dialog, "cmdOk");
        QVERIFY(QFileInfo(pdf).size() > 0);
        QVERIFY2(f.notifier.messages.isEmpty(), qPrintable(f.notifier.messages.join(u'\n')));
        const QString reader = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (!reader.isEmpty()) {
            QProcess run;
            run.start(reader, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
            QVERIFY(run.waitForFinished(30000));
            const QString text = QString::fromUtf8(run.readAllStandardOutput());
            // Headed with the day the match was played, and when it was printed.
            QVERIFY2(text.contains(QStringLiteral("Player 2's Statistics - Date:04/03/2031 20:15:00")),
                     qPrintable(text));
            QVERIFY2(text.contains(QStringLiteral("Printed: 05/03/2031 09:00:00")), qPrintable(text));
        }

        // Another match opened replaces the pages; "&Exit" closes them, and
        // "&Close" the history.
        list->setCurrentItem(list->topLevelItem(0));
        click(window, "cmdOpen");
        QTRY_VERIFY(pages.isNull());
        QVERIFY(f.app->historyPages());
        QCOMPARE(f.model().historyWindow.openedRow, 0);
        pages = f.app->historyPages();
        click(pages, "cmdExit");
        QTRY_VERIFY(pages.isNull());
        QVERIFY(!f.model().historyWindow.opened);
        click(window, "cmdClose");
        QTRY_VERIFY(window.isNull());
        QVERIFY(!f.model().historyWindow.open);
        // Its close box does what "&Close" does.
        menu("mnuStaMatchHistory");
        window = f.app->history();
        QVERIFY(window);
        window->close();
        QVERIFY(!f.model().historyWindow.open);
        QTRY_VERIFY(window.isNull());
    }

    void export_adds_the_ending_of_the_kind_chosen()
    {
        f.throwAt(QStringLiteral("T20"));
        menu("mnuStaMatchHistory");
        frmHistory* window = f.app->history();
        QVERIFY(window);
        // The file dialog answered as the operator would: a name without an
        // ending, JSON chosen as the kind.
        const QString typed = f.dir->filePath(QStringLiteral("all matches"));
        bool answered = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->selectNameFilter(dialog->nameFilters().value(1));
            dialog->selectFile(typed);
            QMetaObject::invokeMethod(dialog, "accept");
            answered = true;
        });
        click(window, "cmdExport");
        QVERIFY(answered);
        QFile file(typed + QStringLiteral(".json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonArray matches = QJsonDocument::fromJson(file.readAll()).object().value(u"matches").toArray();
        QCOMPARE(matches.size(), 1);
        QCOMPARE(matches[0].toObject().value(u"players").toArray()[0].toObject().value(u"points").toInt(), 60);
        QVERIFY(f.notifier.messages.isEmpty());
    }
};

QTEST_MAIN(HistoryWindowTest)
#include "history_window_test.moc"
