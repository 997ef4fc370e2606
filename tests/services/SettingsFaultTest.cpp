#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "AtomicFile.h"
#include "Exception.h"
#include "FaultHelpers.h"
#include "IniFile.h"
#include "Settings.h"
#include "TestSupport.h"

namespace {
class SettingsFaultTest : public ::testing::Test {
protected:
    void SetUp() override { QDir().mkpath(folder.File("Data")); }
    // A settings file of many sections, larger than the limit the child runs under.
    QByteArray WriteLargeSettings() {
        QByteArray bytes = "[Info]\r\nPriemRychl=50\r\n\r\n[last]\r\nvybzakid=1\r\nvybzakrok=2024\r\n\r\n";
        for (int i = 0; i < 200; ++i)
            bytes +=
                "[section" + QByteArray::number(i) + "]\r\nkey=value " + QByteArray::number(i) + "\r\n\r\n";
        WriteFileBytes(SettingsFilePath(), bytes);
        return bytes;
    }
    QStringList DataEntries() const {
        return QDir(folder.File("Data")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
    }

    TempProgramFolder folder;
};
} // namespace

TEST_F(SettingsFaultTest, AFullDiskLeavesTheOldFileByteForByteAndNamesTheFile) {
    const QByteArray old = WriteLargeSettings();
    ASSERT_GT(old.size(), 4096);

    const QString shown = RunUnderFileSizeLimit(
        1024, [] { return ErrorOf<EFileError>([] { WriteSetting("last", "vybzakid", "2"); }); });
    EXPECT_EQ(shown, "Nie je možné zapísať súbor \"" + SettingsFilePath() + "\".");
    EXPECT_EQ(ReadFileBytes(SettingsFilePath()), old);
    EXPECT_EQ(DataEntries(), QStringList{"settings.mvk"}) << "the temporary file is removed";

    // With room again the next write keeps every other setting.
    WriteSetting("last", "vybzakid", "2");
    EXPECT_EQ(ReadSetting("Info", "PriemRychl", ""), "50");
    EXPECT_EQ(ReadSetting("section199", "key", ""), "value 199");
    EXPECT_EQ(ReadSetting("last", "vybzakid", ""), "2");
}

TEST_F(SettingsFaultTest, TheAtomicWriterReportsAWriteBeyondTheLimitAndCreatesNothing) {
    const QString path = folder.File("Data/order.txt");
    const QString result = RunUnderFileSizeLimit(1000, [&] {
        QString error;
        bool created = false;
        const bool written = WriteFileAtomically(path, QByteArray(5000, 'x'), &error, &created);
        return QString("%1|%2|%3").arg(written).arg(created).arg(error.isEmpty() ? "no reason" : "reason");
    });
    EXPECT_EQ(result, "0|1|reason");
    EXPECT_TRUE(DataEntries().isEmpty());

    // Within the limit the file is written whole.
    EXPECT_EQ(RunUnderFileSizeLimit(
                  10000, [&] { return QString::number(WriteFileAtomically(path, QByteArray(5000, 'x'))); }),
              "1");
    EXPECT_EQ(ReadFileBytes(path), QByteArray(5000, 'x'));

    QString error;
    bool created = true;
    EXPECT_FALSE(WriteFileAtomically(folder.File("missing/order.txt"), "x", &error, &created));
    EXPECT_FALSE(created);
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(SettingsFaultTest, AReadOnlySettingsFileIsNotReplaced) {
    WriteFileBytes(SettingsFilePath(), "[Info]\r\nPriemRychl=50\r\n\r\n");
    QFile::setPermissions(SettingsFilePath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_EQ(ErrorOf([] { WriteSetting("Info", "PriemRychl", "60"); }),
              "Nie je možné vytvoriť súbor \"" + SettingsFilePath() + "\".");
    EXPECT_EQ(ReadSetting("Info", "PriemRychl", ""), "50");
    EXPECT_EQ(DataEntries(), QStringList{"settings.mvk"});
}

TEST_F(SettingsFaultTest, ALineBreakOrACharacterOutsideWindows1250IsRefusedAndNothingIsWritten) {
    WriteFileBytes(SettingsFilePath(), "[Info]\r\nPriemRychl=50\r\n\r\n");
    const QByteArray old = ReadFileBytes(SettingsFilePath());
    const struct {
        QString section, key, value;
    } cases[] = {{"Info", "PriemRychl", "50\r\n[Main]\r\ncolor=modra"},
                 {"Info", "PriemRychl", "60\n"},
                 {"Info", "Priem\rRychl", "60"},
                 {"In\nfo", "PriemRychl", "60"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf([&] { WriteSetting(c.section, c.key, c.value); }),
                  "Nastavenie \"" + c.key + "\" v sekcii [" + c.section +
                      "] nie je možné uložiť: názov ani hodnota nesmú obsahovať koniec riadka.")
            << c.value.toStdString();
        EXPECT_EQ(ReadFileBytes(SettingsFilePath()), old);
    }
    EXPECT_EQ(ReadSetting("Main", "color", "none"), "none");

    // A folder whose name Windows-1250 cannot hold would come back with '?' in its place.
    EXPECT_EQ(ErrorOf([] { WriteSetting("general", "SpolKBpath", QStringLiteral("/home/muñoz/Kelbor")); }),
              QStringLiteral("Nastavenie \"SpolKBpath\" v sekcii [general] nie je možné uložiť: znak \"ñ\" "
                             "nie je možné zapísať do súboru nastavení."));
    EXPECT_EQ(ErrorOf([] { WriteSetting("Info", QStringLiteral("mesto😀"), "x"); }),
              QStringLiteral("Nastavenie \"mesto😀\" v sekcii [Info] nie je možné uložiť: znak \"😀\" "
                             "nie je možné zapísať do súboru nastavení."));
    EXPECT_EQ(ReadFileBytes(SettingsFilePath()), old);
    WriteSetting("Info", "mesto1", QStringLiteral("Šaľa – Považská Bystrica"));
    EXPECT_EQ(ReadSetting("Info", "mesto1", ""), QStringLiteral("Šaľa – Považská Bystrica"));

    TMemIniFile ini(SettingsFilePath());
    EXPECT_THROW(ini.WriteString("Info", "PriemRychl", "1\r2"), Exception);
    EXPECT_THROW(ini.WriteString("new\r\n", "k", "v"), Exception);
    EXPECT_EQ(ini.ReadString("Info", "PriemRychl", ""), "50");
    EXPECT_EQ(ini.ReadSections(), QStringList{"Info"});
    ini.WriteString("Info", "ucel", "tab\tand blanks are fine");
    EXPECT_EQ(ini.ReadString("info", "UCEL", ""), "tab\tand blanks are fine");
}

TEST_F(SettingsFaultTest, IndexedLookupKeepsFirstMatchMergingAndLetterCase) {
    WriteFileBytes(SettingsFilePath(), "[Mesto]\r\nk=1\r\nK=2\r\n[other]\r\nx=0\r\n"
                                       "[MESTO]\r\nk=3\r\nnew=4\r\n[\xC8"
                                       "as]\r\n\x8A\xED"
                                       "rka=5\r\n");
    TMemIniFile ini(SettingsFilePath());
    EXPECT_EQ(ini.ReadSections(), (QStringList{"Mesto", "other", "Čas"}));
    EXPECT_EQ(ini.ReadSection("mesto"), (QStringList{"k", "K", "k", "new"}));
    EXPECT_EQ(ini.ReadString("mesto", "K", ""), "1") << "the first entry of a key";
    EXPECT_EQ(ini.ReadString("MESTO", "NEW", ""), "4") << "from the merged second appearance";
    EXPECT_EQ(ini.ReadString("čAS", "ŠÍRKA", ""), "5");

    ini.WriteString("mesto", "K", "9");     // changes the first entry only
    ini.WriteString("mesto", "added", "a"); // ends the merged section
    ini.WriteString("čas", "šírka", "6");
    ini.WriteString("Nová", "k", "n"); // a new section ends the file
    EXPECT_EQ(ini.ReadString("Mesto", "k", ""), "9");
    EXPECT_EQ(ini.ReadString("nová", "K", ""), "n");
    ini.UpdateFile();
    EXPECT_EQ(ReadFileBytes(SettingsFilePath()), "[Mesto]\r\nk=9\r\nK=2\r\nk=3\r\nnew=4\r\nadded=a\r\n\r\n"
                                                 "[other]\r\nx=0\r\n\r\n"
                                                 "[\xC8"
                                                 "as]\r\n\x8A\xED"
                                                 "rka=6\r\n\r\n"
                                                 "[Nov\xE1]\r\nk=n\r\n\r\n");
}

TEST_F(SettingsFaultTest, ALargeFileReadsAndWritesBackInItsOrder) {
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += "[s" + QByteArray::number(i) + "]\r\nk=" + QByteArray::number(i) + "\r\n\r\n";
    WriteFileBytes(SettingsFilePath(), bytes);
    EXPECT_EQ(ReadSetting("S19999", "K", ""), "19999");
    WriteSetting("s0", "k", "zero");
    bytes.replace(0, QByteArray("[s0]\r\nk=0").size(), "[s0]\r\nk=zero");
    EXPECT_EQ(ReadFileBytes(SettingsFilePath()), bytes);
}
