// The big screen: it shows what the engine's panels hold after every
// command, lays every text out inside the window apart from the others at
// any size, keeps the scores large, leaves the keyboard with the scoreboard,
// and opening, full screen and closing it change nothing in the match.
#include "UiTestSupport.h"

#include "engine/BigScreen.h"
#include "engine/Commands.h"
#include "ui/Widgets.h"
#include "ui/frmBigScreen.h"
#include "ui/frmWinnerBust.h"

#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QMenuBar>

#include <random>

namespace {

const char* const Beds[] = {"T20", "T20", "T19", "20", "1", "D20", "D10", "D1", "50", "25", "0", "T5", "D16", "5"};
const char* const Names[] = {"Ann", "Bo", "Tom & Jerry", "<b>Al</b>", "  Kim  ", "",
                             "Maximilian Oberhausen-Weinberg"};

QString Lines(const BigScreenView& v)
{
    return v.describe().join(QLatin1Char('\n'));
}

// The longest names the options allow, and the widest texts of every row.
BigScreenView WidestView(int players, bool announcing)
{
    BigScreenView v;
    v.players = players;
    const QString names[2] = {QStringLiteral("Maximilian Oberhausen-Weinberg"),
                              QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW")};
    for (int p = 0; p < 2; ++p) {
        BigScreenPlayer& s = v.player[std::size_t(p)];
        s.name = names[p];
        s.sets = QStringLiteral("99");
        s.legs = QStringLiteral("99");
        s.remaining = QStringLiteral("501");
        s.darts = {QStringLiteral("T20"), QStringLiteral("T19"), QStringLiteral("D18")};
        s.visitTotal = QStringLiteral("180");
        s.finish = p == 0 ? QStringLiteral("T20 T20 D20") : QStringLiteral("No outshot");
        s.finishBack = 0xFF0000;
        s.finishFore = 0xFFFFFF;
        s.average = QStringLiteral("180.00");
        s.throwing = p == 0;
    }
    if (players == 1)
        v.player[1] = BigScreenPlayer();
    v.announcing = announcing;
    if (announcing)
        v.announcement = {QStringLiteral("Match winner is:"), names[1]};
    return v;
}

// A bust: one short line, which would be drawn larger than the scores.
BigScreenView BustView(int players)
{
    BigScreenView v = WidestView(players, true);
    v.announcement = {QStringLiteral("BUST!")};
    return v;
}

const QSize Sizes[] = {{240, 135}, {320, 180}, {400, 400}, {640, 480}, {1280, 720}, {1920, 1080},
                       {720, 1280}, {300, 900}, {2560, 300}, {3840, 400}, {1024, 768}, {3840, 2160}};

// The height of the glyphs themselves, not of the line they stand in.
int GlyphHeight(const BigScreenText& t)
{
    return QFontMetrics(t.font).tightBoundingRect(t.text).height();
}

const BigScreenText* Find(const BigScreenLayout& l, const QString& role)
{
    for (const BigScreenText& t : l.texts)
        if (t.role == role)
            return &t;
    return nullptr;
}

} // namespace

class BigScreenTest : public QObject {
    Q_OBJECT
    UiFixture f;

    frmBigScreen* open()
    {
        QAction* entry = f.scores().findChild<QAction*>(QStringLiteral("mnuViewBigScreen"));
        if (!entry)
            return nullptr;
        entry->trigger();
        frmBigScreen* big = f.app->bigScreen();
        if (big && !QTest::qWaitForWindowExposed(big))
            qWarning("big screen not exposed");
        return big;
    }

    // The scoreboard's own label of a control, by name.
    QString scoreboardText(const QString& name)
    {
        auto* label = f.scores().findChild<QLabel*>(name);
        return label ? label->text() : QStringLiteral("<no %1>").arg(name);
    }

    // The big screen against the scoreboard's panels and announcement, as
    // the windows show them.
    void agreesWithScoreboard(const BigScreenView& v, const QString& step)
    {
        const ModDarts& m = f.model();
        // Both players in a two-player game; one alone only where the game is
        // one player's, and never one whose throw it is left out.
        QVERIFY2(v.players == 2 || !m.twoPlayers(), qPrintable(step));
        for (int p = v.players; p < 2; ++p) {
            auto* arrow = f.scores().findChild<TurnMark*>(QStringLiteral("imgarrow_%1").arg(p));
            QVERIFY2(arrow && !arrow->lit(), qPrintable(step + QStringLiteral(": the thrower is left out")));
        }
        for (int p = 0; p < v.players; ++p) {
            const BigScreenPlayer& s = v.player[std::size_t(p)];
            const QString ix = QStringLiteral("_%1").arg(p);
            auto same = [&](const QString& shown, const QString& control) {
                QVERIFY2(shown == scoreboardText(control + ix),
                         qPrintable(QStringLiteral("%1: %2 [%3] vs [%4]")
                                        .arg(step, control + ix, shown, scoreboardText(control + ix))));
            };
            same(s.name, QStringLiteral("lblNames"));
            same(s.sets, QStringLiteral("lblSet"));
            same(s.legs, QStringLiteral("lblLeg"));
            same(s.remaining, QStringLiteral("lblScoreLeft"));
            same(s.darts[0], QStringLiteral("lblFirstDart"));
            same(s.darts[1], QStringLiteral("lblSecondDart"));
            same(s.darts[2], QStringLiteral("lblThirdDart"));
            same(s.visitTotal, QStringLiteral("lblThreeDartScore"));
            same(s.average, QStringLiteral("lblAverage"));
            auto* finish = f.scores().findChild<QLabel*>(QStringLiteral("lblFinishAdj") + ix);
            QVERIFY(finish);
            QVERIFY2(s.finish == (finish->isHidden() ? QString() : finish->text()), qPrintable(step));
            auto* arrow = f.scores().findChild<TurnMark*>(QStringLiteral("imgarrow") + ix);
            QVERIFY(arrow);
            QVERIFY2(s.throwing == arrow->lit(), qPrintable(step + QStringLiteral(": turn marker ") + ix));
        }
        frmWinnerBust* winner = f.app->winner();
        QVERIFY2(v.announcing == bool(winner), qPrintable(step));
        if (winner) {
            QStringList lines;
            for (const char* name : {"lblWinner", "lblPlayer"}) {
                auto* label = winner->findChild<QLabel*>(QLatin1String(name));
                QVERIFY(label);
                if (!label->text().trimmed().isEmpty())
                    lines << label->text();
            }
            QVERIFY2(v.announcement == lines, qPrintable(step));
        }
    }

    QString play(std::mt19937& rng)
    {
        Commands& c = f.app->commands();
        const ModDarts& m = f.model();
        auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
        const int roll = pick(100);
        if (roll < 55) {
            const QString bed = QLatin1String(Beds[pick(int(std::size(Beds)))]);
            const QPointF at = PointFor(m.board.Image1, bed);
            c.boardPressed(at.x(), at.y());
            return QStringLiteral("dart at ") + bed;
        }
        if (roll < 65) {
            c.undo();
            return QStringLiteral("undo");
        }
        if (roll < 75) {
            c.winnerOk();
            return QStringLiteral("announcement ok");
        }
        switch (pick(10)) {
        case 0:
            c.newGame();
            return QStringLiteral("new game");
        case 1: {
            const int player = pick(2);
            const QString name = QLatin1String(Names[pick(int(std::size(Names)))]);
            c.showOptions(1 + player);
            c.optionsNameTyped(player, name);
            return QStringLiteral("name %1 typed [%2]").arg(player).arg(name);
        }
        case 2:
        case 3:
            c.optionsOk();
            return QStringLiteral("options ok");
        case 4:
            c.optionsCancel();
            return QStringLiteral("options cancel");
        case 5: {
            const int button = pick(2);
            c.optionsPlayersChosen(button);
            return QStringLiteral("players button %1").arg(button);
        }
        case 6: {
            const int button = pick(3);
            c.optionsScoreChosen(button);
            return QStringLiteral("start button %1").arg(button);
        }
        case 7:
            c.winnerCloseRequest();
            return QStringLiteral("announcement close box");
        case 8: {
            const QPointF at = PointFor(m.board.Image1, QStringLiteral("T20"));
            c.boardMoved(at.x(), at.y());
            return QStringLiteral("pointer over T20");
        }
        default:
            c.load();
            return QStringLiteral("settings loaded again");
        }
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void follows_every_command_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 20261209u, 555u})
            QTest::newRow(qPrintable(QString::number(seed))) << seed;
    }

    // After each command the big screen shows what a fresh read of the
    // engine gives, which is what the scoreboard shows, and paints it.
    void follows_every_command()
    {
        QFETCH(quint32, seed);
        frmBigScreen* big = open();
        QVERIFY(big);
        big->resize(1280, 720);
        std::mt19937 rng(seed);
        QStringList recent;
        for (int i = 0; i < 400; ++i) {
            recent << play(rng);
            if (recent.size() > 6)
                recent.removeFirst();
            QCoreApplication::processEvents();
            const QString step =
                QStringLiteral("seed %1, command %2 (%3)").arg(seed).arg(i).arg(recent.join(QStringLiteral(", ")));
            QVERIFY2(f.app->bigScreen() == big, qPrintable(step));
            const BigScreenView fresh = ReadBigScreen(f.model());
            if (!(big->shown() == fresh))
                QFAIL(qPrintable(step + QStringLiteral("\nshown:\n") + Lines(big->shown())
                                 + QStringLiteral("\nfresh:\n") + Lines(fresh)));
            agreesWithScoreboard(big->shown(), step);
            if (QTest::currentTestFailed())
                return;
            // What is painted carries the scores and names as they are.
            const BigScreenLayout l = big->layout();
            for (int p = 0; p < fresh.players; ++p) {
                const BigScreenPlayer& s = fresh.player[std::size_t(p)];
                const BigScreenText* score = Find(l, QStringLiteral("remaining_%1").arg(p));
                QVERIFY2(score && score->text == s.remaining, qPrintable(step));
                const BigScreenText* name = Find(l, QStringLiteral("name_%1").arg(p));
                QVERIFY2(s.name.isEmpty() ? !name : name && name->text == s.name, qPrintable(step));
            }
            QVERIFY2(!Find(l, QStringLiteral("remaining_1")) == (fresh.players == 1), qPrintable(step));
        }
    }

    // Every text lies whole inside the window and its own box, no two
    // overlap, and none is cut short, from the smallest window to a wide
    // strip and a portrait screen.
    void every_text_fits_apart_at_any_size_data()
    {
        QTest::addColumn<int>("players");
        QTest::addColumn<bool>("announcing");
        QTest::addColumn<bool>("bust");
        QTest::newRow("two players") << 2 << false << false;
        QTest::newRow("two, announcing") << 2 << true << false;
        QTest::newRow("one player") << 1 << false << false;
        QTest::newRow("one, announcing") << 1 << true << false;
        QTest::newRow("two, bust") << 2 << true << true;
    }

    void every_text_fits_apart_at_any_size()
    {
        QFETCH(int, players);
        QFETCH(bool, announcing);
        QFETCH(bool, bust);
        const BigScreenView view = bust ? BustView(players) : WidestView(players, announcing);
        for (const QSize& size : Sizes) {
            const QString at = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
            const QRect window(QPoint(0, 0), size);
            const BigScreenLayout l = frmBigScreen::LayOut(view, size);
            // Each figure is there, whole.
            QStringList wanted = {QStringLiteral("name_0"), QStringLiteral("remaining_0"), QStringLiteral("sets_0"),
                                  QStringLiteral("legs_0")};
            if (!announcing)
                wanted << QStringLiteral("dart1_0") << QStringLiteral("dart3_0") << QStringLiteral("visit_0")
                       << QStringLiteral("finish_0") << QStringLiteral("average_0");
            else
                wanted << QStringLiteral("announcement_0");
            if (announcing && !bust)
                wanted << QStringLiteral("announcement_1");
            if (players == 2)
                wanted << QStringLiteral("name_1") << QStringLiteral("remaining_1");
            for (const QString& role : wanted)
                QVERIFY2(Find(l, role), qPrintable(at + QStringLiteral(": no ") + role));
            const BigScreenText* name = Find(l, QStringLiteral("name_0"));
            QCOMPARE(name->text, view.player[0].name);
            for (qsizetype k = 0; announcing && k < view.announcement.size(); ++k)
                QCOMPARE(Find(l, QStringLiteral("announcement_%1").arg(k))->text, view.announcement[k]);
            // The scores are the largest text on view.
            const int score = Find(l, QStringLiteral("remaining_0"))->font.pixelSize();
            for (const BigScreenText& t : l.texts)
                QVERIFY2(t.font.pixelSize() <= score, qPrintable(at + u' ' + t.role + QStringLiteral(" is larger than the score")));

            for (qsizetype i = 0; i < l.texts.size(); ++i) {
                const BigScreenText& t = l.texts[i];
                const QRect drawn = t.drawn();
                const QString what = at + u' ' + t.role + QStringLiteral(" [") + t.text + u']';
                QVERIFY2(!drawn.isEmpty(), qPrintable(what));
                QVERIFY2(window.contains(drawn), qPrintable(what + QStringLiteral(" leaves the window")));
                QVERIFY2(t.box.contains(drawn), qPrintable(what + QStringLiteral(" leaves its box")));
                for (qsizetype k = 0; k < i; ++k)
                    QVERIFY2(!drawn.intersects(l.texts[k].drawn()),
                             qPrintable(what + QStringLiteral(" overlaps ") + l.texts[k].role));
            }
        }
    }

    // Read from five metres at 1280 x 720: the scores' digits stand at least
    // a fifth of the window high, also with the announcement up and with one
    // player; and they are the largest text on view.
    void scores_are_a_fifth_of_the_height_at_1280x720()
    {
        for (int players : {2, 1}) {
            for (bool announcing : {false, true}) {
                const BigScreenView view = WidestView(players, announcing);
                const BigScreenLayout l = frmBigScreen::LayOut(view, QSize(1280, 720));
                for (int p = 0; p < players; ++p) {
                    const BigScreenText* score = Find(l, QStringLiteral("remaining_%1").arg(p));
                    QVERIFY(score);
                    const int height = GlyphHeight(*score);
                    QVERIFY2(height >= 720 / 5, qPrintable(QStringLiteral("%1 px").arg(height)));
                    for (const BigScreenText& t : l.texts)
                        QVERIFY2(t.font.pixelSize() <= score->font.pixelSize(), qPrintable(t.role));
                }
            }
        }
        // The window itself at that size paints the same layout.
        frmBigScreen* big = open();
        QVERIFY(big);
        big->resize(1280, 720);
        const BigScreenLayout painted = big->layout();
        const BigScreenText* score = Find(painted, QStringLiteral("remaining_0"));
        QVERIFY(score);
        QVERIFY(GlyphHeight(*score) >= 144);
    }

    // The menu sits between Statistics and Help; opening the big screen,
    // F11 and a second opening leave the keyboard with the scoreboard.
    void keyboard_stays_with_the_scoreboard()
    {
        QStringList menus;
        for (QAction* a : f.scores().menuBar()->actions())
            menus << a->text();
        QCOMPARE(menus, QStringList({QStringLiteral("&File"), QStringLiteral("&Options"),
                                     QStringLiteral("&Statistics"), QStringLiteral("&View"),
                                     QStringLiteral("&Help")}));

        f.scores().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.scores()));
        auto* undo = f.scores().findChild<QPushButton*>(QStringLiteral("cmdUndo"));
        undo->setFocus();
        QCOMPARE(QApplication::focusWidget(), undo);

        frmBigScreen* big = open();
        QVERIFY(big);
        QVERIFY(big->isVisible());
        QVERIFY(big->testAttribute(Qt::WA_ShowWithoutActivating));
        QVERIFY(big->windowFlags() & Qt::WindowDoesNotAcceptFocus);
        QCOMPARE(big->focusPolicy(), Qt::NoFocus);
        QTest::qWait(50);
        QCOMPARE(QApplication::activeWindow(), &f.scores());
        QCOMPARE(QApplication::focusWidget(), undo);
        QVERIFY(f.scores().findChild<QAction*>(QStringLiteral("mnuViewBigScreen"))->isChecked());

        // F11 pressed where the scoreboard has the keyboard acts on the big
        // screen, and so does the menu entry, which has no key of its own.
        QVERIFY(!big->isFullScreen());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        QVERIFY(big->isFullScreen());
        QCOMPARE(QApplication::activeWindow(), &f.scores());
        QCOMPARE(QApplication::focusWidget(), undo);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        QVERIFY(!big->isFullScreen());
        QAction* fullScreen = f.scores().findChild<QAction*>(QStringLiteral("mnuViewFullScreen"));
        QVERIFY(fullScreen && fullScreen->shortcut().isEmpty());
        fullScreen->trigger();
        QVERIFY(big->isFullScreen());
        fullScreen->trigger();
        QVERIFY(!big->isFullScreen());
        QCOMPARE(QApplication::activeWindow(), &f.scores());

        // Closed and opened again from the menu: a new window, the keyboard
        // still here.
        QPointer<frmBigScreen> first = big;
        QVERIFY(!open());
        QTRY_VERIFY(!first);
        big = open();
        QVERIFY(big);
        QTest::qWait(50);
        QCOMPARE(QApplication::activeWindow(), &f.scores());
        QCOMPARE(QApplication::focusWidget(), undo);
        // A dart still goes in with the big screen up.
        f.throwAt(QStringLiteral("T20"));
        QCOMPARE(big->shown().player[0].darts[0], QStringLiteral("T20"));
    }

    // View, "Big Screen" opens it and, chosen again, closes it. Escape on
    // the scoreboard takes it out of full screen, once nothing is typed
    // there. The menu's mark follows it all the way.
    void entry_closes_it_and_escape_leaves_full_screen()
    {
        QAction* entry = f.scores().findChild<QAction*>(QStringLiteral("mnuViewBigScreen"));
        QPointer<frmBigScreen> big = open();
        QVERIFY(big && big->isVisible());
        QVERIFY(entry->isChecked());
        entry->trigger();
        QTRY_VERIFY(!big);
        QVERIFY(!f.app->bigScreen());
        QVERIFY(!entry->isChecked());

        // F11 opens it full screen.
        QWidget* keys = f.scores().clientArea();
        QTest::keyClick(keys, Qt::Key_F11);
        big = f.app->bigScreen();
        QVERIFY(big && big->isFullScreen());
        QVERIFY(entry->isChecked());
        // Escape clears a dart half typed first, and leaves it full screen.
        QTest::keyClicks(keys, QStringLiteral("T2"));
        QCOMPARE(f.model().keyboard.text, QStringLiteral("T2"));
        QTest::keyClick(keys, Qt::Key_Escape);
        QCOMPARE(f.model().keyboard.text, QString());
        QVERIFY(big->isFullScreen());
        // With nothing typed, Escape leaves full screen; the window stays.
        QTest::keyClick(keys, Qt::Key_Escape);
        QVERIFY(!big->isFullScreen());
        QVERIFY(big->isVisible());
        QTest::keyClick(keys, Qt::Key_Escape);
        QVERIFY(big && big->isVisible() && !big->isFullScreen());
        QVERIFY(entry->isChecked());
        // Full screen again, and the entry closes it from there too.
        QTest::keyClick(keys, Qt::Key_F11);
        QVERIFY(big->isFullScreen());
        entry->trigger();
        QTRY_VERIFY(!big);
        QVERIFY(!entry->isChecked());
        // Opened again, it is not full screen.
        big = open();
        QVERIFY(big && !big->isFullScreen());
    }

    // Opening the big screen, full screen and back, and closing it write
    // nothing: not the panels, not the match, not the database file.
    void opening_and_closing_change_nothing()
    {
        for (const char* bed : {"T20", "T20", "T20", "T19", "D16"})
            f.throwAt(QLatin1String(bed));
        auto files = [&] {
            QStringList all;
            for (const char* name : {"Data/Darts.MDB", "Data/Darts.MDB-wal"}) {
                QFile file(f.dir->filePath(QLatin1String(name)));
                all << (file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().toHex()) : QString());
            }
            return all;
        };
        auto state = [&] {
            const ModDarts& m = f.model();
            QStringList s = ReadBigScreen(m).describe();
            s << QString::number(m.match().undoableDarts()) << QString::number(m.match().currentPlayer())
              << QString::number(m.match().visitRemaining()) << m.currentDartLabel();
            for (const QLabel* label : f.scores().findChildren<QLabel*>())
                s << label->objectName() + u'=' + label->text();
            return s;
        };
        const QStringList before = state();
        const QStringList filesBefore = files();
        QVERIFY(!filesBefore[0].isEmpty());

        frmBigScreen* big = open();
        QVERIFY(big);
        QTest::keyClick(&f.scores(), Qt::Key_F11);
        QTest::mouseDClick(big, Qt::LeftButton);
        QPointer<frmBigScreen> gone = big;
        big->close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!gone);
        QVERIFY(!f.app->bigScreen());
        QVERIFY(!f.scores().findChild<QAction*>(QStringLiteral("mnuViewBigScreen"))->isChecked());

        QCOMPARE(state(), before);
        QCOMPARE(files(), filesBefore);
        // And the match goes on as before: the second player's visit ends.
        f.throwAt(QStringLiteral("D16"));
        QCOMPARE(ReadBigScreen(f.model()).player[1].visitTotal, QStringLiteral("121"));
    }
};

QTEST_MAIN(BigScreenTest)
#include "bigscreen_test.moc"
