#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "GeneralUnit.h"
#include "ProgramFixture.h"
#include "TestSupport.h"
#include "VersionBlock.h"

// This test program is the running program of FinishUpdate: version 0.89 (build 64).
DEFINE_VERSION_BLOCK("0.8.9.64");

namespace {
const QString Failed = QStringLiteral("Aktualizácia bola neúspešná!\rV prípade problémov nás prosím "
                                      "kontaktujte cez e-mail (\"podpora@molvek.sk\").");

struct FinishUpdateTest : ::testing::Test {
    TempProgramFolder folder;
    MessageBoxRecorder boxes;
};

TEST_F(FinishUpdateTest, TheExpectedVersionRunningIsReportedOnce) {
    WriteFileBytes(folder.File("updating.temp"), "0.89 (build 64)\r\n");
    FinishUpdate("Vozopis");
    FinishUpdate("Vozopis");
    EXPECT_EQ(boxes.Shown(), Boxes({{QStringLiteral("Aktualizácia prebehla úspešne."), "Vozopis", 64}}));
    EXPECT_FALSE(QFile::exists(folder.File("updating.temp")));
    EXPECT_FALSE(UpdateRunning);
}

TEST_F(FinishUpdateTest, AnotherEmptyOrGarbledVersionIsAFailure) {
    for (const QByteArray& expected :
         {QByteArray("0.91 (build 75)\r\n"), QByteArray(), QByteArray("1.2.3\r\n")}) {
        WriteFileBytes(folder.File("updating.temp"), expected);
        FinishUpdate("Vozopis");
        EXPECT_FALSE(QFile::exists(folder.File("updating.temp")));
    }
    const ShownBox failed{Failed, "Vozopis", 48};
    EXPECT_EQ(boxes.Shown(), Boxes({failed, failed, failed}));
}

TEST_F(FinishUpdateTest, OnlyAnEmptyUpdaterFolderIsRemoved) {
    QDir().mkdir(folder.File("TempUpd"));
    FinishUpdate("Vozopis");
    EXPECT_FALSE(QDir(folder.File("TempUpd")).exists());
    QDir().mkdir(folder.File("TempUpd"));
    WriteFileBytes(folder.File("TempUpd/file"), "x");
    FinishUpdate("Vozopis");
    EXPECT_TRUE(QFile::exists(folder.File("TempUpd/file")));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(UpdateAtStartUp, TheStartAfterAnUpdateTellsItsOutcomeOnce) {
    MessageBoxRecorder boxes;
    StartedProgram program;
    WriteFileBytes(program.folder.File("updating.temp"), "0.89 (build 64)\r\n");
    program.Restart();
    program.Restart();
    EXPECT_EQ(boxes.Texts(), QStringList{QStringLiteral("Aktualizácia prebehla úspešne.")});
}
} // namespace
