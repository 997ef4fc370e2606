#include "GeneralUnit.h"
#include "ProgramFixture.h"
#include "SupportFixture.h"
#include "VersionBlock.h"

// This test program is the running program of FinishUpdate: version 0.89 (build 64).
DEFINE_VERSION_BLOCK("0.8.9.64");

namespace {
const ShownBox Done{QStringLiteral("Aktualizácia prebehla úspešne."), "Vozopis", 64};
const ShownBox Failed{QStringLiteral("Aktualizácia bola neúspešná!\rV prípade problémov nás prosím "
                                     "kontaktujte cez e-mail (\"podpora@molvek.sk\")."),
                      "Vozopis", 48};

TEST(FinishUpdate, TheStartTellsOnceWhetherTheExpectedVersionRunsAndRemovesOnlyAnEmptyUpdaterFolder) {
    TempProgramFolder folder;
    MessageBoxRecorder boxes;
    // The expected version is read from a text file's size at most (1 MiB).
    const QByteArray own = "0.89 (build 64)\r\n";
    const QByteArray largest = own + QByteArray((1 << 20) - own.size(), 'x');
    for (const QByteArray& expected : {own, QByteArray("0.91 (build 75)\r\n"), QByteArray(),
                                       QByteArray("1.2.3\r\n"), largest, largest + 'x'}) {
        WriteFileBytes(folder.File("updating.temp"), expected);
        FinishUpdate("Vozopis");
        FinishUpdate("Vozopis"); // the outcome is told once
        EXPECT_FALSE(UpdateRunning);
    }
    EXPECT_EQ(boxes.Shown(), Boxes({Done, Failed, Failed, Failed, Done, Failed}));

    QDir().mkpath(folder.File("TempUpd/kept"));
    FinishUpdate("Vozopis");
    EXPECT_TRUE(QDir(folder.File("TempUpd/kept")).exists());
    QDir().rmdir(folder.File("TempUpd/kept"));
    FinishUpdate("Vozopis");
    EXPECT_FALSE(QDir(folder.File("TempUpd")).exists());

    // The start of the program tells it.
    StartedProgram program;
    WriteFileBytes(program.folder.File("updating.temp"), own);
    program.Restart();
    EXPECT_EQ(boxes.Shown(), Boxes({Done, Failed, Failed, Failed, Done, Failed, Done}));
}

// Neither a FIFO nor a device is read; each tells of a failed update once and is taken away. A
// folder, which cannot be taken away, tells nothing, so that no start repeats a message.
TEST(FinishUpdate, AnExpectedVersionThatIsNoRegularFileIsNeitherWaitedOnNorReadWhole) {
    MessageBoxRecorder boxes;
    StartedProgram program;
    const QString expected = program.folder.File("updating.temp");
    {
        const FifoRescue fifo(expected);
        program.Restart();
        program.Restart();
        EXPECT_EQ(fifo.readers, 0) << "the start waited on the FIFO";
    }
    QFile::link("/dev/zero", expected);
    program.Restart();
    program.Restart();
    EXPECT_EQ(boxes.Shown(), Boxes({Failed, Failed}));
    EXPECT_FALSE(QFileInfo(expected).isSymLink());

    QDir().mkdir(expected);
    program.Restart();
    program.Restart();
    EXPECT_EQ(boxes.Shown().size(), 2u);
    EXPECT_TRUE(QFileInfo(expected).isDir());
}
} // namespace
