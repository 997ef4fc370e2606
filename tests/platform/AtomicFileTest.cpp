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

// The replacement keeps the permissions of the file it replaces (not the temporary file's private
// ones); a new file is readable by others, as files written by the program always were.
TEST(AtomicFileTest, AReplacedFileKeepsItsPermissionsAndANewFileGetsTheUsualOnes) {
    const TempProgramFolder folder;
    const QString kept = folder.File("settings.mvk");
    ASSERT_TRUE(WriteFileAtomically(kept, "old"));
    const QFile::Permissions ownerAndGroup =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup;
    ASSERT_TRUE(QFile::setPermissions(kept, ownerAndGroup));
    ASSERT_TRUE(WriteFileAtomically(kept, "new"));
    const QString created = folder.File("order.txt");
    ASSERT_TRUE(WriteFileAtomically(created, "first"));
    const QFile::Permissions ownerBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const auto bits = [&](const QString& file) { return QFile::permissions(file) & (ownerBits | others); };
    EXPECT_EQ(bits(kept), ownerAndGroup);
    EXPECT_EQ(bits(created), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}
