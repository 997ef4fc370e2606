#include <QAction>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "Endpoints.h"
#include "GeneralUnit.h"
#include "LANUnit.h"
#include "ProgramFixture.h"
#include "TestSupport.h"
#include "VersionBlock.h"

// This test program is the running program of FinishUpdate: version 0.89 (build 64).
DEFINE_VERSION_BLOCK("0.8.9.64");

namespace {
const QString Failed =
    QStringLiteral("Aktualizácia bola neúspešná!\rV prípade problémov nás prosím kontaktujte "
                   "cez e-mail (\"") +
    SupportEmail + "\").";

struct FinishUpdateTest : ::testing::Test {
    TempProgramFolder folder;
    MessageBoxRecorder boxes;
};

TEST_F(FinishUpdateTest, TheExpectedVersionRunningIsReportedOnce) {
    WriteFileBytes(folder.File("updating.temp"), "0.89 (build 64)\r\n");
    FinishUpdate("Vozopis");
    FinishUpdate("Vozopis");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("Aktualizácia prebehla úspešne."));
    EXPECT_EQ(boxes.Shown()[0].caption, "Vozopis");
    EXPECT_EQ(boxes.Shown()[0].flags, 64);
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
    EXPECT_EQ(boxes.Texts(), (QStringList{Failed, Failed, Failed}));
    EXPECT_EQ(boxes.Shown()[0].flags, 48);
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

TEST(UpdateAtStartUp, TheMenuItemRunsTheUpdateCheckWithMessages) {
    MessageBoxRecorder boxes;
    StartedProgram program;
    const auto previous = SetConnectedHook([] { return false; });
    program.form->findChild<QAction*>("Zistiaktualizciu1")->trigger();
    SetConnectedHook(previous);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              QStringLiteral("Pre zistenie novej verzie programu \"Vozopis\" musíte byť "
                             "pripojený na internet!\rPripojte sa na internet a pokus "
                             "opakujte."));
    EXPECT_EQ(boxes.Shown()[0].flags, 48);
}
} // namespace
