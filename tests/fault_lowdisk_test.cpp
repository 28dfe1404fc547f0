// A nearly full disk. The data folder is put on a small file system of its
// own (a tmpfs of 512 KB, mounted for the test; skipped where mounting is
// not allowed) and filled until only 8 to 28 KB are free. A sound file must
// still open there, and whatever its writes cannot keep is said once, not
// at every visit; a file the program refuses must come out byte for byte as
// it went in, with no side files left beside it.
#include "StoreTestSupport.h"

#include "store/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStorageInfo>
#include <QTemporaryDir>

namespace {

QString simPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../vantrell-sim");
}

// Fills the file system holding `folder` until `freeBytes` (rounded to its
// pages) are left; false when that cannot be reached.
bool fillUntil(const QString& folder, qint64 freeBytes)
{
    QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly))
        return false;
    const QByteArray page(4096, 'x');
    while (filler.write(page) == page.size() && filler.flush()) {
    }
    filler.close();
    qint64 size = QFileInfo(filler.fileName()).size();
    for (;;) {
        const qint64 available = QStorageInfo(folder).bytesAvailable();
        if (available >= freeBytes)
            return available < freeBytes + 4096;
        if (size < 4096)
            return false;
        size -= 4096;
        if (!filler.resize(size))
            return false;
    }
}

} // namespace

class FaultLowDiskTest : public QObject {
    Q_OBJECT

    QTemporaryDir mountPoint_;
    bool mounted_ = false;
    QTemporaryDir base_;
    QString soundFile_;

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(simPath()).isExecutable(), qPrintable(simPath()));
        ScriptedNotifier notifier;
        Database db;
        QString error;
        soundFile_ = QDir(base_.path()).filePath(QStringLiteral("Darts.MDB"));
        QVERIFY2(db.open(soundFile_, notifier, &error) == Database::Opened::Ok, qPrintable(error));
        db.close();
    }

    void init()
    {
        QProcess mount;
        mount.start(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=512k", "tmpfs", mountPoint_.path()});
        if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0)
            QSKIP("no small file system can be mounted here (needs root)");
        mounted_ = true;
    }

    void cleanup()
    {
        if (mounted_)
            QProcess::execute(QStringLiteral("umount"), {mountPoint_.path()});
        mounted_ = false;
    }

    void nearlyFullDisk_data()
    {
        QTest::addColumn<qint64>("freeBytes");
        QTest::addColumn<QString>("damage");
        for (qint64 kb : {8, 16, 28}) {
            QTest::addRow("sound file, %lld KB free", kb) << kb * 1024 << QString();
            QTest::addRow("table without rowid, %lld KB free", kb) << kb * 1024
                << QStringLiteral("DROP TABLE HiScores;"
                                  "CREATE TABLE HiScores (Name TEXT, Against TEXT, Date TEXT, "
                                  "Score INTEGER, Type TEXT, PRIMARY KEY (Name, Date)) WITHOUT ROWID");
            QTest::addRow("damaged settings, %lld KB free", kb) << kb * 1024
                << QStringLiteral("UPDATE Options SET StartWith = 999");
        }
    }

    void nearlyFullDisk()
    {
        QFETCH(qint64, freeBytes);
        QFETCH(QString, damage);
        const QString home = QDir(mountPoint_.path()).filePath(QStringLiteral("home"));
        const QString data = QDir(home).filePath(QStringLiteral("Data"));
        const QString path = QDir(data).filePath(QStringLiteral("Darts.MDB"));
        QVERIFY(QDir().mkpath(data));
        QVERIFY(QFile::copy(soundFile_, path));
        if (!damage.isEmpty())
            QCOMPARE(rawExec(path, damage.split(u';')), QString());
        const QVector<QVariantList> rowsBefore = rawRows(path, "SELECT rowid, * FROM Options");
        QVERIFY2(fillUntil(mountPoint_.path(), freeBytes),
                 qPrintable(QStringLiteral("%1 bytes free").arg(QStorageInfo(mountPoint_.path()).bytesAvailable())));
        const QByteArray before = fileBytes(path);

        QProcess sim;
        sim.start(simPath(), {QStringLiteral("--home"), home});
        sim.write("throw T20\nthrow T20\nthrow T20\nthrow T20\nthrow T20\nthrow T19\nstate\n");
        sim.closeWriteChannel();
        QVERIFY(sim.waitForFinished(60000));
        const QString err = QString::fromLocal8Bit(sim.readAllStandardError());
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);

        // Whatever the outcome, a file turned away is the file that came in.
        if (sim.exitCode() == 1) {
            QVERIFY2(fileBytes(path) == before, "the refused file was changed");
            QCOMPARE(QDir(data).entryList(QDir::Files | QDir::Hidden | QDir::System),
                     QStringList{QStringLiteral("Darts.MDB")});
        }
        if (damage.isEmpty()) {
            QVERIFY2(sim.exitCode() == 0, qPrintable(err));
            const QJsonObject state = QJsonDocument::fromJson(sim.readAllStandardOutput()).object();
            // Two high scores were due: what could not be kept is said at most once.
            const QJsonArray messages = state.value("messages").toArray();
            QVERIFY2(messages.size() <= 1, qPrintable(QJsonDocument(messages).toJson()));
            QCOMPARE(rawRows(path, "SELECT rowid, * FROM Options"), rowsBefore);
            QCOMPARE(rawRows(path, "SELECT count(*) FROM HiScores WHERE Type = 'H'").value(0).value(0).toInt(), 10);
        } else {
            QVERIFY2(sim.exitCode() == 1, qPrintable(err));
            QVERIFY2(err.contains(QDir::toNativeSeparators(path)), qPrintable(err));
            QVERIFY2(fileBytes(path) == before, "the refused file was changed");
        }
        QCOMPARE(QDir(data).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{QStringLiteral("Darts.MDB")});
    }

    // An export onto a disk without room for it says so, with the reason,
    // and leaves the earlier export there as it was, with nothing beside it.
    void exportOntoAFullDisk()
    {
        QTemporaryDir home;
        QString darts;
        for (int i = 0; i < 200; ++i)
            darts += QStringLiteral("throw T20\nthrow 19\nthrow 5\nthrow 1\nthrow D16\n");
        QProcess play;
        play.start(simPath(), {QStringLiteral("--home"), home.path()});
        play.write(darts.toLatin1());
        play.closeWriteChannel();
        QVERIFY(play.waitForFinished(60000));
        QCOMPARE(play.exitCode(), 0);

        const QString target = QDir(mountPoint_.path()).filePath(QStringLiteral("matches.csv"));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        const QByteArray earlier("match,date\r\n1,2026-12-09 10:00:00\r\n");
        QCOMPARE(old.write(earlier), earlier.size());
        old.close();
        QVERIFY(fillUntil(mountPoint_.path(), 8 * 1024));

        QProcess sim;
        sim.start(simPath(), {QStringLiteral("--home"), home.path()});
        sim.write(QStringLiteral("resume\nexport %1\nstate\n").arg(target).toUtf8());
        sim.closeWriteChannel();
        QVERIFY(sim.waitForFinished(60000));
        QCOMPARE(sim.exitCode(), 0);
        const QJsonArray messages =
            QJsonDocument::fromJson(sim.readAllStandardOutput()).object().value("messages").toArray();
        QCOMPARE(messages.size(), 1);
        const QString told = messages.at(0).toString();
        QVERIFY2(told.contains(QStringLiteral("could not be exported")) && told.contains(QStringLiteral("No space")),
                 qPrintable(told));
        QCOMPARE(fileBytes(target), earlier);
        QCOMPARE(QDir(mountPoint_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 (QStringList{QStringLiteral("filler"), QStringLiteral("matches.csv")}));
    }
};

QTEST_GUILESS_MAIN(FaultLowDiskTest)
#include "fault_lowdisk_test.moc"
