// vantrell-sim: the program without its windows. Every event the operator can
// cause is a line of text on standard input; `state` prints everything the
// windows would show as one line of JSON. Scenario tests, benchmarks and
// fault tests drive the real engine through it, and a bug report can be
// replayed with it.
#include "tools/CommandLine.h"
#include "tools/SimDriver.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    // Printing lays text out with real fonts, which need a GUI application;
    // the driver never opens a window, so it runs on the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString home;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--home" && i + 1 < args.size()) {
            home = args[++i];
        } else {
            std::fprintf(stderr, "usage: vantrell-sim [--home DIR]\n");
            return 2;
        }
    }
    QTemporaryDir scratch;
    if (home.isEmpty()) {
        if (!scratch.isValid()) {
            std::fprintf(stderr, "vantrell-sim: cannot make a temporary folder\n");
            return 1;
        }
        home = scratch.path();
    }

    SimDriver driver(home);
    QString error;
    if (!driver.start(&error)) {
        std::fprintf(stderr, "vantrell-sim: %s\n", qPrintable(error));
        return 1;
    }

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    qint64 lineNumber = 0;
    QString line;
    for (;;) {
        const commandline::Read read = commandline::ReadLine(stdin, &line);
        if (read == commandline::Read::End)
            break;
        ++lineNumber;
        if (read == commandline::Read::TooLong) {
            out.flush();
            std::fprintf(stderr, "vantrell-sim: line %lld: longer than %lld bytes: \"%s\"\n",
                         static_cast<long long>(lineNumber),
                         static_cast<long long>(commandline::MaxLineBytes),
                         qPrintable(commandline::Quoted(line)));
            return 2;
        }
        QString output;
        switch (driver.run(line, &output, &error)) {
        case SimDriver::Result::Ok:
            if (!output.isEmpty()) {
                out << output << '\n';
                out.flush();
            }
            // A command carried out with nothing to show for it.
            if (!error.isEmpty())
                std::fprintf(stderr, "vantrell-sim: line %lld: %s\n", static_cast<long long>(lineNumber),
                             qPrintable(error));
            break;
        case SimDriver::Result::BadCommand:
            out.flush();
            std::fprintf(stderr, "vantrell-sim: line %lld: cannot read \"%s\"%s%s\n",
                         static_cast<long long>(lineNumber), qPrintable(commandline::Quoted(line)),
                         error.isEmpty() ? "" : ": ", qPrintable(error));
            return 2;
        case SimDriver::Result::Failed:
            out.flush();
            std::fprintf(stderr, "vantrell-sim: line %lld: %s\n", static_cast<long long>(lineNumber), qPrintable(error));
            return 1;
        }
    }
    return 0;
}
