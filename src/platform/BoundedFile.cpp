#include "BoundedFile.h"

#include <QFile>
#include <QScopeGuard>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool ScanBoundedFile(const QString& path, qint64 maxBytes, const std::function<bool(QByteArrayView)>& chunk) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false; // not opened at all: opening a device may act on it
    // Without waiting, and checked again on what was opened: the name may have been replaced
    // meanwhile by a FIFO, whose open would wait for a writer.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxBytes)
        return false;

    qint64 total = 0;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == 0)
            return true;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        total += count;
        if (total > maxBytes) // grown since it was measured
            return false;
        if (!chunk(QByteArrayView(buffer, count)))
            return true;
    }
}

std::optional<QByteArray> ReadBoundedFile(const QString& path, qint64 maxBytes) {
    QByteArray bytes;
    if (!ScanBoundedFile(path, maxBytes, [&](QByteArrayView piece) {
            bytes.append(piece);
            return true;
        }))
        return std::nullopt;
    return bytes;
}
