// Scale: a history of 5,000 matches and a match of 100,000 darts. Timed:
// the history's list opening, the start (the file checked and opened, the
// question about the unfinished match), its resume, and the list with it;
// each also with the summaries the program keeps taken out of the file, so
// every match is played back as an earlier version did (the "played back"
// figures). The JSON export of the long match runs in a driver of its own,
// whose peak resident memory is read when it ends.
#include "bench/BenchFigures.h"
#include "board/BoardGeometry.h"
#include "engine/ModDarts.h"
#include "store/Transaction.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <random>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

class Silent final : public Notifier {
public:
    void message(const QString&, const QString&) override {}
    bool question(const QString&, const QString&) override { return false; }
};
Silent silent;

QString DatabaseIn(const QString& home)
{
    return QDir(home).filePath(QStringLiteral("Data/Darts.MDB"));
}

std::unique_ptr<ModDarts> Started(const QString& home)
{
    ModDarts::Setup setup;
    setup.databasePath = DatabaseIn(home);
    setup.notifier = &silent;
    auto e = std::make_unique<ModDarts>(setup);
    QString error;
    if (!e->OpenDatabase(&error)) {
        std::fprintf(stderr, "scale_bench: %s\n", qPrintable(error));
        std::exit(1);
    }
    e->Load();
    return e;
}

// Darts a player aiming at the treble 20 throws, finishing legs now and then.
void Throw(ModDarts& e, std::mt19937& rng, int darts)
{
    static const char* labels[] = {"T20", "20", "1", "5", "T20", "T19", "19", "D20", "D16", "D8", "0", "25", "50"};
    std::uniform_int_distribution<int> pick(0, int(std::size(labels)) - 1);
    for (int i = 0; i < darts; ++i) {
        const QPointF p = PointFor(e.board.Image1, QString::fromLatin1(labels[pick(rng)]));
        e.BoardPressed(p.x(), p.y());
        if (e.winner.open())
            e.WinnerOk();
    }
}

// Fills a file: `matches` matches of `darts` darts, the last one left
// unfinished. Written in one transaction: only the file matters here.
void Fill(const QString& home, int matches, int darts)
{
    std::unique_ptr<ModDarts> e = Started(home);
    e->OptionsLegsTyped(QStringLiteral("3"));
    e->OptionsSetsTyped(QStringLiteral("99"));
    e->OptionsOk();
    std::mt19937 rng(20261210);
    Transaction all(e->dbDarts.connection());
    for (int m = 0; m < matches; ++m) {
        if (m > 0)
            e->NewGame();
        Throw(*e, rng, darts);
    }
    all.commit();
}

void DropSummaries(const QString& home)
{
    std::unique_ptr<ModDarts> e = Started(home);
    QSqlQuery(e->dbDarts.connection()).exec(QStringLiteral("UPDATE LoggedMatches SET Summary = NULL"));
}

double Ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

struct Times {
    std::vector<double> start, resume, history;
};

Times Time(const QString& home, int runs, bool resume)
{
    Times t;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        std::unique_ptr<ModDarts> e = Started(home);
        t.start.push_back(Ms(clock));
        if (resume) {
            clock.start();
            if (!e->Resume()) {
                std::fprintf(stderr, "scale_bench: nothing to resume\n");
                std::exit(1);
            }
            t.resume.push_back(Ms(clock));
        }
        clock.start();
        e->ShowHistory();
        t.history.push_back(Ms(clock));
        // Resuming wrote nothing but the match's writer: the next run finds
        // the same match to resume.
    }
    return t;
}

// The peak resident memory (MB) of a driver that opens the history and
// exports it, as JSON, from the folder `home`.
double ExportPeakMb(const QString& sim, const QString& home, const QString& path)
{
    QTemporaryFile commands;
    if (!commands.open())
        return -1;
    commands.write(QStringLiteral("history\nexport %1\n").arg(path).toUtf8());
    commands.close();
    const QByteArray simName = QFile::encodeName(sim), homeName = QFile::encodeName(home),
                     input = QFile::encodeName(commands.fileName());
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.constData(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(simName.constData()), const_cast<char*>("--home"),
                    const_cast<char*>(homeName.constData()), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, simName.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return double(usage.ru_maxrss) / 1024.0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const QString sim = QCoreApplication::applicationDirPath() + QStringLiteral("/../vantrell-sim");

    QTemporaryDir many, longMatch;
    Fill(many.path(), 5000, 30);
    Fill(longMatch.path(), 1, 100000);

    const Times manyKept = Time(many.path(), runs, false);
    const Times longKept = Time(longMatch.path(), runs, true);
    const QString exported = QDir(longMatch.path()).filePath(QStringLiteral("long.json"));
    const double peak = ExportPeakMb(sim, longMatch.path(), exported);
    const double exportedMb = double(QFileInfo(exported).size()) / (1024.0 * 1024.0);

    DropSummaries(many.path());
    DropSummaries(longMatch.path());
    const Times manyPlayed = Time(many.path(), runs, false);
    const Times longPlayed = Time(longMatch.path(), runs, true);

    std::vector<Figure> figures{
        {"history_5000_matches_median", Percentile(manyKept.history, 0.5), "ms"},
        {"history_5000_matches_played_back", Percentile(manyPlayed.history, 0.5), "ms"},
        {"start_100000_darts_median", Percentile(longKept.start, 0.5), "ms"},
        {"start_100000_darts_played_back", Percentile(longPlayed.start, 0.5), "ms"},
        {"resume_100000_darts_median", Percentile(longKept.resume, 0.5), "ms"},
        {"history_100000_darts_median", Percentile(longKept.history, 0.5), "ms"},
        {"history_100000_darts_played_back", Percentile(longPlayed.history, 0.5), "ms"},
        {"export_json_100000_darts_peak", peak, "MB"},
        {"export_json_100000_darts_size", exportedMb, "MB"},
    };
    PrintFigures(figures);
    return 0;
}
