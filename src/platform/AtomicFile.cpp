#include "AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
bool Fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}
} // namespace

bool WriteFileAtomically(const QString& fileName, const QByteArray& data, QString* error, bool* created) {
    const QFileInfo target(fileName);
    QTemporaryFile temp(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
    if (created)
        *created = false;
    // A read-only file stays read-only: the rename would replace it.
    if (target.exists() && (!target.isWritable() || !(target.permissions() & QFile::WriteOwner)))
        return Fail(error, QStringLiteral("The file is read-only"));
    if (!temp.open())
        return Fail(error, temp.errorString());
    if (created)
        *created = true;
    // Write unbuffered through the descriptor, so every short write or ENOSPC is seen here.
    const int fd = temp.handle();
    const char* bytes = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, bytes, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return Fail(error, QString::fromLocal8Bit(std::strerror(written < 0 ? errno : ENOSPC)));
        bytes += written;
        left -= written;
    }
    if (::fsync(fd) != 0)
        return Fail(error, QString::fromLocal8Bit(std::strerror(errno)));
    if (target.exists())
        temp.setPermissions(QFile(fileName).permissions());
    else
        temp.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    temp.close();
    if (std::rename(QFile::encodeName(temp.fileName()).constData(),
                    QFile::encodeName(fileName).constData()) != 0)
        return Fail(error, QString::fromLocal8Bit(std::strerror(errno)));
    temp.setAutoRemove(false);
    // The rename itself reaches the disk with the folder's entry.
    const int folder = ::open(QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}
