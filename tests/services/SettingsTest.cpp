#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "Exception.h"
#include "IniFile.h"
#include "Settings.h"
#include "TestSupport.h"

namespace {
class SettingsTest : public ::testing::Test {
protected:
    void MakeDataFolder() { QDir().mkpath(folder.File("Data")); }
    void WriteSettingsFile(const QByteArray& bytes) {
        MakeDataFolder();
        WriteFileBytes(SettingsFilePath(), bytes);
    }
    QByteArray SettingsBytes() const { return ReadFileBytes(SettingsFilePath()); }
    QStringList Entries(const QString& path) const {
        return QDir(path).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    }

    TempProgramFolder folder;
};

// Windows-1250 bytes of Žilina and Košice.
const QByteArray ZilinaAnsi = "\x8Eilina";
const QByteArray KosiceAnsi = "Ko\x9A"
                              "ice";
} // namespace

TEST_F(SettingsTest, NoDataFolderReadsDefaultsAndCreatesNothing) {
    EXPECT_EQ(SettingsFilePath(), folder.Path() + "Data/settings.mvk");
    EXPECT_EQ(ReadSetting("Main", "color", "$00FEE6CF"), "$00FEE6CF");
    EXPECT_TRUE(ReadSettingBool("general", "SpolKB", true));
    EXPECT_FALSE(ReadSettingBool("general", "SpolKB", false));
    EXPECT_TRUE(Entries(folder.Path()).isEmpty());
}

TEST_F(SettingsTest, WriteWithoutDataFolderThrowsAndCreatesNothing) {
    EXPECT_EQ(ErrorOf<EFileError>([] { WriteSetting("Info", "mesto1", "Trnava"); }),
              "Nie je možné vytvoriť súbor \"" + SettingsFilePath() + "\".");
    EXPECT_TRUE(Entries(folder.Path()).isEmpty());
}

TEST_F(SettingsTest, FailedRenameLeavesNoHalfFile) {
    QDir().mkpath(SettingsFilePath()); // a folder in the file's place
    EXPECT_THROW(WriteSetting("Info", "mesto1", "Trnava"), EFileError);
    EXPECT_TRUE(QFileInfo(SettingsFilePath()).isDir());
    EXPECT_EQ(Entries(folder.File("Data")), QStringList{"settings.mvk"});
}

TEST_F(SettingsTest, SectionsAndKeysIgnoreLetterCase) {
    MakeDataFolder();
    WriteSetting("Info", "PriemRychl", "45");
    EXPECT_EQ(ReadSetting("info", "priemrychl", "0"), "45");
}

TEST_F(SettingsTest, EntryForm) {
    WriteSettingsFile("  [ Info ]  \r\n"
                      "PriemRychl=\r\n"
                      "   mesto1   =   Nove Zamky  \t\r\n"
                      "formula = a=b = c\r\n");
    EXPECT_EQ(ReadSetting("Info", "PriemRychl", "10"), ""); // empty, not the default
    EXPECT_EQ(ReadSetting("Info", "mesto1", ""), "Nove Zamky");
    EXPECT_EQ(ReadSetting("Info", "formula", ""), "a=b = c");
    EXPECT_EQ(ReadSetting("Info", "missing", "none"), "none");
}

TEST_F(SettingsTest, BooleansReadAsWholeNumbers) {
    WriteSettingsFile(
        "[general]\r\none=1\r\nzero=0\r\nseven=7\r\nminus=-3\r\nword=yes\r\nempty=\r\nhalf=1,5\r\n");
    EXPECT_TRUE(ReadSettingBool("general", "one", false));
    EXPECT_FALSE(ReadSettingBool("general", "zero", true));
    EXPECT_TRUE(ReadSettingBool("general", "seven", false));
    EXPECT_TRUE(ReadSettingBool("general", "minus", false));
    for (const char* key : {"word", "empty", "half", "missing"}) {
        EXPECT_TRUE(ReadSettingBool("general", key, true)) << key;
        EXPECT_FALSE(ReadSettingBool("general", key, false)) << key;
    }
}

TEST_F(SettingsTest, AnyLineEndCommentsAndLinesBeforeTheFirstSection) {
    WriteSettingsFile("tag=XX\r\n[language]\n;tag=CZ\n  ; file=x\rname=" + ZilinaAnsi +
                      "\r[last]\r\nvybzakid=12");
    EXPECT_EQ(ReadSetting("language", "tag", "none"), "none");
    EXPECT_EQ(ReadSetting("language", "file", "none"), "none");
    EXPECT_EQ(ReadSetting("language", "name", ""), "Žilina");
    EXPECT_EQ(ReadSetting("last", "vybzakid", ""), "12");
}

TEST_F(SettingsTest, WriteKeepsEverythingElseInOrderAndDropsComments) {
    WriteSettingsFile("; settings\r\norphan=1\r\n"
                      "[language]\ntag = SK\n; chosen by hand\nname=Slovensky\n\n"
                      "[Info]\rPriemRychl=50\rodd line\rmesto1=" +
                      ZilinaAnsi + "\r[general]\r\nSpolKB=1");
    WriteSetting("info", "priemrychl", "60");
    EXPECT_EQ(SettingsBytes(), "[language]\r\ntag=SK\r\nname=Slovensky\r\n\r\n"
                               "[Info]\r\nPriemRychl=60\r\nodd line\r\nmesto1=" +
                                   ZilinaAnsi + "\r\n\r\n[general]\r\nSpolKB=1\r\n\r\n");
}

TEST_F(SettingsTest, NewKeyEndsItsSectionNewSectionEndsTheFile) {
    MakeDataFolder();
    WriteSetting("Info", "PriemRychl", "50");
    EXPECT_EQ(SettingsBytes(), "[Info]\r\nPriemRychl=50\r\n\r\n");
    WriteSetting("last", "vybzakid", "7");
    WriteSetting("Info", "mesto1", "Žilina – Košice");
    EXPECT_EQ(SettingsBytes(), "[Info]\r\nPriemRychl=50\r\nmesto1=" + ZilinaAnsi + " \x96 " + KosiceAnsi +
                                   "\r\n\r\n[last]\r\nvybzakid=7\r\n\r\n");
    EXPECT_EQ(ReadSetting("Info", "mesto1", ""), "Žilina – Košice");
}

TEST_F(SettingsTest, IniObjectWritesSeveralKeysOnce) {
    MakeDataFolder();
    TMemIniFile ini(SettingsFilePath());
    ini.WriteBool("general", "SpolKB", true);
    ini.WriteBool("general", "SpolTR", false);
    ini.WriteString("general", "SpolKBpath", "/opt/kb");
    EXPECT_TRUE(ini.SectionExists("GENERAL"));
    EXPECT_FALSE(QFileInfo::exists(SettingsFilePath()));
    ini.UpdateFile();

    EXPECT_EQ(SettingsBytes(), "[general]\r\nSpolKB=1\r\nSpolTR=0\r\nSpolKBpath=/opt/kb\r\n\r\n");
    TMemIniFile again(SettingsFilePath());
    EXPECT_FALSE(again.ReadBool("general", "SpolTR", true));
    EXPECT_EQ(again.ReadInteger("general", "SpolKB", 5), 1);
    EXPECT_EQ(again.ReadInteger("general", "SpolKBpath", 5), 5);
}
