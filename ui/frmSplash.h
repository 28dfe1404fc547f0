#pragma once
// The splash window. Once it is on screen it opens the database; its timer
// then loads the main window one second after the splash appeared, closes
// the splash and offers a match the last run left unfinished.
#include <QTimer>
#include <QWidget>

class VantrellApp;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(VantrellApp& app);

    // Shows the splash and starts its timer.
    void start();

signals:
    // The database could not be opened: the program cannot go on.
    void failed(const QString& error);
    // The main window is loaded and shown.
    void finished();

protected:
    void changeEvent(QEvent* e) override;

private:
    void openDatabase();
    void tick();

    VantrellApp& app_;
    QTimer Timer1_;
    enum class Database { NotOpened, Opening, Open, Failed };
    Database database_ = Database::NotOpened;
    bool restoreQuitOnClose_ = true;
};
