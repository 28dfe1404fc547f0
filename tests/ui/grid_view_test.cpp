// A grid on screen follows its model by revision: cells, heading row,
// alignments, widths, row count and the top row.
#include "stats/Grid.h"
#include "ui/GridView.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

class GridViewTest : public QObject {
    Q_OBJECT

private slots:
    void heading_row_is_the_header_and_fixed_columns_are_headings()
    {
        Grid grid(QStringLiteral("grdLastScores"), 10, 2, 1, 1, 1995, 3255);
        grid.setText(0, 0, QStringLiteral("Darts"));
        grid.setText(0, 1, QStringLiteral("Score"));
        grid.setText(1, 0, QStringLiteral("3"));
        grid.setText(1, 1, QStringLiteral("Bust (45)"));
        GridView view(nullptr, QStringLiteral("grdLastScores_0"), grid);
        QAbstractItemModel* m = view.model();
        QCOMPARE(m->rowCount(), 9);
        QCOMPARE(m->columnCount(), 2);
        QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Darts"));
        QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("3"));
        QCOMPARE(m->index(0, 1).data().toString(), QStringLiteral("Bust (45)"));
        QVERIFY(!view.horizontalHeader()->isHidden());
        // The fixed column is drawn as a heading, the others as cells.
        QVERIFY(m->index(0, 0).data(Qt::BackgroundRole) != m->index(0, 1).data(Qt::BackgroundRole));

        Grid plain(QStringLiteral("grdStats"), 13, 2, 0, 1, 1995, 3255);
        GridView plainView(nullptr, QStringLiteral("grdStats_0"), plain);
        QCOMPARE(plainView.model()->rowCount(), 13);
        QVERIFY(plainView.horizontalHeader()->isHidden());
    }

    void alignment_and_widths_follow_the_grid()
    {
        Grid grid(QStringLiteral("g"), 3, 3, 0, 0, 3000, 1000);
        grid.setText(0, 0, QStringLiteral("12.5"));
        grid.setText(1, 0, QStringLiteral("High Score"));
        grid.setColAlignment(1, Grid::AlignCentreCentre);
        grid.setColAlignment(2, Grid::AlignCentreBottom);
        grid.setColWidth(0, 1500);
        GridView view(nullptr, QStringLiteral("g"), grid);
        auto align = [&](int r, int c) {
            return view.model()->index(r, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        };
        // General alignment: numbers to the right, texts to the left.
        QVERIFY(align(0, 0) & Qt::AlignRight);
        QVERIFY(align(1, 0) & Qt::AlignLeft);
        QCOMPARE(align(0, 1), Qt::Alignment(Qt::AlignCenter));
        QCOMPARE(align(0, 2), Qt::Alignment(Qt::AlignHCenter | Qt::AlignBottom));
        QCOMPARE(view.columnWidth(0), 100);
        QCOMPARE(view.columnWidth(1), 64); // the grid's default 960 twips

        grid.setColWidth(1, 300);
        view.sync();
        QCOMPARE(view.columnWidth(1), 20);
    }

    // The widths of texts are remembered per font: a larger font must widen
    // the columns again, or its texts would be cut short.
    void columns_refit_their_texts_after_a_font_change()
    {
        Grid grid(QStringLiteral("g"), 3, 2, 0, 0, 3000, 1000);
        grid.setColWidth(0, 300);
        grid.setColWidth(1, 300);
        grid.setText(0, 0, QStringLiteral("Bust (45)"));
        grid.setText(1, 1, QStringLiteral("180"));
        GridView view(nullptr, QStringLiteral("g"), grid);
        view.setWidestWidth(2000);
        view.resize(200, 200);
        grid.setText(2, 0, QStringLiteral("Bust (45)")); // a new revision: re-fitted
        view.sync();
        QVERIFY(view.columnFits(0) && view.columnFits(1));
        const QString text = QStringLiteral("Bust (45)");
        const int before = view.columnWidth(0);
        // Margins and grid line: what the cell needs beyond the text itself.
        const int margins = view.cellWidthFor(text) - view.fontMetrics().horizontalAdvance(text);

        QFont big = view.font();
        big.setPixelSize(QFontInfo(big).pixelSize() * 3);
        view.setFont(big);
        QCOMPARE(view.cellWidthFor(text), view.fontMetrics().horizontalAdvance(text) + margins);
        grid.setText(2, 1, QStringLiteral("60"));
        view.sync();
        QVERIFY(view.columnWidth(0) > before);
        QVERIFY(view.columnFits(0) && view.columnFits(1));
    }

    void view_resets_only_when_the_shape_changes()
    {
        Grid grid(QStringLiteral("grdOldScores"), 5, 2, 0, 1, 2235, 1965);
        GridView view(nullptr, QStringLiteral("grdOldScores_0"), grid);
        QSignalSpy resets(view.model(), &QAbstractItemModel::modelReset);
        QSignalSpy changes(view.model(), &QAbstractItemModel::dataChanged);

        view.sync(); // nothing changed: nothing to do
        QCOMPARE(resets.count() + changes.count(), 0);

        grid.setText(0, 1, QStringLiteral("60"));
        view.sync();
        QCOMPARE(resets.count(), 0);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(view.model()->index(0, 1).data().toString(), QStringLiteral("60"));

        grid.addItem(QStringLiteral("18\t100"));
        view.sync();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(view.model()->rowCount(), 6);
        QCOMPARE(view.model()->index(5, 1).data().toString(), QStringLiteral("100"));

        grid.setRows(5);
        view.sync();
        QCOMPARE(view.model()->rowCount(), 5);
    }

    void top_row_scrolls_the_view()
    {
        Grid grid(QStringLiteral("grdOldScores"), 5, 2, 0, 1, 2235, 1965);
        GridView view(nullptr, QStringLiteral("grdOldScores_0"), grid);
        view.resize(149, 60); // room for a few rows only
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        for (int v = 6; v <= 30; ++v)
            grid.addItem(QString::number(3 * v) + QLatin1Char('\t') + QString::number(v));
        grid.setTopRow(grid.rows() - 1);
        view.sync();
        QCoreApplication::processEvents();
        // The newest visit is on view.
        const QModelIndex last = view.model()->index(grid.rows() - 1, 0);
        QVERIFY(view.viewport()->rect().intersects(view.visualRect(last)));
        QVERIFY(view.verticalScrollBar()->value() > 0);
    }
};

QTEST_MAIN(GridViewTest)
#include "grid_view_test.moc"
