// Start-up: the splash opens the database, and a second later the main
// window loads; a database that cannot be used stops it before that.
#include "UiTestSupport.h"

#include "ui/frmSplash.h"
#include "ui/frmStats.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>

class StartupTest : public QObject {
    Q_OBJECT

    static std::unique_ptr<VantrellApp> makeApp(const QTemporaryDir& dir, RecordingSound& sound,
                                                RecordingNotifier& notifier)
    {
        VantrellApp::Setup setup;
        setup.databasePath = dir.filePath(QStringLiteral("Data/Darts.MDB"));
        setup.soundsFolder = dir.filePath(QStringLiteral("sounds"));
        setup.helpPage = dir.filePath(QStringLiteral("Help.htm"));
        setup.sound = &sound;
        setup.notifier = &notifier;
        return std::make_unique<VantrellApp>(setup);
    }

private slots:
    void splash_opens_the_database_then_loads_the_main_window()
    {
        QTemporaryDir dir;
        RecordingSound sound;
        RecordingNotifier notifier;
        auto app = makeApp(dir, sound, notifier);
        frmSplash splash(*app);
        QSignalSpy finished(&splash, &frmSplash::finished);
        QElapsedTimer clock;
        clock.start();
        splash.start();
        QVERIFY(splash.isVisible());
        QVERIFY(!app->scores());

        // The database is made on this first start while the splash is up.
        QTRY_VERIFY(QFile::exists(dir.filePath(QStringLiteral("Data/Darts.MDB"))));
        QVERIFY(!app->scores());

        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
        QVERIFY(clock.elapsed() >= 950);
        QVERIFY(app->scores() && app->scores()->isVisible());
        QVERIFY(!splash.isVisible());
        // The load ran: the saved names and score are on the panels.
        QCOMPARE(app->model().board.panel[0].lblScoreLeft.text(), QStringLiteral("501"));
        QVERIFY(app->stats() && !app->stats()->isVisible());
        QVERIFY(app->options() && !app->options()->isVisible());
    }

    void unusable_database_stops_before_the_main_window()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Data")));
        QFile bad(dir.filePath(QStringLiteral("Data/Darts.MDB")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("this is not a database file at all");
        bad.close();

        RecordingSound sound;
        RecordingNotifier notifier;
        notifier.answer = false; // no repair
        auto app = makeApp(dir, sound, notifier);
        frmSplash splash(*app);
        QSignalSpy failed(&splash, &frmSplash::failed);
        QSignalSpy finished(&splash, &frmSplash::finished);
        splash.start();
        QTRY_COMPARE(failed.count(), 1);
        QVERIFY(!failed.first().first().toString().isEmpty());
        QTest::qWait(1300); // past the timer's tick
        QCOMPARE(finished.count(), 0);
        QVERIFY(!app->scores());
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
