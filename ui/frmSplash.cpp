#include "base/AppText.h"
#include "ui/frmSplash.h"

#include "ui/BoardPicture.h"
#include "ui/Twips.h"
#include "ui/VantrellApp.h"
#include "ui/Widgets.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

frmSplash::frmSplash(VantrellApp& app)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint), app_(app)
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(twips::px(6375), twips::px(3165));
    paintWidget(this, palette::PanelBlue, palette::White);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setScaledContents(true);
    picture->setPixmap(QPixmap::fromImage(boardpicture::DesignPicture()));
    twips::place(picture, 0, 0, 2505, 2505);
    makeLabel(this, QStringLiteral("Label2"), QString(), 2510, 0, 3855, 2510, font(),
              palette::Black, palette::Black);
    makeLabel(this, QStringLiteral("Label1"), apptext::Title, 120, 2520, 5955, 795,
              designFont(Face::Arial, 26.25, true), palette::PanelBlue, palette::White);

    Timer1_.setSingleShot(true);
    // A coarse timer may fire tens of milliseconds late; the splash's second
    // is all the waiting start-up should do.
    Timer1_.setTimerType(Qt::PreciseTimer);
    Timer1_.setInterval(1000);
    connect(&Timer1_, &QTimer::timeout, this, &frmSplash::tick);
}

void frmSplash::start()
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.center() - QPoint(width() / 2, height() / 2));
    }
    // A splash screen does not keep the program running by itself: closing
    // the last other window (the answer box of a question asked while the
    // database opens) would end the program before the main window is
    // there. Until the main window is shown, nothing closing ends it.
    restoreQuitOnClose_ = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
    Timer1_.start();
    show();
    // The database is opened when the splash becomes active; a desktop
    // that never activates it (no window manager) must not stall start-up.
    QTimer::singleShot(0, this, &frmSplash::openDatabase);
}

void frmSplash::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        openDatabase();
}

void frmSplash::openDatabase()
{
    if (database_ != Database::NotOpened)
        return;
    database_ = Database::Opening;
    QString error;
    if (app_.openDatabase(&error)) {
        database_ = Database::Open;
    } else {
        database_ = Database::Failed;
        Timer1_.stop();
        QGuiApplication::setQuitOnLastWindowClosed(restoreQuitOnClose_);
        emit failed(error);
    }
}

void frmSplash::tick()
{
    // The main window never loads before the database is open. A question
    // about a damaged file keeps the open step waiting for the operator while
    // the timer runs: the load then waits too.
    openDatabase();
    if (database_ == Database::Opening) {
        Timer1_.start(50);
        return;
    }
    if (database_ != Database::Open)
        return;
    app_.loadMainWindow();
    QGuiApplication::setQuitOnLastWindowClosed(restoreQuitOnClose_);
    emit finished();
    close();
    // Asked over the main window once the splash is gone: a box standing
    // inside the splash showed as an empty black box on a bare X server.
    app_.offerResume();
}
