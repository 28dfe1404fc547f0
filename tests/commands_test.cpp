// The command interface's own promises: a command issued by a listener while
// an earlier command's change is being told runs at once but is told only
// after every listener has heard the earlier one (no listener is entered
// twice), and the driver's text commands arrive as the same commands.
#include "tools/SimDriver.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What another program reading the file sees: the log's rows and the
// high-score rows, over a connection of its own.
QString onFile(const QString& path)
{
    QString seen;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reader"));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT COUNT(*) FROM LoggedEvents")) && q.next())
                seen += q.value(0).toString();
            if (q.exec(QStringLiteral("SELECT Name, Score FROM HiScores ORDER BY rowid")))
                while (q.next())
                    seen += u' ' + q.value(0).toString() + u':' + q.value(1).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("reader"));
    return seen;
}

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void a_command_from_a_listener_is_told_after_the_one_being_told()
    {
        QTemporaryDir home;
        SimDriver d(home.path());
        QString error;
        QVERIFY2(d.start(&error), qPrintable(error));
        Commands& c = d.commands();

        // Two listeners, as two windows: the first activates the statistics
        // window when it is shown (a command of its own); both note when they
        // are entered and left.
        QStringList heard;
        int inside = 0, deepest = 0;
        auto listener = [&](const char* who, bool activates) {
            return [&, who, activates](Commands::Parts parts) {
                deepest = std::max(deepest, ++inside);
                heard << QStringLiteral("%1 %2").arg(QLatin1String(who)).arg(parts.toInt());
                if (activates && parts.testFlag(Commands::Part::Statistics) &&
                    c.model().statsWindow.visible && heard.size() == 1)
                    c.statsActivated();
                --inside;
            };
        };
        connect(&c, &Commands::changed, this, listener("first", true));
        connect(&c, &Commands::changed, this, listener("second", false));

        c.showStats(1);

        // Both hear the showing before the activation, each once at a time.
        const int stats = Commands::Parts(Commands::Part::Statistics).toInt();
        QCOMPARE(heard, (QStringList{QStringLiteral("first %1").arg(stats),
                                     QStringLiteral("second %1").arg(stats),
                                     QStringLiteral("first %1").arg(stats),
                                     QStringLiteral("second %1").arg(stats)}));
        QCOMPARE(deepest, 1);
    }

    // A window is told of a command only once the command is on file: a
    // crash at any moment after the screen changed keeps what it showed.
    void a_command_is_on_file_before_the_windows_hear_of_it()
    {
        QTemporaryDir home;
        SimDriver d(home.path());
        QString error, out;
        QVERIFY2(d.start(&error), qPrintable(error));
        const QString path = home.filePath(QStringLiteral("Data/Darts.MDB"));
        QStringList toldWith;
        connect(&d.commands(), &Commands::changed, this, [&](Commands::Parts) { toldWith << onFile(path); });
        const QStringList lines{"throw T20", "throw T20", "throw T20", "throw 20", "undo",   "throw 19",
                                "throw 0",   "options 3", "set legs 2", "ok",      "undo",   "throw 20",
                                "throw 5",   "throw 1",   "throw T20", "throw T20", "throw T20", "winnerok"};
        QString before = onFile(path);
        for (const QString& line : lines) {
            toldWith.clear();
            QCOMPARE(int(d.run(line, &out, &error)), int(SimDriver::Result::Ok));
            const QString after = onFile(path);
            QVERIFY2(!toldWith.isEmpty(), qPrintable(line));
            for (const QString& seen : toldWith)
                QVERIFY2(seen == after, qPrintable(line + QStringLiteral(": told with ") + seen +
                                                    QStringLiteral(", on file after: ") + after));
            QVERIFY2(after != before, qPrintable(line + QStringLiteral(": nothing written")));
            before = after;
        }
    }

    void driver_lines_arrive_as_commands()
    {
        QTemporaryDir home;
        SimDriver d(home.path());
        QString error, out;
        QVERIFY2(d.start(&error), qPrintable(error));
        QList<Commands::Parts> told;
        connect(&d.commands(), &Commands::changed, this,
                [&](Commands::Parts parts) { told << parts; });
        using C = Commands::Command;
        const struct {
            const char* line;
            C command;
        } lines[] = {
            {"throw T20", C::BoardPressed},      {"press 100 200", C::BoardPressed},
            {"move 4000 3000", C::BoardMoved},   {"moveoff", C::PointerOffBoard},
            {"undo", C::Undo},                   {"newgame", C::NewGame},
            {"board 2000 -120 8000 8000", C::PlaceBoard},
            {"winnerok", C::WinnerOk},           {"winnerclose", C::WinnerCloseRequest},
            {"options 2", C::ShowOptions},       {"set name1 Ann", C::OptionsNameTyped},
            {"set legs 3", C::OptionsLegsTyped}, {"set sets 1", C::OptionsSetsTyped},
            {"set start 301", C::OptionsScoreChosen}, {"set players 1", C::OptionsPlayersChosen},
            {"set commentary off", C::OptionsCommentaryChosen},
            {"ok", C::OptionsOk},                {"cancel", C::OptionsCancel},
            {"stats 3", C::ShowStats},           {"hiscores", C::ShowHiScores},
            {"hireset", C::HiScoresReset},       {"hiclose", C::HiScoresClose},
            {"history", C::ShowHistory},
        };
        for (const auto& l : lines) {
            told.clear();
            QCOMPARE(int(d.run(QLatin1String(l.line), &out, &error)), int(SimDriver::Result::Ok));
            QVERIFY2(told == QList<Commands::Parts>{Commands::partsOf(l.command)}, l.line);
        }
    }
};

QTEST_GUILESS_MAIN(CommandsTest)
#include "commands_test.moc"
