// The grid of text cells, the statistics tables' layout and the undo journal
// that their changes feed.
#include "base/ChangeJournal.h"
#include "stats/Grid.h"
#include "stats/StatsTables.h"

#include <QTest>

class GridTest : public QObject {
    Q_OBJECT
private slots:
    void rowCountDropsAndAddsRowsAtTheEnd()
    {
        Grid g("g", 12, 2, 1, 1, 100, 100);
        for (int r = 0; r < 12; ++r)
            g.setText(r, 1, QString::number(r));
        g.setRows(5);
        QCOMPARE(g.rows(), 5);
        QCOMPARE(g.text(4, 1), QStringLiteral("4"));
        g.setRows(10);
        QCOMPARE(g.rows(), 10);
        for (int r = 5; r < 10; ++r)
            QCOMPARE(g.text(r, 1), QString());
        QCOMPARE(g.text(0, 1), QStringLiteral("0"));
    }

    void clearEmptiesEveryCellButKeepsTheLayout()
    {
        Grid g("g", 3, 3, 1, 1, 100, 100);
        g.setText(0, 0, "heading");
        g.setText(2, 2, "x");
        g.setColWidth(1, 500);
        g.setColAlignment(1, Grid::AlignCentreCentre);
        g.clear();
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                QCOMPARE(g.text(r, c), QString());
        QCOMPARE(g.rows(), 3);
        QCOMPARE(g.colWidth(1), 500);
        QCOMPARE(g.colAlignment(1), int(Grid::AlignCentreCentre));
    }

    void addItemSplitsOnTabs()
    {
        Grid g("g", 10, 2, 1, 1, 100, 100);
        g.addItem(QStringLiteral("3\t60"));
        QCOMPARE(g.rows(), 11);
        QCOMPARE(g.text(10, 0), QStringLiteral("3"));
        QCOMPARE(g.text(10, 1), QStringLiteral("60"));
        g.addItem(QStringLiteral("only"));
        QCOMPARE(g.text(11, 0), QStringLiteral("only"));
        QCOMPARE(g.text(11, 1), QString());
    }

    void outsideTheGridReadsEmptyAndWritesNothing()
    {
        Grid g("g", 2, 2, 0, 0, 100, 100);
        g.setText(5, 0, "x");
        g.setText(0, -1, "x");
        QCOMPARE(g.text(5, 0), QString());
        QCOMPARE(g.text(-1, -1), QString());
        QCOMPARE(g.rows(), 2);
    }

    void topRowStaysWithinTheScrollingRows()
    {
        Grid g("g", 10, 2, 1, 1, 100, 100);
        QCOMPARE(g.topRow(), 1);
        g.setTopRow(0);      // a fixed row cannot be the top scrolling row
        QCOMPARE(g.topRow(), 1);
        g.addItem("30\t1");
        g.setTopRow(g.rows() - 1);
        QCOMPARE(g.topRow(), 10);
        g.setRows(10);       // that row is gone: the view goes back to the top
        QCOMPARE(g.topRow(), 1);
    }

    void journalPutsBackEveryChangeOfADart()
    {
        ChangeJournal journal;
        Grid g("g", 10, 2, 1, 1, 100, 100);
        g.setJournal(&journal);
        g.setText(1, 1, "before");
        const auto before = g.snapshot();

        journal.beginDart();
        g.setText(1, 1, "after");
        g.addItem("30\t7");
        g.setTopRow(10);
        g.setRows(4);      // drops rows with texts in them
        g.clear();
        journal.endDart();

        QVERIFY(journal.revertNewestDart());
        QCOMPARE(g.snapshot(), before);
        QCOMPARE(g.topRow(), 1);
        QVERIFY(!journal.revertNewestDart());
    }

    void journalKeepsOnlyItsDepth()
    {
        ChangeJournal journal(3);
        Grid g("g", 1, 1, 0, 0, 100, 100);
        g.setJournal(&journal);
        for (int i = 1; i <= 5; ++i) {
            journal.beginDart();
            g.setText(0, 0, QString::number(i));
            journal.endDart();
        }
        QCOMPARE(journal.dartsRecorded(), std::size_t(3));
        while (journal.revertNewestDart()) {
        }
        QCOMPARE(g.text(0, 0), QStringLiteral("2"));
    }

    void statsTablesLayoutIsWrittenWithoutTouchingCounters()
    {
        StatsTables s;
        s.InitStatsTables();
        QCOMPARE(s.grdStats[1].text(9, 0), QStringLiteral("16+"));
        QCOMPARE(s.grdStats2[0].text(9, 0), QStringLiteral("0-20"));
        QCOMPARE(s.grdDarts[0].text(0, 1), QStringLiteral("20"));
        QCOMPARE(s.grdDarts[0].text(0, 20), QStringLiteral("1"));
        QCOMPARE(s.grdDarts[0].colWidth(0), 200);
        QCOMPARE(s.grdDarts[1].colWidth(20), 300);
        QCOMPARE(s.grdDarts[0].colAlignment(0), int(Grid::AlignCentreBottom));
        QCOMPARE(s.grdDarts[1].colAlignment(0), int(Grid::AlignGeneral));
        QCOMPARE(s.grdGameStats.text(4, 0), QStringLiteral("Legs Played"));
        QCOMPARE(s.grdGameStats.colWidth(2), 500);

        s.grdDarts[0].setText(1, 1, QStringLiteral("2"));
        s.grdOldScores[0].addItem("18\t60");
        s.InitStatsTables();
        QCOMPARE(s.grdDarts[0].text(1, 1), QStringLiteral("2"));
        QCOMPARE(s.grdOldScores[0].rows(), 5);
        QCOMPARE(s.grdOldScores[0].text(5, 0), QString());
        QVERIFY(s.grdStats[0].text(3, 1).isEmpty());   // "Outshots" never shows a value
    }
};

QTEST_GUILESS_MAIN(GridTest)
#include "grid_test.moc"
