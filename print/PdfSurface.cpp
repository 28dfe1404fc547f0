#include "base/AppText.h"
#include "print/PdfSurface.h"

#include <QDir>
#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::unique_ptr<QPdfWriter> MakeWriter(QIODevice* device)
{
    auto writer = std::make_unique<QPdfWriter>(device);
    const double m = PdfSurface::MarginMillimetres;
    writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(m, m, m, m), QPageLayout::Millimeter));
    writer->setResolution(1200);
    writer->setCreator(apptext::Title);
    writer->setTitle(QStringLiteral("Statistics"));
    return writer;
}

QString CouldNotWrite(const QString& path, const QString& reason)
{
    return QStringLiteral("The file %1 could not be written (%2).")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

PdfSurface::PdfSurface(const QString& path)
    : PdfSurface(path, std::make_unique<QBuffer>())
{
}

// The writer is made on the buffer before the base class reads its page
// layout, and the buffer is owned here so it outlives the writer.
PdfSurface::PdfSurface(const QString& path, std::unique_ptr<QBuffer> buffer)
    : PainterSurface(nullptr), path_(path), buffer_(std::move(buffer))
{
    buffer_->open(QIODevice::WriteOnly);
    writer_ = MakeWriter(buffer_.get());
    setDevice(writer_.get());
}

PdfSurface::~PdfSurface() = default;

bool PdfSurface::finish()
{
    if (!PainterSurface::finish()) {
        setError(CouldNotWrite(path_, error()));
        return false;
    }
    QString reason;
    if (!WriteWhole(path_, buffer_->data(), &reason)) {
        setError(CouldNotWrite(path_, reason));
        return false;
    }
    return true;
}

bool PdfSurface::WriteWhole(const QString& path, const QByteArray& bytes, QString* error)
{
    // Written with the system's calls rather than QFile or QSaveFile: those
    // take a short write on a full disk for success and leave a cut-off file.
    const QByteArray name = QFile::encodeName(path);
    const auto fail = [&](int code) {
        *error = QString::fromLocal8Bit(std::strerror(code));
        return false;
    };
    const auto writeAll = [&](int fd) {
        const char* at = bytes.constData();
        qsizetype left = bytes.size();
        while (left > 0) {
            const ssize_t n = ::write(fd, at, std::size_t(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return n < 0 ? errno : ENOSPC;
            at += n;
            left -= n;
        }
        return 0;
    };

    struct stat existing {};
    const bool exists = ::stat(name.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return fail(EISDIR);
    if (exists && !S_ISREG(existing.st_mode)) {
        // A device or a pipe has no folder to put a new file in: written
        // directly.
        const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            return fail(errno);
        const int code = writeAll(fd);
        if (::close(fd) != 0 && code == 0)
            return fail(errno);
        return code == 0 || fail(code);
    }

    // An ordinary file: a new one beside it, synced, then put in its place,
    // so the old report stays whole until the new one is.
    QByteArray temp = name + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return fail(errno);
    int code = writeAll(fd);
    if (code == 0) {
        mode_t mode = existing.st_mode & 07777;
        if (!exists) {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
            code = errno;
    }
    if (::close(fd) != 0 && code == 0)
        code = errno;
    if (code == 0 && ::rename(temp.constData(), name.constData()) != 0)
        code = errno;
    if (code != 0) {
        ::unlink(temp.constData());
        return fail(code);
    }
    return true;
}
