// The main window: the board picture against the mapping, darts recorded by
// clicks, the turn indicator, the aim box, undo's refusal and the board's
// fit to the window.
#include "UiTestSupport.h"

#include "ui/BoardPicture.h"
#include "ui/Widgets.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QAbstractItemView>
#include <QDir>
#include <QRandomGenerator>
#include <QMenuBar>
#include <QScreen>

class ScoreboardWindowTest : public QObject {
    Q_OBJECT
    UiFixture f;

    // True when the colour is one of the colours of a bed.
    static bool IsBedColour(QRgb c)
    {
        for (const char* label : {"50", "25", "20", "1", "T20", "T1"})
            if (boardpicture::BedColour(QString::fromLatin1(label)).rgb() == c)
                return true;
        return false;
    }

    // Moves the pointer over spots all across the board; wherever the
    // picture shows a bed, the aim box must name that very bed.
    void checkPictureAgainstPointer(int step)
    {
        BoardWidget& board = f.board();
        const QImage picture = board.picture();
        QCOMPARE(picture.size(), board.size());
        int beds = 0, mismatches = 0;
        for (int y = 1; y < picture.height() - 1; y += step) {
            for (int x = 1; x < picture.width() - 1; x += step) {
                UiFixture::moveOver(&board, QPoint(x, y));
                const QString label = f.model().board.Frame3.caption;
                const QRgb shown = picture.pixel(x, y);
                if (label == u"0") {
                    if (IsBedColour(shown))
                        ++mismatches;
                    continue;
                }
                // Wires between beds are drawn in their own colour.
                if (!IsBedColour(shown))
                    continue;
                ++beds;
                if (boardpicture::BedColour(label).rgb() != shown) {
                    ++mismatches;
                    qWarning("pixel %d,%d shows %08x, the pointer names %s", x, y, shown,
                             qPrintable(label));
                }
            }
        }
        QVERIFY(beds > 200);
        QCOMPARE(mismatches, 0);
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void picture_shows_the_bed_the_pointer_names() { checkPictureAgainstPointer(7); }

    void a_click_records_the_bed_drawn_under_it()
    {
        BoardWidget& board = f.board();
        const QImage picture = board.picture();
        // Beds of every kind, where their colour is on view.
        for (const char* name : {"T20", "D16", "5", "25", "50", "T19", "D3", "11"}) {
            const QString label = QString::fromLatin1(name);
            const QPoint at = f.pixelFor(label);
            QCOMPARE(QColor(picture.pixel(at)), boardpicture::BedColour(label));
            f.click(at);
            QCOMPARE(f.lastDart(), label);
        }
        // And at random spots: whatever was drawn there is what is recorded.
        QRandomGenerator random(20240611);
        int recorded = 0;
        while (recorded < 40) {
            const QPoint at(random.bounded(board.width()), random.bounded(board.height()));
            if (!IsBedColour(picture.pixel(at)))
                continue;
            f.click(at);
            QCOMPARE(boardpicture::BedColour(f.lastDart()).rgb(), picture.pixel(at));
            ++recorded;
        }
    }

    void any_mouse_button_records_a_dart()
    {
        QTest::mouseClick(&f.board(), Qt::RightButton, {}, f.pixelFor(QStringLiteral("D20")));
        QCOMPARE(f.lastDart(), QStringLiteral("D20"));
        auto* first = f.child<QLabel>(&f.scores(), QStringLiteral("lblFirstDart_0"));
        QCOMPARE(first->text(), QStringLiteral("D20"));
    }

    void three_trebles_hand_the_throw_to_the_second_panel()
    {
        QWidget& s = f.scores();
        auto* arrow0 = f.child<TurnMark>(&s, QStringLiteral("imgarrow_0"));
        auto* arrow1 = f.child<TurnMark>(&s, QStringLiteral("imgarrow_1"));
        auto* shape0 = f.child<TurnMark>(&s, QStringLiteral("Shape1_0"));
        auto* shape1 = f.child<TurnMark>(&s, QStringLiteral("Shape1_1"));
        QVERIFY(arrow0->lit() && shape0->lit());
        QVERIFY(!arrow1->lit() && !shape1->lit());
        // The thrower's marks on screen, the other's not.
        auto onScreen = [&s] {
            QCoreApplication::processEvents();
            return s.screen()->grabWindow(s.winId()).toImage();
        };
        const QImage before = onScreen();
        const QPoint arrowAt0 = arrow0->mapTo(&s, arrow0->rect().center());
        const QPoint arrowAt1 = arrow1->mapTo(&s, arrow1->rect().center());
        QCOMPARE(before.pixelColor(arrowAt0), QColor(palette::Yellow));
        QVERIFY(before.pixelColor(arrowAt1) != QColor(palette::Yellow));

        for (int i = 0; i < 3; ++i)
            f.throwAt(QStringLiteral("T20"));

        QVERIFY(!arrow0->lit() && !shape0->lit());
        QVERIFY(arrow1->lit() && shape1->lit());
        // The window paints at most once a frame: by the end of it the
        // marks have changed on screen.
        auto marksHandedOver = [&] {
            const QImage after = onScreen();
            return after.pixelColor(arrowAt0) != QColor(palette::Yellow)
                && after.pixelColor(arrowAt1) == QColor(palette::Yellow);
        };
        QTRY_VERIFY_WITH_TIMEOUT(marksHandedOver(), 1000);
        // Dark, the mark lets the click through to what lies under it, as
        // a hidden one did.
        QCOMPARE(s.childAt(arrow0->mapTo(&s, arrow0->rect().center())) == arrow0, false);
        QCOMPARE(s.childAt(arrowAt1), static_cast<QWidget*>(arrow1));
        QCOMPARE(f.child<QLabel>(&s, QStringLiteral("lblScoreLeft_0"))->text(), QStringLiteral("321"));
        QCOMPARE(f.child<QLabel>(&s, QStringLiteral("lblThirdDart_0"))->text(), QStringLiteral("T20"));
        QCOMPARE(f.child<QLabel>(&s, QStringLiteral("lblThreeDartScore_0"))->text(), QStringLiteral("180"));
        QCOMPARE(f.child<QLabel>(&s, QStringLiteral("lblAverage_0"))->text(), QStringLiteral("180.00"));
        QCOMPARE(f.child<QLabel>(&s, QStringLiteral("lblDartsThrown_0"))->text(), QStringLiteral("3"));
        // Called out from the sounds folder the windows were set up with.
        QCOMPARE(f.sound.played,
                 QStringList{QDir(f.app->setup().soundsFolder).filePath(QStringLiteral("180.wav"))});
        // The visit went into the previous scores beside the board.
        auto* old = f.child<QAbstractItemView>(&s, QStringLiteral("grdOldScores_0"));
        QCOMPARE(old->model()->index(0, 0).data().toString(), QStringLiteral("3"));
        QCOMPARE(old->model()->index(0, 1).data().toString(), QStringLiteral("180"));

        // The second player's first dart clears the first panel's visit.
        f.throwAt(QStringLiteral("5"));
        QCOMPARE(f.child<QLabel>(&s, QStringLiteral("lblFirstDart_1"))->text(), QStringLiteral("5"));
        QCOMPARE(f.child<QLabel>(&s, QStringLiteral("lblThirdDart_0"))->text(), QString());
    }

    void aim_box_follows_the_pointer_and_paints_only_new_segments()
    {
        QWidget* box = f.scores().aimBox();
        FieldLabel* label = f.scores().aimLabel();
        BoardWidget& board = f.board();
        QVERIFY(!box->isVisible());

        const QPoint t20 = f.pixelFor(QStringLiteral("T20"));
        UiFixture::moveOver(&board, t20);
        QVERIFY(f.aimCaughtUp());
        QVERIFY(box->isVisible());
        QCOMPARE(label->text(), QStringLiteral("T20"));
        // Just left of the pointer: its right edge 145 twips (about 10
        // pixels) short of it, its top 120 twips below.
        const QPoint pointer = board.mapTo(f.scores().clientArea(), t20);
        QVERIFY(qAbs(box->geometry().right() + 1 - (pointer.x() - 10)) <= 1);
        QVERIFY(qAbs(box->y() - (pointer.y() + 8)) <= 1);

        // Within the bed the caption is not written again, but the box moves.
        const quint64 writes = label->captionWrites();
        const QPoint before = box->pos();
        UiFixture::moveOver(&board, t20 + QPoint(1, 0));
        UiFixture::moveOver(&board, t20 + QPoint(0, 1));
        QVERIFY(f.aimCaughtUp());
        QCOMPARE(label->captionWrites(), writes);
        QVERIFY(box->pos() != before);

        UiFixture::moveOver(&board, f.pixelFor(QStringLiteral("D20")));
        QVERIFY(f.aimCaughtUp());
        QCOMPARE(label->text(), QStringLiteral("D20"));
        QCOMPARE(label->captionWrites(), writes + 1);

        // Off the double ring the box hides; back on, it shows the new bed.
        UiFixture::moveOver(&board, f.pixelFor(QStringLiteral("0")));
        QVERIFY(f.aimCaughtUp());
        QVERIFY(!box->isVisible());
        UiFixture::moveOver(&board, f.pixelFor(QStringLiteral("50")));
        QVERIFY(f.aimCaughtUp());
        QVERIFY(box->isVisible());
        QCOMPARE(label->text(), QStringLiteral("50"));

        // Over the bare window it hides too; moves record nothing.
        UiFixture::moveOver(f.scores().clientArea(), QPoint(1, 1));
        QVERIFY(f.aimCaughtUp());
        QVERIFY(!box->isVisible());
        QCOMPARE(f.model().match().undoableDarts(), 0);
        QCOMPARE(f.child<QLabel>(&f.scores(), QStringLiteral("lblFirstDart_0"))->text(), QString());
    }

    // What the screen holds of the main window (its flushed backing store),
    // against the window drawn afresh from its widgets.
    static bool ScreenShowsWidgets(QWidget& window)
    {
        const QImage onScreen =
            window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage drawn = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        return !onScreen.isNull() && onScreen == drawn;
    }

    // A hand's burst of moves inside one frame: the box moves at most twice
    // (at once, and when the frame is over) and ends where a single move to
    // the last point would have put it, naming the last bed.
    void aim_box_moves_once_a_frame_and_ends_on_the_last_bed()
    {
        QWidget* box = f.scores().aimBox();
        BoardWidget& board = f.board();
        struct MoveCounter : QObject {
            int moves = 0;
            bool eventFilter(QObject*, QEvent* e) override
            {
                moves += e->type() == QEvent::Move;
                return false;
            }
        } counter;
        box->installEventFilter(&counter);
        const QStringList beds = {QStringLiteral("T20"), QStringLiteral("1"), QStringLiteral("18"),
                                  QStringLiteral("D4"),  QStringLiteral("13"), QStringLiteral("T6"),
                                  QStringLiteral("10"),  QStringLiteral("15")};
        QElapsedTimer burst;
        burst.start();
        for (int round = 0; round < 3; ++round)
            for (const QString& bed : beds)
                UiFixture::moveOver(&board, f.pixelFor(bed) + QPoint(round, round));
        const bool withinAFrame = burst.elapsed() < 16;
        QVERIFY(f.aimCaughtUp());
        box->removeEventFilter(&counter);
        // A slow machine may spread the burst over frames; then it is no test
        // of the frame.
        if (withinAFrame)
            QVERIFY2(counter.moves <= 2, qPrintable(QString::number(counter.moves)));
        QCOMPARE(f.scores().aimLabel()->text(), QStringLiteral("15"));
        const QPoint last = f.pixelFor(QStringLiteral("15")) + QPoint(2, 2);
        const QPoint pointer = board.mapTo(f.scores().clientArea(), last);
        QVERIFY(qAbs(box->geometry().right() + 1 - (pointer.x() - 10)) <= 1);
        QVERIFY(qAbs(box->y() - (pointer.y() + 8)) <= 1);
        QVERIFY(box->isVisible());
    }

    void aim_box_on_screen_catches_up_after_a_burst_of_moves()
    {
        QWidget& s = f.scores();
        BoardWidget& board = f.board();
        // A hand's burst: several moves in quick succession, across beds and
        // within one, the last one landing inside the frame after a paint.
        for (const QString& bed : {QStringLiteral("T20"), QStringLiteral("1"), QStringLiteral("D18"),
                                   QStringLiteral("4")})
            UiFixture::moveOver(&board, f.pixelFor(bed));
        UiFixture::moveOver(&board, f.pixelFor(QStringLiteral("4")) + QPoint(2, 1));
        QTRY_VERIFY(ScreenShowsWidgets(s));
        // Changes that wait for the end of a frame are not lost when nothing
        // else happens after them.
        UiFixture::moveOver(&board, f.pixelFor(QStringLiteral("13")));
        UiFixture::moveOver(&board, f.pixelFor(QStringLiteral("13")) + QPoint(1, 2));
        QTest::qWait(100);
        QVERIFY(ScreenShowsWidgets(s));
        QCOMPARE(f.scores().aimLabel()->text(), QStringLiteral("13"));
        // A dart thrown right after the moves is on screen too.
        f.throwAt(QStringLiteral("13"));
        QTest::qWait(100);
        QVERIFY(ScreenShowsWidgets(s));
    }

    // The window system sends no move over the board on the way out of it:
    // however fast the pointer jumps from a bed to a panel, "&Undo", the
    // menu bar or past the window's edge, the aim box goes.
    void aim_box_hides_whenever_the_pointer_leaves_the_board()
    {
        frmScores& s = f.scores();
        QWindow* window = s.windowHandle();
        auto moveTo = [&](QWidget* w, const QPoint& at) { QTest::mouseMove(window, w->mapTo(&s, at)); };
        QWidget* name = f.child<QWidget>(&s, QStringLiteral("lblNames_0"));
        QWidget* undo = f.child<QWidget>(&s, QStringLiteral("cmdUndo"));
        QWidget* menus = s.menuBar();
        const QList<QPair<QWidget*, QPoint>> away = {
            {name, name->rect().center()},
            {undo, undo->rect().center()},
            {menus, QPoint(menus->width() - 20, menus->height() / 2)},
        };
        for (const auto& [widget, at] : away) {
            moveTo(&f.board(), f.pixelFor(QStringLiteral("T20")));
            QVERIFY(f.aimCaughtUp());
            QVERIFY(s.aimBox()->isVisible());
            moveTo(widget, at);
            QVERIFY(f.aimCaughtUp());
            QVERIFY2(!f.model().board.Frame3.visible, qPrintable(widget->objectName()));
            QVERIFY2(s.aimBox()->isHidden(), qPrintable(widget->objectName()));
        }
        // Off the window altogether.
        moveTo(&f.board(), f.pixelFor(QStringLiteral("D3")));
        QVERIFY(f.aimCaughtUp());
        QVERIFY(s.aimBox()->isVisible());
        QEvent left(QEvent::Leave); // what the window system tells the window
        QCoreApplication::sendEvent(window, &left);
        QVERIFY(f.aimCaughtUp());
        QVERIFY(s.aimBox()->isHidden());
    }

    void undo_takes_back_a_dart_and_refuses_when_there_is_none()
    {
        auto* undo = f.child<QPushButton>(&f.scores(), QStringLiteral("cmdUndo"));
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));
        QTest::mouseClick(undo, Qt::LeftButton);
        QCOMPARE(f.notifier.messages, QStringList{QStringLiteral("No more undos are allowed")});
        QCOMPARE(f.notifier.titles, QStringList{QStringLiteral("Vantrell 2")});

        f.throwAt(QStringLiteral("T20"));
        auto* first = f.child<QLabel>(&f.scores(), QStringLiteral("lblFirstDart_0"));
        QCOMPARE(first->text(), QStringLiteral("T20"));
        QTest::mouseClick(undo, Qt::LeftButton);
        QCOMPARE(first->text(), QString());
        QCOMPARE(f.notifier.messages.size(), 1);
    }

    void menus_have_every_entry_with_its_access_key()
    {
        QWidget& s = f.scores();
        const QList<QPair<QString, QString>> entries = {
            {"nmuFile", "&File"},           {"mnuFilNew", "&New Game"},
            {"mnuFilUpdates", "&Download Updates"}, {"mnuFilExit", "&Exit"},
            {"mnuOptions", "&Options"},     {"mnuOptPlayer1", "Player 1"},
            {"mnuOptPlayer2", "Player 2"},  {"mnuoptOptions", "&Game"},
            {"mnuStats", "&Statistics"},    {"mnuStaGame", "Game"},
            {"mnustaPlayer1", "Player 1"},  {"mnustaPlayer2", "Player 2"},
            {"mnuStaHistory", "Hi Scores"}, {"mnuhelp", "&Help"},
            {"mnuHelHowToUse", "&How To Use"}, {"mnuHelAbout", "About"},
        };
        for (const auto& [name, caption] : entries) {
            QAction* action = s.findChild<QAction*>(name);
            QVERIFY2(action, qPrintable(name));
            QCOMPARE(action->text(), caption);
            QVERIFY(action->isEnabled() && action->isVisible());
            QVERIFY(action->shortcut().isEmpty());
        }
        for (const char* name : {"mnuSep", "mnufilline1", "mnuOptLine1", "mnuStaLine1",
                                 "mnuStatline2", "mnuhelpline1"}) {
            QAction* action = s.findChild<QAction*>(QString::fromLatin1(name));
            QVERIFY2(action && action->isSeparator(), name);
        }
        // "&New Game" starts again from the saved score.
        f.throwAt(QStringLiteral("T20"));
        s.findChild<QAction*>(QStringLiteral("mnuFilNew"))->trigger();
        QCOMPARE(f.child<QLabel>(&s, QStringLiteral("lblFirstDart_0"))->text(), QString());
        QCOMPARE(f.model().match().undoableDarts(), 0);
    }

    void board_fits_the_window_at_any_size()
    {
        frmScores& s = f.scores();
        for (const QSize size : {QSize(1024, 700), QSize(1500, 640), QSize(700, 900)}) {
            s.resize(size);
            QCoreApplication::processEvents();
            const QWidget* area = s.clientArea();
            const double W = area->width() * 15.0, H = area->height() * 15.0;
            const BoardRect& r = f.model().board.Image1;
            QCOMPARE(r.Width, r.Height);
            QCOMPARE(r.Top, -120.0);
            // The whole board, out to the ring that carries the numbers, is
            // inside the client area and clear of both panels...
            const BoardCircles c = CirclesOf(r);
            const double edge = c.R * 1.36, panel = 2430;
            QVERIFY(c.cy + edge <= H + 1);
            QVERIFY(c.cx - edge >= panel && c.cx + edge <= W - panel);
            // ...and the board is as large as that allows: the ring comes
            // close to the panels or to the lower edge.
            QVERIFY(c.cx - edge <= panel + 100 || c.cy + edge >= H - 100);
            QVERIFY(qAbs(r.Left + r.Width / 2 - W / 2) <= 1);
            QCOMPARE(f.board().geometry(),
                     QRect(twips::px(r.Left), twips::px(r.Top), twips::px(r.Width), twips::px(r.Height)));
            // Panel 1 on the right edge, its arrow just left of it.
            auto* panel1 = f.child<QWidget>(&s, QStringLiteral("Frame1_1"));
            QCOMPARE(panel1->geometry().right() + 1, area->width());
            auto* arrow1 = f.child<QWidget>(&s, QStringLiteral("imgarrow_1"));
            QVERIFY(qAbs(arrow1->geometry().right() + 1 - panel1->x()) <= 1);
        }
        // The picture follows the new size: still every bed where it is drawn.
        checkPictureAgainstPointer(11);
        f.throwAt(QStringLiteral("D7"));
        QCOMPARE(f.lastDart(), QStringLiteral("D7"));
    }
};

QTEST_MAIN(ScoreboardWindowTest)
#include "scoreboard_window_test.moc"
