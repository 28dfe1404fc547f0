#include "ui/AppPaths.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool HoldsProgramFiles(const QDir& dir)
{
    return dir.exists(QStringLiteral("sounds")) || dir.exists(QStringLiteral("Help.htm"))
        || dir.exists(QStringLiteral("Data"));
}

// A folder the program may create Data/ in (or already has it writable).
bool Writable(const QDir& dir)
{
    const QFileInfo data(dir.filePath(QStringLiteral("Data")));
    if (data.exists())
        return data.isDir() && data.isWritable();
    const QFileInfo folder(dir.absolutePath());
    return folder.isDir() && folder.isWritable();
}

} // namespace

AppPaths AppPaths::locate(const QString& exeDir, const QString& appDataDir)
{
    const QDir beside(exeDir);
    QDir program = beside;
    if (!HoldsProgramFiles(beside)) {
        const QDir shared(beside.absoluteFilePath(QStringLiteral("../share/vantrell2")));
        if (HoldsProgramFiles(shared))
            program = shared;
    }

    AppPaths paths;
    paths.programFolder = QDir::cleanPath(program.absolutePath());
    paths.soundsFolder = program.absoluteFilePath(QStringLiteral("sounds"));
    paths.helpPage = program.absoluteFilePath(QStringLiteral("Help.htm"));

    const QDir dataHome = Writable(program) || appDataDir.isEmpty() ? program : QDir(appDataDir);
    paths.databasePath =
        QDir::cleanPath(dataHome.absoluteFilePath(QStringLiteral("Data/Darts.MDB")));
    return paths;
}
