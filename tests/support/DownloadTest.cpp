#include <QWidget>
#include <stdexcept>

#include "CurlHandle.h"
#include "GeneralUnit.h"
#include "HandlerGuard.h"
#include "Smtp.h"
#include "UpdateServer.h"

namespace {
struct DownloadTest : ::testing::Test {
    DownloadAreaServer server;
    TempProgramFolder folder;
};

QByteArray Pattern(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

// Each address fetched over a stale target: success replaces it, a failure keeps it and leaves nothing.
TEST_F(DownloadTest, OnlyACompleteSuccessfulTransferWithinItsBoundsReplacesTheTarget) {
    const QByteArray text = Pattern(64 << 10), program = Pattern(1 << 20), trickled(800, 'y');
    server.Put("text", text);
    server.Put("text+1", text + "x");
    server.Put("program", program);
    server.Put("program+1", program + "x");
    const QString area = server.Area(), status = server.Root() + "status/";
    const QString tlsStatus = server.Root(true) + "status/", trickle = server.Root() + "trickle";
    const auto Text = DownloadKind::Text, Program = DownloadKind::Program;
    const struct {
        const char* name;
        QString url;
        DownloadKind kind;
        QByteArray expected; // empty: the transfer fails
        long lowSpeedBytes = 10, programSeconds = 15;
    } cases[] = {
        {"a text file at its size", area + "text", Text, text},
        {"a text file above its size", area + "text+1", Text, {}},
        {"a program at its size", area + "program", Program, program},
        {"a program above its size", area + "program+1", Program, {}},
        {"a redirect without a location", status + "302", Text, {}},
        {"http to http", status + "302?to=" + area + "text", Text, text},
        {"https to https", tlsStatus + "301?to=" + server.Root(true) + "download/text", Text, text},
        {"https to http", tlsStatus + "302?to=" + area + "text", Text, {}},
        {"a redirect to a local file", status + "302?to=file:///etc/hostname", Text, {}},
        {"a local file", "file:///etc/hostname", Text, {}},
        {"a text file past its time", trickle, Text, {}},
        {"a program within its time", trickle, Program, trickled},
        {"a program past its time", trickle, Program, {}, 10, 3},
        {"a program below the low speed", trickle, Program, {}, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Bounds a test can wait for: 10 B/s for 2 s, a text file 64 KiB in 3 s, a program 1 MiB in 15 s.
        SetDownloadLimits({5000, c.lowSpeedBytes, 2, 64 << 10, 3, 1 << 20, c.programSeconds});
        WriteFileBytes(folder.File("target"), "old");
        EXPECT_EQ(DownloadToFile(c.url, folder.File("target"), c.kind), !c.expected.isEmpty());
        EXPECT_EQ(ReadFileBytes(folder.File("target")), c.expected.isEmpty() ? "old" : c.expected);
        EXPECT_EQ(FilesBelow(folder.Path()), QStringList{"target"});
    }
    SetDownloadLimits({});
}

TEST_F(DownloadTest, ProgressRunsToTheTotalAnExceptionOrRefusedOptionStopsTheTransferDownloadFileRaises) {
    const QByteArray body = Pattern((1 << 20) + 1); // above a text file's size
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

    // DownloadFile names the file after the address and raises its failure with the panel gone.
    server.Put("MolvekUPDA.exe", body);
    QWidget form;
    EXPECT_TRUE(DownloadFile(server.Area() + "MolvekUPDA.exe", folder.Path(), "", &form));
    EXPECT_EQ(ReadFileBytes(folder.File("MolvekUPDA.exe")), body);
    EXPECT_EQ(ErrorOf([&] { DownloadFile(server.Area() + "missing.exe", folder.Path(), "", &form); }),
              "Error downloading URL: " + server.Area() + "missing.exe");
    EXPECT_EQ(FilesBelow(folder.Path()), QStringList({"MolvekUPDA.exe", "big.bin"}));
    EXPECT_EQ(CurrentProgress, nullptr);
    EXPECT_EQ(form.findChild<QWidget*>("ProgressPanel"), nullptr);
}

// Closing the program stops a transfer: a caller that does not expect it sees an ordinary error.
TEST_F(DownloadTest, AStoppedTransferIsAnErrorTheHandlerGuardShows) {
    server.Put("big.bin", Pattern(1 << 20));
    MessageBoxRecorder boxes;
    EXPECT_FALSE(RunGuarded([&] {
        DownloadToFile(server.Area() + "big.bin", folder.File("big.bin"), DownloadKind::Program,
                       [](uint64_t, uint64_t) { StopTransfers(); });
    }));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text + QString::number(boxes.Shown()[0].flags),
              QStringLiteral("Sťahovanie bolo prerušené.16"));
    EXPECT_EQ(FilesBelow(folder.Path()), QStringList());
    // The stop ended with the transfer: the next one runs.
    EXPECT_TRUE(DownloadToFile(server.Area() + "big.bin", folder.File("big.bin"), DownloadKind::Program));
}

// The mail send shares the bounded handle and refuses to go without its own options.
TEST(MailSendOptions, ARefusedOptionStopsTheSend) {
    QTemporaryDir kept;
    TPythonPeer peer({SMTP_SERVER_SCRIPT, "u", "p", kept.path(), "--starttls", TLS_PEER_PEM});
    SetDownloadCaFile(TLS_PEER_PEM);
    const QString server = "127.0.0.1:" + peer.ReadLine();
    for (const CURLoption option :
         {CURLOPT_READFUNCTION, CURLOPT_READDATA, CURLOPT_UPLOAD, CURLOPT_USE_SSL, CURLOPT_CAINFO,
          CURLOPT_LOW_SPEED_TIME, CURLOPT_SOCKOPTFUNCTION, CURLOPT_SOCKOPTDATA, CURLOPT_CLOSESOCKETFUNCTION,
          CURLOPT_CLOSESOCKETDATA, CURLoption(0)}) {
        RefuseCurlOption(option);
        EXPECT_EQ(SmtpSend({"a@b.sk", "c@d.sk", server, {"Subject: x", "", "text"}, "u", "p"}).accepted,
                  option == 0)
            << option;
    }
    SetDownloadCaFile({});
}
} // namespace
