// Long play: a very long match through the driver's command reader, as a
// session of many hours would play it, with no new game in between. Nothing
// may wrap, stall or stop counting, the match log must hold every command,
// the resident memory must stay flat, and the time per dart must not grow
// with the match (printed, never asserted: the machine's load is not the
// program's). 100,000 darts; VANTRELL_FAULTS_LONG=1 plays a million.
//
// The database lies in memory where the system has such a folder: every
// command still goes through SQLite into the log, but the sync after each
// costs nothing, so the test takes the program's time and not the disk's.
// The pace of logged darts on the disk is the log benchmark's.
#include "tools/SimDriver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <random>

namespace {

struct Dart {
    const char* label;
    int value;
};

// Mostly the 20 and its neighbours, doubles to finish legs, some misses:
// busts, won legs, sets and match wins all come along.
const Dart kMix[] = {{"T20", 60}, {"20", 20}, {"1", 1},   {"5", 5},   {"T20", 60}, {"T19", 57},
                     {"19", 19},  {"D20", 40}, {"D16", 32}, {"D8", 16},  {"D4", 8},   {"D2", 4},
                     {"D1", 2},   {"0", 0},   {"25", 25}, {"50", 50},  {"T5", 15},  {"D10", 20}};

// The resident memory in kB, from /proc (0 where there is none).
qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

qint64 wholeNumber(const QJsonValue& v, bool* ok)
{
    return v.toString().toLongLong(ok);
}

QString homeTemplate()
{
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return base + QStringLiteral("/vantrell-longplay-XXXXXX");
}

// The rows of the match log in the file at `path`, read over a connection
// of its own, as another program would.
qint64 loggedRows(const QString& path)
{
    qint64 rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("longplay-check"));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT COUNT(*) FROM LoggedEvents")) && q.next())
                rows = q.value(0).toLongLong();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("longplay-check"));
    return rows;
}

} // namespace

class FaultLongPlayTest : public QObject {
    Q_OBJECT
private slots:
    void aVeryLongMatchKeepsCountingAtTheSamePace()
    {
        const qint64 darts = qEnvironmentVariableIntValue("VANTRELL_FAULTS_LONG") ? 1000000 : 100000;
        const int chunks = 10;
        QTemporaryDir home(homeTemplate());
        QVERIFY(home.isValid());
        SimDriver d(home.path());
        QString error;
        QVERIFY2(d.start(&error), qPrintable(error));
        ModDarts& e = d.engine();

        std::mt19937 rng(20261209);
        std::uniform_int_distribution<int> pick(0, int(std::size(kMix)) - 1);
        QString out;
        qint64 thrownValue = 0;
        qint64 lastPoints = 0;
        qint64 lastSets[2] = {0, 0};
        qint64 announcements = 0;
        QVector<double> msPerChunk;
        QStringList memory;
        QVector<qint64> residentByTenth;
        QElapsedTimer timer;
        for (int chunk = 0; chunk < chunks; ++chunk) {
            timer.start();
            for (qint64 i = 0; i < darts / chunks; ++i) {
                const Dart& dart = kMix[pick(rng)];
                thrownValue += dart.value;
                if (d.run(QStringLiteral("throw ") + QLatin1String(dart.label), &out, &error)
                    != SimDriver::Result::Ok)
                    QFAIL(qPrintable(error));
                if (e.winner.open()) {
                    ++announcements;
                    d.run(QStringLiteral("winnerok"), &out, &error);
                }
            }
            msPerChunk << double(timer.nsecsElapsed()) / 1e6;
            residentByTenth << residentKb();
            memory << QString::number(double(residentByTenth.last()) / 1024.0, 'f', 1);

            // Every panel still shows sensible numbers, and the match only
            // ever moves forward.
            const QJsonObject s = d.state();
            const QJsonArray panels = s.value(QStringLiteral("panels")).toArray();
            qint64 sets[2];
            for (int p = 0; p < 2; ++p) {
                const QJsonObject panel = panels[p].toObject();
                bool ok = false;
                const qint64 left = wholeNumber(panel.value(QStringLiteral("lblScoreLeft")), &ok);
                QVERIFY2(ok && left >= 0 && left <= 501, qPrintable(panel.value(QStringLiteral("lblScoreLeft")).toString()));
                sets[p] = wholeNumber(panel.value(QStringLiteral("lblSet")), &ok);
                QVERIFY2(ok && sets[p] >= lastSets[p], qPrintable(panel.value(QStringLiteral("lblSet")).toString()));
                lastSets[p] = sets[p];
                const double average = panel.value(QStringLiteral("lblAverage")).toString().toDouble(&ok);
                QVERIFY2(ok && average >= 0 && average <= 180, qPrintable(panel.value(QStringLiteral("lblAverage")).toString()));
            }
            const qint64 points = e.match().player(0).matchPoints + e.match().player(1).matchPoints;
            QVERIFY(points > lastPoints);
            QVERIFY(points <= thrownValue);
            lastPoints = points;
        }
        // Legs and sets were won all along (a counter stuck or wrapped would
        // stop the sets from growing).
        QVERIFY(announcements > darts / 100);
        QVERIFY(lastSets[0] + lastSets[1] > darts / 1000);
        // The points of the match went far past any 16-bit limit.
        QVERIFY(lastPoints > darts);

        // Undo still takes back its fifty darts and then stops.
        for (int i = 0; i < 60; ++i)
            QCOMPARE(int(d.run(QStringLiteral("undo"), &out, &error)), int(SimDriver::Result::Ok));
        QCOMPARE(e.match().undoableDarts(), 0);

        // The log kept up: a row for every dart, every announcement closed
        // and every undo that took a dart back.
        QCOMPARE(loggedRows(home.filePath(QStringLiteral("Data/Darts.MDB"))), darts + announcements + 50);
        // Nothing grows with the match: what the program holds after the
        // second tenth (caches warmed) is what it holds at the end, give or
        // take what the allocator keeps (none of it where /proc is missing).
        const qint64 grownKb = residentByTenth.last() - residentByTenth.at(1);
        QVERIFY2(grownKb < 8 * 1024, qPrintable(QStringLiteral("resident memory grew by %1 kB").arg(grownKb)));

        QStringList times;
        for (double ms : msPerChunk)
            times << QString::number(ms * 1000.0 / double(darts / chunks), 'f', 2);
        qInfo("%lld darts, %lld announcements, sets %lld:%lld, points %lld",
              static_cast<long long>(darts), static_cast<long long>(announcements),
              static_cast<long long>(lastSets[0]), static_cast<long long>(lastSets[1]),
              static_cast<long long>(lastPoints));
        qInfo("microseconds per dart, by tenth of the match: %s", qPrintable(times.join(QStringLiteral(" "))));
        qInfo("last tenth / first tenth: %.2f", msPerChunk.last() / msPerChunk.first());
        qInfo("resident memory (MB) after each tenth: %s", qPrintable(memory.join(QStringLiteral(" "))));
    }
};

QTEST_GUILESS_MAIN(FaultLongPlayTest)
#include "fault_longplay_test.moc"
