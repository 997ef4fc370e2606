#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <unistd.h>

#include "AtomicFile.h"
#include "TestSupport.h"

TEST(AtomicFileTest, TheWholeNewContentIsSyncedBeforeItReplacesTheOldFileAndAFailedSyncKeepsTheOld) {
    const TempProgramFolder folder;
    const QString target = folder.File("order.txt");
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    // What the target and the synced descriptor hold at the moment of the sync.
    struct {
        int calls = 0, result = 0;
        QByteArray targetAtSync, syncedBytes;
    } watch;
    const SyncFileHook previous = SetSyncFileHook([&](int descriptor) {
        ++watch.calls;
        watch.targetAtSync = ReadFileBytes(target);
        char buffer[64] = {};
        watch.syncedBytes =
            QByteArray(buffer, std::max(0, int(::pread(descriptor, buffer, sizeof buffer, 0))));
        errno = watch.result ? EIO : errno;
        return watch.result;
    });
    EXPECT_TRUE(WriteFileAtomically(target, "new content"));
    // The rename comes after the sync, and every byte is written before it.
    EXPECT_EQ(QList<QByteArray>({watch.targetAtSync, watch.syncedBytes, ReadFileBytes(target)}),
              QList<QByteArray>({"old", "new content", "new content"}));

    // A download filling the file itself goes through the same sync, its buffered bytes flushed first.
    QTemporaryFile temp;
    ASSERT_TRUE(OpenTemporaryFileFor(target, temp));
    temp.write("downloaded");
    EXPECT_TRUE(CommitTemporaryFile(temp, target));
    EXPECT_EQ(QList<QByteArray>({watch.targetAtSync, watch.syncedBytes}),
              QList<QByteArray>({"new content", "downloaded"}));
    EXPECT_EQ(watch.calls, 2);

    // A failed sync keeps the old file and leaves no temporary file.
    watch.result = -1;
    QString error;
    EXPECT_FALSE(WriteFileAtomically(target, "new", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadFileBytes(target), "downloaded");
    EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files | QDir::Hidden), QStringList("order.txt"));
    SetSyncFileHook(previous);
}
