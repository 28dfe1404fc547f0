#pragma once
// The program's database file `Data/Darts.MDB` (SQLite): the settings row
// and the high-score table. Made on first start, checked at every start.
#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <memory>

class Notifier;
class QLockFile;

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
    // Lets go of a file that was opened but turned out unusable afterwards:
    // it is put back byte for byte as open() found it, and the side files
    // open() made are removed, so a refused file is never changed.
    void refuse();
    // The opened file is taken for good: the copy of it kept for refuse()
    // (as large as the file) is let go.
    void accept() { forgetSnapshot(); }

    // Claims the database's folder for this program while it runs, with a
    // lock file beside the database, before the file is opened or made. A
    // folder held by another running program is refused (`error` says so),
    // and so is a lock file that is no ordinary file; a lock that names no
    // running copy (left by a crash, or empty after a power cut) is taken
    // over. Where no lock file can be made or a stale one removed (a
    // read-only folder) the claim is waived, said through `notifier` for a
    // stale one: nothing can be written there anyway.
    bool claimFolder(const QString& path, Notifier& notifier, QString* error);

    // Whether the open file took a trial write. A file that cannot be
    // written is still used, for reading.
    bool writable() const { return writable_; }
    // Why the trial write failed; empty when it did not.
    const QString& unwritableReason() const { return unwritableReason_; }
    // What is wrong with the match log's tables when they alone are damaged
    // (the file is used without its log); empty when they are sound.
    const QString& logDamage() const { return logDamage_; }

    // The one rule for a write that failed: the operator hears about it once
    // per run, and not at all when the start already said that nothing
    // would be kept. Play goes on either way.
    void reportFailedWrite(Notifier& notifier, const QString& text);

    // Set before open(); a test's way to see a locked file give up quickly.
    void setBusyTimeout(int milliseconds) { busyTimeoutMs_ = milliseconds; }

    QSqlDatabase connection() const { return db_; }
    const QString& path() const { return path_; }
    bool isOpen() const { return db_.isOpen(); }

private:
    void forgetSnapshot();
    // Keeps the file's bytes and its side files as found, for refuse().
    void takeSnapshot(const QString& path);
    // A rolled-back trial write decides writable() and its reason.
    void tryWriting();

    QString connectionName_;
    QSqlDatabase db_;
    QString path_;
    int busyTimeoutMs_ = DefaultBusyTimeoutMs;
    bool writable_ = false;
    QString unwritableReason_;
    QString logDamage_;
    bool failedWriteReported_ = false;
    std::unique_ptr<QLockFile> lock_;
    // The file as open() found it, until close(), for refuse().
    bool haveSnapshot_ = false;
    QByteArray snapshot_;
    QStringList sideFilesBefore_;
};
