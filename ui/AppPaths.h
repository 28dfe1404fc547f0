#pragma once
// Where the program finds its files. Run from the build tree, everything is
// beside the executable: Data/, sounds/ and Help.htm. Installed, the sounds
// and the help page live in the shared data folder (share/vantrell2), and the
// database goes wherever the program's folder cannot be written: the user's
// application data folder.
#include <QString>

struct AppPaths {
    QString programFolder;   // the folder holding sounds/ and Help.htm
    QString databasePath;    // .../Data/Darts.MDB
    QString soundsFolder;    // .../sounds
    QString helpPage;        // .../Help.htm
    // Said to the operator at start when it is not empty: the database of an
    // unwritable program folder was copied to the user's folder (or could
    // not be).
    QString notice;

    // Looks round the executable's folder `exeDir`; `appDataDir` is the
    // user's application data folder, used when the program's folder is not
    // writable. A database found in the unwritable program folder is copied
    // there once, so its settings and high scores carry on; a database
    // already in the user's folder is never overwritten.
    static AppPaths locate(const QString& exeDir, const QString& appDataDir);
};

// The product's update page on the maker's web site.
inline constexpr const char* UpdatePageAddress = "http://www.brannoque.com/brannoque_004.htm";
