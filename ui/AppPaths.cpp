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

// Why the database is not taken from the program's folder, and so which
// notice tells the operator about a copy made from it.
enum class Move { Unwritable, Installed };

// The program's folder may hold the database of earlier runs: made while the
// folder could be written (an earlier version kept it there whenever it
// could, so an installed copy run by the superuser wrote below /usr), or
// shipped there. Starting blank in the user's folder would look like lost
// settings and high scores, so the file is copied there, once: a copy
// already there is the one in use and is never replaced. The copy is made
// under a name of its own and only then given the real one, so a copy cut
// short never passes for the file.
QString AdoptProgramDatabase(const QString& original, const QString& target, Move move)
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
    const QString reason = move == Move::Unwritable
        ? QStringLiteral("The program's folder cannot be written")
        : QStringLiteral("The installed program keeps its data in your own folder");
    if (!why.isEmpty()) {
        // Another copy of the program may have put it there a moment ago.
        if (QFileInfo(target).isFile())
            return QString();
        return QStringLiteral("%1, and its database %2 could not be copied to %3 (%4).\n\nA new "
                              "database is made there; the settings and high scores of the old one "
                              "are not in it.")
            .arg(reason, Shown(original), Shown(target), why);
    }
    return QStringLiteral("%1, so its database %2 was copied to %3.\n\nThe settings and high "
                          "scores are kept there from now on; the file in the program's folder is "
                          "left as it was.")
        .arg(reason, Shown(original), Shown(target));
}

} // namespace

AppPaths AppPaths::locate(const QString& exeDir, const QString& appDataDir)
{
    // Program files beside the executable mean a build tree or a folder the
    // program was copied to as a whole: it keeps Data/ beside itself while it
    // can. Anything else is an installed program, whose files are below the
    // installation prefix, and an installed program never writes there,
    // whoever runs it: for the superuser every folder is writable, so
    // whether the folder can be written says nothing about whether it should.
    const QDir beside(exeDir);
    const bool installed = !HoldsProgramFiles(beside);
    const QDir program =
        installed ? QDir(beside.absoluteFilePath(QStringLiteral("../share/vantrell2"))) : beside;

    AppPaths paths;
    paths.programFolder = QDir::cleanPath(program.absolutePath());
    paths.soundsFolder = QDir::cleanPath(program.absoluteFilePath(QStringLiteral("sounds")));
    paths.helpPage = QDir::cleanPath(program.absoluteFilePath(QStringLiteral("Help.htm")));

    const QString database = QStringLiteral("Data/Darts.MDB");
    const bool besideProgram = !installed && (Writable(program) || appDataDir.isEmpty());
    if (besideProgram) {
        paths.databasePath = QDir::cleanPath(program.absoluteFilePath(database));
        return paths;
    }
    if (appDataDir.isEmpty()) {
        // No place of the user's own: nothing may be written, so there is
        // no database, and the start says why.
        paths.notice = QStringLiteral("There is no folder of your own to keep the program's data "
                                      "in, and the installed program does not write to %1.")
                           .arg(Shown(paths.programFolder));
        return paths;
    }
    paths.databasePath = QDir::cleanPath(QDir(appDataDir).absoluteFilePath(database));
    paths.notice = AdoptProgramDatabase(QDir::cleanPath(program.absoluteFilePath(database)),
                                        paths.databasePath,
                                        installed ? Move::Installed : Move::Unwritable);
    return paths;
}
