#include "GeneralUnit.h"
#include "ProgramFixture.h"
#include "VersionBlock.h"

// This test program is the running program of FinishUpdate: version 0.89 (build 64).
DEFINE_VERSION_BLOCK("0.8.9.64");

namespace {
TEST(FinishUpdate, TheStartTellsOnceWhetherTheExpectedVersionRunsAndRemovesOnlyAnEmptyUpdaterFolder) {
    TempProgramFolder folder;
    MessageBoxRecorder boxes;
    const ShownBox done{QStringLiteral("Aktualizácia prebehla úspešne."), "Vozopis", 64};
    const ShownBox failed{QStringLiteral("Aktualizácia bola neúspešná!\rV prípade problémov nás prosím "
                                         "kontaktujte cez e-mail (\"podpora@molvek.sk\")."),
                          "Vozopis", 48};
    for (const char* expected : {"0.89 (build 64)\r\n", "0.91 (build 75)\r\n", "", "1.2.3\r\n"}) {
        WriteFileBytes(folder.File("updating.temp"), expected);
        FinishUpdate("Vozopis");
        FinishUpdate("Vozopis"); // the outcome is told once
        EXPECT_FALSE(UpdateRunning);
    }
    EXPECT_EQ(boxes.Shown(), Boxes({done, failed, failed, failed}));

    QDir().mkpath(folder.File("TempUpd/kept"));
    FinishUpdate("Vozopis");
    EXPECT_TRUE(QDir(folder.File("TempUpd/kept")).exists());
    QDir().rmdir(folder.File("TempUpd/kept"));
    FinishUpdate("Vozopis");
    EXPECT_FALSE(QDir(folder.File("TempUpd")).exists());

    // The start of the program tells it.
    StartedProgram program;
    WriteFileBytes(program.folder.File("updating.temp"), "0.89 (build 64)\r\n");
    program.Restart();
    EXPECT_EQ(boxes.Shown(), Boxes({done, failed, failed, failed, done}));
}
} // namespace
