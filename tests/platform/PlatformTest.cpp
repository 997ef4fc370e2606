#include <gtest/gtest.h>

#include "Encoding.h"
#include "Exception.h"
#include "MessageBox.h"
#include "TestSupport.h"
#include "TextCompare.h"
#include "VersionBlock.h"

namespace {
FileVersion ReadVersionOf(const QByteArray& bytes, bool* found) {
    TempProgramFolder folder;
    const QString path = folder.File("file.bin");
    WriteFileBytes(path, bytes);
    FileVersion version;
    *found = ReadFileVersion(path, version);
    return version;
}
} // namespace

TEST(VersionBlock, TheBuiltProgramCarriesTheProductVersionOfTheBuild) {
    FileVersion version;
    ASSERT_TRUE(ReadFileVersion(VOZOPIS_EXE, version));
    EXPECT_EQ(version.major, 1);
    EXPECT_EQ(version.minor, 0);
    EXPECT_EQ(version.release, 0);
    EXPECT_EQ(version.build, 1);
}

TEST(VersionBlock, FoundAnywhereInAFileAfterFalseStarts) {
    const QByteArray marker(VERSION_BLOCK_MARKER);
    bool found = false;
    // A bare marker (as the reader's own copy is) and a malformed block come first.
    const FileVersion v = ReadVersionOf(QByteArray("junk") + marker + '\0' + "x" + marker + "1.2.3\0" + "y" +
                                            marker + QByteArray("0.8.9.64\0", 9) + "tail",
                                        &found);
    ASSERT_TRUE(found);
    EXPECT_EQ(v.major, 0);
    EXPECT_EQ(v.minor, 8);
    EXPECT_EQ(v.release, 9);
    EXPECT_EQ(v.build, 64);
}

TEST(VersionBlock, MissingOrInvalidBlocksAreNotFound) {
    bool found = true;
    ReadVersionOf("no version here", &found);
    EXPECT_FALSE(found);
    ReadVersionOf(QByteArray(VERSION_BLOCK_MARKER) + QByteArray("1.2.3.70000\0", 12), &found);
    EXPECT_FALSE(found) << "a part above 65535 is no version";
    FileVersion version;
    EXPECT_FALSE(ReadFileVersion("/nonexistent/file", version));
}

TEST(Encoding, SlovakTextRoundTripsThroughWindows1250) {
    const QString text = QStringLiteral("Žilina – Košice ľščťžýáíéúäôň €");
    const QByteArray bytes = ToAnsi(text);
    EXPECT_EQ(bytes.size(), text.size()) << "one byte per character";
    EXPECT_EQ(uchar(bytes.at(0)), 0x8E); // Ž
    EXPECT_EQ(uchar(bytes.at(7)), 0x96); // en dash
    EXPECT_EQ(FromAnsi(bytes), text);
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

TEST(MessageBoxHook, AnswersAndRestoresThePreviousHook) {
    MessageBoxRecorder outer(ID_YES);
    {
        MessageBoxRecorder inner;
        inner.Answer(ID_YES);
        EXPECT_EQ(PlatformMessageBox("q", "c", MB_YESNO_QUESTION), ID_YES);
        EXPECT_EQ(PlatformMessageBox("q2", "c", MB_YESNO_WARNING), ID_NO) << "fallback of the inner recorder";
        EXPECT_EQ(PlatformMessageBox("i", "c", MB_ICONINFORMATION), ID_OK);
        ASSERT_EQ(inner.Shown().size(), 3u);
        EXPECT_EQ(inner.Shown()[1].flags, 52);
    }
    EXPECT_EQ(PlatformMessageBox("q", "c", MB_YESNO_INFORMATION), ID_YES);
    EXPECT_EQ(outer.Shown().size(), 1u);
}
