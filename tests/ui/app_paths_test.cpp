// Where the program looks for its database, sounds and help page.
#include "ui/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class AppPathsTest : public QObject {
    Q_OBJECT

    static void touch(const QString& path)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

private slots:
    void build_tree_keeps_everything_beside_the_program()
    {
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("sounds")));
        touch(dir.filePath(QStringLiteral("Help.htm")));
        const AppPaths paths = AppPaths::locate(root.path(), QStringLiteral("/nowhere/appdata"));
        QCOMPARE(paths.databasePath, dir.filePath(QStringLiteral("Data/Darts.MDB")));
        QCOMPARE(paths.soundsFolder, dir.filePath(QStringLiteral("sounds")));
        QCOMPARE(paths.helpPage, dir.filePath(QStringLiteral("Help.htm")));
    }

    void installed_program_finds_its_shared_files()
    {
        QTemporaryDir root;
        QDir prefix(root.path());
        QVERIFY(prefix.mkpath(QStringLiteral("bin")));
        QVERIFY(prefix.mkpath(QStringLiteral("share/vantrell2/sounds")));
        const QString share = prefix.filePath(QStringLiteral("share/vantrell2"));
        const AppPaths paths =
            AppPaths::locate(prefix.filePath(QStringLiteral("bin")), QStringLiteral("/x/appdata"));
        QCOMPARE(paths.soundsFolder, share + QStringLiteral("/sounds"));
        QCOMPARE(paths.helpPage, share + QStringLiteral("/Help.htm"));
    }

    // Installed, the program's files are below a prefix that the superuser
    // can write to (as the test can write to its temporary prefix), yet the
    // database goes to the user's folder, and so it does when the shared
    // folder is missing altogether; nothing is put beside the executable.
    void installed_program_keeps_its_data_in_the_users_folder()
    {
        for (const bool withShare : {true, false}) {
            QTemporaryDir root, appData;
            QDir prefix(root.path());
            QVERIFY(prefix.mkpath(QStringLiteral("bin")));
            if (withShare) {
                QVERIFY(prefix.mkpath(QStringLiteral("share/vantrell2/sounds")));
                touch(prefix.filePath(QStringLiteral("share/vantrell2/Help.htm")));
            }
            const AppPaths paths =
                AppPaths::locate(prefix.filePath(QStringLiteral("bin")), appData.path());
            QCOMPARE(paths.databasePath,
                     QDir(appData.path()).filePath(QStringLiteral("Data/Darts.MDB")));
            QCOMPARE(paths.programFolder, prefix.filePath(QStringLiteral("share/vantrell2")));
            QVERIFY2(paths.notice.isEmpty(), qPrintable(paths.notice));
            QVERIFY(!prefix.exists(QStringLiteral("bin/Data")));
            QVERIFY(!prefix.exists(QStringLiteral("share/vantrell2/Data")));
        }
    }

    // An earlier version run by the superuser kept its database in the
    // shared folder. Each user's first start copies it to the user's folder,
    // once; the file below the prefix is only read.
    void installed_program_adopts_a_database_left_below_its_prefix()
    {
        QTemporaryDir root, appData;
        QDir prefix(root.path());
        QVERIFY(prefix.mkpath(QStringLiteral("bin")));
        QVERIFY(prefix.mkpath(QStringLiteral("share/vantrell2/sounds")));
        QVERIFY(prefix.mkpath(QStringLiteral("share/vantrell2/Data")));
        const QString original = prefix.filePath(QStringLiteral("share/vantrell2/Data/Darts.MDB"));
        const QByteArray kept = QByteArray("settings and high scores written as root").repeated(50);
        {
            QFile file(original);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(kept);
        }
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        const QString copy = QDir(appData.path()).filePath(QStringLiteral("Data/Darts.MDB"));
        const AppPaths paths = AppPaths::locate(bin, appData.path());
        QCOMPARE(paths.databasePath, copy);
        QCOMPARE(touchBytes(copy), kept);
        QVERIFY2(paths.notice.contains(QDir::toNativeSeparators(original))
                     && paths.notice.contains(QDir::toNativeSeparators(copy))
                     && !paths.notice.contains(QStringLiteral("cannot be written")),
                 qPrintable(paths.notice));

        {
            QFile file(copy);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("played on since");
        }
        const AppPaths again = AppPaths::locate(bin, appData.path());
        QCOMPARE(again.databasePath, copy);
        QVERIFY(again.notice.isEmpty());
        QCOMPARE(touchBytes(copy), QByteArray("played on since"));
        QCOMPARE(touchBytes(original), kept);
        QCOMPARE(QDir(prefix.filePath(QStringLiteral("share/vantrell2/Data")))
                     .entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Darts.MDB")});
    }

    // With no user folder at all an installed program has nowhere to write:
    // no database, and a notice naming the folder it will not write to.
    // A build tree in the same position still keeps Data/ beside itself.
    void without_a_user_folder_only_a_build_tree_has_a_database()
    {
        QTemporaryDir root;
        QDir prefix(root.path());
        QVERIFY(prefix.mkpath(QStringLiteral("bin")));
        QVERIFY(prefix.mkpath(QStringLiteral("share/vantrell2/sounds")));
        const AppPaths installed = AppPaths::locate(prefix.filePath(QStringLiteral("bin")), QString());
        QVERIFY(installed.databasePath.isEmpty());
        QVERIFY2(installed.notice.contains(
                     QDir::toNativeSeparators(prefix.filePath(QStringLiteral("share/vantrell2")))),
                 qPrintable(installed.notice));

        const QString tree = prefix.filePath(QStringLiteral("share/vantrell2"));
        const AppPaths built = AppPaths::locate(tree, QString());
        QCOMPARE(built.databasePath, tree + QStringLiteral("/Data/Darts.MDB"));
        QVERIFY(built.notice.isEmpty());
    }

    void unwritable_program_folder_puts_the_data_in_the_users_folder()
    {
        if (::geteuid() == 0)
            QSKIP("every folder is writable for the superuser");
        QTemporaryDir root, appData;
        QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("sounds")));
        QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::ExeOwner);
        const AppPaths paths = AppPaths::locate(root.path(), appData.path());
        QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(paths.databasePath, QDir(appData.path()).filePath(QStringLiteral("Data/Darts.MDB")));
        QCOMPARE(paths.soundsFolder, dir.filePath(QStringLiteral("sounds")));
    }

    // The program's Data folder cannot be written but holds the database of
    // earlier runs: it is copied, once, to the user's folder, and the notice
    // names both places. A copy already there is never replaced.
    void database_of_an_unwritable_program_folder_is_copied_once()
    {
        QTemporaryDir root, appData;
        QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("sounds")) && dir.mkpath(QStringLiteral("Data")));
        const QString original = dir.filePath(QStringLiteral("Data/Darts.MDB"));
        {
            QFile file(original);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("the settings and high scores of years").repeated(300));
        }
        const QString data = dir.filePath(QStringLiteral("Data"));
        // Read-only for the superuser too where the system allows it.
        const bool immutable = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), data}) == 0;
        if (!immutable)
            QFile::setPermissions(data, QFile::ReadOwner | QFile::ExeOwner);
        struct GiveBack {
            QString data;
            ~GiveBack()
            {
                QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), data});
                QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            }
        } giveBack{data};
        if (QFileInfo(data).isWritable())
            QSKIP("no way to make a folder unwritable here");

        const QString copy = QDir(appData.path()).filePath(QStringLiteral("Data/Darts.MDB"));
        const AppPaths paths = AppPaths::locate(root.path(), appData.path());
        QCOMPARE(paths.databasePath, copy);
        QCOMPARE(touchBytes(copy), touchBytes(original));
        QVERIFY2(paths.notice.contains(QDir::toNativeSeparators(original))
                     && paths.notice.contains(QDir::toNativeSeparators(copy)),
                 qPrintable(paths.notice));
        QCOMPARE(QDir(QFileInfo(copy).absolutePath()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Darts.MDB")}); // no half-made copy beside it

        // The copy is the one in use from now on: later starts leave it be.
        {
            QFile file(copy);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("changed by a later run");
        }
        const AppPaths again = AppPaths::locate(root.path(), appData.path());
        QCOMPARE(again.databasePath, copy);
        QVERIFY(again.notice.isEmpty());
        QCOMPARE(touchBytes(copy), QByteArray("changed by a later run"));
    }

    // A writable program folder keeps its own file and copies nothing.
    void writable_program_folder_copies_nothing()
    {
        QTemporaryDir root, appData;
        QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("Data")));
        touch(dir.filePath(QStringLiteral("Data/Darts.MDB")));
        const AppPaths paths = AppPaths::locate(root.path(), appData.path());
        QCOMPARE(paths.databasePath, dir.filePath(QStringLiteral("Data/Darts.MDB")));
        QVERIFY(paths.notice.isEmpty());
        QVERIFY(!QFileInfo::exists(QDir(appData.path()).filePath(QStringLiteral("Data"))));
    }

private:
    static QByteArray touchBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

QTEST_GUILESS_MAIN(AppPathsTest)
#include "app_paths_test.moc"
