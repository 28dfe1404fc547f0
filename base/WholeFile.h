#pragma once
// A file written whole or not at all. An ordinary file is replaced only once
// its new contents are safely on the disk (written beside it, synced, then
// put in its place), so a failed write never costs the previous file; every
// failed system call is seen and told, a short write on a full disk too,
// which QFile and QSaveFile take for success.
//
// The contents may come in pieces (an export streamed as it is made), so a
// large file is never held in memory whole.
#include <QByteArray>
#include <QString>

class WholeFile {
public:
    // What to do when the name is no ordinary file: write straight into a
    // device or pipe (a report sent to /dev/stdout), or refuse it (an export
    // must never turn a FIFO, or a link to a device, into a plain file).
    enum class Special { WriteInto, Refuse };

    WholeFile() = default;
    ~WholeFile();   // what is not committed is thrown away
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    // False with error() when the file cannot be started.
    bool open(const QString& path, Special special);
    // False with error() on the first write that fails; later ones do nothing.
    bool write(const QByteArray& bytes);
    // Puts the new contents in place. False with error(): the old file, if
    // any, is then as it was.
    bool commit();
    const QString& error() const { return error_; }

    // All of `bytes` at once.
    static bool Write(const QString& path, const QByteArray& bytes, Special special, QString* error);

private:
    bool fail(int code);
    void discard();

    int fd_ = -1;
    bool direct_ = false;   // writing into a device or pipe, no temporary file
    QByteArray target_, temp_;
    unsigned mode_ = 0;
    bool exists_ = false;
    int failed_ = 0;
    QString error_;
};
