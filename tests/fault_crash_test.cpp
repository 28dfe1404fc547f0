// Crash safety of the high-score table: a writer that enters high scores as
// fast as it can is killed outright (SIGKILL) at random moments, over and
// over, on the same file. After every kill the file must be whole, hold its
// ten "H" rows, and keep every score whose write had returned.
// VANTRELL_FAULTS_LONG=1 kills it 200 times instead of 10.
#include "StoreTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <random>

namespace {

bool longForm()
{
    return qEnvironmentVariableIntValue("VANTRELL_FAULTS_LONG") != 0;
}

QString writerPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/fault-hiscore-writer");
}

QVector<qint64> parseScores(const QByteArray& output, QString* problem)
{
    QVector<qint64> scores;
    const QList<QByteArray> lines = output.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        bool ok = false;
        const qint64 score = lines[i].toLongLong(&ok);
        // A torn last line would mean the pipe lost part of a write.
        if (!ok) {
            *problem = QStringLiteral("unreadable line %1: %2").arg(i).arg(QString::fromLatin1(lines[i]));
            return scores;
        }
        scores << score;
    }
    return scores;
}

// The rows of a query through a connection that may write, as the program's
// next start has: a write cut short by the kill is rolled back by SQLite
// before anything is read (a read-only connection cannot do that).
QVector<QVariantList> rows(const QString& path, const QString& sql)
{
    static int serial = 0;
    const QString name = QStringLiteral("crash-check-%1").arg(++serial);
    QVector<QVariantList> result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql)) {
                while (query.next()) {
                    QVariantList row;
                    for (int i = 0; i < query.record().count(); ++i)
                        row << query.value(i);
                    result << row;
                }
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

// What the file must look like after a kill, given every score whose write
// had returned. Empty when it does.
QString checkFile(const QString& path, const QVector<qint64>& returned)
{
    const auto integrity = rows(path, QStringLiteral("PRAGMA integrity_check"));
    if (integrity.size() != 1 || integrity[0].value(0).toString() != QStringLiteral("ok")) {
        QStringList found;
        for (const auto& row : integrity)
            found << row.value(0).toString();
        return QStringLiteral("integrity_check: ") + (found.isEmpty() ? QStringLiteral("no answer") : found.join(QStringLiteral("; ")));
    }
    const auto hRows = rows(path, QStringLiteral("SELECT Score FROM HiScores WHERE Type = 'H'"));
    if (hRows.size() != 10)
        return QStringLiteral("%1 \"H\" rows instead of 10").arg(hRows.size());
    QVector<qint64> table;
    for (const auto& row : hRows)
        table << row.value(0).toLongLong();
    std::sort(table.begin(), table.end());
    // A returned score may only be missing when ten higher ones have pushed
    // it out (a write that committed just before the kill counts among them).
    for (qint64 score : returned) {
        if (!table.contains(score) && table.first() <= score)
            return QStringLiteral("score %1 had been written but is not in the table (lowest %2, highest %3)")
                .arg(score)
                .arg(table.first())
                .arg(table.last());
    }
    return QString();
}

} // namespace

class FaultCrashTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(writerPath()).isExecutable(), qPrintable(writerPath()));
    }

    void killedWriterNeverLosesAReturnedHighScore()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QString path = QDir(home.path()).filePath(QStringLiteral("Data/Darts.MDB"));
        const int kills = longForm() ? 200 : 10;
        std::mt19937 rng(std::random_device{}());
        // One kill in four at any moment from the start, most of them while
        // the program is still starting or making the file; the others once
        // writing is under way, at a random moment after its first write
        // (how long starting takes depends on the build and the machine).
        std::uniform_int_distribution<int> delayMs(0, 300);
        std::bernoulli_distribution early(0.25);

        QVector<qint64> returned;
        qint64 next = 1;
        int killsWithWrites = 0;
        for (int round = 0; round < kills; ++round) {
            QProcess writer;
            writer.start(writerPath(), {path, QString::number(next)});
            QVERIFY2(writer.waitForStarted(), qPrintable(writer.errorString()));
            const bool killEarly = early(rng);
            if (!killEarly)
                QVERIFY2(writer.waitForReadyRead(30000),
                         qPrintable(QStringLiteral("round %1: no write returned: %2")
                                        .arg(round)
                                        .arg(QString::fromLocal8Bit(writer.readAllStandardError()))));
            const int delay = delayMs(rng);
            QThread::msleep(killEarly ? delay : delay / 2);
            if (writer.state() != QProcess::Running) {
                writer.waitForFinished();
                QFAIL(qPrintable(QStringLiteral("round %1: the writer stopped by itself (%2): %3")
                                     .arg(round)
                                     .arg(writer.exitCode())
                                     .arg(QString::fromLocal8Bit(writer.readAllStandardError()))));
            }
            ::kill(pid_t(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished(10000));
            QCOMPARE(writer.exitStatus(), QProcess::CrashExit);

            QString problem;
            const QVector<qint64> now = parseScores(writer.readAllStandardOutput(), &problem);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            if (!now.isEmpty())
                ++killsWithWrites;
            returned += now;

            if (!QFileInfo::exists(path)) {
                // Killed before the new file was finished: then nothing can
                // have been written, and no half-made file may pass for it.
                QVERIFY2(returned.isEmpty(), "scores were written but the file is gone");
                continue;
            }
            problem = checkFile(path, returned);
            QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("round %1 (killed after %2 ms): %3")
                                                       .arg(round).arg(delay).arg(problem)));
            // The next run carries on above everything in the file, written
            // and returned or written just before the kill.
            const auto top = rows(path, QStringLiteral("SELECT max(Score) FROM HiScores"));
            next = std::max(next, top.value(0).value(0).toLongLong() + 1);
            // Only the recent scores can still be asked about.
            if (returned.size() > 50)
                returned.remove(0, returned.size() - 50);
        }
        qInfo("%d kills, %d of them after at least one write had returned; scores up to %lld",
              kills, killsWithWrites, static_cast<long long>(next - 1));
    }
};

QTEST_GUILESS_MAIN(FaultCrashTest)
#include "fault_crash_test.moc"
