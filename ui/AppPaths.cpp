#include "ui/AppPaths.h"

#include <QDir>
#include <QFile>
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

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The program's folder cannot be written, but it may hold the database of
// earlier runs (made while it could be written, or shipped there). Starting
// blank in the user's folder would look like lost settings and high scores,
// so the file is copied there, once: a copy already there is the one in use
// and is never replaced. The copy is made under a name of its own and only
// then given the real one, so a copy cut short never passes for the file.
QString AdoptProgramDatabase(const QString& original, const QString& target)
{
    const QFileInfo found(original);
    if (!found.isFile() || !found.isReadable() || QFileInfo(target).exists()
        || QFileInfo(target).isSymLink())
        return QString();
    QString why;
    const QString partial = target + QStringLiteral(".copying");
    if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
        why = QStringLiteral("its folder could not be made");
    } else {
        QFile::remove(partial);
        QFile source(original);
        if (!source.copy(partial)) {
            why = source.errorString();
        } else if (!QFile::rename(partial, target)) {
            why = QStringLiteral("the copy could not be given its name");
        }
        if (!why.isEmpty())
            QFile::remove(partial);
    }
    if (!why.isEmpty()) {
        // Another copy of the program may have put it there a moment ago.
        if (QFileInfo(target).isFile())
            return QString();
        return QStringLiteral("The program's folder cannot be written, and its database %1 could "
                              "not be copied to %2 (%3).\n\nA new database is made there; the "
                              "settings and high scores of the old one are not in it.")
            .arg(Shown(original), Shown(target), why);
    }
    return QStringLiteral("The program's folder cannot be written, so its database %1 was copied "
                          "to %2.\n\nThe settings and high scores are kept there from now on; "
                          "the file in the program's folder is left as it was.")
        .arg(Shown(original), Shown(target));
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
    if (dataHome != program)
        paths.notice = AdoptProgramDatabase(
            QDir::cleanPath(program.absoluteFilePath(QStringLiteral("Data/Darts.MDB"))),
            paths.databasePath);
    return paths;
}
