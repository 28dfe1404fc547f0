// Vantrell 2: the splash, then the scoreboard.
#include "base/AppText.h"
#include "ui/AppPaths.h"
#include "ui/BoardPicture.h"
#include "ui/MessageBoxNotifier.h"
#include "ui/SoundPlayer.h"
#include "ui/VantrellApp.h"
#include "ui/frmScores.h"
#include "ui/frmSplash.h"

#include <QApplication>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

namespace {

// For checking the windows on a display without a person in front of it:
// with VANTRELL_SCREENSHOT set to a file name, the whole screen is saved
// there as a PNG every second.
void StartScreenshots(QApplication& app)
{
    const QString path = qEnvironmentVariable("VANTRELL_SCREENSHOT");
    if (path.isEmpty())
        return;
    auto* timer = new QTimer(&app);
    QObject::connect(timer, &QTimer::timeout, &app, [path] {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen)
            return;
        // Written whole or not at all, so a reader never sees half a picture.
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && screen->grabWindow(0).save(&file, "PNG"))
            file.commit();
    });
    timer->start(1000);
}

} // namespace

int main(int argc, char* argv[])
{
    // On X11 the window's pixels go to the server in the request itself, not
    // through shared memory: the scoreboard's paints are small (the aim box,
    // a label), and with shared memory Qt waits on the server before each
    // paint over the last one, a round trip per pointer move that costs both
    // processes more than the pixels. Whoever sets the variable keeps their
    // choice.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vantrell2"));
    QApplication::setApplicationDisplayName(apptext::Title);
    QApplication::setOrganizationName(QStringLiteral("Brannoque"));
    QApplication::setApplicationVersion(QStringLiteral("2.0.2"));
    // Ties the windows to the installed desktop entry (its name and icon on
    // Wayland, where the window's class is not consulted).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.brannoque.vantrell2"));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(boardpicture::DesignPicture())));

    const AppPaths paths = AppPaths::locate(
        QApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));

    if (paths.databasePath.isEmpty()) {
        QMessageBox::critical(nullptr, apptext::Title, paths.notice);
        return 1;
    }

    SoundPlayer sound;
    MessageBoxNotifier notifier;
    VantrellApp::Setup setup;
    setup.databasePath = paths.databasePath;
    setup.soundsFolder = paths.soundsFolder;
    setup.helpPage = paths.helpPage;
    setup.sound = &sound;
    setup.notifier = &notifier;
    VantrellApp vantrell(setup);

    frmSplash splashWindow(vantrell);
    frmSplash* splash = &splashWindow;
    int exitCode = 0;
    QObject::connect(splash, &frmSplash::failed, &app, [&](const QString& error) {
        QMessageBox::critical(nullptr, apptext::Title,
                              error.isEmpty() ? QStringLiteral("The database %1 cannot be opened.")
                                                    .arg(paths.databasePath)
                                              : error);
        exitCode = 1;
        QApplication::exit(1);
    });
    QObject::connect(splash, &frmSplash::finished, &app,
                     [&] { notifier.setParent(vantrell.scores()); });
    StartScreenshots(app);
    // Told before anything else happens: where the settings now live.
    if (!paths.notice.isEmpty())
        notifier.message(paths.notice, apptext::Title);
    // Boxes shown while the splash is up belong to it, and are centred on it.
    notifier.setParent(splash);
    splash->start();

    const int code = app.exec();
    return exitCode != 0 ? exitCode : code;
}
