// The driver's command reader on arbitrary lines: every input is a short
// session played on a fresh engine over one database. A "print" or "export"
// line writes into the session's own folder, never where the line says.
#include "tools/SimDriver.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir* home;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    // On a memory file system when there is one: every input opens and
    // closes the database, and waiting for a disk would be most of the run.
    // (Static, so that it is removed when the fuzzer exits.)
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/vantrell-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/vantrell-fuzz-XXXXXX"));
    home = &dir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 4096)
        return 0;
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(u'\n');
    if (lines.size() > 64)
        return 0;

    SimDriver driver(home->path());
    QString error;
    if (!driver.start(&error))
        std::abort();
    QString output;
    const QString printLine = QStringLiteral("print ") + home->filePath(QStringLiteral("printed.pdf"));
    const QString exportLine = QStringLiteral("export ") + home->filePath(QStringLiteral("exported."));
    for (const QString& given : lines) {
        QString line = given;
        if (given.startsWith(QLatin1String("print")))
            line = printLine;
        else if (given.startsWith(QLatin1String("export")))
            line = exportLine + (given.endsWith(QLatin1String("json")) ? QStringLiteral("json") : QStringLiteral("csv"));
        const SimDriver::Result result = driver.run(line, &output, &error);
        if (result == SimDriver::Result::Ok && line == QLatin1String("state") &&
            QJsonDocument::fromJson(output.toUtf8()).isNull())
            std::abort(); // `state` always prints one valid JSON object
    }
    const QJsonObject s = driver.state();
    const qint64 player = s.value(QLatin1String("CurrentPlayer")).toInteger(-1);
    if (player != 0 && player != 1)
        std::abort();
    return 0;
}
