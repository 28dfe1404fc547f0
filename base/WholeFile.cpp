#include "base/WholeFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

WholeFile::~WholeFile()
{
    discard();
}

bool WholeFile::fail(int code)
{
    if (failed_ == 0) {
        failed_ = code;
        error_ = QString::fromLocal8Bit(std::strerror(code));
    }
    return false;
}

void WholeFile::discard()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!direct_ && !temp_.isEmpty())
        ::unlink(temp_.constData());
    temp_.clear();
}

bool WholeFile::open(const QString& path, Special special)
{
    discard();
    failed_ = 0;
    error_.clear();
    direct_ = false;
    target_ = QFile::encodeName(path);

    struct stat existing {};
    exists_ = ::stat(target_.constData(), &existing) == 0;
    if (exists_ && S_ISDIR(existing.st_mode))
        return fail(EISDIR);
    if (exists_ && !S_ISREG(existing.st_mode)) {
        if (special == Special::Refuse) {
            failed_ = EINVAL;
            error_ = QStringLiteral("it is not an ordinary file");
            return false;
        }
        // A device or a pipe has no folder to put a new file in: written
        // directly.
        fd_ = ::open(target_.constData(), O_WRONLY | O_CLOEXEC);
        if (fd_ < 0)
            return fail(errno);
        direct_ = true;
        return true;
    }
    // Through a link the file it names is replaced, not the link.
    if (exists_) {
        const QString resolved = QFileInfo(path).canonicalFilePath();
        if (!resolved.isEmpty())
            target_ = QFile::encodeName(resolved);
    }
    mode_ = existing.st_mode & 07777;
    if (!exists_) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode_ = 0666 & ~mask;
    }
    temp_ = target_ + ".XXXXXX";
    fd_ = ::mkstemp(temp_.data());
    if (fd_ < 0) {
        temp_.clear();
        return fail(errno);
    }
    return true;
}

bool WholeFile::write(const QByteArray& bytes)
{
    if (failed_ != 0 || fd_ < 0)
        return false;
    const char* at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, at, std::size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : ENOSPC);
        at += n;
        left -= n;
    }
    return true;
}

bool WholeFile::commit()
{
    if (failed_ != 0 || fd_ < 0) {
        discard();
        return failed_ != 0 ? false : fail(EBADF);
    }
    const int fd = fd_;
    fd_ = -1;
    if (direct_) {
        if (::close(fd) != 0)
            return fail(errno);
        return true;
    }
    int code = 0;
    if (::fchmod(fd, mode_t(mode_)) != 0 || ::fsync(fd) != 0)
        code = errno;
    if (::close(fd) != 0 && code == 0)
        code = errno;
    if (code == 0 && ::rename(temp_.constData(), target_.constData()) != 0)
        code = errno;
    if (code != 0) {
        discard();
        return fail(code);
    }
    temp_.clear();
    return true;
}

bool WholeFile::Write(const QString& path, const QByteArray& bytes, Special special, QString* error)
{
    WholeFile file;
    const bool written = file.open(path, special) && file.write(bytes) && file.commit();
    if (!written && error)
        *error = file.error();
    return written;
}
