// The command interface's own promises: a command issued by a listener while
// an earlier command's change is being told runs at once but is told only
// after every listener has heard the earlier one (no listener is entered
// twice), and the driver's text commands arrive as the same commands.
#include "tools/SimDriver.h"

#include <QTemporaryDir>
#include <QTest>

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
