// Window benchmark: the operator's two constant actions through the real
// widgets, on Qt's offscreen platform.
//  - A board click: a mouse press delivered to the board widget `Image1`,
//    then the whole scoreboard window repainted synchronously; the time runs
//    from the press until that paint is done.
//  - A pointer move over the board: a move event on `Image1`; the time of the
//    event itself, and of the event until the window is repainted. Paint events
//    on the aim box's caption `lblDartToHit` are counted while the pointer
//    moves inside one bed: after the first move into it there must be none.
//  - A typed dart, with the big screen open: its characters typed on the
//    scoreboard, then Enter; the time of each key from its press until the
//    scoreboard and the big screen are both repainted.
//
// ui_bench [CLICKS] [--screen WxH]   (1000 clicks and 1920x1080 by default)
#include "bench/BenchFigures.h"
#include "board/BoardGeometry.h"
#include "engine/ModDarts.h"
#include "base/Notifier.h"
#include "ui/BoardPicture.h"
#include "ui/SoundPlayer.h"
#include "ui/VantrellApp.h"
#include "ui/frmBigScreen.h"
#include "ui/frmScores.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <vector>

namespace {

// No message box may wait for a person here: whatever the core says goes to
// the standard error, and a question is answered "no".
class PrintingNotifier : public Notifier {
public:
    void message(const QString& text, const QString&) override
    {
        std::fprintf(stderr, "ui_bench: message: %s\n", qPrintable(text));
    }
    bool question(const QString& text, const QString&) override
    {
        std::fprintf(stderr, "ui_bench: question declined: %s\n", qPrintable(text));
        return false;
    }
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    long long paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A deterministic player of ordinary standard: aims at the treble 20 while
// the score is high, sets up a double, then goes for it; about a third of the
// darts land off the aim. Legs are won, busts happen, 180s are thrown.
class Thrower {
public:
    QString next(const ModDarts& model)
    {
        const match::Match& m = model.match();
        const qint64 left = m.dartsInVisit() == 0 ? m.player(m.currentPlayer()).remaining : m.visitRemaining();
        const int roll = pick_(rng_);
        if (left > 100 || left < 2) {
            static const char* scoring[] = {"T20", "T20", "T20", "T20", "20", "20", "20", "1",
                                            "5", "T1", "T5", "0", "25", "20", "T19", "19"};
            return QString::fromLatin1(scoring[roll % 16]);
        }
        QString aim;
        if (left == 50)
            aim = QStringLiteral("50");
        else if (left <= 40 && left % 2 == 0)
            aim = QStringLiteral("D%1").arg(left / 2);
        else if (left <= 41)
            aim = QStringLiteral("1");
        else if (left - 32 <= 20)
            aim = QString::number(left - 32);
        else if ((left - 32) % 3 == 0 && (left - 32) / 3 <= 20)
            aim = QStringLiteral("T%1").arg((left - 32) / 3);
        else
            aim = QStringLiteral("20");
        if (roll < 60)
            return aim;
        if (roll < 80 && aim.startsWith(u'D'))
            return aim.mid(1); // the single beside the double
        return roll < 90 ? QStringLiteral("5") : QStringLiteral("0");
    }

private:
    std::mt19937 rng_{20261209};
    std::uniform_int_distribution<int> pick_{0, 99};
};

// The board widget's pixel well inside the bed `label`.
QPoint PixelFor(const ModDarts& model, const QString& label)
{
    const QPointF at = PointFor(model.board.Image1, label);
    return QPoint(int(std::lround(at.x() / 15)), int(std::lround(at.y() / 15)));
}

void SendMouse(QWidget* target, QEvent::Type type, const QPoint& at, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

// The offscreen platform cannot raise a window and says so every time the
// announcement comes up; that is no news here.
QtMessageHandler standardHandler = nullptr;

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    // Nor is a machine without a sound device, said at every sound.
    if (text.contains(QStringLiteral("does not support raise()"))
        || text.contains(QStringLiteral("No audio device detected")))
        return;
    if (standardHandler)
        standardHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

int main(int argc, char** argv)
{
    int clicks = 1000;
    int screenWidth = 1920, screenHeight = 1080;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screen") == 0 && i + 1 < argc)
            std::sscanf(argv[++i], "%dx%d", &screenWidth, &screenHeight);
        else
            clicks = std::max(1, std::atoi(argv[i]));
    }
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "ui_bench: no temporary folder\n");
        return 1;
    }
    ChoosePlatform(home.path(), screenWidth, screenHeight);
    standardHandler = qInstallMessageHandler(QuietHandler);
    QApplication qapp(argc, argv);

    // The recordings of the build tree when they are there (real playback,
    // silent without a sound device), as the program has them.
    SoundPlayer sound;
    PrintingNotifier notifier;
    VantrellApp::Setup setup;
    setup.databasePath = QDir(home.path()).filePath(QStringLiteral("Data/Darts.MDB"));
    setup.soundsFolder = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../sounds"));
    setup.helpPage = QDir(home.path()).filePath(QStringLiteral("Help.htm"));
    setup.sound = &sound;
    setup.notifier = &notifier;
    VantrellApp app(setup);
    QString error;
    if (!app.openDatabase(&error)) {
        std::fprintf(stderr, "ui_bench: %s\n", qPrintable(error));
        return 1;
    }
    app.loadMainWindow();
    frmScores* scores = app.scores();
    if (!scores || !QTest::qWaitForWindowExposed(scores)) {
        std::fprintf(stderr, "ui_bench: the scoreboard did not appear\n");
        return 1;
    }
    QCoreApplication::processEvents();
    auto* board = scores->findChild<QWidget*>(QStringLiteral("Image1"));
    auto* caption = scores->findChild<QWidget*>(QStringLiteral("lblDartToHit"));
    auto* aimBox = scores->findChild<QWidget*>(QStringLiteral("Frame3"));
    if (!board || !caption || !aimBox) {
        std::fprintf(stderr, "ui_bench: Image1, lblDartToHit or Frame3 not found\n");
        return 1;
    }
    const ModDarts& model = app.model();
    std::printf("screen %dx%d (%s), board %dx%d px, sounds %s\n", screenWidth, screenHeight,
                qgetenv("QT_QPA_PLATFORM").left(9).constData(), board->width(), board->height(),
                QDir(setup.soundsFolder).exists() ? "present" : "missing");

    // Fill the high-score table first, so the clicks below are of darts
    // that write nothing to the disk (the write has its own benchmark).
    Thrower thrower;
    for (int i = 0; i < 3000; ++i) {
        const QPointF at = PointFor(model.board.Image1, thrower.next(model));
        app.commands().boardPressed(at.x(), at.y());
    }
    if (model.winner.open())
        app.commands().winnerOk();
    app.commands().newGame();
    QCoreApplication::processEvents();

    // --- Board clicks ---------------------------------------------------
    // The time runs from the press until the scoreboard is painted: the
    // events the press posted (windows shown, layouts) are handled, then the
    // whole window is repainted at once. Qt keeps the pixels of an opaque
    // widget that did not change, so the board picture is not drawn again
    // (counted below); every other control of the window is.
    std::vector<double> clickNs;
    clickNs.reserve(std::size_t(clicks));
    int announcements = 0;
    PaintCounter boardPaints, anyPaints;
    board->installEventFilter(&boardPaints);
    long long lateClickPaints = 0;
    const int checkedClicks = std::min(clicks, 100);
    QElapsedTimer t;
    for (int i = 0; i < clicks; ++i) {
        const QPoint at = PixelFor(model, thrower.next(model));
        t.start();
        SendMouse(board, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        QCoreApplication::processEvents();
        scores->repaint();
        clickNs.push_back(double(t.nsecsElapsed()));
        // For the first clicks, make sure nothing was left to paint on the
        // next frame: the time above would then have missed it.
        if (i < checkedClicks) {
            qapp.installEventFilter(&anyPaints);
            const long long before = anyPaints.paints;
            QTest::qWait(20);
            lateClickPaints += anyPaints.paints - before;
            qapp.removeEventFilter(&anyPaints);
        }
        SendMouse(board, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        // The operator closes an announcement with "&Ok" before the next dart.
        if (model.winner.open()) {
            ++announcements;
            app.commands().winnerOk();
        }
        QCoreApplication::processEvents();
    }
    board->removeEventFilter(&boardPaints);

    // --- Typed darts ------------------------------------------------------
    // Each key as the window system delivers it to the scoreboard, which
    // has the keyboard; the time runs until the window is painted again.
    // A character repaints the entry line; Enter records the dart.
    app.commands().newGame();
    app.chooseBigScreen();
    frmBigScreen* big = app.bigScreen();
    if (!big || !QTest::qWaitForWindowExposed(big)) {
        std::fprintf(stderr, "ui_bench: the big screen did not appear\n");
        return 1;
    }
    big->resize(1280, 720);
    QCoreApplication::processEvents();
    QWidget* keys = scores->clientArea();
    std::vector<double> charNs, enterNs;
    auto pressKey = [&](int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        t.start();
        QApplication::sendEvent(keys, &press);
        QCoreApplication::processEvents();
        scores->repaint();
        big->repaint();
        const double ns = double(t.nsecsElapsed());
        QApplication::sendEvent(keys, &release);
        return ns;
    };
    for (int i = 0; i < clicks; ++i) {
        const QString label = thrower.next(model);
        for (QChar ch : label)
            charNs.push_back(pressKey(ch.isDigit() ? Qt::Key_0 + (ch.unicode() - u'0') : Qt::Key_A + (ch.toUpper().unicode() - u'A'),
                                      QString(ch)));
        enterNs.push_back(pressKey(Qt::Key_Return, QStringLiteral("\r")));
        if (model.winner.open())
            app.commands().winnerOk();
        QCoreApplication::processEvents();
    }
    const qint64 typedDarts = model.match().undoableDarts();

    // --- Pointer moves inside one bed --------------------------------------
    PaintCounter captionPaints, boxPaints;
    caption->installEventFilter(&captionPaints);
    aimBox->installEventFilter(&boxPaints);
    // Off the board first, so the first move in is a change of segment.
    const QPoint outside = PixelFor(model, QStringLiteral("0"));
    SendMouse(board, QEvent::MouseMove, outside, Qt::NoButton, Qt::NoButton);
    QCoreApplication::processEvents();
    const QString bed = QStringLiteral("20");
    const QPoint centre = PixelFor(model, bed);
    // Points round the bed's middle that the mapping puts in the same bed.
    std::vector<QPoint> inside;
    for (int dy = -6; dy <= 6; ++dy)
        for (int dx = -6; dx <= 6; ++dx) {
            const QPoint p = centre + QPoint(dx, dy);
            if (HitAt(model.board.Image1, p.x() * 15.0, p.y() * 15.0).Label == bed)
                inside.push_back(p);
        }
    const long long captionBefore = captionPaints.paints;
    SendMouse(board, QEvent::MouseMove, centre, Qt::NoButton, Qt::NoButton);
    QCoreApplication::processEvents();
    // Widgets paint what update() asked for on the window's next frame, a
    // few milliseconds on: wait for it, so every paint the first move causes
    // counts as the first move's.
    QTest::qWait(100);
    const long long firstMovePaints = captionPaints.paints - captionBefore;
    const long long captionAfterFirst = captionPaints.paints;
    const long long boxAfterFirst = boxPaints.paints;
    std::vector<double> moveNs, moveIdleNs;
    const int moves = 1000;
    for (int i = 0; i < moves; ++i) {
        // A walk over the bed, never standing still.
        const QPoint at = inside[std::size_t(i * 7 + 1) % inside.size()];
        t.start();
        SendMouse(board, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        moveNs.push_back(double(t.nsecsElapsed()));
        // ... and until the window shows it: the box drawn at its new place
        // and the board uncovered where it was.
        QCoreApplication::processEvents();
        scores->repaint();
        moveIdleNs.push_back(double(t.nsecsElapsed()));
    }
    QTest::qWait(100); // the last frame's paints
    const long long captionRepaints = captionPaints.paints - captionAfterFirst;
    const long long boxRepaints = boxPaints.paints - boxAfterFirst;
    const bool stillOnBed = model.board.Frame3.caption == bed && aimBox->isVisible();

    // --- Drawing the board picture ------------------------------------------
    // What the first paint of the main window and the splash cost: the
    // picture at the scoreboard's size and at its design size.
    std::vector<double> renderNs, designNs;
    for (int i = 0; i < 5; ++i) {
        t.start();
        const QImage picture = boardpicture::Render(model.board.Image1, std::min(board->width(), board->height()));
        renderNs.push_back(double(t.nsecsElapsed()));
        t.start();
        const QImage design = boardpicture::DesignPicture();
        designNs.push_back(double(t.nsecsElapsed()));
        if (picture.isNull() || design.isNull())
            return 1;
    }

    std::vector<Figure> figures;
    figures.push_back({"click_to_scoreboard_median", Percentile(clickNs, 0.5) / 1e6, "ms"});
    figures.push_back({"click_to_scoreboard_p99", Percentile(clickNs, 0.99) / 1e6, "ms"});
    figures.push_back({"click_to_scoreboard_worst", Percentile(clickNs, 1.0) / 1e6, "ms"});
    figures.push_back({"clicks", double(clicks), "clicks"});
    figures.push_back({"board_paints_during_clicks", double(boardPaints.paints), "paints"});
    figures.push_back({"paints_left_after_first_100_clicks", double(lateClickPaints), "paints"});
    figures.push_back({"announcements_during_clicks", double(announcements), "dialogs"});
    figures.push_back({"key_enter_to_both_screens_median", Percentile(enterNs, 0.5) / 1e6, "ms"});
    figures.push_back({"key_enter_to_both_screens_p99", Percentile(enterNs, 0.99) / 1e6, "ms"});
    figures.push_back({"key_character_to_both_screens_median", Percentile(charNs, 0.5) / 1e6, "ms"});
    figures.push_back({"key_character_to_both_screens_p99", Percentile(charNs, 0.99) / 1e6, "ms"});
    figures.push_back({"typed_darts_undoable_at_end", double(typedDarts), "darts"});
    figures.push_back({"pointer_move_median", Percentile(moveNs, 0.5) / 1e3, "us"});
    figures.push_back({"pointer_move_p99", Percentile(moveNs, 0.99) / 1e3, "us"});
    figures.push_back({"pointer_move_painted_median", Percentile(moveIdleNs, 0.5) / 1e3, "us"});
    figures.push_back({"aim_caption_paints_first_move", double(firstMovePaints), "paints"});
    figures.push_back({"aim_caption_paints_1000_moves_one_bed", double(captionRepaints), "paints"});
    figures.push_back({"aim_box_frame_paints_1000_moves_one_bed", double(boxRepaints), "paints"});
    figures.push_back({"aim_box_on_bed_after_moves", stillOnBed ? 1.0 : 0.0, "bool"});
    figures.push_back({"board_picture_render_median", Percentile(renderNs, 0.5) / 1e6, "ms"});
    figures.push_back({"board_picture_side", double(std::min(board->width(), board->height())), "px"});
    figures.push_back({"design_picture_render_median", Percentile(designNs, 0.5) / 1e6, "ms"});
    PrintFigures(figures);
    return 0;
}
