// What the board mapping writes into the match, the aim box that follows the
// pointer, and the colours of the finish box.
#include "board/BoardGeometry.h"
#include "engine/FinishAdvice.h"
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
        e->BoardPressed(p.x(), p.y());
        return e->MapBoardPoint(p.x(), p.y()).Score;
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
};

void BoardRecordingTest::thrownDartsFillTheVisit()
{
    Engine e;
    e->OptionsPlayersChosen(1);
    PlayerPanel& p = e->panel(0);

    QCOMPARE(e.press("T20"), 60);
    QCOMPARE(p.lblFirstDart.text(), QStringLiteral("T20"));
    QCOMPARE(p.lblThreeDartScore.text(), QStringLiteral("60"));

    // A miss is a dart like any other: its label shows and it adds nothing.
    QCOMPARE(e.press("0"), 0);
    QCOMPARE(p.lblSecondDart.text(), QStringLiteral("0"));
    QCOMPARE(p.lblThreeDartScore.text(), QStringLiteral("60"));

    QCOMPARE(e.press("D16"), 32);
    QCOMPARE(p.lblThirdDart.text(), QStringLiteral("D16"));
    QCOMPARE(p.lblThreeDartScore.text(), QStringLiteral("92"));
    QCOMPARE(p.lblScoreLeft.text(), QStringLiteral("409"));

    QCOMPARE(e->match().undoableDarts(), 3);
    QCOMPARE(e->currentDartLabel(), QStringLiteral("D16"));

    // The other player's panel is not touched until their first dart, which
    // clears this visit from view.
    PlayerPanel& other = e->panel(1);
    QVERIFY(other.lblFirstDart.text().isEmpty());
    QVERIFY(other.lblThreeDartScore.text().isEmpty());
    QCOMPARE(e.press("25"), 25);
    QCOMPARE(other.lblFirstDart.text(), QStringLiteral("25"));
    QVERIFY(p.lblFirstDart.text().isEmpty() && p.lblThreeDartScore.text().isEmpty());
}

void BoardRecordingTest::pointerMovesRecordNothing()
{
    Engine e;
    const QPointF t20 = e.at("T20");
    QCOMPARE(e->MapBoardPoint(t20.x(), t20.y()).Score, 60);
    QCOMPARE(e->currentDartLabel(), QStringLiteral("T20"));
    QCOMPARE(e->match().undoableDarts(), 0);
    const PlayerPanel& p = e->panel(0);
    QVERIFY(p.lblFirstDart.text().isEmpty());
    QVERIFY(p.lblThreeDartScore.text().isEmpty());

    e.move("D5");
    QCOMPARE(e->currentDartLabel(), QStringLiteral("D5"));
    QCOMPARE(e->match().undoableDarts(), 0);
    QVERIFY(p.lblFirstDart.text().isEmpty());
    QVERIFY(p.lblThreeDartScore.text().isEmpty());
}

void BoardRecordingTest::historyWrapsAfterFiftyDarts()
{
    Engine e;
    for (int dart = 1; dart <= 50; ++dart) {
        e.press("1");
        QCOMPARE(e->match().undoableDarts(), dart);
    }
    // The 51st dart takes the first slot again: one dart to undo.
    e.press("T19");
    QCOMPARE(e->match().undoableDarts(), 1);
    e.press("5");
    QCOMPARE(e->match().undoableDarts(), 2);
    e->UndoLast();
    QCOMPARE(e->currentDartLabel(), QStringLiteral("5"));
    e->UndoLast();
    QCOMPARE(e->currentDartLabel(), QStringLiteral("T19"));
    QCOMPARE(e->match().undoableDarts(), 0);
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
    QCOMPARE(e->match().undoableDarts(), 0);
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
    Field box(QString(), false);
    QVERIFY(!box.visible());

    // "No outshot" never brings a hidden box into view.
    for (qint64 remaining : {1, 0, -5}) {
        QCOMPARE(AdviseFinish(box, remaining), QStringLiteral("No outshot"));
        QVERIFY(!box.visible());
        QCOMPARE(box.back(), Field::Yellow);
        QCOMPARE(box.fore(), Field::Black);
    }

    box.setText(QStringLiteral("kept"));
    QCOMPARE(AdviseFinish(box, 170), QStringLiteral("T20 T20 Bull"));
    QVERIFY(box.visible());
    QCOMPARE(box.back(), Field::Blue);
    QCOMPARE(box.fore(), Field::White);
    // The caller writes the caption, not the advisor.
    QCOMPARE(box.text(), QStringLiteral("kept"));

    // Nothing to say from 171 up: the box stays as it was.
    QVERIFY(AdviseFinish(box, 171).isEmpty());
    QVERIFY(AdviseFinish(box, 501).isEmpty());
    QVERIFY(box.visible());
    QCOMPARE(box.back(), Field::Blue);
    QCOMPARE(box.fore(), Field::White);

    for (qint64 remaining : {169, 168, 166, 165, 163, 162, 159}) {
        box.setColours(Field::Blue, Field::White);
        QCOMPARE(AdviseFinish(box, remaining), QStringLiteral("No outshot"));
        QCOMPARE(box.back(), Field::Yellow);
        QCOMPARE(box.fore(), Field::Black);
        QVERIFY(box.visible());
    }
}

QTEST_GUILESS_MAIN(BoardRecordingTest)
#include "board_recording_test.moc"
