// Darts typed on the scoreboard window: the keys reach the entry whatever
// was clicked last, the shortcuts and access keys keep working, a slip
// shows a hint in the entry line and never a message box, and the line
// stands clear of every bed and field at any window size.
#include "UiTestSupport.h"

#include "ui/EntryLine.h"
#include "ui/frmWinnerBust.h"

#include <QMenu>
#include <QMenuBar>

namespace {

// The numbers stand round the double ring out to 1.36 times its radius
// (in pixels).
double NumbersRadius(const BoardRect& image1)
{
    return CirclesOf(image1).R * 1.36 / 15.0;
}

double DistanceFromCentre(const BoardRect& image1, const QRect& box)
{
    const BoardCircles c = CirclesOf(image1);
    const double x = c.cx / 15.0, y = c.cy / 15.0;
    const double dx = std::max({box.left() - x, 0.0, x - (box.right() + 1)});
    const double dy = std::max({box.top() - y, 0.0, y - (box.bottom() + 1)});
    return std::hypot(dx, dy);
}

} // namespace

class KeyboardEntryWindowTest : public QObject {
    Q_OBJECT
    UiFixture f;

    QWidget* keys() { return f.scores().clientArea(); }
    EntryLine& line() { return *f.scores().entryLine(); }
    void type(const QString& text)
    {
        QTest::keyClicks(keys(), text);
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(keys(), key, modifiers);
    }

private slots:
    void init()
    {
        f.start();
        QApplication::setActiveWindow(&f.scores());
        QVERIFY(QTest::qWaitForWindowActive(&f.scores()));
    }
    void cleanup() { f.stop(); }

    void a_typed_dart_is_recorded_as_its_click_would_be()
    {
        f.throwAt(QStringLiteral("T20"));
        const QStringList clickSounds = f.sound.played;
        const QString clickedPanel = f.model().board.panel[0].lblThreeDartScore.text();
        f.scores().findChild<QPushButton*>(QStringLiteral("cmdUndo"))->click();
        f.sound.played.clear();

        type(QStringLiteral("t20"));
        QCOMPARE(line().shownText(), QStringLiteral("t20"));
        press(Qt::Key_Return);
        QCOMPARE(f.lastDart(), QStringLiteral("T20"));
        QCOMPARE(f.model().board.panel[0].lblThreeDartScore.text(), clickedPanel);
        QCOMPARE(f.sound.played, clickSounds);
        QCOMPARE(line().shownText(), EntryLine::prompt());

        // The keypad's Enter and digits do the same.
        QTest::keyClick(keys(), Qt::Key_2, Qt::KeypadModifier);
        QTest::keyClick(keys(), Qt::Key_5, Qt::KeypadModifier);
        QTest::keyClick(keys(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(f.lastDart(), QStringLiteral("25"));
        QCOMPARE(f.model().match().dartsInVisit(), 2);
    }

    void a_slip_shows_a_hint_and_records_nothing()
    {
        type(QStringLiteral("T25"));
        press(Qt::Key_Return);
        QCOMPARE(line().shownText(), QStringLiteral("T25"));
        QCOMPARE(line().shownHint(), QStringLiteral("No treble 25"));
        QVERIFY(f.notifier.messages.isEmpty());
        QCOMPARE(f.model().match().undoableDarts(), 0);
        QVERIFY(f.sound.played.isEmpty());

        // Backspace mends it and the hint goes; Escape clears the line.
        press(Qt::Key_Backspace);
        QCOMPARE(line().shownText(), QStringLiteral("T2"));
        QCOMPARE(line().shownHint(), QString());
        press(Qt::Key_Escape);
        QCOMPARE(line().shownText(), EntryLine::prompt());
        type(QStringLiteral("D16"));
        press(Qt::Key_Return);
        QCOMPARE(f.lastDart(), QStringLiteral("D16"));
    }

    void shortcuts_and_access_keys_keep_working()
    {
        type(QStringLiteral("20\r"));
        type(QStringLiteral("19\r"));
        QCOMPARE(f.model().match().undoableDarts(), 2);
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.model().match().undoableDarts(), 1);
        QCOMPARE(f.lastDart(), QStringLiteral("20"));
        // Alt+U is the Undo button's access key, not a "u" typed.
        // (The access key clicks the button as it would be seen pressed,
        // which takes a moment.)
        press(Qt::Key_U, Qt::AltModifier);
        QTRY_COMPARE(f.model().match().undoableDarts(), 0);
        QCOMPARE(line().shownText(), EntryLine::prompt());

        type(QStringLiteral("T20\rT20\r"));
        QCOMPARE(f.model().board.panel[0].lblScoreLeft.text(), QStringLiteral("501"));
        QCOMPARE(f.model().board.panel[0].lblThreeDartScore.text(), QStringLiteral("120"));
        press(Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(f.model().match().undoableDarts(), 0);
        QCOMPARE(f.model().board.panel[0].lblThreeDartScore.text(), QString());
    }

    // Under a window manager the announcement becomes the active window as
    // it appears. The darts typed then still reach the entry; with nothing
    // typed, its own keys stay its own.
    void darts_typed_on_the_announcement_reach_the_entry()
    {
        for (const char* dart : {"T20", "T20", "T20", "T20", "T20", "T20", "T20", "T20", "T20",
                                 "T20", "T20", "T20", "T20", "T19", "D12"})
            type(QString::fromLatin1(dart) + u'\r');
        QVERIFY(f.model().winner.open());
        frmWinnerBust* winner = f.app->winner();
        QVERIFY(winner);
        const qint64 before = f.model().match().undoableDarts();
        QTest::keyClicks(winner, QStringLiteral("t2"));
        QCOMPARE(line().shownText(), QStringLiteral("t2"));
        QTest::keyClick(winner, Qt::Key_Backspace);
        QTest::keyClicks(winner, QStringLiteral("5"));
        QTest::keyClick(winner, Qt::Key_Return);
        QCOMPARE(f.model().match().undoableDarts(), before + 1);
        QCOMPARE(f.lastDart(), QStringLiteral("T5"));
        QCOMPARE(line().shownText(), EntryLine::prompt());
        // A slip typed there shows its hint on the scoreboard's line, and
        // Escape clears the line rather than asking the dialog to close.
        QTest::keyClicks(winner, QStringLiteral("D21"));
        QTest::keyClick(winner, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(line().shownHint(), QStringLiteral("No double 21"));
        QTest::keyClick(winner, Qt::Key_Escape);
        QCOMPARE(line().shownText(), EntryLine::prompt());
        QCOMPARE(f.model().match().undoableDarts(), before + 1);
        QVERIFY(f.notifier.messages.isEmpty());
        // The scoreboard's keys work there as well: Ctrl+Z, as the window
        // system hands it to the announcement when that has the keyboard
        // (the scoreboard's shortcut is not looked at), takes the dart back,
        // and the announcement with the winning dart after it.
        // (Offscreen the scoreboard stays the active window and its own
        // shortcut would take the key first: it is turned off here.)
        QAction* scoreboardUndo = f.child<QAction>(&f.scores(), QStringLiteral("actUndoKey"));
        QVERIFY(scoreboardUndo);
        scoreboardUndo->setEnabled(false);
        auto undoKeyOn = [](QWidget* window) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier, QStringLiteral("\x1a"));
            QApplication::sendEvent(window, &press);
        };
        undoKeyOn(winner);
        QCOMPARE(f.model().match().undoableDarts(), before);
        QVERIFY(f.model().winner.open());
        undoKeyOn(f.app->winner());
        QCOMPARE(f.model().match().undoableDarts(), before - 1);
        QVERIFY(!f.model().winner.open());
    }

    void keys_reach_the_entry_after_a_click_anywhere()
    {
        // A dart clicked, then Undo clicked with the mouse: the next typed
        // dart still arrives.
        f.throwAt(QStringLiteral("5"));
        QTest::mouseClick(f.scores().findChild<QPushButton*>(QStringLiteral("cmdUndo")), Qt::LeftButton);
        QCOMPARE(f.model().match().undoableDarts(), 0);
        type(QStringLiteral("bull\r"));
        QCOMPARE(f.lastDart(), QStringLiteral("50"));
    }

    void the_line_hides_no_bed_or_field_at_any_size()
    {
        frmScores& s = f.scores();
        const QStringList fields{QStringLiteral("cmdUndo"), QStringLiteral("Frame1_0"),
                                 QStringLiteral("Frame1_1"), QStringLiteral("imgarrow_0"),
                                 QStringLiteral("imgarrow_1")};
        int clicked = 0, sizes = 0;
        for (const QSize size : {QSize(1024, 700), QSize(1500, 640), QSize(700, 900), QSize(640, 480),
                                 QSize(1920, 1000), QSize(2400, 600)}) {
            s.resize(size);
            QCoreApplication::processEvents();
            const QRect box = line().geometry();
            QVERIFY2(line().isVisible() && !box.isEmpty(), qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
            QVERIFY(s.clientArea()->rect().contains(box));
            for (const QString& name : fields)
                QVERIFY2(!f.child<QWidget>(&s, name)->geometry().intersects(box), qPrintable(name));
            ++sizes;
            // Outside the numbers round the double ring, let alone the beds.
            const BoardRect& image1 = f.model().board.Image1;
            QVERIFY2(DistanceFromCentre(image1, box) >= NumbersRadius(image1) - 1,
                     qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
            // A click on the line goes to what lies beneath: on the board's
            // corner, a miss.
            const QPoint middle = box.center();
            if (f.board().geometry().contains(middle)) {
                const qint64 before = f.model().match().undoableDarts();
                QVERIFY(s.clientArea()->childAt(middle) == &f.board());
                QTest::mouseClick(&f.board(), Qt::LeftButton, {}, f.board().mapFrom(s.clientArea(), middle));
                QCOMPARE(f.model().match().undoableDarts(), before + 1);
                QCOMPARE(f.lastDart(), QStringLiteral("0"));
                ++clicked;
            }
        }
        QCOMPARE(sizes, 6);
        QVERIFY(clicked > 0);
    }
};

QTEST_MAIN(KeyboardEntryWindowTest)
#include "keyboard_entry_window_test.moc"
