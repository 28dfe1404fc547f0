// Match-log benchmark: what logging adds to a dart (each logged in its own
// fully synchronous transaction, on the disk the temporary folder is on),
// and how long a long unfinished match takes to come back: from opening the
// file to the main window's model restored, the question's summary included.
#include "bench/BenchFigures.h"
#include "board/BoardGeometry.h"
#include "engine/ModDarts.h"
#include "store/Transaction.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>

namespace {

class Silent final : public Notifier {
public:
    void message(const QString&, const QString&) override {}
    bool question(const QString&, const QString&) override { return false; }
};

class DartMix {
public:
    QString next()
    {
        static const char* labels[] = {"T20", "20", "1", "5", "T20", "20", "T19", "19",
                                       "D20", "D16", "D8", "0", "25", "50", "T5", "D10"};
        return QString::fromLatin1(labels[pick_(rng_)]);
    }

private:
    std::mt19937 rng_{20261209};
    std::uniform_int_distribution<int> pick_{0, 15};
};

Silent silent;

std::unique_ptr<ModDarts> openEngine(const QString& home, bool keepsLog)
{
    ModDarts::Setup setup;
    setup.databasePath = QDir(home).filePath(QStringLiteral("Data/Darts.MDB"));
    setup.notifier = &silent;
    setup.keepsLog = keepsLog;
    auto e = std::make_unique<ModDarts>(setup);
    QString error;
    if (!e->OpenDatabase(&error)) {
        std::fprintf(stderr, "log_bench: %s\n", qPrintable(error));
        std::exit(1);
    }
    e->Load();
    return e;
}

void throwDart(ModDarts& e, const QString& label)
{
    const QPointF p = PointFor(e.board.Image1, label);
    e.BoardPressed(p.x(), p.y());
}

// Nanoseconds per dart, after the high-score table is full (so no dart
// writes a high score: the figure is the log's).
std::vector<double> timeDarts(bool keepsLog, int count)
{
    QTemporaryDir home;
    std::unique_ptr<ModDarts> e = openEngine(home.path(), keepsLog);
    DartMix mix;
    for (int i = 0; i < 3000; ++i)
        throwDart(*e, mix.next());
    e->NewGame();
    std::vector<double> ns;
    QElapsedTimer t;
    for (int i = 0; i < count; ++i) {
        const QString label = mix.next();
        t.start();
        throwDart(*e, label);
        ns.push_back(double(t.nsecsElapsed()));
    }
    return ns;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int darts = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int longMatch = argc > 2 ? std::atoi(argv[2]) : 10000;

    const std::vector<double> logged = timeDarts(true, darts);
    const std::vector<double> bare = timeDarts(false, darts);

    // A long match, left unfinished. Its logged pace by tenth: the log must
    // keep up however long the match grows.
    QTemporaryDir home;
    std::vector<double> tenthUs;
    {
        std::unique_ptr<ModDarts> e = openEngine(home.path(), true);
        e->OptionsLegsTyped(QStringLiteral("99"));
        e->OptionsSetsTyped(QStringLiteral("99"));
        e->OptionsOk();
        DartMix mix;
        const int tenth = std::max(1, longMatch / 10);
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < longMatch; ++i) {
            throwDart(*e, mix.next());
            if ((i + 1) % tenth == 0) {
                tenthUs.push_back(double(t.nsecsElapsed()) / 1e3 / tenth);
                t.start();
            }
        }
    }
    std::vector<double> resumeMs, summaryMs;
    qint64 resumedDarts = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        std::unique_ptr<ModDarts> e = openEngine(home.path(), true);
        summaryMs.push_back(double(t.nsecsElapsed()) / 1e6);
        if (!e->resumable() || !e->Resume())
            return 1;
        resumeMs.push_back(double(t.nsecsElapsed()) / 1e6);
        resumedDarts = e->match().player(0).dartsInMatch + e->match().player(1).dartsInMatch;
        // Left unfinished again for the next run: nothing was logged.
    }

    // The check a start makes of the file before it is used (the whole
    // integrity check, indexes included), on a file holding a match of
    // 100,000 darts. The darts are written in one transaction: only the file
    // matters here.
    std::vector<double> openMs;
    {
        QTemporaryDir big;
        {
            std::unique_ptr<ModDarts> e = openEngine(big.path(), true);
            e->OptionsLegsTyped(QStringLiteral("99"));
            e->OptionsSetsTyped(QStringLiteral("99"));
            e->OptionsOk();
            Transaction all(e->dbDarts.connection());
            DartMix mix;
            for (int i = 0; i < 100000; ++i)
                throwDart(*e, mix.next());
            all.commit();
        }
        const QString path = QDir(big.path()).filePath(QStringLiteral("Data/Darts.MDB"));
        for (int run = 0; run < 5; ++run) {
            Database db;
            QString error;
            QElapsedTimer t;
            t.start();
            if (db.open(path, silent, &error) != Database::Opened::Ok) {
                std::fprintf(stderr, "log_bench: %s\n", qPrintable(error));
                return 1;
            }
            openMs.push_back(double(t.nsecsElapsed()) / 1e6);
        }
    }

    std::vector<Figure> figures;
    figures.push_back({"dart_logged_median", Percentile(logged, 0.5) / 1e6, "ms"});
    figures.push_back({"dart_logged_p99", Percentile(logged, 0.99) / 1e6, "ms"});
    figures.push_back({"dart_logged_worst", Percentile(logged, 1.0) / 1e6, "ms"});
    figures.push_back({"dart_unlogged_median", Percentile(bare, 0.5) / 1e6, "ms"});
    figures.push_back({"dart_unlogged_p99", Percentile(bare, 0.99) / 1e6, "ms"});
    figures.push_back({"long_match_logged_first_tenth", tenthUs.front() / 1e3, "ms per dart"});
    figures.push_back({"long_match_logged_last_tenth", tenthUs.back() / 1e3, "ms per dart"});
    figures.push_back({"long_match_logged_last_over_first", tenthUs.back() / tenthUs.front(), "ratio"});
    figures.push_back({"resume_open_to_model_median", Percentile(resumeMs, 0.5), "ms"});
    figures.push_back({"resume_open_to_question_median", Percentile(summaryMs, 0.5), "ms"});
    figures.push_back({"resumed_match_darts", double(resumedDarts), "darts"});
    figures.push_back({"open_checked_100000_darts_median", Percentile(openMs, 0.5), "ms"});
    PrintFigures(figures);
    return 0;
}
