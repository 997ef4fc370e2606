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

QString SystemReason(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

// A read-only file stays read-only: the rename would replace it.
bool IsReadOnly(const QFileInfo& target) {
    return target.exists() && (!target.isWritable() || !(target.permissions() & QFile::WriteOwner));
}

const QString ReadOnlyReason = QStringLiteral("The file is read-only");

SyncFileHook& SyncHook() {
    static SyncFileHook hook;
    return hook;
}

int SyncFile(int descriptor) {
    return SyncHook() ? SyncHook()(descriptor) : ::fsync(descriptor);
}
} // namespace

SyncFileHook SetSyncFileHook(SyncFileHook hook) {
    SyncFileHook previous = std::move(SyncHook());
    SyncHook() = std::move(hook);
    return previous;
}

bool OpenTemporaryFileFor(const QString& fileName, QTemporaryFile& temp, QString* error) {
    const QFileInfo target(fileName);
    if (IsReadOnly(target))
        return Fail(error, ReadOnlyReason);
    temp.setFileTemplate(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
    if (!temp.open())
        return Fail(error, temp.errorString());
    return true;
}

bool CommitTemporaryFile(QTemporaryFile& temp, const QString& fileName, QString* error) {
    const auto failed = [&](const QString& reason) {
        temp.remove();
        return Fail(error, reason);
    };
    const QFileInfo target(fileName);
    if (IsReadOnly(target))
        return failed(ReadOnlyReason);
    if (!temp.flush())
        return failed(temp.errorString());
    if (SyncFile(temp.handle()) != 0)
        return failed(SystemReason(errno));
    if (target.exists())
        temp.setPermissions(QFile(fileName).permissions());
    else
        temp.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    temp.close();
    if (std::rename(QFile::encodeName(temp.fileName()).constData(),
                    QFile::encodeName(fileName).constData()) != 0)
        return failed(SystemReason(errno));
    temp.setAutoRemove(false);
    // The rename itself reaches the disk with the folder's entry.
    const int folder = ::open(QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

bool WriteFileAtomically(const QString& fileName, const QByteArray& data, QString* error, bool* created) {
    QTemporaryFile temp;
    if (created)
        *created = false;
    if (!OpenTemporaryFileFor(fileName, temp, error))
        return false;
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
            return Fail(error, SystemReason(written < 0 ? errno : ENOSPC));
        bytes += written;
        left -= written;
    }
    return CommitTemporaryFile(temp, fileName, error);
}
