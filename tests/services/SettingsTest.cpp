#include <QDir>
#include <gtest/gtest.h>

#include "AtomicFile.h"
#include "BoundedFile.h"
#include "Encoding.h"
#include "FaultHelpers.h"
#include "IniFile.h"
#include "Settings.h"
#include "TestSupport.h"

namespace {
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { QDir().mkpath(folder.File("Data")); }
    QByteArray SettingsBytes() const { return ReadFileBytes(SettingsFilePath()); }
    QStringList DataEntries() const {
        return QDir(folder.File("Data")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
    }

    TempProgramFolder folder;
};

// Windows-1250 bytes of Žilina.
const QByteArray ZilinaAnsi = "\x8Eilina";
} // namespace

TEST(Settings, WithoutTheDataFolderReadsGiveDefaultsAndAWriteThrowsCreatingNothing) {
    TempProgramFolder folder;
    EXPECT_EQ(ReadSetting("Main", "color", "$00FEE6CF"), "$00FEE6CF");
    EXPECT_EQ(ErrorOf<EFileError>([] { WriteSetting("Info", "mesto1", "Trnava"); }),
              "Nie je možné vytvoriť súbor \"" + SettingsFilePath() + "\".");
    EXPECT_TRUE(QDir(folder.Path()).isEmpty());
}

TEST_F(SettingsTest, EntryFormLineEndsCommentsLetterCaseAndBooleans) {
    WriteFileBytes(SettingsFilePath(),
                   "tag=XX\r\n  [ Info ]  \r\nPriemRychl=\n   mesto1   =   Nove Zamky  \t\r"
                   "formula = a=b = c\r\n;x=1\n  ; y=2\r[language]\r\nname=" +
                       ZilinaAnsi +
                       "\r\n[general]\r\none=1\r\nzero=0\r\nseven=7\r\nminus=-3\r\nword=yes\r\nempty=\r\n"
                       "half=1,5\r\n[last]\r\nvybzakid=12");
    const QStringList read{ReadSetting("info", "priemrychl", "10"), ReadSetting("INFO", "Mesto1", ""),
                           ReadSetting("Info", "formula", ""),      ReadSetting("Info", "missing", "-"),
                           ReadSetting("Info", ";x", "-"),          ReadSetting("Info", "; y", "-"),
                           ReadSetting("language", "tag", "-"),     ReadSetting("language", "name", ""),
                           ReadSetting("last", "vybzakid", "")};
    EXPECT_EQ(read, QStringList({"", "Nove Zamky", "a=b = c", "-", "-", "-", "-", "Žilina", "12"}));
    QString flags; // booleans read as whole numbers, with the default false, then true
    for (const char* key : {"one", "zero", "seven", "minus", "word", "empty", "half", "missing"})
        flags += QString("%1%2 ")
                     .arg(ReadSettingBool("general", key, false))
                     .arg(ReadSettingBool("general", key, true));
    EXPECT_EQ(flags, "11 00 11 11 01 01 01 01 ");
}

TEST_F(SettingsTest, WriteKeepsEverythingElseInOrderDropsCommentsAndAppendsWhatIsNew) {
    WriteFileBytes(SettingsFilePath(),
                   "; settings\r\norphan=1\r\n[language]\ntag = SK\n; by hand\nname=Slovensky\n\n"
                   "[Info]\rPriemRychl=50\rodd line\rmesto1=" +
                       ZilinaAnsi + "\r[general]\r\nSpolKB=1");
    WriteSetting("info", "priemrychl", "60");
    WriteSetting("last", "vybzakid", "7");
    WriteSetting("Info", "mesto2", "Žilina – Nitra");
    EXPECT_EQ(SettingsBytes(),
              "[language]\r\ntag=SK\r\nname=Slovensky\r\n\r\n"
              "[Info]\r\nPriemRychl=60\r\nodd line\r\nmesto1=" +
                  ZilinaAnsi + "\r\nmesto2=" + ZilinaAnsi +
                  " \x96 Nitra\r\n\r\n[general]\r\nSpolKB=1\r\n\r\n[last]\r\nvybzakid=7\r\n\r\n");
    EXPECT_EQ(ReadSetting("Info", "mesto2", ""), "Žilina – Nitra");
}

// A file an editor saved in UTF-8 with a mark stays UTF-8: every value it holds survives a write.
TEST_F(SettingsTest, AByteOrderMarkMeansUtf8AndTheFileIsWrittenBackInTheCodeItCameIn) {
    const QByteArray mark = "\xEF\xBB\xBF";
    const QByteArray kept =
        "[general]\r\nSpolKBpath=/srv/\xD0\x9A\xD0\xB5\xD0\xBB\xD0\xB1\xD0\xBE\xD1\x80\r\n"
        "\r\n[language]\r\nname=\xC5\xBDilina\r\n\r\n"; // /srv/Келбор, Žilina
    WriteFileBytes(SettingsFilePath(), mark + kept + "[Info]\r\nPriemRychl=50\r\n");
    EXPECT_EQ(ReadSetting("language", "name", "-"), "Žilina");
    WriteSetting("Info", "PriemRychl", "60");
    EXPECT_EQ(SettingsBytes(), mark + kept + "[Info]\r\nPriemRychl=60\r\n\r\n");
    EXPECT_EQ(ReadSetting("general", "SpolKBpath", ""), "/srv/Келбор");
    WriteSetting("Info", "mesto1", "Київ 😀"); // UTF-8 holds it
    EXPECT_EQ(ReadSetting("Info", "mesto1", ""), "Київ 😀");
    const QByteArray before = SettingsBytes();
    const QString lone = QString(QChar(0xD800)); // no UTF-8 form
    EXPECT_EQ(ErrorOf([&] { WriteSetting("Info", "mesto1", "x" + lone); }),
              "Nastavenie \"mesto1\" v sekcii [Info] nie je možné uložiť: znak \"" + lone +
                  "\" nie je možné zapísať do súboru nastavení.");
    EXPECT_EQ(SettingsBytes(), before);

    WriteFileBytes(SettingsFilePath(), "[language]\r\nname=\xC5\xBDilina\r\n"); // no mark: Windows-1250
    EXPECT_EQ(ReadSetting("language", "name", "-"), "Ĺ˝ilina");
    WriteSetting("Info", "mesto1", "Žilina");
    EXPECT_EQ(SettingsBytes(),
              "[language]\r\nname=\xC5\xBDilina\r\n\r\n[Info]\r\nmesto1=" + ZilinaAnsi + "\r\n\r\n");
}

// Only the mark that starts the file is a mark: a U+FEFF that starts a section, key or value is text.
TEST_F(SettingsTest, AU0FEFFAfterTheFileStartIsKeptInSectionsKeysAndValues) {
    const QString feff(QChar(0xFEFF));
    const QByteArray mark = "\xEF\xBB\xBF";
    const QByteArray kept = "[" + mark + "a]\r\nk=" + mark + "x\r\n" + mark + "k=y\r\nv=" + mark +
                            "\r\n\r\n[a]\r\nk=z\r\nname=\xC5\xBDilina\r\n\r\n";
    WriteFileBytes(SettingsFilePath(), mark + kept);
    EXPECT_EQ(TMemIniFile(SettingsFilePath()).ReadSections(), QStringList({feff + "a", "a"}));
    const QStringList read{ReadSetting(feff + "a", "k", "-"), ReadSetting(feff + "a", feff + "k", "-"),
                           ReadSetting(feff + "A", "v", "-"), ReadSetting("a", "k", "-"),
                           ReadSetting("a", "name", "-"),     ReadSetting(feff + "a", "name", "-")};
    EXPECT_EQ(read, QStringList({feff + "x", "y", feff, "z", "Žilina", "-"}));

    WriteSetting("Info", feff + "mesto1", feff + "Trnava");
    WriteSetting(feff + "Nová", "k", feff);
    EXPECT_EQ(QStringList({ReadSetting("Info", feff + "mesto1", "-"), ReadSetting("Info", "mesto1", "-"),
                           ReadSetting(feff + "nová", "K", "-"), ReadSetting("Nová", "k", "-")}),
              QStringList({feff + "Trnava", "-", feff, "-"}));
    EXPECT_EQ(SettingsBytes(), mark + kept + "[Info]\r\n" + mark + "mesto1=" + mark + "Trnava\r\n\r\n[" +
                                   mark + "Nov\xC3\xA1]\r\nk=" + mark + "\r\n\r\n");
}

TEST_F(SettingsTest, IndexedLookupKeepsFirstMatchMergingAndLetterCase) {
    WriteFileBytes(SettingsFilePath(),
                   "[Mesto]\r\nk=1\r\nK=2\r\n[empty]\r\n[other]\r\nx=zero\r\n[MESTO]\r\nk=3\r\nnew=4\r\n"
                   "[\310as]\r\n\212\355rka=5\r\n"); // Čas, šírka in Windows-1250
    TMemIniFile ini(SettingsFilePath());
    EXPECT_EQ(ini.ReadSections(), (QStringList{"Mesto", "empty", "other", "Čas"}));
    EXPECT_EQ(ini.ReadSection("mesto"), (QStringList{"k", "K", "k", "new"}));
    EXPECT_EQ(ini.ReadString("mesto", "K", ""), "1") << "the first entry of a key";
    EXPECT_EQ(
        QList<int>({ini.ReadInteger("mesto", "new", 7), ini.ReadInteger("other", "x", 7),
                    ini.ReadInteger("čas", "šírka", 7), ini.SectionExists("ČAS"), ini.SectionExists("as")}),
        QList<int>({4, 7, 5, 1, 0}));
    ini.WriteString("mesto", "K", "9");     // changes the first entry only
    ini.WriteString("mesto", "added", "a"); // ends the merged section
    ini.WriteString("čas", "šírka", "6");
    ini.WriteString("Nová", "k", "n");
    EXPECT_EQ(ini.ReadString("nová", "K", ""), "n");
    EXPECT_TRUE(SettingsBytes().startsWith("[Mesto]\r\nk=1\r\n")) << "written only by UpdateFile";
    ini.UpdateFile();
    EXPECT_EQ(
        SettingsBytes(),
        "[Mesto]\r\nk=9\r\nK=2\r\nk=3\r\nnew=4\r\nadded=a\r\n\r\n[empty]\r\n\r\n[other]\r\nx=zero\r\n\r\n"
        "[\310as]\r\n\212\355rka=6\r\n\r\n[Nov\xE1]\r\nk=n\r\n\r\n");

    // Many more keys: the index grows and still finds every key where it was.
    QStringList expected{"10", "10", "4", "a", "zero", "6", "n"}, found;
    for (int i = 0; i < 30; ++i) {
        ini.WriteString(i % 2 ? "Empty" : "čas", QString("n%1").arg(i), QString::number(i));
        expected << QString::number(i);
    }
    ini.WriteString("MESTO", "k", "10");
    for (const auto& [section, key] : {std::pair{"mesto", "k"},
                                       {"Mesto", "K"},
                                       {"mesto", "new"},
                                       {"mesto", "added"},
                                       {"other", "x"},
                                       {"ČAS", "ŠÍRKA"},
                                       {"nová", "k"}})
        found << ini.ReadString(section, key, "-");
    for (int i = 0; i < 30; ++i)
        found << ini.ReadString(i % 2 ? "empty" : "Čas", QString("N%1").arg(i), "-");
    EXPECT_EQ(found, expected);
    EXPECT_EQ(ini.ReadSection("mesto"), (QStringList{"k", "K", "k", "new", "added"}));
}

TEST_F(SettingsTest, ALineBreakAMisreadNameOrACharacterOutsideWindows1250IsRefusedAndNothingIsWritten) {
    const QByteArray old = "[Info]\r\nPriemRychl=50\r\n\r\n";
    WriteFileBytes(SettingsFilePath(), old);
    const QString lineBreak = "] nie je možné uložiť: názov ani hodnota nesmú obsahovať koniec riadka.";
    const QString ansi = QStringLiteral("\" nie je možné zapísať do súboru nastavení.");
    const QString notKey = "] nie je možné uložiť: kľúč nesmie ";
    const QString blank = "] nie je možné uložiť: názov nesmie začínať ani končiť medzerou.";
    const struct {
        QString section, key, value, shown;
    } cases[] = {{"Info", "PriemRychl", "50\r\n[Main]\r\ncolor=modra", "[Info" + lineBreak},
                 {"Info", "PriemRychl", "60\n", "[Info" + lineBreak},
                 {"Info", "Priem\rRychl", "60", "[Info" + lineBreak},
                 {"In\nfo", "PriemRychl", "60", "[In\nfo" + lineBreak},
                 {"general", "SpolKBpath", "/home/muñoz", "[general] nie je možné uložiť: znak \"ñ" + ansi},
                 {"Info", "mesto😀", "x", "[Info] nie je možné uložiť: znak \"😀" + ansi},
                 // Names the reader would take as others, or as no entry at all.
                 {"Info", "Priem=Rychl", "60", "[Info" + notKey + "obsahovať znak \"=\"."},
                 {"Info", ";PriemRychl", "60", "[Info" + notKey + "začínať znakom \";\" ani \"[\"."},
                 {"Info", "[PriemRychl", "60]", "[Info" + notKey + "začínať znakom \";\" ani \"[\"."},
                 {"Info", " PriemRychl", "60", "[Info" + blank},
                 {"Info", "PriemRychl\t", "60", "[Info" + blank},
                 {"Info ", "PriemRychl", "60", "[Info " + blank}};
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf([&] { WriteSetting(c.section, c.key, c.value); }),
                  "Nastavenie \"" + c.key + "\" v sekcii " + c.shown);
        EXPECT_EQ(SettingsBytes(), old);
    }
    TMemIniFile ini(SettingsFilePath());
    EXPECT_THROW(ini.WriteString("new\r\n", "k", "v"), Exception);
    EXPECT_EQ(ini.ReadSections(), QStringList{"Info"});
    ini.WriteString("Info", "ucel", "tab\tand blanks are fine");
    EXPECT_EQ(ini.ReadString("info", "UCEL", ""), "tab\tand blanks are fine");
}

// The writer never makes a file its own reader refuses: a write that ends exactly at the bound is
// taken, one byte more is refused and the file stays as it was.
TEST_F(SettingsTest, AWriteThatWouldOutgrowTheReaderIsRefusedAndTheFileKept) {
    const QByteArray utf8 = "\xEF\xBB\xBF", file = "[Info]\r\nPriemRychl=50\r\n\r\n[fill]\r\nx=#\r\n\r\n";
    const struct {
        QByteArray mark;              // the file is UTF-8 with it
        QString section, key, letter; // the value is made of the letter
        QByteArray after;             // the file written, '@' for the value
    } cases[] = {
        // A changed value, the key as the file spells it; "ž" is one byte in Windows-1250.
        {"", "info", "priemrychl", "ž", "[Info]\r\nPriemRychl=@\r\n\r\n[fill]\r\nx=#\r\n\r\n"},
        // A new key; in UTF-8 "ж" takes two bytes and the mark three.
        {utf8, "Info", "mesto1", "ж", "[Info]\r\nPriemRychl=50\r\nmesto1=@\r\n\r\n[fill]\r\nx=#\r\n\r\n"},
        {"", "last", "vybzakid", "7", QByteArray(file) + "[last]\r\nvybzakid=@\r\n\r\n"},
    };
    for (const auto& c : cases) {
        const auto encode = [&](const QString& text) {
            return c.mark.isEmpty() ? ToAnsi(text) : text.toUtf8();
        };
        const QString value = c.letter.repeated(12);
        const QByteArray fill(
            TMemIniFile::MaxFileBytes - (c.mark + c.after).size() + 2 - encode(value).size(), 'f');
        const QByteArray before = c.mark + QByteArray(file).replace("#", fill);
        WriteFileBytes(SettingsFilePath(), before);
        EXPECT_EQ(ErrorOf([&] { WriteSetting(c.section, c.key, value + c.letter); }),
                  "Nastavenie \"" + c.key + "\" v sekcii [" + c.section +
                      "] nie je možné uložiť: súbor nastavení by bol väčší ako 8 MB.");
        EXPECT_TRUE(SettingsBytes() == before) << c.key.toStdString();
        EXPECT_EQ(ReadSetting("Info", "PriemRychl", "-"), "50");

        WriteSetting(c.section, c.key, value);
        const QByteArray after = c.mark + QByteArray(c.after).replace("#", fill).replace("@", encode(value));
        EXPECT_EQ(after.size(), TMemIniFile::MaxFileBytes);
        EXPECT_TRUE(SettingsBytes() == after) << c.key.toStdString();
        EXPECT_EQ(ReadSetting(c.section, c.key, "-"), value);
    }

    // Line ends of one byte, which the writer makes two: even the unchanged file would be too large.
    const QByteArray bare =
        "[Info]\nPriemRychl=50\n[fill]\nx=" + QByteArray(TMemIniFile::MaxFileBytes - 32, 'f') + "\n";
    WriteFileBytes(SettingsFilePath(), bare);
    EXPECT_EQ(ErrorOf([] { WriteSetting("Info", "PriemRychl", "5"); }),
              "Nastavenie \"PriemRychl\" v sekcii [Info] nie je možné uložiť: súbor nastavení by bol väčší "
              "ako 8 MB.");
    EXPECT_EQ(ErrorOf<EFileError>([] { TMemIniFile(SettingsFilePath()).UpdateFile(); }),
              "Nie je možné zapísať súbor \"" + SettingsFilePath() + "\": bol by väčší ako 8 MB.");
    EXPECT_TRUE(SettingsBytes() == bare);
    EXPECT_EQ(ReadSetting("info", "priemrychl", "-"), "50");
}

// What cannot be read is not replaced: the language page's test with a FIFO in the file's place.
TEST_F(SettingsTest, AReadOnlyFileStaysAndNothingIsLeftBesideIt) {
    WriteFileBytes(SettingsFilePath(), "[Info]\r\nPriemRychl=50\r\n\r\n");
    QFile::setPermissions(SettingsFilePath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_EQ(ErrorOf([] { WriteSetting("Info", "PriemRychl", "60"); }),
              "Nie je možné vytvoriť súbor \"" + SettingsFilePath() + "\".");
    EXPECT_EQ(ReadSetting("Info", "PriemRychl", ""), "50");
    EXPECT_EQ(DataEntries(), QStringList{"settings.mvk"});
}

TEST_F(SettingsTest, AFullDiskLeavesTheOldFileByteForByteAndNamesTheFile) {
    QByteArray old = "[Info]\r\nPriemRychl=50\r\n\r\n[last]\r\nvybzakid=1\r\n\r\n";
    for (int i = 0; i < 200; ++i)
        old += "[section" + QByteArray::number(i) + "]\r\nkey=value " + QByteArray::number(i) + "\r\n\r\n";
    WriteFileBytes(SettingsFilePath(), old);
    const QString shown = RunUnderFileSizeLimit(
        1024, [] { return ErrorOf<EFileError>([] { WriteSetting("last", "vybzakid", "2"); }); });
    EXPECT_EQ(shown, "Nie je možné zapísať súbor \"" + SettingsFilePath() + "\".");
    EXPECT_EQ(SettingsBytes(), old);
    EXPECT_EQ(DataEntries(), QStringList{"settings.mvk"}) << "the temporary file is removed";
}

// The reason goes into the order file's error message.
TEST_F(SettingsTest, TheAtomicWriterGivesTheReasonOfAFailureAndLeavesNoFileBehind) {
    const QString failed = RunUnderFileSizeLimit(1000, [&] {
        QString missing, full;
        const bool written = WriteFileAtomically(folder.File("missing/order.txt"), "x", &missing) ||
                             WriteFileAtomically(folder.File("Data/order.txt"), QByteArray(5000, 'x'), &full);
        return QString("%1 %2 %3").arg(written).arg(missing.isEmpty()).arg(full.isEmpty());
    });
    EXPECT_EQ(failed, "0 0 0");
    EXPECT_TRUE(DataEntries().isEmpty());
}

TEST_F(SettingsTest, TheBoundedReaderTakesRegularFilesUpToTheBoundOnly) {
    const QString file = folder.File("Data/file"), link = folder.File("Data/link");
    WriteFileBytes(file, "12345");
    QFile::link(file, link);
    QFile::link("/dev/zero", folder.File("Data/zero"));
    const auto read = [](const QString& path, qint64 bound) {
        return ReadBoundedFile(path, bound).value_or("-");
    };
    EXPECT_EQ(QList<QByteArray>({read(file, 5), read(link, 5), read(file, 4),
                                 read(folder.File("Data/zero"), 1 << 20), read("/dev/null", 5),
                                 read(folder.File("Data"), 1 << 20), read(folder.File("Data/missing"), 5)}),
              QList<QByteArray>({"12345", "12345", "-", "-", "-", "-", "-"}));
}
