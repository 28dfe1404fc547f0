// Start-up and memory benchmark.
//
// Start-up: this program starts itself again as a child process that does
// what vantrell2's main() does (the application, the window icon, the sound
// player, the message boxes, the splash, the database, the main window one
// second later) and writes the monotonic clock when the main window is on
// view and painted. The parent reads the clock just before it spawns the
// child, so the figure runs from process start, loading the libraries
// included, to the painted main window; the splash's fixed 1000 ms is taken
// off. The first run makes the database (a first start); the later runs
// open it, as every other start does.
//
// Memory: the last child then opens every window (the statistics window on
// each of its tabs, the options dialog on each of its tabs, the high scores,
// About and the announcement, brought up by clicks on the board) and reports
// its peak resident memory (VmHWM).
//
// startup_bench [RUNS] [--screen WxH]   (11 runs and 1920x1080 by default)
#include "bench/BenchFigures.h"
#include "board/BoardGeometry.h"
#include "engine/ModDarts.h"
#include "ui/BoardPicture.h"
#include "ui/MessageBoxNotifier.h"
#include "ui/SoundPlayer.h"
#include "ui/VantrellApp.h"
#include "ui/frmScores.h"
#include "ui/frmSplash.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long long MonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// A line "vm<name> <kB>" from /proc/self/status.
long long StatusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

QtMessageHandler standardHandler = nullptr;

// The offscreen platform cannot raise a window and says so each time.
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

// What the child reports, one "name value" line each, straight to the pipe.
void Report(const char* name, long long value)
{
    std::printf("%s %lld\n", name, value);
    std::fflush(stdout);
}

// Notes the moment the splash's one-second timer fires (its QTimer is the
// only single-shot timer of 1000 ms), before the main window loads.
class SplashTimerWatch : public QObject {
public:
    bool eventFilter(QObject* receiver, QEvent* e) override
    {
        if (e->type() == QEvent::Timer && !noted) {
            auto* timer = qobject_cast<QTimer*>(receiver);
            if (timer && timer->isSingleShot() && timer->interval() == 1000) {
                noted = true;
                Report("tick", MonotonicNs());
            }
        }
        return false;
    }
    bool noted = false;
};

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

// Everything opened at once, as an operator might leave it: the peak memory
// of the program at its fullest.
void OpenEveryWindow(VantrellApp& app)
{
    auto settle = [&] {
        QCoreApplication::processEvents();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                w->repaint();
        QTest::qWait(50);
    };
    for (int tab = 1; tab <= 3; ++tab) {
        app.showStats(tab);
        settle();
    }
    for (int tab = 1; tab <= 3; ++tab) {
        app.showOptions(tab);
        settle();
    }
    app.showHiScores();
    settle();
    app.showAbout();
    settle();
    // Treble 20s until the announcement comes up (a bust at the latest).
    frmScores* scores = app.scores();
    QWidget* board = scores->findChild<QWidget*>(QStringLiteral("Image1"));
    const QPointF at = PointFor(app.model().board.Image1, QStringLiteral("T20"));
    const QPoint pixel(int(std::lround(at.x() / 15)), int(std::lround(at.y() / 15)));
    for (int dart = 0; dart < 30 && !app.model().winner.open(); ++dart)
        QTest::mouseClick(board, Qt::LeftButton, {}, pixel);
    settle();
    int shown = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            ++shown;
    Report("windows_on_view", shown);
    Report("announcement_open", app.model().winner.open() ? 1 : 0);
}

// The program's start, as main() does it, timed from inside.
int Child(int argc, char** argv, const QString& folder, bool everyWindow)
{
    Report("main", MonotonicNs());
    standardHandler = qInstallMessageHandler(QuietHandler);
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vantrell2"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vantrell 2"));
    QApplication::setOrganizationName(QStringLiteral("Brannoque"));
    QApplication::setApplicationVersion(QStringLiteral("2.0.2"));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(boardpicture::DesignPicture())));
    Report("application", MonotonicNs());

    SoundPlayer sound;
    MessageBoxNotifier notifier;
    VantrellApp::Setup setup;
    setup.databasePath = QDir(folder).filePath(QStringLiteral("Data/Darts.MDB"));
    setup.soundsFolder = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../sounds"));
    setup.helpPage = QDir(folder).filePath(QStringLiteral("Help.htm"));
    setup.sound = &sound;
    setup.notifier = &notifier;
    VantrellApp vantrell(setup);

    frmSplash splash(vantrell);
    SplashTimerWatch watch;
    qapp.installEventFilter(&watch);
    PaintCounter boardPaints;
    int exitCode = 0;
    QObject::connect(&splash, &frmSplash::failed, &qapp, [&](const QString& error) {
        std::fprintf(stderr, "startup_bench: %s\n", qPrintable(error));
        exitCode = 1;
        QApplication::exit(1);
    });
    QObject::connect(&splash, &frmSplash::finished, &qapp, [&] {
        Report("loaded", MonotonicNs());
        notifier.setParent(vantrell.scores());
        frmScores* scores = vantrell.scores();
        QWidget* board = scores->findChild<QWidget*>(QStringLiteral("Image1"));
        if (board)
            board->installEventFilter(&boardPaints);
        // On view once the window system has exposed it and whatever is
        // still to be painted in it has been painted.
        if (!QTest::qWaitForWindowExposed(scores)) {
            exitCode = 1;
            QApplication::exit(1);
            return;
        }
        QCoreApplication::processEvents();
        scores->repaint();
        Report("shown", MonotonicNs());
        Report("board_paints_before_shown", boardPaints.paints);
        Report("vmhwm_main_window_kb", StatusKb("VmHWM"));
        if (everyWindow) {
            OpenEveryWindow(vantrell);
            Report("vmhwm_every_window_kb", StatusKb("VmHWM"));
            Report("vmrss_every_window_kb", StatusKb("VmRSS"));
        }
        QApplication::exit(0);
    });
    splash.start();
    Report("splash", MonotonicNs());
    const int code = qapp.exec();
    return exitCode != 0 ? exitCode : code;
}

struct Run {
    bool ok = false;
    long long start = 0;
    std::map<std::string, long long> values;
};

// Spawns the child and reads its report.
Run Spawn(const char* self, const QString& folder, bool everyWindow)
{
    Run run;
    int out[2];
    if (pipe(out) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const QByteArray folderBytes = folder.toLocal8Bit();
    std::vector<char*> args = {const_cast<char*>(self), const_cast<char*>("--child"),
                               const_cast<char*>(folderBytes.constData())};
    if (everyWindow)
        args.push_back(const_cast<char*>("--every-window"));
    args.push_back(nullptr);
    pid_t pid = 0;
    run.start = MonotonicNs();
    const int spawned = posix_spawn(&pid, self, &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return run;
    }
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    for (const QByteArray& line : QByteArray::fromStdString(text).split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            run.values[parts[0].toStdString()] = parts[1].toLongLong();
    }
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && run.values.count("shown");
    if (!run.ok)
        std::fprintf(stderr, "startup_bench: a child failed (status %d)\n", status);
    return run;
}

double SinceStartMs(const Run& run, const char* stamp)
{
    const auto it = run.values.find(stamp);
    return it == run.values.end() ? 0 : double(it->second - run.start) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return Child(argc, argv, QString::fromLocal8Bit(argv[2]),
                     argc >= 4 && std::strcmp(argv[3], "--every-window") == 0);

    int runs = 11;
    int screenWidth = 1920, screenHeight = 1080;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screen") == 0 && i + 1 < argc)
            std::sscanf(argv[++i], "%dx%d", &screenWidth, &screenHeight);
        else
            runs = std::max(2, std::atoi(argv[i]));
    }
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "startup_bench: no temporary folder\n");
        return 1;
    }
    ChoosePlatform(home.path(), screenWidth, screenHeight);
    std::printf("screen %dx%d (offscreen unless QT_QPA_PLATFORM chose otherwise); start-up measured "
                "from spawning a child that starts as vantrell2 does until its main window is "
                "painted, less the splash's 1000 ms\n",
                screenWidth, screenHeight);

    const long long Splash = 1000;
    std::vector<double> startups, toSplash, load, toLoaded, paint, late, work;
    double firstRun = 0;
    Run last;
    for (int i = 0; i < runs; ++i) {
        const bool lastRun = i == runs - 1;
        const Run run = Spawn(argv[0], home.path(), lastRun);
        if (!run.ok)
            return 1;
        const double shown = SinceStartMs(run, "shown") - double(Splash);
        if (i == 0) {
            firstRun = shown;
        } else {
            startups.push_back(shown);
            toSplash.push_back(SinceStartMs(run, "splash"));
            load.push_back(SinceStartMs(run, "shown") - SinceStartMs(run, "splash") - double(Splash));
            toLoaded.push_back(SinceStartMs(run, "loaded") - SinceStartMs(run, "tick"));
            late.push_back(SinceStartMs(run, "tick") - SinceStartMs(run, "splash") - double(Splash));
            work.push_back(SinceStartMs(run, "splash") + SinceStartMs(run, "shown") - SinceStartMs(run, "tick"));
            paint.push_back(SinceStartMs(run, "shown") - SinceStartMs(run, "loaded"));
        }
        if (lastRun)
            last = run;
    }

    std::vector<Figure> figures;
    figures.push_back({"startup_less_splash_median", Median(startups), "ms"});
    figures.push_back({"startup_less_splash_worst", *std::max_element(startups.begin(), startups.end()), "ms"});
    figures.push_back({"startup_less_splash_first_run", firstRun, "ms"});
    figures.push_back({"process_start_to_splash_median", Median(toSplash), "ms"});
    figures.push_back({"splash_to_main_window_less_1000_median", Median(load), "ms"});
    figures.push_back({"splash_timer_late_median", Median(late), "ms"});
    figures.push_back({"main_window_load_median", Median(toLoaded), "ms"});
    figures.push_back({"main_window_loaded_to_painted_median", Median(paint), "ms"});
    figures.push_back({"startup_work_without_splash_wait_median", Median(work), "ms"});
    figures.push_back({"startup_runs", double(startups.size()), "runs"});
    figures.push_back({"board_paints_before_shown", double(last.values["board_paints_before_shown"]), "paints"});
    figures.push_back({"peak_rss_main_window", double(last.values["vmhwm_main_window_kb"]) / 1024, "MB"});
    figures.push_back({"peak_rss_every_window", double(last.values["vmhwm_every_window_kb"]) / 1024, "MB"});
    figures.push_back({"rss_every_window", double(last.values["vmrss_every_window_kb"]) / 1024, "MB"});
    figures.push_back({"windows_on_view", double(last.values["windows_on_view"]), "windows"});
    figures.push_back({"announcement_open", double(last.values["announcement_open"]), "bool"});
    PrintFigures(figures);
    return 0;
}
