// Two programs on one data folder. A second copy of the program (here the
// driver) is turned away while the first holds the folder, and takes over a
// folder whose holder crashed. A file shared by other means (a writer that
// does not claim the folder, next to the driver) still keeps exactly ten
// high-score rows and every score either of them saved.
// VANTRELL_FAULTS_LONG=1 plays 100 rounds of two writers instead of 5.
#include "StoreTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

namespace {

QString simPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../vantrell-sim");
}

QString writerPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/fault-hiscore-writer");
}

QString runningWith(const QString& home)
{
    return QStringLiteral("Vantrell 2 is already running with ")
           + QDir::toNativeSeparators(QDir(home).filePath(QStringLiteral("Data")));
}

// A driver that has opened the folder and waits for its input.
bool startHolding(QProcess& sim, const QString& home)
{
    sim.start(simPath(), {QStringLiteral("--home"), home});
    if (!sim.waitForStarted())
        return false;
    // Its answer to `state` comes once the database is open (and claimed).
    sim.write("state\n");
    return sim.waitForReadyRead(30000);
}

} // namespace

class FaultTwoWritersTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(simPath()).isExecutable(), qPrintable(simPath()));
        QVERIFY2(QFileInfo(writerPath()).isExecutable(), qPrintable(writerPath()));
    }

    // Two copies started on a folder with no database yet: one makes the file
    // and plays, the other is refused at once and makes nothing.
    void secondCopyIsRefusedWhileTheFirstRuns()
    {
        QTemporaryDir home;
        QProcess first;
        QVERIFY(startHolding(first, home.path()));

        QProcess second;
        second.start(simPath(), {QStringLiteral("--home"), home.path()});
        second.write("throw T20\nstate\n");
        second.closeWriteChannel();
        QVERIFY(second.waitForFinished(30000));
        const QString err = QString::fromLocal8Bit(second.readAllStandardError());
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 1);
        QVERIFY2(err.contains(runningWith(home.path())), qPrintable(err));
        QVERIFY(second.readAllStandardOutput().isEmpty());

        // The first goes on undisturbed and saves as before.
        first.write("throw T20\nthrow T20\nthrow T20\nstate\n");
        first.closeWriteChannel();
        QVERIFY(first.waitForFinished(30000));
        QCOMPARE(first.exitCode(), 0);
        const QList<QByteArray> lines = first.readAllStandardOutput().trimmed().split('\n');
        const QJsonObject state = QJsonDocument::fromJson(lines.last()).object();
        QCOMPARE(state.value("messages").toArray().size(), 0);
        QCOMPARE(state.value("hitable").toArray().first().toArray().last().toInt(), 180);

        // Nothing is left behind, and the folder is free again.
        QCOMPARE(QDir(QDir(home.path()).filePath("Data")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Darts.MDB")});
        QProcess third;
        third.start(simPath(), {QStringLiteral("--home"), home.path()});
        third.closeWriteChannel();
        QVERIFY(third.waitForFinished(30000));
        QCOMPARE(third.exitCode(), 0);
    }

    // Two first starts at the same moment on an empty folder: one makes the
    // file, whole, the other is turned away; no half-made file is left.
    void twoFirstStartsAtOnceMakeOneWholeFile()
    {
        const int rounds = qEnvironmentVariableIntValue("VANTRELL_FAULTS_LONG") ? 50 : 8;
        for (int round = 0; round < rounds; ++round) {
            QTemporaryDir home;
            QProcess a, b;
            a.start(simPath(), {QStringLiteral("--home"), home.path()});
            b.start(simPath(), {QStringLiteral("--home"), home.path()});
            QVERIFY(a.waitForStarted() && b.waitForStarted());
            // The one turned away ends by itself; the other waits for input.
            QProcess* refused = nullptr;
            for (int waited = 0; !refused && waited < 300; ++waited) {
                if (a.waitForFinished(100))
                    refused = &a;
                else if (b.state() == QProcess::NotRunning || b.waitForFinished(1))
                    refused = &b;
            }
            QVERIFY2(refused, "neither copy was turned away");
            QProcess* runs = refused == &a ? &b : &a;
            QCOMPARE(refused->exitCode(), 1);
            QVERIFY(QString::fromLocal8Bit(refused->readAllStandardError()).contains(runningWith(home.path())));
            runs->write("state\n");
            runs->closeWriteChannel();
            QVERIFY(runs->waitForFinished(30000));
            QVERIFY2(runs->exitCode() == 0, runs->readAllStandardError().constData());
            const QString path = QDir(home.path()).filePath(QStringLiteral("Data/Darts.MDB"));
            QCOMPARE(rawRows(path, "PRAGMA integrity_check").value(0).value(0).toString(), QStringLiteral("ok"));
            QCOMPARE(rawRows(path, "SELECT count(*) FROM HiScores WHERE Type = 'H'").value(0).value(0).toInt(), 10);
            QCOMPARE(rawRows(path, "SELECT count(*) FROM Options").value(0).value(0).toInt(), 1);
            QCOMPARE(QDir(QDir(home.path()).filePath("Data")).entryList(QDir::Files | QDir::Hidden),
                     QStringList{QStringLiteral("Darts.MDB")});
        }
    }

    void lockOfACrashedCopyIsTakenOver()
    {
        QTemporaryDir home;
        QProcess crashed;
        QVERIFY(startHolding(crashed, home.path()));
        ::kill(pid_t(crashed.processId()), SIGKILL);
        QVERIFY(crashed.waitForFinished(10000));
        QVERIFY(QFileInfo::exists(QDir(home.path()).filePath("Data/Darts.MDB.lock")));

        QProcess next;
        next.start(simPath(), {QStringLiteral("--home"), home.path()});
        next.write("state\n");
        next.closeWriteChannel();
        QVERIFY(next.waitForFinished(30000));
        QVERIFY2(next.exitCode() == 0, next.readAllStandardError().constData());
        QVERIFY(!QFileInfo::exists(QDir(home.path()).filePath("Data/Darts.MDB.lock")));
    }

    // The driver and a writer entering high scores into one file at the same
    // time, round after round: the table keeps ten rows, and a score either
    // of them saved is only ever gone when higher ones have pushed it out.
    void twoWritersKeepTenRowsAndEveryScore()
    {
        const int rounds = qEnvironmentVariableIntValue("VANTRELL_FAULTS_LONG") ? 100 : 5;
        QTemporaryDir home;
        const QString path = QDir(home.path()).filePath(QStringLiteral("Data/Darts.MDB"));
        {
            QProcess make;
            make.start(simPath(), {QStringLiteral("--home"), home.path()});
            make.closeWriteChannel();
            QVERIFY(make.waitForFinished(30000) && make.exitCode() == 0);
        }

        // The driver's visits: single k three times, 3k points, players taking
        // turns (k odd for the first, even for the second); nobody goes out.
        QByteArray commands;
        QVector<QPair<QString, qint64>> driverScores;
        for (int k = 1; k <= 20; ++k) {
            const QByteArray dart = "throw " + QByteArray::number(k) + '\n';
            commands += dart + dart + dart;
            driverScores << qMakePair(QString::fromLatin1(k % 2 ? "Player 1" : "Player 2"), qint64(3 * k));
        }
        commands += "state\n";

        int outgrown = 0;
        for (int round = 0; round < rounds; ++round) {
            QCOMPARE(rawExec(path, {"UPDATE HiScores SET Name = 'Brannoque', Against = 'Brannoque', "
                                    "Date = '1980-01-01 00:00:00', Score = 0 WHERE Type = 'H'"}),
                     QString());
            QProcess sim, writer;
            writer.start(writerPath(), {path, QStringLiteral("1"), QStringLiteral("45")});
            sim.start(simPath(), {QStringLiteral("--home"), home.path()});
            QVERIFY(writer.waitForStarted() && sim.waitForStarted());
            sim.write(commands);
            sim.closeWriteChannel();
            QVERIFY(sim.waitForFinished(60000) && writer.waitForFinished(60000));
            const QString simErr = QString::fromLocal8Bit(sim.readAllStandardError());
            const QString writerErr = QString::fromLocal8Bit(writer.readAllStandardError());
            QVERIFY2(sim.exitCode() == 0, qPrintable(simErr));
            QVERIFY2(writer.exitCode() == 0, qPrintable(writerErr));
            const QJsonObject state = QJsonDocument::fromJson(sim.readAllStandardOutput()).object();
            QVERIFY2(state.value("messages").toArray().isEmpty(),
                     qPrintable(QJsonDocument(state.value("messages").toArray()).toJson()));

            QVector<QPair<QString, qint64>> saved = driverScores;
            for (const QByteArray& line : writer.readAllStandardOutput().split('\n')) {
                if (!line.isEmpty())
                    saved << qMakePair(QStringLiteral("Writer"), line.toLongLong());
            }
            outgrown += 45 + 20 - int(saved.size());

            const auto table = rawRows(path, "SELECT Name, Score FROM HiScores WHERE Type = 'H'");
            QVERIFY2(table.size() == 10,
                     qPrintable(QStringLiteral("round %1: %2 rows").arg(round).arg(table.size())));
            qint64 lowest = table.first().value(1).toLongLong();
            for (const auto& row : table)
                lowest = std::min(lowest, row.value(1).toLongLong());
            for (const auto& [name, score] : saved) {
                if (score <= lowest)
                    continue; // pushed out by higher ones, or never above the lowest
                const bool there = std::any_of(table.begin(), table.end(), [&](const QVariantList& row) {
                    return row.value(0).toString() == name && row.value(1).toLongLong() == score;
                });
                QVERIFY2(there, qPrintable(QStringLiteral("round %1: %2's %3 is lost (lowest now %4)")
                                               .arg(round).arg(name).arg(score).arg(lowest)));
            }
        }
        qInfo("%d rounds; %d of the writer's scores were outgrown before they were written",
              rounds, outgrown);
    }
};

QTEST_GUILESS_MAIN(FaultTwoWritersTest)
#include "fault_twowriters_test.moc"
