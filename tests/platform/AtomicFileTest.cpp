#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryFile>
#include <cerrno>
#include <unistd.h>

#include "AtomicFile.h"
#include "TestSupport.h"

namespace {
// What the target and the synced descriptor hold at the moment of the sync.
struct SyncWatch {
    explicit SyncWatch(const QString& path) : target(path) {}
    QString target;
    int calls = 0, result = 0;
    QByteArray targetAtSync, syncedBytes;

    SyncFileHook Hook() {
        return [this](int descriptor) {
            ++calls;
            targetAtSync = ReadFileBytes(target);
            char buffer[64] = {};
            const ssize_t read = ::pread(descriptor, buffer, sizeof buffer, 0);
            syncedBytes = QByteArray(buffer, read > 0 ? int(read) : 0);
            if (result != 0)
                errno = EIO;
            return result;
        };
    }
};
} // namespace

TEST(AtomicFileTest, TheWholeNewContentIsSyncedBeforeItReplacesTheOldFileAndAFailedSyncKeepsTheOld) {
    const TempProgramFolder folder;
    SyncWatch watch(folder.File("order.txt"));
    ASSERT_TRUE(WriteFileAtomically(watch.target, "old"));
    const SyncFileHook previous = SetSyncFileHook(watch.Hook());
    EXPECT_TRUE(WriteFileAtomically(watch.target, "new content"));
    // The rename comes after the sync, and every byte is written before it.
    EXPECT_EQ(QList<QByteArray>({watch.targetAtSync, watch.syncedBytes, ReadFileBytes(watch.target)}),
              QList<QByteArray>({"old", "new content", "new content"}));

    // A download filling the file itself goes through the same sync, its buffered bytes flushed first.
    QTemporaryFile temp;
    ASSERT_TRUE(OpenTemporaryFileFor(watch.target, temp));
    temp.write("downloaded");
    EXPECT_TRUE(CommitTemporaryFile(temp, watch.target));
    EXPECT_EQ(QList<QByteArray>({watch.targetAtSync, watch.syncedBytes}),
              QList<QByteArray>({"new content", "downloaded"}));
    EXPECT_EQ(watch.calls, 2);

    // A failed sync keeps the old file and leaves no temporary file.
    watch.result = -1;
    QString error;
    EXPECT_FALSE(WriteFileAtomically(watch.target, "new", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadFileBytes(watch.target), "downloaded");
    EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files | QDir::Hidden), QStringList("order.txt"));
    SetSyncFileHook(previous);
}
