#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

#include "Download.h"
#include "GeneralUnit.h"
#include "TestSupport.h"
#include "UpdateServer.h"

namespace {
struct DownloadTest : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(server.Started()); }
    DownloadAreaServer server;
    TempProgramFolder folder;
};

QByteArray Pattern(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

TEST_F(DownloadTest, WritesTheWholeFileAndReportsProgressUpToTheTotal) {
    const QByteArray body = Pattern(300 * 1024);
    server.Put("big.bin", body);
    WriteFileBytes(folder.File("big.bin"), "old");
    QString last = "none"; // the last progress report, done/total
    EXPECT_TRUE(
        DownloadToFile(server.Area() + "big.bin", folder.File("big.bin"),
                       [&](uint64_t done, uint64_t total) { last = QString("%1/%2").arg(done).arg(total); }));
    EXPECT_EQ(ReadFileBytes(folder.File("big.bin")), body);
    EXPECT_EQ(last, QString("%1/%1").arg(body.size()));
    EXPECT_EQ(FilesBelow(folder.Path()), QStringList{"big.bin"});
}

TEST_F(DownloadTest, AnErrorStatusOrAnAbortedTransferLeavesNothingAndKeepsTheOldFile) {
    WriteFileBytes(folder.File("index.inst"), "old");
    QString error;
    EXPECT_FALSE(DownloadToFile(server.Area() + "missing/index.inst", folder.File("index.inst"), {}, &error));
    EXPECT_TRUE(error.contains("404")) << error.toStdString();
    EXPECT_FALSE(DownloadToFile(server.Area() + "missing/new.inst", folder.File("new.inst")));

    server.Put("big.bin", Pattern(100 * 1024));
    EXPECT_THROW(DownloadToFile(server.Area() + "big.bin", folder.File("big.bin"),
                                [](uint64_t, uint64_t) { throw std::runtime_error("stop"); }),
                 std::runtime_error);
    EXPECT_FALSE(DownloadToFile("file:///etc/hostname", folder.File("hostname")));
    // A read-only file is not replaced.
    server.Put("index.inst", "new");
    QFile::setPermissions(folder.File("index.inst"), QFile::ReadOwner);
    EXPECT_FALSE(DownloadToFile(server.Area() + "index.inst", folder.File("index.inst")));
    EXPECT_EQ(FilesBelow(folder.Path()), QStringList{"index.inst"});
    EXPECT_EQ(ReadFileBytes(folder.File("index.inst")), "old");
}

TEST_F(DownloadTest, ASilentServerEndsInAFailureWithinTheBounds) {
    SilentServer silent;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(DownloadToFile(silent.Address() + "index.inst", folder.File("index.inst")));
    QWidget form;
    EXPECT_EQ(ErrorOf([&] { DownloadFile(silent.Address() + "MolvekUPD.exe", folder.Path(), "", &form); }),
              "Error downloading URL: " + silent.Address() + "MolvekUPD.exe");
    EXPECT_LT(clock.elapsed(), 60000); // bounded, not frozen
    EXPECT_TRUE(FilesBelow(folder.Path()).isEmpty());
    EXPECT_EQ(CurrentProgress, nullptr);
}

TEST_F(DownloadTest, DownloadFileShowsItsTallerPanelAndNamesTheFileAfterTheAddress) {
    const QByteArray body = Pattern(200 * 1024);
    server.Put("molvekupd/MolvekUPDA.exe", body);
    QWidget form;
    form.resize(800, 600);
    QDir().mkdir(folder.File("Data"));
    // The panel is up while the bytes arrive: the download lets the window's events run.
    QRect panel;
    QTimer::singleShot(0, [&] {
        if (CurrentProgress)
            panel = CurrentProgress->Panel->geometry();
    });
    EXPECT_TRUE(DownloadFile(server.Area() + "molvekupd/MolvekUPDA.exe", folder.File("Data"), "", &form));
    EXPECT_EQ(panel, QRect(200, 240, 400, 120));
    EXPECT_EQ(ReadFileBytes(folder.File("Data/MolvekUPDA.exe")), body);
    EXPECT_EQ(CurrentProgress, nullptr);
    EXPECT_EQ(form.findChild<QWidget*>("ProgressPanel"), nullptr);
}
} // namespace
