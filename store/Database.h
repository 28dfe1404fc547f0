#pragma once
// The program's database file `Data/Darts.MDB` (SQLite): the settings row
// and the high-score table. Made on first start, checked at every start.
#include <QSqlDatabase>
#include <QString>

class Notifier;

class Database {
public:
    enum class Opened { Ok, Failed };

    // How long a write waits for another program holding the file.
    static constexpr int DefaultBusyTimeoutMs = 3000;
    // How many high-score rows a new file starts with.
    static constexpr int NewFileHiScoreRows = 10;

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens the file, creating it (and its folder) with the default rows when
    // it does not exist. A file that cannot be used is left untouched and
    // `error` names the file and what is wrong. A damaged settings row is
    // offered for repair through `notifier`; declining fails the open.
    Opened open(const QString& path, Notifier& notifier, QString* error);
    // Lets go of the file. Record sets made on the connection must be gone.
    void close();

    // Set before open(); a test's way to see a locked file give up quickly.
    void setBusyTimeout(int milliseconds) { busyTimeoutMs_ = milliseconds; }

    QSqlDatabase connection() const { return db_; }
    const QString& path() const { return path_; }
    bool isOpen() const { return db_.isOpen(); }

private:
    QString connectionName_;
    QSqlDatabase db_;
    QString path_;
    int busyTimeoutMs_ = DefaultBusyTimeoutMs;
};
