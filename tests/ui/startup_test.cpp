// Start-up: the splash opens the database, and a second later the main
// window loads; a database that cannot be used stops it before that.
#include "UiTestSupport.h"

#include "store/Database.h"
#include "ui/MessageBoxNotifier.h"
#include "ui/frmSplash.h"
#include "ui/frmStats.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QSqlDatabase>
#include <QSqlQuery>

class StartupTest : public QObject {
    Q_OBJECT

    static std::unique_ptr<VantrellApp> makeApp(const QTemporaryDir& dir, RecordingSound& sound,
                                                Notifier& notifier)
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

    // A match the last run left unfinished is offered for resuming once the
    // scoreboard is up and the splash is gone: a question asked over the
    // splash would stand on a window about to close.
    void resume_question_is_asked_over_the_scoreboard()
    {
        QTemporaryDir dir;
        RecordingSound sound;
        RecordingNotifier notifier;
        {
            auto first = makeApp(dir, sound, notifier);
            QString error;
            QVERIFY2(first->openDatabase(&error), qPrintable(error));
            first->loadMainWindow();
            const QPointF at = PointFor(first->model().board.Image1, QStringLiteral("T20"));
            first->commands().boardPressed(at.x(), at.y());
        } // ended without a word, as a crash would

        auto app = makeApp(dir, sound, notifier);
        frmSplash splash(*app);
        bool splashUp = true, scoresUp = false;
        notifier.whileShown = [&] {
            splashUp = splash.isVisible();
            scoresUp = app->scores() && app->scores()->isVisible();
        };
        splash.start();
        QTRY_COMPARE_WITH_TIMEOUT(notifier.messages.size(), 1, 5000);
        QVERIFY2(notifier.messages[0].startsWith(QStringLiteral("Resume the match")),
                 qPrintable(notifier.messages[0]));
        QVERIFY(!splashUp);
        QVERIFY(scoresUp);
        // Answered "Resume": the dart is back on the panel.
        QCOMPARE(app->model().board.panel[0].lblFirstDart.text(), QStringLiteral("T20"));
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

    // The real program's way: the question is a real message box, asked
    // while only the splash is up, and the event loop runs as in main().
    // Answering "Yes" repairs the settings and goes on to the main window.
    void yesToRestoringTheSettingsGoesOnToTheMainWindow()
    {
        // Only a real window system ends the program when the box closes;
        // the offscreen platform never does. So this case runs on an X
        // server of its own, in a copy of this test program.
        if (QGuiApplication::platformName() == QStringLiteral("offscreen")) {
            const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
            if (xvfbRun.isEmpty())
                QSKIP("needs xvfb-run: the offscreen platform cannot show this fault");
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            // Under the sanitizers, the system's X keyboard library reads a
            // string past its end (as the strict string checks see it) and
            // its D-Bus library keeps a buffer to the end. Neither is this
            // program's, so the copy on the X server runs without the strict
            // string checks and with those two libraries' leaks suppressed;
            // everything else stays checked.
            QTemporaryFile suppressions;
            const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
            if (!asan.isEmpty()) {
                env.insert(QStringLiteral("ASAN_OPTIONS"),
                           asan + QStringLiteral(":strict_string_checks=0"));
                QVERIFY(suppressions.open());
                suppressions.write("leak:libdbus-1.so\nleak:libxkbcommon\n");
                suppressions.flush();
                env.insert(QStringLiteral("LSAN_OPTIONS"),
                           QStringLiteral("suppressions=%1:print_suppressions=0")
                               .arg(suppressions.fileName()));
            }
            child.setProcessEnvironment(env);
            child.setProcessChannelMode(QProcess::MergedChannels);
            child.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"),
                                  QStringLiteral("-screen 0 1024x768x24"),
                                  QCoreApplication::applicationFilePath(),
                                  QString::fromLatin1(QTest::currentTestFunction())});
            QVERIFY(child.waitForFinished(60000));
            const QByteArray output = child.readAll();
            QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                     output.constData());
            QVERIFY2(output.contains("PASS   : StartupTest::yesToRestoringTheSettingsGoesOnToTheMainWindow()"),
                     output.constData());
            return;
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Data/Darts.MDB"));
        {
            RecordingNotifier quiet;
            Database made;
            QVERIFY(made.open(path, quiet, nullptr) == Database::Opened::Ok);
            QVERIFY(QSqlQuery(made.connection()).exec(QStringLiteral("UPDATE Options SET StartWith = 999")));
            made.close();
        }

        // As at a real start, no other window of the program is up.
        for (QWidget* w : QApplication::topLevelWidgets())
            w->hide();

        RecordingSound sound;
        MessageBoxNotifier boxes;
        auto app = makeApp(dir, sound, boxes);
        frmSplash splash(*app);
        QStringList asked;
        QTimer operatorHand;
        connect(&operatorHand, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box->button(QMessageBox::Yes)) {
                asked << box->text();
                box->button(QMessageBox::Yes)->click();
            }
        });
        operatorHand.start(50);
        connect(&splash, &frmSplash::finished, this, [] { QApplication::exit(7); });
        connect(&splash, &frmSplash::failed, this, [] { QApplication::exit(8); });
        QTimer::singleShot(15000, this, [] { QApplication::exit(9); });
        splash.start();
        const int code = QApplication::exec();
        operatorHand.stop();

        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked[0].contains(QStringLiteral("Restore the default settings?")), qPrintable(asked[0]));
        QCOMPARE(code, 7); // not ended (0) once the box closed
        QVERIFY(app->scores() && app->scores()->isVisible());
        QCOMPARE(app->model().board.panel[0].lblScoreLeft.text(), QStringLiteral("501"));
        QVERIFY(QGuiApplication::quitOnLastWindowClosed());
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
