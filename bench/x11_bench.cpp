// The program on a real X server (Xvfb): CPU per recorded dart of the
// program and of the X server, start-up to the main window on screen, and
// resident memory after the match.
//
//   x11_bench [--runs N] [--sizes 1024x768,1920x1080] [--sounds DIR] [--help FILE]
//             [--shots DIR] [--only moves|clicks] [LABEL=]PROGRAM ...
//
// Each run starts a fresh Xvfb and copies the program, sounds/ and Help.htm
// into a fresh temporary folder (no database, so no resume question). This
// process is the only X client besides the program and stays connected for
// the whole run: the clicks and pointer moves go in over XTest, so what the
// server spends on them is one client's requests, not a connection per event.
// The same events are then sent to x11_floor (beside this program), a Qt
// window showing the scoreboard's picture and ignoring them, which gives
// what Qt and the server spend on the events in any window; and again with
// no window on screen, which gives the cost of sending them.
//
// The match: 60 darts, three per visit, every visit scoring without a bust
// or a finish, so no announcement opens. Before each click the pointer moves
// there in steps over the board, as a hand would.
//
// With --only moves the pointer moves and never clicks; with --only clicks
// it jumps to each bed and clicks. Either alone tells what the aim box costs
// from what a recorded dart costs.
//
// Several programs given are run in turn, run by run, so that a noisy
// machine weighs on each alike. With --shots, one match per program and size
// is played and the screen is saved after every dart as a PPM, for comparing
// builds pixel by pixel.
#include "BenchFigures.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void SleepMs(double ms)
{
    std::this_thread::sleep_for(std::chrono::microseconds(std::lround(ms * 1000)));
}

double MsSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// What every thread of a process has had of the CPUs (a task's schedstat):
// nanoseconds on a CPU, and how many times it was put on one. The second
// counts wake-ups, each a round of the scheduler; unlike time it hardly
// varies with what else the machine is doing.
struct Scheduled {
    double ns = 0, slices = 0;
};

Scheduled SchedStat(pid_t pid)
{
    Scheduled total;
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    DIR* d = opendir(dir.c_str());
    if (!d)
        return total;
    while (dirent* e = readdir(d)) {
        if (e->d_name[0] == '.')
            continue;
        std::ifstream in(dir + "/" + e->d_name + "/schedstat");
        double ns = 0, waited = 0, slices = 0;
        if (in >> ns >> waited >> slices) {
            total.ns += ns;
            total.slices += slices;
        }
    }
    closedir(d);
    return total;
}

double CpuNs(pid_t pid)
{
    return SchedStat(pid).ns;
}

double ResidentMb(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

// Waits until the process has used no CPU for `quietMs`, at most `limitMs`.
void WaitIdle(pid_t pid, double quietMs, double limitMs)
{
    const auto t0 = Clock::now();
    double last = CpuNs(pid);
    auto still = Clock::now();
    while (MsSince(t0) < limitMs) {
        SleepMs(5);
        const double now = CpuNs(pid);
        if (now != last) {
            last = now;
            still = Clock::now();
        } else if (MsSince(still) >= quietMs) {
            return;
        }
    }
}

pid_t Spawn(const std::vector<std::string>& argv, const std::string& cwd,
            const std::vector<std::pair<std::string, std::string>>& env, int keepFd = -1)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    if (!cwd.empty() && chdir(cwd.c_str()) != 0)
        _exit(127);
    for (const auto& [k, v] : env)
        setenv(k.c_str(), v.c_str(), 1);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    // X11_BENCH_LOG: a file that takes the program's messages (Qt's logging
    // categories among them), for a look at what it paints.
    if (const char* log = std::getenv("X11_BENCH_LOG"); log && keepFd < 0) {
        const int fd = open(log, O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd >= 0)
            dup2(fd, 2);
    }
    for (int fd = 3; fd < 256; ++fd)
        if (fd != keepFd)
            close(fd);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

void Stop(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        SleepMs(10);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

bool Run(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

std::string Quoted(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

struct XServer {
    pid_t pid = -1;
    Display* display = nullptr;
    std::string name;
    int width = 0, height = 0;

    bool start(int w, int h)
    {
        width = w;
        height = h;
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        const std::string screen = std::to_string(w) + "x" + std::to_string(h) + "x24";
        pid = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen,
                     "-nolisten", "tcp", "-noreset"},
                    "", {}, fds[1]);
        close(fds[1]);
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty())
            return false;
        name = ":" + number;
        display = XOpenDisplay(name.c_str());
        int ev, err, major, minor;
        return display && XTestQueryExtension(display, &ev, &err, &major, &minor);
    }

    void stop()
    {
        if (display)
            XCloseDisplay(display);
        display = nullptr;
        Stop(pid);
        pid = -1;
    }

    // The screen's pixels in a rectangle, as 0xRRGGBB.
    std::vector<unsigned> pixels(int x, int y, int w, int h)
    {
        std::vector<unsigned> out;
        XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, unsigned(w),
                                  unsigned(h), AllPlanes, ZPixmap);
        if (!image)
            return out;
        out.reserve(std::size_t(w) * std::size_t(h));
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                out.push_back(unsigned(XGetPixel(image, i, j)) & 0xFFFFFFu);
        XDestroyImage(image);
        return out;
    }

    bool savePpm(const std::string& path)
    {
        const std::vector<unsigned> px = pixels(0, 0, width, height);
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || px.empty())
            return false;
        std::fprintf(f, "P6\n%d %d\n255\n", width, height);
        std::vector<unsigned char> rgb;
        rgb.reserve(px.size() * 3);
        for (unsigned p : px) {
            rgb.push_back(static_cast<unsigned char>(p >> 16));
            rgb.push_back(static_cast<unsigned char>(p >> 8));
            rgb.push_back(static_cast<unsigned char>(p));
        }
        std::fwrite(rgb.data(), 1, rgb.size(), f);
        return std::fclose(f) == 0;
    }

    void move(int x, int y)
    {
        XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
        XFlush(display);
    }

    void click()
    {
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        XFlush(display);
    }

    void sync() { XSync(display, False); }
};

// Where the beds lie on the board's vertical through the bull, found on
// screen by their colours.
struct Beds {
    int x = 0;
    std::map<std::string, int> y; // "S20", "T20", "25", "50", "S3", "T3", "D3", "miss"
};

std::optional<Beds> FindBeds(XServer& x)
{
    constexpr unsigned Red = 0xC81C24, Green = 0x168040, Black = 0x101010;
    Beds beds;
    beds.x = x.width / 2;
    const std::vector<unsigned> col = x.pixels(beds.x, 0, 1, x.height);
    struct RunOf {
        unsigned colour;
        int from, to;
    };
    std::vector<RunOf> runs;
    for (int j = 0; j < int(col.size()); ++j) {
        const unsigned c = col[std::size_t(j)];
        if (c != Red && c != Green && c != Black)
            continue;
        if (!runs.empty() && runs.back().colour == c && runs.back().to == j - 1)
            runs.back().to = j;
        else
            runs.push_back({c, j, j});
    }
    std::erase_if(runs, [](const RunOf& r) { return r.to - r.from < 1; });
    for (std::size_t i = 1; i + 1 < runs.size(); ++i) {
        if (runs[i].colour != Red || runs[i - 1].colour != Green || runs[i + 1].colour != Green)
            continue;
        // The bull: outwards green, black, red (treble), black, red (double).
        if (i < 5 || i + 5 >= runs.size())
            return std::nullopt;
        auto mid = [&](std::size_t k) { return (runs[k].from + runs[k].to) / 2; };
        beds.y["50"] = mid(i);
        beds.y["25"] = mid(i - 1);
        beds.y["S20"] = mid(i - 2);
        beds.y["T20"] = mid(i - 3);
        beds.y["S3"] = mid(i + 2);
        beds.y["T3"] = mid(i + 3);
        beds.y["D3"] = mid(i + 5);
        const int radius = mid(i + 5) - mid(i);
        beds.y["miss"] = std::min(x.height - 2, mid(i) + radius * 5 / 4);
        return beds;
    }
    return std::nullopt;
}

// Ten visits per player, 400 points each, never leaving 1 or 0.
std::vector<std::string> Darts()
{
    const std::vector<std::vector<std::string>> visits = {
        {"T20", "S20", "S3"},  // 83
        {"S20", "miss", "S3"}, // 23
        {"25", "S3", "miss"},  // 28
        {"S20", "S20", "miss"} // 40
    };
    const int order[10] = {0, 1, 2, 3, 0, 1, 2, 3, 1, 2};
    std::vector<std::string> darts;
    for (int v = 0; v < 10; ++v)
        for (int player = 0; player < 2; ++player)
            for (const auto& d : visits[std::size_t(order[v])])
                darts.push_back(d);
    return darts;
}

struct Program {
    std::string label, path;
};

// What of the match is played: both, or either alone, to tell what the
// pointer moves cost from what the darts cost.
enum class Part { Both, Moves, Clicks };

struct Options {
    Part part = Part::Both;
    int runs = 5;
    std::vector<std::pair<int, int>> sizes{{1024, 768}, {1920, 1080}};
    std::string sounds, help, shots;
    std::vector<Program> programs;
};

struct Sample {
    double programUs = 0, serverUs = 0, startupMs = 0, residentMb = 0;
    double programWakeups = 0, serverWakeups = 0;
    double emptyServerUs = 0, emptyClientUs = 0, clientUs = 0;
    double floorUs = -1, floorServerUs = -1; // -1: no x11_floor beside the bench
    double floorWakeups = 0;
};

// x11_floor, next to this program.
std::string FloorProgram()
{
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return {};
    std::string path(self, std::size_t(n));
    path = path.substr(0, path.rfind('/') + 1) + "x11_floor";
    return access(path.c_str(), X_OK) == 0 ? path : std::string();
}

double SelfCpuNs()
{
    return CpuNs(getpid());
}

// The clicks and moves of the match. `perDart` runs after each click.
// Part::Clicks jumps to each bed in one move; Part::Moves never clicks.
template <typename After>
void PlayMatch(XServer& x, const Beds& beds, Part part, After perDart)
{
    int px = beds.x + 40, py = beds.y.at("miss");
    x.move(px, py);
    int n = 0;
    for (const std::string& dart : Darts()) {
        const int tx = beds.x, ty = beds.y.at(dart);
        constexpr int Steps = 6;
        for (int s = 1; s <= Steps; ++s) {
            // A slight bow, so the path crosses neighbouring beds.
            const double t = double(s) / Steps;
            const int mx = int(std::lround(px + (tx - px) * t + 25 * std::sin(t * 3.14159)));
            const int my = int(std::lround(py + (ty - py) * t));
            if (part != Part::Clicks)
                x.move(mx, my);
            SleepMs(3);
        }
        if (part == Part::Clicks)
            x.move(tx, ty);
        if (part != Part::Moves)
            x.click();
        perDart(n++);
        px = tx;
        py = ty;
    }
}

std::string MakeFolder(const Options& o, const Program& p)
{
    char templ[] = "/tmp/vantrell-x11-XXXXXX";
    const char* dir = mkdtemp(templ);
    if (!dir)
        return {};
    const std::string folder = dir;
    Run("cp " + Quoted(p.path) + " " + Quoted(folder + "/vantrell2"));
    if (!o.sounds.empty())
        Run("cp -r " + Quoted(o.sounds) + " " + Quoted(folder + "/sounds"));
    if (!o.help.empty())
        Run("cp " + Quoted(o.help) + " " + Quoted(folder + "/Help.htm"));
    return folder;
}

// One run: a fresh server, the program started, the match played, then the
// same events to the empty screen.
std::optional<Sample> RunOnce(const Options& o, const Program& p, int w, int h,
                              const std::string& shotPrefix)
{
    XServer x;
    if (!x.start(w, h)) {
        std::fprintf(stderr, "x11_bench: Xvfb did not start\n");
        x.stop();
        return std::nullopt;
    }
    const std::string folder = MakeFolder(o, p);
    const auto spawned = Clock::now();
    // X11_BENCH_WRAP: a command the program runs under, for instance
    // "valgrind --tool=callgrind --instr-atstart=no" (it keeps the process id).
    std::vector<std::string> command;
    if (const char* wrap = std::getenv("X11_BENCH_WRAP")) {
        std::stringstream words(wrap);
        for (std::string word; words >> word;)
            command.push_back(word);
    }
    command.push_back(folder + "/vantrell2");
    const pid_t app = Spawn(command, folder,
                            {{"DISPLAY", x.name}, {"QT_QPA_PLATFORM", "xcb"}});
    Sample s;
    std::optional<Beds> beds;
    // On screen once the left panel's blue shows (the splash stands in the
    // middle and never reaches it).
    const unsigned PanelBlue = 0x8080FF;
    bool shown = false;
    while (MsSince(spawned) < 180000 && !shown) {
        for (unsigned c : x.pixels(40, 0, 1, h))
            shown = shown || c == PanelBlue;
        if (!shown)
            SleepMs(2);
    }
    s.startupMs = MsSince(spawned) - 1000; // the splash stands for a second
    if (shown) {
        WaitIdle(app, 300, 5000);
        beds = FindBeds(x);
    }
    if (!beds) {
        std::fprintf(stderr, "x11_bench: %s: the board was not found on screen\n",
                     p.label.c_str());
        Stop(app);
        x.stop();
        Run("rm -rf " + Quoted(folder));
        return std::nullopt;
    }

    // For finding where the time goes: X11_BENCH_PROFILE, a command with %p
    // for the program's process id (e.g. "perf record -g -p %p -o x.data"),
    // runs during the match and is stopped with SIGINT after it.
    pid_t profiler = -1;
    if (const char* profile = std::getenv("X11_BENCH_PROFILE"); profile && shotPrefix.empty()) {
        std::string command = profile;
        for (std::size_t at; (at = command.find("%p")) != std::string::npos;)
            command.replace(at, 2, std::to_string(app));
        profiler = Spawn({"sh", "-c", "exec " + command}, "", {});
        SleepMs(1500);
    }
    const std::string picture = folder + "/screen.ppm";
    const std::vector<unsigned> screen = x.pixels(0, 0, w, h);
    x.savePpm(picture);
    const Scheduled app0 = SchedStat(app), server0 = SchedStat(x.pid);
    const double self0 = SelfCpuNs();
    PlayMatch(x, *beds, o.part, [&](int n) {
        if (shotPrefix.empty()) {
            SleepMs(40);
            return;
        }
        // Settled once the program has been idle and two grabs 100 ms apart
        // agree: on a busy machine the program may not yet have read the click
        // when it first looks idle.
        x.sync();
        std::vector<unsigned> last;
        for (int tries = 0; tries < 50; ++tries) {
            WaitIdle(app, 60, 3000);
            std::vector<unsigned> now = x.pixels(0, 0, w, h);
            if (now == last)
                break;
            last = std::move(now);
            SleepMs(100);
        }
        char name[32];
        std::snprintf(name, sizeof name, "-%02d.ppm", n + 1);
        x.savePpm(shotPrefix + name);
    });
    x.sync();
    WaitIdle(app, 200, 5000);
    const double darts = double(Darts().size());
    const Scheduled appAfter = SchedStat(app), serverAfter = SchedStat(x.pid);
    s.programUs = (appAfter.ns - app0.ns) / darts / 1000;
    s.serverUs = (serverAfter.ns - server0.ns) / darts / 1000;
    s.programWakeups = (appAfter.slices - app0.slices) / darts;
    s.serverWakeups = (serverAfter.slices - server0.slices) / darts;
    s.clientUs = (SelfCpuNs() - self0) / darts / 1000;
    s.residentMb = ResidentMb(app);
    if (profiler > 0) {
        kill(profiler, SIGINT);
        waitpid(profiler, nullptr, 0);
    }
    Stop(app);

    // The same events to a window that ignores them, once it shows the
    // picture the match began on.
    if (const std::string floor = FloorProgram(); !floor.empty() && shotPrefix.empty()) {
        const pid_t idle = Spawn({floor, picture}, folder, {{"DISPLAY", x.name}, {"QT_QPA_PLATFORM", "xcb"}});
        const auto started = Clock::now();
        bool showing = false;
        while (!showing && MsSince(started) < 60000) {
            showing = x.pixels(0, 0, w, h) == screen;
            if (!showing)
                SleepMs(5);
        }
        if (showing) {
            WaitIdle(idle, 300, 5000);
            const Scheduled idle0 = SchedStat(idle);
            const double server2 = CpuNs(x.pid);
            PlayMatch(x, *beds, o.part, [&](int) { SleepMs(40); });
            x.sync();
            WaitIdle(idle, 200, 5000);
            const Scheduled idle1 = SchedStat(idle);
            s.floorUs = (idle1.ns - idle0.ns) / darts / 1000;
            s.floorWakeups = (idle1.slices - idle0.slices) / darts;
            s.floorServerUs = (CpuNs(x.pid) - server2) / darts / 1000;
        }
        Stop(idle);
    }
    Run("rm -rf " + Quoted(folder));

    // The same events with nothing on screen.
    WaitIdle(x.pid, 200, 3000);
    const double server1 = CpuNs(x.pid), self1 = SelfCpuNs();
    PlayMatch(x, *beds, o.part, [&](int) { SleepMs(40); });
    x.sync();
    WaitIdle(x.pid, 100, 3000);
    s.emptyServerUs = (CpuNs(x.pid) - server1) / darts / 1000;
    s.emptyClientUs = (SelfCpuNs() - self1) / darts / 1000;
    x.stop();
    return s;
}

double Median(std::vector<double> v)
{
    return Percentile(std::move(v), 0.5);
}

} // namespace

int main(int argc, char* argv[])
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--runs") {
            o.runs = std::max(1, std::atoi(next().c_str()));
        } else if (a == "--sizes") {
            o.sizes.clear();
            std::stringstream list(next());
            std::string item;
            while (std::getline(list, item, ',')) {
                int w = 0, h = 0;
                if (std::sscanf(item.c_str(), "%dx%d", &w, &h) == 2)
                    o.sizes.push_back({w, h});
            }
        } else if (a == "--sounds") {
            o.sounds = next();
        } else if (a == "--help") {
            o.help = next();
        } else if (a == "--shots") {
            o.shots = next();
        } else if (a == "--only") {
            const std::string part = next();
            if (part != "moves" && part != "clicks") {
                std::fprintf(stderr, "x11_bench: --only moves or --only clicks\n");
                return 2;
            }
            o.part = part == "moves" ? Part::Moves : Part::Clicks;
        } else {
            const auto eq = a.find('=');
            if (eq == std::string::npos)
                o.programs.push_back({"", a});
            else
                o.programs.push_back({a.substr(0, eq), a.substr(eq + 1)});
        }
    }
    if (o.programs.empty()) {
        std::fprintf(stderr, "usage: x11_bench [--runs N] [--sizes WxH,...] [--sounds DIR] "
                             "[--help FILE] [--shots DIR] [--only moves|clicks] [LABEL=]PROGRAM ...\n");
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);

    if (!o.shots.empty()) {
        Run("mkdir -p " + Quoted(o.shots));
        for (const auto& [w, h] : o.sizes)
            for (const Program& p : o.programs) {
                const std::string prefix = o.shots + "/" + (p.label.empty() ? "program" : p.label)
                    + "-" + std::to_string(w) + "x" + std::to_string(h);
                if (!RunOnce(o, p, w, h, prefix))
                    return 1;
                std::printf("screens after every dart: %s-NN.ppm\n", prefix.c_str());
            }
        return 0;
    }

    // Figure names must outlive the table.
    std::vector<std::string> names;
    names.reserve(64);
    std::vector<Figure> figures;
    auto add = [&](const std::string& name, double value, const char* unit) {
        names.push_back(name);
        figures.push_back({names.back().c_str(), value, unit});
    };
    for (const auto& [w, h] : o.sizes) {
        std::map<std::size_t, std::vector<Sample>> samples;
        for (int r = 0; r < o.runs; ++r)
            for (std::size_t k = 0; k < o.programs.size(); ++k)
                if (auto s = RunOnce(o, o.programs[k], w, h, "")) {
                    std::fprintf(stderr,
                                 "run %d %s %dx%d: program %.3f ms, server %.3f ms, client %.3f ms"
                                 " per dart; wake-ups %.1f and %.1f; empty screen: server %.3f ms, client %.3f ms;"
                                 " bare window: program %.3f ms, server %.3f ms, %.1f wake-ups;"
                                 " start-up %.0f ms; %.1f MB\n",
                                 r + 1, o.programs[k].label.c_str(), w, h, s->programUs / 1000,
                                 s->serverUs / 1000, s->clientUs / 1000, s->programWakeups,
                                 s->serverWakeups, s->emptyServerUs / 1000,
                                 s->emptyClientUs / 1000, s->floorUs / 1000, s->floorServerUs / 1000, s->floorWakeups,
                                 s->startupMs, s->residentMb);
                    samples[k].push_back(*s);
                }
        std::vector<double> emptyServer, emptyClient, floorProgram, floorServer, floorWakeups;
        for (std::size_t k = 0; k < o.programs.size(); ++k) {
            const auto& v = samples[k];
            if (v.empty())
                return 1;
            auto med = [&](double Sample::*field) {
                std::vector<double> values;
                for (const Sample& s : v)
                    values.push_back(s.*field);
                return Median(values);
            };
            for (const Sample& s : v) {
                emptyServer.push_back(s.emptyServerUs);
                emptyClient.push_back(s.emptyClientUs);
                if (s.floorUs >= 0) {
                    floorProgram.push_back(s.floorUs);
                    floorServer.push_back(s.floorServerUs);
                    floorWakeups.push_back(s.floorWakeups);
                }
            }
            const std::string size = std::to_string(w) + "x" + std::to_string(h);
            const std::string prefix = (o.programs[k].label.empty() ? "" : o.programs[k].label + " ")
                + size + " ";
            // The best run beside the median: time taken by other work on
            // the machine only ever adds to a run.
            auto best = [&](double Sample::*field) {
                double least = v.front().*field;
                for (const Sample& s : v)
                    least = std::min(least, s.*field);
                return least;
            };
            add(prefix + "program CPU/dart", med(&Sample::programUs) / 1000, "ms");
            add(prefix + "program CPU/dart, best", best(&Sample::programUs) / 1000, "ms");
            add(prefix + "X server CPU/dart", med(&Sample::serverUs) / 1000, "ms");
            add(prefix + "X server CPU/dart, best", best(&Sample::serverUs) / 1000, "ms");
            // Beside the bare window of the same run, taken seconds later:
            // what the machine's other work adds to one run it mostly adds
            // to the other, so the difference is steadier than either.
            std::vector<double> aboveProgram, aboveServer;
            for (const Sample& s : v)
                if (s.floorUs >= 0) {
                    aboveProgram.push_back(s.programUs - s.floorUs);
                    aboveServer.push_back(s.serverUs - s.floorServerUs);
                }
            if (!aboveProgram.empty()) {
                add(prefix + "program CPU/dart above bare window", Median(aboveProgram) / 1000, "ms");
                add(prefix + "X server CPU/dart above bare window", Median(aboveServer) / 1000, "ms");
            }
            add(prefix + "program wake-ups/dart", med(&Sample::programWakeups), "");
            add(prefix + "X server wake-ups/dart", med(&Sample::serverWakeups), "");
            add(prefix + "start-up less splash", med(&Sample::startupMs), "ms");
            add(prefix + "resident after match", med(&Sample::residentMb), "MB");
        }
        const std::string size = std::to_string(w) + "x" + std::to_string(h);
        add(size + " empty screen: X server/dart", Median(emptyServer) / 1000, "ms");
        add(size + " empty screen: client/dart", Median(emptyClient) / 1000, "ms");
        if (!floorProgram.empty()) {
            add(size + " bare window: program/dart", Median(floorProgram) / 1000, "ms");
            add(size + " bare window: X server/dart", Median(floorServer) / 1000, "ms");
            add(size + " bare window: wake-ups/dart", Median(floorWakeups), "");
        }
    }
    PrintFigures(figures);
    return 0;
}
