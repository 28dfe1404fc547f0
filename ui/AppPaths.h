#pragma once
// Where the program finds its files. Run from the build tree, everything is
// beside the executable: Data/, sounds/ and Help.htm, and Data/ moves to the
// user's application data folder only when the program's folder cannot be
// written. Installed (no program files beside the executable), the sounds
// and the help page live in the shared data folder (share/vantrell2) and the
// database is always in the user's application data folder: an installed
// program writes nothing below its prefix, even when run by the superuser.
#include <QString>

struct AppPaths {
    QString programFolder;   // the folder holding sounds/ and Help.htm
    QString databasePath;    // .../Data/Darts.MDB; empty when there is nowhere to keep it
    QString soundsFolder;    // .../sounds
    QString helpPage;        // .../Help.htm
    // Said to the operator at start when it is not empty: the database of the
    // program's folder was copied to the user's folder (or could not be), or
    // there is no folder to keep the database in.
    QString notice;

    // Looks round the executable's folder `exeDir`; `appDataDir` is the
    // user's application data folder, used by an installed program and by a
    // build tree whose folder is not writable. A database found in the
    // program's folder is copied there once, so its settings and high scores
    // carry on; a database already in the user's folder is never overwritten.
    static AppPaths locate(const QString& exeDir, const QString& appDataDir);
};

// The product's update page on the maker's web site.
inline constexpr const char* UpdatePageAddress = "http://www.brannoque.com/brannoque_004.htm";
