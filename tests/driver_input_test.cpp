// The driver's input is whatever a script or a person pipes into it: lines
// of any length, any bytes, numbers that are not numbers. None of it may
// score a dart, cost unbounded memory or write raw control characters to
// the terminal that shows the error.
#include "tools/CommandLine.h"
#include "tools/SimDriver.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

namespace {

struct Run {
    int exit = -1;
    QByteArray out;
    QByteArray err;
};

Run Drive(const QByteArray& input)
{
    QProcess sim;
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../vantrell-sim"), {});
    Run run;
    if (!sim.waitForStarted(10000))
        return run;
    sim.write(input);
    sim.closeWriteChannel();
    if (!sim.waitForFinished(60000))
        return run;
    run.exit = sim.exitCode();
    run.out = sim.readAllStandardOutput();
    run.err = sim.readAllStandardError();
    return run;
}

// Reads every line of bytes through the driver's reader.
QList<std::pair<commandline::Read, QString>> ReadAll(const QByteArray& bytes)
{
    QList<std::pair<commandline::Read, QString>> lines;
    QByteArray copy = bytes;
    std::FILE* in = fmemopen(copy.data(), std::size_t(copy.size()), "r");
    if (!in)
        return lines;
    for (;;) {
        QString line;
        const commandline::Read read = commandline::ReadLine(in, &line);
        if (read == commandline::Read::End)
            break;
        lines.append({read, line});
        if (read == commandline::Read::TooLong)
            break;
    }
    std::fclose(in);
    return lines;
}

} // namespace

class DriverInputTest : public QObject {
    Q_OBJECT
private slots:
    void positionsMustBeFiniteNumbers();
    void linesAreReadWithinTheLimit();
    void badLinesAreQuotedSafely();
    void theDriverStopsAtABadLine();
};

void DriverInputTest::positionsMustBeFiniteNumbers()
{
    QTemporaryDir home;
    SimDriver driver(home.path());
    QString error;
    QVERIFY2(driver.start(&error), qPrintable(error));
    QString out;
    for (const char* line : {"press nan nan", "press inf 100", "press 100 -inf", "move nan 0",
                             "press NaN 3000", "press infinity 3000", "board 0 0 inf 7650",
                             "board 0 nan 7650 7650", "press 1e999 0"})
        QVERIFY2(driver.run(QLatin1String(line), &out, &error) == SimDriver::Result::BadCommand, line);
    // Ordinary decimals and exponents are still positions.
    QVERIFY(driver.run(QStringLiteral("press 3825.5 3705"), &out, &error) == SimDriver::Result::Ok);
    QVERIFY(driver.run(QStringLiteral("press 3.8e3 3705"), &out, &error) == SimDriver::Result::Ok);
    // Two darts, both bulls: none of the refused lines counted.
    QCOMPARE(driver.state().value(u"DartsInVisit").toInt(), 2);
}

void DriverInputTest::linesAreReadWithinTheLimit()
{
    using commandline::Read;
    const QByteArray full(commandline::MaxLineBytes, 'x');
    auto lines = ReadAll("state\r\n#" + full.left(full.size() - 1) + "\nundo");
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0].second, QStringLiteral("state"));   // "\r\n" ends a line too
    QCOMPARE(lines[1].first, Read::Line);                  // exactly at the limit
    QCOMPARE(lines[1].second.size(), commandline::MaxLineBytes);
    QCOMPARE(lines[2].second, QStringLiteral("undo"));     // the last line needs no "\n"

    lines = ReadAll("state\n" + full + "x\nundo\n");
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[1].first, Read::TooLong);
    QVERIFY(lines[1].second.size() <= commandline::QuotedCharacters * 4);

    // A NUL is part of the line, not its end.
    lines = ReadAll(QByteArray("sta\0te\n", 7));
    QCOMPARE(lines[0].second, QString::fromUtf8("sta\0te", 6));
}

void DriverInputTest::badLinesAreQuotedSafely()
{
    const QString nasty = QString::fromUtf8("a\0b\x1b[31m\x7f\tz\"\\", 13) + QChar(0x202E) + QChar(0x85);
    const QString quoted = commandline::Quoted(nasty);
    for (const QChar ch : quoted)
        QVERIFY2(ch.unicode() >= 0x20 && ch.unicode() != 0x7f && ch.unicode() != 0x202E
                     && ch.unicode() != 0x85,
                 qPrintable(quoted));
    QCOMPARE(quoted, QStringLiteral("a\\u0000b\\u001b[31m\\u007f\\tz\\\"\\\\\\u202e\\u0085"));

    const QString longLine = QString(300, u'y');
    QCOMPARE(commandline::Quoted(longLine), QString(200, u'y') + QStringLiteral("..."));
    // A character outside the basic plane is never cut in half.
    const QString emoji = QString(199, u'y') + QString::fromUtf8("\xF0\x9F\x8E\xAF") + u'z';
    QCOMPARE(commandline::Quoted(emoji), QString(199, u'y') + QStringLiteral("..."));
    QCOMPARE(commandline::Quoted(QStringLiteral("T20 \u00e9")), QStringLiteral("T20 \u00e9"));
}

void DriverInputTest::theDriverStopsAtABadLine()
{
    // A bad line's number and text (escaped) on standard error, exit 2, and
    // nothing after it applied.
    Run run = Drive(QByteArray("throw T20\npress nan nan\x01\nstate\n"));
    QCOMPARE(run.exit, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains("line 2: cannot read \"press nan nan\\u0001\""), run.err.constData());

    // A runaway line: refused once it passes the limit, quoted short.
    QByteArray huge = "state\n" + QByteArray(4 * 1024 * 1024, 'z') + "\nstate\n";
    run = Drive(huge);
    QCOMPARE(run.exit, 2);
    QCOMPARE(run.out.count('\n'), 1);
    QVERIFY2(run.err.contains("line 2: longer than 65536 bytes"), run.err.constData());
    QVERIFY(run.err.size() < 400);
}

QTEST_GUILESS_MAIN(DriverInputTest)
#include "driver_input_test.moc"
