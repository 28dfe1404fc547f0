// Where the program looks for its database, sounds and help page.
#include "ui/AppPaths.h"

#include <QDir>
#include <QFile>
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
};

QTEST_GUILESS_MAIN(AppPathsTest)
#include "app_paths_test.moc"
