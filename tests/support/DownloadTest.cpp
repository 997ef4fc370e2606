#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

#include "CurlHandle.h"
#include "Download.h"
#include "GeneralUnit.h"
#include "PythonPeer.h"
#include "Smtp.h"
#include "TestSupport.h"
#include "UpdateServer.h"

namespace {
// Bounds a test can wait for: 10 B/s for 2 s, a text file 64 KiB in 3 s, a program 1 MiB in 15 s.
constexpr DownloadLimits ShortBounds{5000, 10, 2, 64 << 10, 3, 1 << 20, 15};

struct DownloadTest : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(server.Started()); }
    void TearDown() override { SetDownloadLimits(previous); }
    DownloadAreaServer server;
    TempProgramFolder folder;
    DownloadLimits previous = SetDownloadLimits(ShortBounds);
};

QByteArray Pattern(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

// Each address fetched over a stale target: success replaces it, a failure keeps it and leaves nothing.
TEST_F(DownloadTest, OnlyACompleteSuccessfulTransferWithinItsBoundsReplacesTheTarget) {
    const QByteArray small = "0.91 (build 75)\r\n", big = Pattern(100 << 10), trickled(800, 'y');
    server.Put("small.txt", small);
    server.Put("big.bin", big);
    const QString area = server.Area(), tlsArea = server.Root(true) + "download/";
    const auto text = DownloadKind::Text, program = DownloadKind::Program;
    struct Case {
        const char* name;
        QString url;
        DownloadKind kind;
        QByteArray expected; // empty: the transfer fails
        void (*bounds)(DownloadLimits&) = nullptr;
    };
    const Case cases[] = {
        {"a text file", area + "small.txt", text, small},
        {"a 404 page", area + "missing.txt", text, {}},
        {"a 500 page", server.Root() + "status/500", text, {}},
        {"a redirect without a location", server.Root() + "status/302", text, {}},
        {"http to http", server.Root() + "status/302?to=" + area + "small.txt", text, small},
        {"https to https", server.Root(true) + "status/301?to=" + tlsArea + "small.txt", text, small},
        {"https to http", server.Root(true) + "status/302?to=" + area + "small.txt", text, {}},
        {"a redirect to a local file", server.Root() + "status/302?to=file:///etc/hostname", text, {}},
        {"a local file", "file:///etc/hostname", text, {}},
        {"a text file above its size", area + "big.bin", text, {}},
        {"a program within its size", area + "big.bin", program, big},
        {"an endless program", server.Root() + "endless", program, {}},
        {"a text file past its time", server.Root() + "trickle", text, {}},
        {"a program within its time", server.Root() + "trickle", program, trickled},
        {"a program past its time",
         server.Root() + "trickle",
         program,
         {},
         [](DownloadLimits& l) { l.programSeconds = 3; }},
        {"a program below the low speed",
         server.Root() + "trickle",
         program,
         {},
         [](DownloadLimits& l) { l.lowSpeedBytes = 1000; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DownloadLimits limits = ShortBounds;
        if (c.bounds)
            c.bounds(limits);
        SetDownloadLimits(limits);
        WriteFileBytes(folder.File("target"), "old");
        QString error;
        EXPECT_EQ(DownloadToFile(c.url, folder.File("target"), c.kind, {}, &error), !c.expected.isEmpty())
            << error.toStdString();
        EXPECT_EQ(ReadFileBytes(folder.File("target")), c.expected.isEmpty() ? "old" : c.expected);
        EXPECT_EQ(FilesBelow(folder.Path()), QStringList{"target"});
    }
}

TEST_F(DownloadTest, ProgressRunsUpToTheTotalAndItsExceptionOrARefusedOptionStopsTheTransfer) {
    const QByteArray body = Pattern(300 << 10);
    server.Put("big.bin", body);
    QString last = "none"; // the last progress report, done/total
    EXPECT_TRUE(
        DownloadToFile(server.Area() + "big.bin", folder.File("big.bin"), DownloadKind::Program,
                       [&](uint64_t done, uint64_t total) { last = QString("%1/%2").arg(done).arg(total); }));
    EXPECT_EQ(last, QString("%1/%1").arg(body.size()));
    EXPECT_EQ(ReadFileBytes(folder.File("big.bin")), body);

    EXPECT_THROW(DownloadToFile(server.Area() + "big.bin", folder.File("copy.bin"), DownloadKind::Program,
                                [](uint64_t, uint64_t) { throw std::runtime_error("stop"); }),
                 std::runtime_error);
    // Every option that bounds or guards a transfer is required.
    for (const CURLoption option :
         {CURLOPT_NOSIGNAL, CURLOPT_CONNECTTIMEOUT_MS, CURLOPT_LOW_SPEED_LIMIT, CURLOPT_LOW_SPEED_TIME,
          CURLOPT_TIMEOUT, CURLOPT_PROTOCOLS_STR, CURLOPT_REDIR_PROTOCOLS_STR, CURLOPT_MAXREDIRS,
          CURLOPT_FAILONERROR, CURLOPT_WRITEFUNCTION, CURLOPT_WRITEDATA, CURLOPT_NOPROGRESS,
          CURLOPT_XFERINFOFUNCTION, CURLOPT_XFERINFODATA, CURLOPT_CAINFO}) {
        RefuseCurlOption(option);
        EXPECT_FALSE(DownloadToFile(server.Root(true) + "download/big.bin", folder.File("copy.bin")))
            << option;
    }
    RefuseCurlOption(CURLoption(0));
    // A read-only file is not replaced.
    QFile::setPermissions(folder.File("big.bin"), QFile::ReadOwner);
    EXPECT_FALSE(DownloadToFile(server.Area() + "big.bin", folder.File("big.bin"), DownloadKind::Program));
    EXPECT_EQ(FilesBelow(folder.Path()), QStringList{"big.bin"});
}

TEST_F(DownloadTest, DownloadFileNamesTheFileAfterTheAddressAndRaisesItsFailureWithThePanelGone) {
    const QByteArray body = Pattern(200 << 10); // above a text file's size
    server.Put("MolvekUPDA.exe", body);
    QWidget form;
    EXPECT_TRUE(DownloadFile(server.Area() + "MolvekUPDA.exe", folder.Path(), "", &form));
    EXPECT_EQ(ReadFileBytes(folder.File("MolvekUPDA.exe")), body);
    EXPECT_EQ(ErrorOf([&] { DownloadFile(server.Root() + "endless", folder.Path(), "", &form); }),
              "Error downloading URL: " + server.Root() + "endless");
    EXPECT_EQ(FilesBelow(folder.Path()), QStringList{"MolvekUPDA.exe"});
    EXPECT_EQ(CurrentProgress, nullptr);
    EXPECT_EQ(form.findChild<QWidget*>("ProgressPanel"), nullptr);
}
// The mail send shares the bounded handle and refuses to go without its own options.
TEST(MailSendOptions, ARefusedOptionStopsTheSend) {
    QTemporaryDir kept;
    TPythonPeer peer({SMTP_SERVER_SCRIPT, "u", "p", kept.path()});
    const QString server = "127.0.0.1:" + peer.ReadLine();
    const auto send = [&] {
        return SmtpSend("a@b.sk", "c@d.sk", server, {"Subject: x", "", "text"}, "u", "p");
    };
    for (const CURLoption option :
         {CURLOPT_READFUNCTION, CURLOPT_READDATA, CURLOPT_UPLOAD, CURLOPT_LOW_SPEED_TIME}) {
        RefuseCurlOption(option);
        EXPECT_FALSE(send()) << option;
    }
    RefuseCurlOption(CURLoption(0));
    EXPECT_TRUE(send());
}
} // namespace
