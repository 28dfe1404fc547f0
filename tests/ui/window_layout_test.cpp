// The windows at the sizes people run them at: every control inside the
// main window and clear of the board's beds, announcements readable, names
// shown as written, and no text of the statistics window cut short.
#include "UiTestSupport.h"

#include "stats/Grid.h"
#include "store/RecordSet.h"
#include "ui/GridView.h"
#include "ui/Widgets.h"
#include "ui/frmHiScores.h"
#include "ui/frmStats.h"
#include "ui/frmWinnerBust.h"

#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QTabBar>
#include <QGlyphRun>
#include <QTextLayout>
#include <QToolTip>
#include <QTreeWidget>

#include <cmath>
#include <numbers>

namespace {

// The sizes people run it at: the window's smallest, an old monitor, a
// netbook, the common desktops and laptops and a wide, low window.
const QList<QSize> Sizes = {QSize(640, 480), QSize(800, 600), QSize(1024, 600), QSize(1024, 768),
                            QSize(1280, 800), QSize(1920, 1080), QSize(1600, 640)};

double DistanceToRect(const QPointF& p, const QRectF& r)
{
    const double dx = std::max({r.left() - p.x(), 0.0, p.x() - r.right()});
    const double dy = std::max({r.top() - p.y(), 0.0, p.y() - r.bottom()});
    return std::hypot(dx, dy);
}

QString Unescaped(QString caption)
{
    return caption.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT
    UiFixture f;

    QWidget* child(QWidget* in, const QString& name) { return f.child<QWidget>(in, name); }

    // Sizes the main window (not maximised) and lets it lay itself out.
    void sizeTo(const QSize& size)
    {
        frmScores& s = f.scores();
        s.showNormal();
        s.resize(size);
        QCoreApplication::processEvents();
        QCOMPARE(s.size(), size.expandedTo(s.minimumSize()));
    }

    // The board's centre and double-ring radius in client-area pixels.
    void ring(QPointF* centre, double* radius)
    {
        const BoardRect& r = f.model().board.Image1;
        const BoardCircles c = CirclesOf(r);
        *centre = QPointF(double(c.cx) / 15, double(c.cy) / 15);
        *radius = double(c.R) / 15;
    }

    // The settings as a file of an older version may hold them (names of
    // any length), loaded as at start-up.
    void loadSaved(const QString& first, const QString& second, int startWith = 501,
                   const QString& legs = QStringLiteral("3"))
    {
        RecordSet& rs = *f.model().rsOptions;
        rs.moveFirst();
        rs.edit();
        rs.setField(QStringLiteral("Player1"), first);
        rs.setField(QStringLiteral("Player2"), second);
        rs.setField(QStringLiteral("StartWith"), startWith);
        rs.setField(QStringLiteral("NumberOfLegs"), legs);
        rs.setField(QStringLiteral("NumberofSets"), QStringLiteral("1"));
        QVERIFY(rs.update());
        // The names as a started program loads them, and a new game at the
        // saved starting score.
        f.app->commands().load();
        f.app->commands().newGame();
    }

    // Both lines of the open announcement are inside their labels, clear of
    // each other and of "&Ok".
    void checkAnnouncementReadable(const char* when)
    {
        frmWinnerBust* dialog = f.app->winner();
        QVERIFY2(dialog, when);
        auto* winner = f.child<FitLabel>(dialog, QStringLiteral("lblWinner"));
        auto* player = f.child<FitLabel>(dialog, QStringLiteral("lblPlayer"));
        auto* ok = f.child<QPushButton>(dialog, QStringLiteral("cmdOk"));
        const QRect dialogRect = dialog->rect();
        QRect texts[2];
        int i = 0;
        for (FitLabel* label : {winner, player}) {
            const QRect text = label->textRect();
            if (!label->text().isEmpty()) {
                QVERIFY2(label->rect().contains(text), when);
                QVERIFY2(dialogRect.contains(label->geometry()), when);
                QVERIFY2(!label->geometry().intersects(ok->geometry()), when);
            }
            texts[i++] = text.translated(label->pos());
        }
        if (!winner->text().isEmpty()) {
            QVERIFY2(!winner->geometry().intersects(player->geometry()), when);
            QVERIFY2(!texts[0].intersects(texts[1]), when);
            // The first line stays above the second.
            QVERIFY2(texts[0].bottom() < texts[1].top(), when);
        }
        QVERIFY2(dialogRect.contains(ok->geometry()), when);
    }

    // Whether any cell text of a grid view is cut short.
    static QString cutCells(GridView* view)
    {
        QString cut;
        const Grid& g = view->gridModel()->grid();
        for (int c = 0; c < g.cols(); ++c)
            for (int r = 0; r < g.rows(); ++r)
                if (view->cellWidthFor(g.text(r, c)) > view->columnWidth(c))
                    cut += QStringLiteral("%1 (%2,%3) \"%4\"; ")
                               .arg(view->objectName())
                               .arg(r)
                               .arg(c)
                               .arg(g.text(r, c));
        return cut;
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void controls_stay_inside_the_window_and_off_the_beds()
    {
        frmScores& s = f.scores();
        QWidget* area = s.clientArea();
        for (const QSize& size : Sizes) {
            sizeTo(size);
            const QString at = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
            const QRect client = area->rect();
            QPointF centre;
            double R = 0;
            ring(&centre, &R);

            // Every field of both panels is on view, Darts and Avg included.
            for (int p = 0; p < 2; ++p) {
                QWidget* panel = child(&s, QStringLiteral("Frame1_%1").arg(p));
                QVERIFY2(client.contains(panel->geometry()), qPrintable(at));
                for (QWidget* w : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                    if (w->isHidden() || w->objectName().startsWith(QLatin1String("Shape1")))
                        continue;
                    QVERIFY2(panel->rect().contains(w->geometry()),
                             qPrintable(at + u' ' + w->objectName()));
                }
                for (const char* name : {"lblDartsThrown", "lblAverage", "lblDarts", "lblAvg"}) {
                    QWidget* w = child(panel, QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(p));
                    QVERIFY2(w->isVisible(), name);
                    QVERIFY2(w->y() >= child(panel, QStringLiteral("grdOldScores_%1").arg(p))->geometry().bottom(),
                             name);
                }
            }

            // "&Undo" is inside the window and off the board's numbers.
            QWidget* undo = child(&s, QStringLiteral("cmdUndo"));
            QVERIFY2(client.contains(undo->geometry()), qPrintable(at));
            QVERIFY2(DistanceToRect(centre, QRectF(undo->geometry())) > R * 1.36,
                     qPrintable(at));

            // The whole double ring is on view, and a press anywhere on it
            // reaches the board, whatever lies over the board elsewhere.
            QVERIFY2(centre.y() + R <= client.height(), qPrintable(at));
            int pressed = 0;
            for (int k = 0; k < 360; k += 3) {
                const double a = k * std::numbers::pi / 180;
                for (double r : {R - 1.5, R * 0.5, R * 0.97}) {
                    const QPoint spot(int(std::floor(centre.x() + r * std::sin(a))),
                                      int(std::floor(centre.y() - r * std::cos(a))));
                    QVERIFY2(client.contains(spot), qPrintable(at));
                    QWidget* hit = area->childAt(spot);
                    QVERIFY2(hit == &f.board(),
                             qPrintable(QStringLiteral("%1: %2,%3 lies under %4")
                                            .arg(at)
                                            .arg(spot.x())
                                            .arg(spot.y())
                                            .arg(hit ? hit->objectName() : QStringLiteral("nothing"))));
                    ++pressed;
                }
            }
            QCOMPARE(pressed, 360);

            // The numbers round the doubles, where the picture draws them,
            // and the thin ring that ends the board: all of it inside the
            // window and over nothing else, the panels included.
            auto onBoard = [&](const QPointF& p, const char* what) {
                const QPoint spot(int(std::floor(p.x())), int(std::floor(p.y())));
                QWidget* hit = client.contains(spot) ? area->childAt(spot) : nullptr;
                QVERIFY2(hit == &f.board(),
                         qPrintable(QStringLiteral("%1: %2 at %3,%4 lies under %5")
                                        .arg(at, QLatin1String(what))
                                        .arg(spot.x())
                                        .arg(spot.y())
                                        .arg(hit ? hit->objectName() : QStringLiteral("the window's edge"))));
            };
            const double numbers = R * 1.18, half = R * 0.17, edge = R * 1.36;
            for (int row = 0; row <= BottomRow; ++row) {
                for (const double sign : {1.0, -1.0}) {
                    const double a = SectorMiddleAngle(row) * sign * std::numbers::pi / 180;
                    const QPointF mid(centre.x() + numbers * std::sin(a), centre.y() - numbers * std::cos(a));
                    for (const QPointF& corner : {QPointF(-half, -half), QPointF(half, -half),
                                                  QPointF(-half, half), QPointF(half, half)})
                        onBoard(mid + corner, "a number");
                }
            }
            for (const QPointF& extreme : {QPointF(0, -edge), QPointF(0, edge), QPointF(-edge, 0), QPointF(edge, 0)})
                onBoard(centre + extreme, "the board's edge");
            if (QTest::currentTestFailed())
                return;
            // A dart thrown at the lower left double is recorded there.
            f.throwAt(QStringLiteral("D8"));
            QCOMPARE(f.lastDart(), QStringLiteral("D8"));
        }
    }

    void announcement_stays_off_the_beds_at_every_size()
    {
        frmScores& s = f.scores();
        // Any open announcement: a bust from 101.
        f.chooseStart(2);
        for (int i = 0; i < 2; ++i)
            f.throwAt(QStringLiteral("T20"));
        frmWinnerBust* dialog = f.app->winner();
        QVERIFY(dialog && dialog->isVisible());
        const QSize frame = dialog->expectedFrame().size();

        for (const QSize& size : Sizes) {
            sizeTo(size);
            const QString at = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
            QPointF centre;
            double radius = 0;
            QVERIFY(dialog->boardRing(&centre, &radius));
            // The dialog as placed now, after the window was sized.
            QVERIFY2(DistanceToRect(centre, QRectF(dialog->expectedFrame())) >= radius,
                     qPrintable(at));
            // And on a screen no larger than the window (maximised): a spot
            // on the window itself.
            const QRect home = s.frameGeometry();
            const QPoint spot = ClearSpotFor(frame, home, home, centre, radius, QRect());
            QVERIFY2(home.contains(QRect(spot, frame)), qPrintable(at));
            QVERIFY2(DistanceToRect(centre, QRectF(QRect(spot, frame))) >= radius ||
                         size == QSize(640, 480),
                     qPrintable(at));
            // Still, the board is usable behind it.
            f.throwAt(QStringLiteral("D8"));
            QCOMPARE(f.lastDart(), QStringLiteral("D8"));
        }
        // The smallest window leaves no room beside its board: the dialog
        // goes next to the window on the screen.
        const QRect screen(0, 0, 1024, 768);
        const QRect home(QPoint(100, 100), QSize(640, 480));
        QPointF centre(100 + 320, 100 + 180);
        const QPoint spot = ClearSpotFor(frame, screen, home, centre, 130, QRect());
        QVERIFY(screen.contains(QRect(spot, frame)));
        QVERIFY(DistanceToRect(centre, QRectF(QRect(spot, frame))) >= 130);
    }

    void announcement_leaves_the_scores_on_view()
    {
        // Play goes on under the dialog: where the window leaves room beside
        // the board, neither panel's name, score or visit is hidden by it.
        f.chooseStart(2);
        for (int i = 0; i < 2; ++i)
            f.throwAt(QStringLiteral("T20"));
        frmWinnerBust* dialog = f.app->winner();
        QVERIFY(dialog && dialog->isVisible());
        for (const QSize& size : {QSize(1024, 768), QSize(1920, 1080), QSize(1280, 720)}) {
            sizeTo(size);
            // A screen the size of the window, as when it is maximised, and
            // the dialog bare or in a window manager's frame with a title.
            for (const QSize& margin : {QSize(0, 0), QSize(8, 36)}) {
                const QSize outer = dialog->expectedFrame().size() + margin;
                const auto spot = dialog->clearSpotOn(f.scores().frameGeometry(), outer);
                QVERIFY(spot);
                const QRect frame(*spot, outer);
                for (const char* name : {"Frame1_0", "Frame1_1"}) {
                    const QWidget* panel = f.scores().findChild<QWidget*>(QLatin1String(name));
                    QVERIFY(panel);
                    const QWidget* score = panel->findChild<QWidget*>(
                        QStringLiteral("lblThreeDartScore") + QLatin1String(name).mid(6));
                    QVERIFY(score);
                    const QRect scores(panel->mapToGlobal(QPoint(0, 0)),
                                       QSize(panel->width(), score->geometry().bottom()));
                    QVERIFY2(!frame.intersects(scores),
                             qPrintable(QStringLiteral("%1x%2 %3").arg(size.width()).arg(size.height())
                                            .arg(QLatin1String(name))));
                }
            }
        }
    }

    void bust_then_win_keeps_both_lines_readable()
    {
        f.chooseStart(2); // 101
        f.throwAt(QStringLiteral("T20"));
        f.throwAt(QStringLiteral("T20")); // bust: the first line drops, empty
        QCOMPARE(f.model().winner.winnerTop(), Announcement::DialogHeight / 2);
        checkAnnouncementReadable("bust");
        // Player 2 wins the leg in the same dialog: 101 = T17, 50.
        f.throwAt(QStringLiteral("T17"));
        f.throwAt(QStringLiteral("50"));
        QCOMPARE(f.model().winner.lblWinner(), QStringLiteral("Player 2"));
        checkAnnouncementReadable("leg after a bust");
        auto* winner = f.child<FitLabel>(f.app->winner(), QStringLiteral("lblWinner"));
        QCOMPARE(winner->fitted().lines, QStringList{QStringLiteral("Player 2")});
    }

    void long_names_fit_the_announcement_and_the_panels()
    {
        const QString thirty = QStringLiteral("Maximilian Oberhausen-Weinberg"); // 30
        const QString endless = QString(QStringLiteral("Bartholomew")).repeated(20);
        QCOMPARE(thirty.size(), 30);
        for (const QString& name : {thirty, endless, QStringLiteral("W").repeated(30)}) {
            f.stop();
            f.start();
            // The match is won with one leg, from 101.
            loadSaved(name, QStringLiteral("Bo"), 101, QStringLiteral("1"));
            f.throwAt(QStringLiteral("T17"));
            f.throwAt(QStringLiteral("50"));
            QCOMPARE(f.model().winner.lblPlayer(), name.trimmed());
            checkAnnouncementReadable("match winner");
            auto* player = f.child<FitLabel>(f.app->winner(), QStringLiteral("lblPlayer"));
            // A name of the longest the options allow is shown whole, only
            // smaller; a longer one from an older file ends in an ellipsis.
            QCOMPARE(player->fitted().elided, name.size() > 30);
            if (name.size() <= 30)
                QCOMPARE(player->fitted().lines.join(QString()).remove(u' '),
                         QString(name).remove(u' '));

            // The panel shows it on one line, cut short, whole in a tooltip.
            auto* label = f.child<FitLabel>(&f.scores(), QStringLiteral("lblNames_0"));
            QCOMPARE(label->text(), name);
            const FittedText shown = label->fitted();
            QCOMPARE(shown.lines.size(), 1);
            QVERIFY(shown.elided);
            QVERIFY(shown.lines[0].endsWith(QChar(0x2026)));
            QVERIFY(label->contentsRect().contains(label->textRect()));
            QHelpEvent help(QEvent::ToolTip, label->rect().center(),
                            label->mapToGlobal(label->rect().center()));
            QApplication::sendEvent(label, &help);
            QCOMPARE(ShownToolTip(QToolTip::text()), name);
            QToolTip::hideText();
            // The menus keep to a sensible width, the whole name in the tooltip.
            QAction* entry = f.scores().findChild<QAction*>(QStringLiteral("mnustaPlayer1"));
            const QString shownEntry = Unescaped(entry->text());
            QVERIFY(QFontMetrics(f.scores().menuBar()->font()).horizontalAdvance(shownEntry) <= 360);
            QCOMPARE(entry->toolTip(), name);
            QCOMPARE(shownEntry == name, name.size() <= 30);
            // The other panel's short name is whole and has no tooltip.
            auto* other = f.child<FitLabel>(&f.scores(), QStringLiteral("lblNames_1"));
            QVERIFY(!other->fitted().elided);
            QCOMPARE(other->fitted().lines, QStringList{QStringLiteral("Bo")});
        }
    }

    void names_show_as_written_everywhere()
    {
        const QString tom = QStringLiteral("Tom & Jerry");
        const QString markup = QStringLiteral("<b>Al</b>");
        loadSaved(tom, markup, 101);
        frmScores& s = f.scores();
        // Menus and tabs show the name itself, with no access key made of it.
        for (const char* name : {"mnuOptPlayer1", "mnustaPlayer1"}) {
            QAction* a = s.findChild<QAction*>(QString::fromLatin1(name));
            QCOMPARE(Unescaped(a->text()), tom);
            QVERIFY(QKeySequence::mnemonic(a->text()).isEmpty());
        }
        QTabBar* tabs = f.app->stats()->tabs();
        QCOMPARE(Unescaped(tabs->tabText(0)), tom);
        QVERIFY(QKeySequence::mnemonic(tabs->tabText(0)).isEmpty());
        QCOMPARE(tabs->tabText(1), markup);
        // Panels draw the text literally: no markup, no access key.
        auto* first = f.child<FitLabel>(&s, QStringLiteral("lblNames_0"));
        auto* second = f.child<FitLabel>(&s, QStringLiteral("lblNames_1"));
        QCOMPARE(first->textFormat(), Qt::PlainText);
        QCOMPARE(first->fitted().lines, QStringList{tom});
        QCOMPARE(second->fitted().lines, QStringList{markup});

        // The high-score list keeps it whole, in the cell and its tooltip.
        loadSaved(tom, markup, 501);
        for (int d = 0; d < 3; ++d)
            f.throwAt(QStringLiteral("T20"));
        s.findChild<QAction*>(QStringLiteral("mnuStaHistory"))->trigger();
        QTreeWidget* list = f.app->hiScores()->list();
        bool found = false;
        for (int r = 0; r < list->topLevelItemCount(); ++r)
            if (list->topLevelItem(r)->text(1) == tom) {
                QCOMPARE(ShownToolTip(list->topLevelItem(r)->toolTip(1)), tom);
                QCOMPARE(list->topLevelItem(r)->text(2), markup);
                found = true;
            }
        QVERIFY(found);

        // The announcement draws the name as written too: the second
        // player wins a leg from 101.
        loadSaved(tom, markup, 101);
        for (int miss = 0; miss < 3; ++miss)
            f.throwAt(QStringLiteral("0"));
        f.throwAt(QStringLiteral("T17"));
        f.throwAt(QStringLiteral("50"));
        auto* winner = f.child<FitLabel>(f.app->winner(), QStringLiteral("lblWinner"));
        QCOMPARE(winner->textFormat(), Qt::PlainText);
        QCOMPARE(winner->fitted().lines, QStringList{markup});
    }

    // An emoji in a name is drawn from a font that has it wherever the name
    // shows, not as the box of a missing glyph.
    void emoji_in_names_are_drawn()
    {
        const QString ann = QStringLiteral("Ann \U0001F3AF"), bo = QStringLiteral("\U0001F3C6 Bo \u2764\uFE0F");
        loadSaved(ann, bo, 101);
        for (int miss = 0; miss < 3; ++miss)
            f.throwAt(QStringLiteral("0"));
        f.throwAt(QStringLiteral("T17"));
        f.throwAt(QStringLiteral("50")); // the second player wins the leg
        const QList<QPair<QWidget*, QString>> shown = {
            {f.child<QWidget>(&f.scores(), QStringLiteral("lblNames_0")), ann},
            {f.child<QWidget>(&f.scores(), QStringLiteral("lblNames_1")), bo},
            {f.child<QWidget>(f.app->winner(), QStringLiteral("lblWinner")), bo},
            {f.scores().menuBar(), ann},
            {f.app->stats()->tabs(), bo},
        };
        for (const auto& [widget, name] : shown) {
            QVERIFY(widget);
            QTextLayout layout(name, widget->font());
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            int glyphs = 0;
            for (const QGlyphRun& run : layout.glyphRuns())
                for (const quint32 glyph : run.glyphIndexes()) {
                    QVERIFY2(glyph != 0, qPrintable(widget->objectName() + QStringLiteral(": a box in ") + name));
                    ++glyphs;
                }
            QVERIFY(glyphs >= 4);
        }
    }

    void statistics_show_every_text_whole()
    {
        // Both players throw 180, 180 and 100: averages of 153.33 and a
        // shared high score.
        for (int visit = 0; visit < 6; ++visit)
            for (const char* dart : {"T20", visit < 4 ? "T20" : "20", visit < 4 ? "T20" : "20"})
                f.throwAt(QString::fromLatin1(dart));
        QCOMPARE(f.model().stats.grdStats[0].text(2, 1), QStringLiteral("153.33"));
        QCOMPARE(f.model().stats.grdStats[1].text(2, 1), QStringLiteral("153.33"));
        QCOMPARE(f.model().stats.grdGameStats.text(0, 1), QStringLiteral("Both Players Share"));

        for (int tab = 1; tab <= 3; ++tab) {
            f.app->showStats(tab);
            frmStats* stats = f.app->stats();
            QVERIFY(stats->isVisible());
            QFrame* page = stats->page(tab);
            QVERIFY(page->isVisible());
            QList<GridView*> views = page->findChildren<GridView*>();
            QVERIFY(!views.isEmpty());
            for (GridView* view : views) {
                QCOMPARE(cutCells(view), QString());
                // Widened tables stay on their page and off their neighbours.
                QVERIFY2(page->rect().contains(view->geometry()), qPrintable(view->objectName()));
                for (GridView* other : views)
                    QVERIFY2(other == view || !other->geometry().intersects(view->geometry()),
                             qPrintable(view->objectName() + u' ' + other->objectName()));
            }
            // Every fixed text of the page fits its label.
            for (QLabel* label : page->findChildren<QLabel*>()) {
                if (label->text().isEmpty())
                    continue;
                const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
                const QRect needed = label->fontMetrics().boundingRect(
                    label->contentsRect(), flags, label->text());
                QVERIFY2(label->contentsRect().contains(needed),
                         qPrintable(label->objectName() + u' ' + label->text()));
            }
        }
        // The game grid in particular: the shared high score beside its score.
        auto* game = f.child<GridView>(f.app->stats(), QStringLiteral("grdGameStats"));
        QVERIFY(game->columnFits(1));
        auto* averages = f.child<GridView>(f.app->stats(), QStringLiteral("grdStats_0"));
        QVERIFY(averages->columnFits(1));
    }

    void statistics_cut_long_names_short_with_a_tooltip()
    {
        const QString name = QStringLiteral("Wolfgang").repeated(12);
        loadSaved(name, QStringLiteral("Bo"));
        for (int d = 0; d < 3; ++d)
            f.throwAt(QStringLiteral("T20"));
        f.app->showStats(3);
        auto* game = f.child<GridView>(f.app->stats(), QStringLiteral("grdGameStats"));
        // Widened as far as the page allows, the rest cut short.
        QVERIFY(!game->columnFits(1));
        QVERIFY(game->geometry().right() < f.app->stats()->page(3)->width());
        QVERIFY(game->columnWidth(1) > twips::px(1500));
        const QRect cell = game->visualRect(game->model()->index(0, 1));
        QHelpEvent help(QEvent::ToolTip, cell.center(), game->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(game->viewport(), &help);
        QCOMPARE(ShownToolTip(QToolTip::text()), name);
        QToolTip::hideText();
        // The statistics tab is cut short too, whole in its tooltip.
        QTabBar* tabs = f.app->stats()->tabs();
        QCOMPARE(tabs->tabToolTip(0), name);
        QVERIFY(tabs->tabRect(2).right() < tabs->width());
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
