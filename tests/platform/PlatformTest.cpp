#include <gtest/gtest.h>

#include <QCoreApplication>

#include "Exception.h"
#include "TestSupport.h"
#include "TextCompare.h"
#include "ToolkitTranslation.h"
#include "VersionBlock.h"

namespace {
// The version block of a file as "1.2.3.4"; empty when none is found.
QString VersionOf(const QString& path) {
    FileVersion v;
    return ReadFileVersion(path, v)
               ? QString("%1.%2.%3.%4").arg(v.major).arg(v.minor).arg(v.release).arg(v.build)
               : QString();
}

QString VersionIn(const QByteArray& bytes) {
    TempProgramFolder folder;
    WriteFileBytes(folder.File("file.bin"), bytes);
    return VersionOf(folder.File("file.bin"));
}
} // namespace

TEST(VersionBlock, TheBuiltProgramCarriesTheProductVersionOfTheBuild) {
    EXPECT_EQ(VersionOf(VOZOPIS_EXE), "1.0.0.1");
}

TEST(VersionBlock, FoundAnywhereInAFileAfterFalseStartsAndNotWhenMissingOrInvalid) {
    const QByteArray marker(VERSION_BLOCK_MARKER);
    // A bare marker (as the reader's own copy is) and a malformed block come first.
    EXPECT_EQ(VersionIn("junk" + marker + '\0' + "x" + marker + "1.2.3\0" + "y" + marker +
                        QByteArray("0.8.9.64\0", 9) + "tail"),
              "0.8.9.64");
    EXPECT_EQ(VersionIn("no version here"), "");
    EXPECT_EQ(VersionIn(marker + QByteArray("1.2.3.70000\0", 12)), "") << "a part above 65535 is no version";
    EXPECT_EQ(VersionOf("/nonexistent/file"), "");
}

TEST(TextCompare, IgnoresCaseOfAccentedLettersButNotAccents) {
    EXPECT_TRUE(SameTextIgnoreCase(QStringLiteral("ČADCA"), QStringLiteral("čadca")));
    EXPECT_TRUE(SameTextIgnoreCase("", ""));
    EXPECT_FALSE(SameTextIgnoreCase(QStringLiteral("Cadca"), QStringLiteral("Čadca")));
    EXPECT_FALSE(SameTextIgnoreCase("abc", "abcd"));
}

TEST(ErrorBox, FullStopIsAddedOnlyAfterCharactersSortingAfterIt) {
    EXPECT_EQ(ExceptionBoxText("Transaction already open"), "Transaction already open.");
    EXPECT_EQ(ExceptionBoxText("Done."), "Done.");
    EXPECT_EQ(ExceptionBoxText("value \"x\""), "value \"x\"") << "'\"' sorts before '.'";
    EXPECT_EQ(ExceptionBoxText("(a)"), "(a)");
    EXPECT_EQ(ExceptionBoxText(""), "");
}

TEST(ToolkitTranslation, TheToolkitsOwnDialogsSpeakSlovak) {
    if (!LoadToolkitTranslation())
        GTEST_SKIP() << "the toolkit's Slovak translation is not installed";
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print To File ..."),
              QStringLiteral("Tlačiť do súboru…"));
}
