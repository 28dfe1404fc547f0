// Engine benchmark: the cost of one dart and of one undo, in an ordinary
// match and deep into a very long one, through the same engine the program
// runs. Cost that grows with the match shows as a ratio above 1.
#include "bench/BenchFigures.h"
#include "board/BoardGeometry.h"
#include "tools/SimDriver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

// A deterministic mix of darts: mostly the 20 and its neighbours, some
// doubles to finish legs, some misses; busts and won legs come naturally.
class DartMix {
public:
    QPointF next(const BoardRect& board)
    {
        static const char* labels[] = {"T20", "20", "1", "5", "T20", "20", "T19", "19",
                                       "D20", "D16", "D8", "0", "25", "50", "T5", "D10"};
        const QString label = QString::fromLatin1(labels[pick_(rng_)]);
        auto it = points_.find(label);
        if (it == points_.end())
            it = points_.emplace(label, PointFor(board, label)).first;
        return it->second;
    }

private:
    std::mt19937 rng_{20261209};
    std::uniform_int_distribution<int> pick_{0, 15};
    std::map<QString, QPointF> points_;
};

// Times `count` darts from the current state; returns nanoseconds per dart.
std::vector<double> timeDarts(ModDarts& e, DartMix& mix, int count)
{
    std::vector<double> ns;
    ns.reserve(count);
    QElapsedTimer t;
    for (int i = 0; i < count; ++i) {
        const QPointF p = mix.next(e.board.Image1);
        t.start();
        e.BoardPressed(p.x(), p.y());
        ns.push_back(double(t.nsecsElapsed()));
    }
    return ns;
}

std::vector<double> timeUndos(ModDarts& e, int count)
{
    std::vector<double> ns;
    QElapsedTimer t;
    for (int i = 0; i < count; ++i) {
        t.start();
        e.UndoLast();
        ns.push_back(double(t.nsecsElapsed()));
    }
    return ns;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const long long longMatch = argc > 1 ? std::atoll(argv[1]) : 100000;
    QTemporaryDir home;
    // The engine alone: what logging adds is log_bench's figure.
    SimDriver driver(home.path(), false);
    QString error;
    if (!driver.start(&error)) {
        std::fprintf(stderr, "engine_bench: %s\n", qPrintable(error));
        return 1;
    }
    ModDarts& e = driver.engine();
    DartMix mix;

    // Fill the high-score table first, so the figures below are of darts
    // that write nothing to the disk (the write has its own benchmark).
    for (int i = 0; i < 3000; ++i) {
        const QPointF p = mix.next(e.board.Image1);
        e.BoardPressed(p.x(), p.y());
    }
    e.NewGame();

    std::vector<Figure> figures;
    // An ordinary match: the first thousand darts.
    const std::vector<double> early = timeDarts(e, mix, 1000);
    const std::vector<double> earlyUndo = timeUndos(e, 40);
    timeDarts(e, mix, 40);

    QElapsedTimer wall;
    wall.start();
    long long thrown = 1040;
    while (thrown < longMatch - 1000) {
        const QPointF p = mix.next(e.board.Image1);
        e.BoardPressed(p.x(), p.y());
        ++thrown;
    }
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    const double dartsPerSecond = double(thrown - 1040) / seconds;

    const std::vector<double> late = timeDarts(e, mix, 1000);
    const std::vector<double> lateUndo = timeUndos(e, 40);

    figures.push_back({"dart_median_first_1000", Percentile(early, 0.5) / 1000, "us"});
    figures.push_back({"dart_p99_first_1000", Percentile(early, 0.99) / 1000, "us"});
    figures.push_back({"dart_median_at_long_match", Percentile(late, 0.5) / 1000, "us"});
    figures.push_back({"dart_p99_at_long_match", Percentile(late, 0.99) / 1000, "us"});
    figures.push_back({"dart_late_to_early_ratio", Percentile(late, 0.5) / Percentile(early, 0.5), "x"});
    figures.push_back({"undo_median_early", Percentile(earlyUndo, 0.5) / 1000, "us"});
    figures.push_back({"undo_median_at_long_match", Percentile(lateUndo, 0.5) / 1000, "us"});
    figures.push_back({"undo_late_to_early_ratio", Percentile(lateUndo, 0.5) / Percentile(earlyUndo, 0.5), "x"});
    figures.push_back({"darts_per_second_long_match", dartsPerSecond, "darts/s"});
    figures.push_back({"long_match_darts", double(thrown + 1000), "darts"});

    PrintFigures(figures);
    return 0;
}
