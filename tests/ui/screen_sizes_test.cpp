// The program on screens of the sizes people run it at, from the smallest it
// supports to a large desktop. Each size is a copy of this test on Qt's
// offscreen platform with one screen of that size and, as on a bare X
// server, no window manager to put frames round the windows. The main
// window sizes itself to the screen as it loads, and every other window
// opens on that screen.
#include "UiTestSupport.h"

#include "ui/frmAbout.h"
#include "ui/frmHiScores.h"
#include "ui/frmHistory.h"
#include "ui/frmPrint.h"
#include "ui/frmStats.h"
#include "ui/frmWinnerBust.h"

#include <QProcess>
#include <QScreen>
#include <QTabBar>
#include <QTreeWidget>

#include <cstdio>

namespace {

const QList<QSize> Screens = {QSize(640, 480), QSize(800, 600), QSize(1024, 768), QSize(1280, 800),
                              QSize(1920, 1080)};

// Set in each copy to the size of its screen, "640x480".
constexpr char ScreenVariable[] = "VANTRELL_TEST_SCREEN";

double DistanceToRect(const QPointF& p, const QRectF& r)
{
    const double dx = std::max({r.left() - p.x(), 0.0, p.x() - r.right()});
    const double dy = std::max({r.top() - p.y(), 0.0, p.y() - r.bottom()});
    return std::hypot(dx, dy);
}

} // namespace

class ScreenSizesTest : public QObject {
    Q_OBJECT
    UiFixture f;
    QString at = QString::fromLatin1(qgetenv(ScreenVariable));

    QRect screenArea() { return f.scores().screen()->availableGeometry(); }

    QAction* menu(const char* name) { return f.scores().findChild<QAction*>(QLatin1String(name)); }

    static void click(QWidget* window, const char* button)
    {
        auto* b = window ? window->findChild<QPushButton*>(QLatin1String(button)) : nullptr;
        QVERIFY2(b, button);
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // The window on view as a whole, inside the screen, and each of its
    // buttons inside it with its caption whole.
    void fitsTheScreen(QWidget* window, const QString& what)
    {
        const QString where = at + u' ' + what;
        QVERIFY2(window && window->isVisible(), qPrintable(where));
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect frame = window->frameGeometry();
        QVERIFY2(screenArea().contains(frame),
                 qPrintable(QStringLiteral("%1: %2,%3 %4x%5 is not inside the screen")
                                .arg(where)
                                .arg(frame.x())
                                .arg(frame.y())
                                .arg(frame.width())
                                .arg(frame.height())));
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            if (!button->isVisibleTo(window))
                continue;
            const QString name = where + u' ' + button->objectName();
            const QRect inWindow(button->mapTo(window, QPoint(0, 0)), button->size());
            QVERIFY2(window->rect().contains(inWindow), qPrintable(name));
            const QString caption = QString(button->text()).remove(u'&');
            QVERIFY2(button->fontMetrics().horizontalAdvance(caption) + 8 <= button->width(),
                     qPrintable(name + QStringLiteral(": \"") + caption + u'"'));
        }
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void main_window_fills_the_screen()
    {
        QCOMPARE(f.scores().screen()->geometry().size().width(), at.section(u'x', 0, 0).toInt());
        QCOMPARE(f.scores().frameGeometry(), screenArea());
    }

    // Play goes on while it is open: not one bed lies under it, whether the
    // window system frames it or not.
    void announcement_is_clear_of_every_bed()
    {
        f.chooseStart(2); // 101: two trebles of 20 bust
        f.throwAt(QStringLiteral("T20"));
        f.throwAt(QStringLiteral("T20"));
        frmWinnerBust* dialog = f.app->winner();
        QVERIFY(dialog && dialog->isVisible());
        QPointF centre;
        double radius = 0;
        QVERIFY(dialog->boardRing(&centre, &radius));
        // As it stands, and with the frame a window manager would put round it.
        for (const QRect& frame : {dialog->frameGeometry(), dialog->expectedFrame()}) {
            QVERIFY2(DistanceToRect(centre, QRectF(frame)) >= radius,
                     qPrintable(QStringLiteral("%1: the announcement at %2,%3 %4x%5 covers beds within %6 px "
                                               "of the bull at %7,%8")
                                    .arg(at)
                                    .arg(frame.x())
                                    .arg(frame.y())
                                    .arg(frame.width())
                                    .arg(frame.height())
                                    .arg(radius)
                                    .arg(centre.x())
                                    .arg(centre.y())));
            QVERIFY2(screenArea().contains(frame), qPrintable(at));
        }
        fitsTheScreen(dialog, QStringLiteral("frmWinnerBust"));
        // A dart at the lowest double, below the bull, is recorded there.
        f.throwAt(QStringLiteral("D3"));
        QCOMPARE(f.lastDart(), QStringLiteral("D3"));
    }

    // Every window the menus open, and the print dialog and the stored
    // match's pages, are whole on the screen with their buttons.
    void every_window_fits_the_screen()
    {
        for (const char* dart : {"T20", "T19", "D16"})
            f.throwAt(QLatin1String(dart));
        for (int tab = 1; tab <= 3; ++tab) {
            f.app->showStats(tab);
            fitsTheScreen(f.app->stats(), QStringLiteral("frmStats tab %1").arg(tab));
        }
        click(f.app->stats(), "cmdPrint");
        fitsTheScreen(f.app->print(), QStringLiteral("frmPrint"));
        click(f.app->print(), "cmdCancel");
        click(f.app->stats(), "cmdExit");
        QVERIFY(!f.app->stats()->isVisible());

        for (int tab = 1; tab <= 3; ++tab) {
            f.app->showOptions(tab);
            fitsTheScreen(f.app->options(), QStringLiteral("frmOptions tab %1").arg(tab));
        }
        click(f.app->options(), "cmdCancel");

        menu("mnuStaHistory")->trigger();
        fitsTheScreen(f.app->hiScores(), QStringLiteral("frmHiScores"));
        click(f.app->hiScores(), "cmdClose");

        menu("mnuHelAbout")->trigger();
        fitsTheScreen(f.app->about(), QStringLiteral("frmAbout"));
        click(f.app->about(), "cmdOK");

        menu("mnuStaMatchHistory")->trigger();
        frmHistory* history = f.app->history();
        fitsTheScreen(history, QStringLiteral("frmHistory"));
        QVERIFY(history->list()->topLevelItemCount() > 0);
        click(history, "cmdOpen");
        fitsTheScreen(f.app->historyPages(), QStringLiteral("frmHistoryStats"));
        click(f.app->historyPages(), "cmdPrint");
        fitsTheScreen(f.app->historyPrint(), QStringLiteral("frmPrint of the stored match"));
        click(f.app->historyPrint(), "cmdCancel");
        click(f.app->historyPages(), "cmdExit");
        // "&Close" works where the operator sees it.
        click(history, "cmdClose");
        QTRY_VERIFY(!f.app->history());
    }
};

namespace {

// Runs this test once for every screen size, each in a copy of its own.
int RunOnEveryScreen(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    int failed = 0;
    for (const QSize& size : Screens) {
        const QString name = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        QProcess copy;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QLatin1String(ScreenVariable), name);
        copy.setProcessEnvironment(env);
        copy.setProcessChannelMode(QProcess::MergedChannels);
        copy.start(QCoreApplication::applicationFilePath(), arguments);
        const bool ended = copy.waitForFinished(120000);
        std::printf("=== screen %s\n%s", qPrintable(name), copy.readAll().constData());
        if (!ended || copy.exitStatus() != QProcess::NormalExit || copy.exitCode() != 0) {
            std::printf("=== screen %s FAILED\n", qPrintable(name));
            ++failed;
        }
    }
    std::printf("%d of %lld screen sizes failed\n", failed, qsizetype(Screens.size()));
    return failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const QByteArray size = qgetenv(ScreenVariable);
    if (size.isEmpty())
        return RunOnEveryScreen(argc, argv);
    // One screen of that size, and windows without frames.
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    const QList<QByteArray> wh = size.split('x');
    file.write(QStringLiteral("{\"windowFrameMargins\": false, \"screens\": [{\"name\": \"screen\", \"x\": 0, "
                              "\"y\": 0, \"width\": %1, \"height\": %2, \"logicalDpi\": 96, "
                              "\"logicalBaseDpi\": 96, \"dpr\": 1}]}\n")
                   .arg(QString::fromLatin1(wh.value(0)), QString::fromLatin1(wh.value(1)))
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.toLocal8Bit());
    QApplication app(argc, argv);
    ScreenSizesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "screen_sizes_test.moc"
