// Store benchmark: entering a high score into the real database file, as a
// visit that beats the table does, with the file in WAL mode and every
// commit fully synchronous (on the disk when the call returns).
//
// store_bench [WRITES] [FOLDER]   (200 writes, in a new folder beside the
// executable by default: a real disk, not a memory file system)
#include "bench/BenchFigures.h"
#include "base/Notifier.h"
#include "store/Database.h"
#include "store/HiScoreTable.h"
#include "store/RecordSet.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

class Declining : public Notifier {
public:
    void message(const QString& text, const QString&) override
    {
        std::fprintf(stderr, "store_bench: message: %s\n", qPrintable(text));
    }
    bool question(const QString& text, const QString&) override
    {
        std::fprintf(stderr, "store_bench: question declined: %s\n", qPrintable(text));
        return false;
    }
};

QString Pragma(QSqlDatabase db, const QString& name)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("PRAGMA ") + name) && query.next() ? query.value(0).toString()
                                                                         : QString();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int writes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const QString parent = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QCoreApplication::applicationDirPath();
    QTemporaryDir home(QDir(parent).filePath(QStringLiteral("store_bench-XXXXXX")));
    if (!home.isValid()) {
        std::fprintf(stderr, "store_bench: cannot make a folder in %s\n", qPrintable(parent));
        return 1;
    }
    const QString path = QDir(home.path()).filePath(QStringLiteral("Data/Darts.MDB"));

    Declining notifier;
    Database db;
    QString error;
    if (db.open(path, notifier, &error) != Database::Opened::Ok) {
        std::fprintf(stderr, "store_bench: %s\n", qPrintable(error));
        return 1;
    }
    const QString journal = Pragma(db.connection(), QStringLiteral("journal_mode"));
    const QString synchronous = Pragma(db.connection(), QStringLiteral("synchronous"));
    std::printf("database %s, journal_mode %s, synchronous %s (2 = FULL)\n", qPrintable(path),
                qPrintable(journal), qPrintable(synchronous));

    std::vector<double> ns;
    ns.reserve(std::size_t(writes));
    int failed = 0;
    {
        RecordSet rsHiScores(db.connection(), QStringLiteral("HiScores"), QStringLiteral("Type = 'H'"),
                             QStringLiteral("Score DESC, Date DESC"));
        const QDateTime base(QDate(2026, 12, 9), QTime(20, 0));
        // Rising scores, so every one beats the lowest row: each write
        // deletes that row and adds the new one in one transaction.
        const int warmUp = 10;
        QElapsedTimer t;
        for (int i = 0; i < warmUp + writes; ++i) {
            const qint64 score = 100 + i;
            t.start();
            const auto entered = EnterHighScore(rsHiScores, QStringLiteral("Bench"), QStringLiteral("Mark"),
                                                base.addSecs(i), score, &error);
            const double elapsed = double(t.nsecsElapsed());
            if (!entered) {
                ++failed;
                std::fprintf(stderr, "store_bench: score %lld not entered: %s\n",
                             static_cast<long long>(score), qPrintable(error));
                continue;
            }
            if (i >= warmUp)
                ns.push_back(elapsed);
        }
    }
    db.close();

    std::vector<Figure> figures;
    figures.push_back({"hiscore_write_median", Percentile(ns, 0.5) / 1e6, "ms"});
    figures.push_back({"hiscore_write_p99", Percentile(ns, 0.99) / 1e6, "ms"});
    figures.push_back({"hiscore_write_worst", Percentile(ns, 1.0) / 1e6, "ms"});
    figures.push_back({"hiscore_writes", double(ns.size()), "writes"});
    figures.push_back({"hiscore_writes_failed", double(failed), "writes"});
    figures.push_back({"journal_mode_wal", journal.compare(QStringLiteral("wal"), Qt::CaseInsensitive) == 0 ? 1.0 : 0.0, "bool"});
    figures.push_back({"synchronous_level", synchronous.toDouble(), "level"});
    PrintFigures(figures);
    return failed == 0 ? 0 : 1;
}
