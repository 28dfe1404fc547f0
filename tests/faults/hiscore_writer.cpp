// fault-hiscore-writer DATABASE FIRST-SCORE [COUNT]
// Enters rising high scores into the database as fast as it can, one after
// another, and prints each score on standard output the moment its write has
// returned. The crash test kills it at random moments: whatever it printed
// must be in the file afterwards. It closes and reopens the file every few
// writes.
// With COUNT it writes that many scores beside another program writing the
// same file, prints those that were entered (a score the other program's
// have outgrown is not), and ends. Like any second program that was not
// started as Vantrell 2, it does not claim the folder.
#include "base/Notifier.h"
#include "store/Database.h"
#include "store/HiScoreTable.h"
#include "store/RecordSet.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

class Declining : public Notifier {
public:
    void message(const QString& text, const QString&) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool question(const QString& text, const QString&) override
    {
        std::fprintf(stderr, "question declined: %s\n", qPrintable(text));
        return false;
    }
};

// Straight to the pipe, no buffer in between: once the line is written the
// test will see it, however the process ends a moment later.
void printScore(qint64 score)
{
    char line[32];
    const int n = std::snprintf(line, sizeof line, "%lld\n", static_cast<long long>(score));
    if (::write(STDOUT_FILENO, line, std::size_t(n)) != n)
        std::exit(3);
}

constexpr int WritesPerOpening = 7;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: fault-hiscore-writer DATABASE FIRST-SCORE [COUNT]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const qint64 first = std::atoll(argv[2]);
    const qint64 count = argc == 4 ? std::atoll(argv[3]) : -1;

    Declining notifier;
    const QDateTime base(QDate(2026, 1, 1), QTime(0, 0));
    qint64 score = first;
    // A few writes per opening, then the file is closed and opened again, so
    // that kills also land in the middle of opening and closing it (which
    // switch its journal mode) and on the next start after them.
    for (;;) {
        Database db;
        QString error;
        if (db.open(path, notifier, &error) != Database::Opened::Ok) {
            std::fprintf(stderr, "open: %s\n", qPrintable(error));
            return 1;
        }
        RecordSet rsHiScores(db.connection(), QStringLiteral("HiScores"), QStringLiteral("Type = 'H'"),
                             QStringLiteral("Score DESC, Date DESC"));
        for (int i = 0; i < WritesPerOpening; ++i, ++score) {
            if (count >= 0 && score - first >= count)
                return 0;
            const auto entered = EnterHighScore(rsHiScores, QStringLiteral("Writer"),
                                                QStringLiteral("Killer"),
                                                base.addSecs(score - first), score, &error);
            if (!entered && count >= 0 && error.isEmpty())
                continue; // outgrown by the other program's scores
            if (!entered) {
                std::fprintf(stderr, "score %lld not entered: %s\n", static_cast<long long>(score),
                             error.isEmpty() ? "it did not beat the lowest" : qPrintable(error));
                return 1;
            }
            printScore(score);
        }
    }
}
