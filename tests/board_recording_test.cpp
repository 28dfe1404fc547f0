// What the board mapping writes into the match, the aim box that follows the
// pointer, and the colours of the finish box.
#include "board/BoardGeometry.h"
#include "engine/ModDarts.h"

#include <QTest>

#include <memory>

namespace {

class SilentNotifier : public Notifier {
public:
    void message(const QString&, const QString&) override {}
    bool question(const QString&, const QString&) override { return false; }
};

class SilentSound : public SoundOutput {
public:
    void play(const QString&) override {}
};

struct Engine {
    SilentNotifier notifier;
    SilentSound sound;
    std::unique_ptr<ModDarts> e;

    Engine()
    {
        ModDarts::Setup setup;
        setup.notifier = &notifier;
        setup.sound = &sound;
        e = std::make_unique<ModDarts>(setup);
    }
    ModDarts* operator->() { return e.get(); }

    QPointF at(const char* label) { return PointFor(e->board.Image1, QString(label)); }
    qint64 press(const char* label)
    {
        const QPointF p = at(label);
        return e->MapBoardPoint(p.x(), p.y(), true);
    }
    void move(const char* label)
    {
        const QPointF p = at(label);
        e->BoardMoved(p.x(), p.y());
    }
};

} // namespace

class BoardRecordingTest : public QObject {
    Q_OBJECT
private slots:
    void thrownDartsFillTheVisit();
    void pointerMovesRecordNothing();
    void historyWrapsAfterFiftyDarts();
    void aimBoxFollowsThePointer();
    void aimBoxRepaintsOnlyOnChange();
    void finishBoxColours();
    void finishBoxFromText();
};

void BoardRecordingTest::thrownDartsFillTheVisit()
{
    Engine e;
    e->state.CurrentPlayer = 1;
    PlayerPanel& p = e->panel(1);

    e->state.DartsInVisit = 1;
    QCOMPARE(e.press("T20"), 60);
    QCOMPARE(p.lblFirstDart.text(), QStringLiteral("T20"));
    QCOMPARE(p.lblThreeDartScore.text(), QStringLiteral("60"));

    // A miss is a dart like any other: its label shows and it adds nothing.
    e->state.DartsInVisit = 2;
    QCOMPARE(e.press("0"), 0);
    QCOMPARE(p.lblSecondDart.text(), QStringLiteral("0"));
    QCOMPARE(p.lblThreeDartScore.text(), QStringLiteral("60"));

    e->state.DartsInVisit = 3;
    QCOMPARE(e.press("D16"), 32);
    QCOMPARE(p.lblThirdDart.text(), QStringLiteral("D16"));
    QCOMPARE(p.lblThreeDartScore.text(), QStringLiteral("92"));

    QCOMPARE(e->history.DartHistoryIndex, 3);
    QCOMPARE(e->history.slot[1], QStringLiteral("T20"));
    QCOMPARE(e->history.slot[2], QStringLiteral("0"));
    QCOMPARE(e->history.slot[3], QStringLiteral("D16"));
    QCOMPARE(e->history.CurrentDartLabel, QStringLiteral("D16"));

    // The other player's panel is not touched.
    const PlayerPanel& other = e->panel(0);
    QVERIFY(other.lblFirstDart.text().isEmpty());
    QVERIFY(other.lblThreeDartScore.text().isEmpty());

    // Outside darts 1 to 3 no label is written, but the dart still counts.
    p.clearVisit();
    e->state.DartsInVisit = 4;
    QCOMPARE(e.press("25"), 25);
    QVERIFY(p.lblFirstDart.text().isEmpty() && p.lblSecondDart.text().isEmpty()
            && p.lblThirdDart.text().isEmpty());
    QCOMPARE(p.lblThreeDartScore.text(), QStringLiteral("25"));
    QCOMPARE(e->history.DartHistoryIndex, 4);
    QCOMPARE(e->history.slot[4], QStringLiteral("25"));

    // The total is the caption's number plus the dart, as a plain number.
    p.lblThreeDartScore.setText(QStringLiteral("2.5"));
    e->state.DartsInVisit = 1;
    QCOMPARE(e.press("50"), 50);
    QCOMPARE(p.lblThreeDartScore.text(), QStringLiteral("52.5"));
}

void BoardRecordingTest::pointerMovesRecordNothing()
{
    Engine e;
    e->state.DartsInVisit = 1;
    const QPointF t20 = e.at("T20");
    QCOMPARE(e->MapBoardPoint(t20.x(), t20.y(), false), 0);
    QCOMPARE(e->history.CurrentDartLabel, QStringLiteral("T20"));
    QCOMPARE(e->history.DartHistoryIndex, 0);
    QVERIFY(e->history.slot[1].isEmpty());
    const PlayerPanel& p = e->panel(0);
    QVERIFY(p.lblFirstDart.text().isEmpty());
    QVERIFY(p.lblThreeDartScore.text().isEmpty());

    e.move("D5");
    QCOMPARE(e->history.CurrentDartLabel, QStringLiteral("D5"));
    QCOMPARE(e->history.DartHistoryIndex, 0);
    QVERIFY(p.lblFirstDart.text().isEmpty());
    QVERIFY(p.lblThreeDartScore.text().isEmpty());
}

void BoardRecordingTest::historyWrapsAfterFiftyDarts()
{
    Engine e;
    const QString labels[] = {QStringLiteral("1"), QStringLiteral("T7"), QStringLiteral("D9")};
    for (int dart = 1; dart <= 50; ++dart) {
        e->state.DartsInVisit = (dart - 1) % 3 + 1;
        const QPointF p = PointFor(e->board.Image1, labels[dart % 3]);
        e->MapBoardPoint(p.x(), p.y(), true);
        QCOMPARE(e->history.DartHistoryIndex, dart);
        QCOMPARE(e->history.slot[dart], labels[dart % 3]);
    }
    const QString second = e->history.slot[2];
    e.press("T19");
    QCOMPARE(e->history.DartHistoryIndex, 1);
    QCOMPARE(e->history.slot[1], QStringLiteral("T19"));
    QCOMPARE(e->history.slot[2], second);
    e.press("5");
    QCOMPARE(e->history.DartHistoryIndex, 2);
    QCOMPARE(e->history.slot[2], QStringLiteral("5"));
}

void BoardRecordingTest::aimBoxFollowsThePointer()
{
    Engine e;
    const AimBox& box = e->board.Frame3;

    e->BoardMoved(3855, 3825); // the bull at the design size
    QVERIFY(box.visible);
    QCOMPARE(box.caption, QStringLiteral("50"));
    QCOMPARE(box.left, 4855.0);
    QCOMPARE(box.top, 3825.0);

    e.move("25");
    QCOMPARE(box.caption, QStringLiteral("25"));
    e.move("T20");
    QCOMPARE(box.caption, QStringLiteral("T20"));
    QVERIFY(box.visible);

    // Off the board the box hides; back on, it shows the new bed.
    e->BoardMoved(3855, 6525);
    QVERIFY(!box.visible);
    QCOMPARE(box.caption, QStringLiteral("0"));
    QCOMPARE(box.top, 6525.0);
    e.move("D3");
    QVERIFY(box.visible);
    QCOMPARE(box.caption, QStringLiteral("D3"));

    // Over the bare window the box hides and keeps its text and place.
    const double left = box.left, top = box.top;
    e->WindowMoved();
    QVERIFY(!box.visible);
    QCOMPARE(box.caption, QStringLiteral("D3"));
    QCOMPARE(box.left, left);
    QCOMPARE(box.top, top);

    // None of it touched the match.
    QCOMPARE(e->history.DartHistoryIndex, 0);
    QVERIFY(e->panel(0).lblThreeDartScore.text().isEmpty());
    QVERIFY(e->panel(0).lblFirstDart.text().isEmpty());
}

void BoardRecordingTest::aimBoxRepaintsOnlyOnChange()
{
    Engine e;
    const AimBox& box = e->board.Frame3;

    // The box starts out reading "0": a first move off the board repaints nothing.
    e->BoardMoved(0, 0);
    QCOMPARE(box.captionWrites, quint64(0));
    QVERIFY(!box.visible);

    // Moving about within one bed moves the box but repaints once.
    const QPointF t20 = e.at("T20");
    for (int i = 0; i < 5; ++i) {
        e->BoardMoved(t20.x() + i, t20.y() - i);
        QCOMPARE(box.left, t20.x() + i + 1000);
        QCOMPARE(box.top, t20.y() - i);
    }
    QCOMPARE(box.captionWrites, quint64(1));

    e.move("20");
    e.move("20");
    QCOMPARE(box.captionWrites, quint64(2));
    e->WindowMoved();
    e.move("20");
    QCOMPARE(box.captionWrites, quint64(2));
    QVERIFY(box.visible);
}

void BoardRecordingTest::finishBoxColours()
{
    Engine e;
    e->state.CurrentPlayer = 1;
    Field& box = e->panel(1).lblFinishAdj;
    const Field& other = e->panel(0).lblFinishAdj;
    const quint32 otherBack = other.back(), otherFore = other.fore();
    QVERIFY(!box.visible());

    // "No outshot" never brings a hidden box into view.
    for (qint64 remaining : {1, 0, -5}) {
        QCOMPARE(e->ShowCheckout(remaining), QStringLiteral("No outshot"));
        QVERIFY(!box.visible());
        QCOMPARE(box.back(), Field::Yellow);
        QCOMPARE(box.fore(), Field::Black);
    }

    box.setText(QStringLiteral("kept"));
    QCOMPARE(e->ShowCheckout(170), QStringLiteral("T20 T20 Bull"));
    QVERIFY(box.visible());
    QCOMPARE(box.back(), Field::Blue);
    QCOMPARE(box.fore(), Field::White);
    // The caller writes the caption, not the advisor.
    QCOMPARE(box.text(), QStringLiteral("kept"));

    // Nothing to say from 171 up: the box stays as it was.
    QVERIFY(e->ShowCheckout(171).isEmpty());
    QVERIFY(e->ShowCheckout(501).isEmpty());
    QVERIFY(box.visible());
    QCOMPARE(box.back(), Field::Blue);
    QCOMPARE(box.fore(), Field::White);

    for (qint64 remaining : {169, 168, 166, 165, 163, 162, 159}) {
        box.setColours(Field::Blue, Field::White);
        QCOMPARE(e->ShowCheckout(remaining), QStringLiteral("No outshot"));
        QCOMPARE(box.back(), Field::Yellow);
        QCOMPARE(box.fore(), Field::Black);
        QVERIFY(box.visible());
    }

    // Only the current player's box is coloured.
    QCOMPARE(other.back(), otherBack);
    QCOMPARE(other.fore(), otherFore);
    QVERIFY(!other.visible());

    e->state.CurrentPlayer = 0;
    QCOMPARE(e->ShowCheckout(100), QStringLiteral("T20 D20"));
    QVERIFY(e->panel(0).lblFinishAdj.visible());
    QCOMPARE(e->panel(0).lblFinishAdj.back(), Field::Blue);
    QCOMPARE(box.back(), Field::Yellow);
}

void BoardRecordingTest::finishBoxFromText()
{
    Engine e;
    const Field& box = e->panel(0).lblFinishAdj;
    QCOMPARE(e->ShowCheckout(QStringLiteral("40")), QStringLiteral("D20"));
    QCOMPARE(e->ShowCheckout(QStringLiteral("2.5")), QStringLiteral("D1"));
    QCOMPARE(e->ShowCheckout(QStringLiteral("3.5")), QStringLiteral("D2"));
    QCOMPARE(e->ShowCheckout(QStringLiteral("39 left")), QStringLiteral("7 D16"));
    QVERIFY(e->ShowCheckout(QStringLiteral("501")).isEmpty());
    QCOMPARE(box.back(), Field::Blue);
    QCOMPARE(e->ShowCheckout(QStringLiteral("")), QStringLiteral("No outshot"));
    QCOMPARE(box.back(), Field::Yellow);
}

QTEST_GUILESS_MAIN(BoardRecordingTest)
#include "board_recording_test.moc"
