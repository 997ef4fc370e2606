#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <cerrno>
#include <unistd.h>

#include "AtomicFile.h"
#include "TestSupport.h"

namespace {
QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// What the target and the synced descriptor hold at the moment of the sync.
struct SyncWatch {
    explicit SyncWatch(const QString& path) : target(path) {}
    QString target;
    int calls = 0;
    QByteArray targetAtSync;
    QByteArray syncedBytes;
    int result = 0;

    SyncFileHook Hook() {
        return [this](int descriptor) {
            ++calls;
            targetAtSync = Content(target);
            char buffer[64] = {};
            const ssize_t read = ::pread(descriptor, buffer, sizeof buffer, 0);
            syncedBytes = QByteArray(buffer, read > 0 ? int(read) : 0);
            if (result != 0)
                errno = EIO;
            return result;
        };
    }
};

QStringList FolderEntries(const QString& path) {
    return QDir(path).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}
} // namespace

TEST(AtomicFileTest, TheWholeNewContentIsSyncedBeforeItReplacesTheOldFile) {
    const TempProgramFolder folder;
    SyncWatch watch(folder.File("order.txt"));
    ASSERT_TRUE(WriteFileAtomically(watch.target, "old"));
    const SyncFileHook previous = SetSyncFileHook(watch.Hook());

    EXPECT_TRUE(WriteFileAtomically(watch.target, "new content"));
    EXPECT_EQ(watch.calls, 1);
    EXPECT_EQ(watch.targetAtSync, "old") << "the rename comes after the sync";
    EXPECT_EQ(watch.syncedBytes, "new content") << "every byte is written before the sync";
    EXPECT_EQ(Content(watch.target), "new content");

    // A download filling the file itself goes through the same sync.
    QTemporaryFile temp;
    ASSERT_TRUE(OpenTemporaryFileFor(watch.target, temp));
    temp.write("downloaded");
    EXPECT_TRUE(CommitTemporaryFile(temp, watch.target));
    EXPECT_EQ(watch.calls, 2);
    EXPECT_EQ(watch.targetAtSync, "new content");
    EXPECT_EQ(watch.syncedBytes, "downloaded") << "buffered bytes are flushed before the sync";
    SetSyncFileHook(previous);
}

TEST(AtomicFileTest, AFailedSyncKeepsTheOldFileAndLeavesNoTemporaryFile) {
    const TempProgramFolder folder;
    SyncWatch watch(folder.File("order.txt"));
    ASSERT_TRUE(WriteFileAtomically(watch.target, "old"));
    watch.result = -1;
    const SyncFileHook previous = SetSyncFileHook(watch.Hook());

    QString error;
    EXPECT_FALSE(WriteFileAtomically(watch.target, "new", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(Content(watch.target), "old");
    EXPECT_EQ(FolderEntries(folder.Path()), QStringList("order.txt"));
    SetSyncFileHook(previous);
}
