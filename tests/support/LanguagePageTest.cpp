#include <QImage>
#include <QListWidget>

#include "SupportFixture.h"

namespace {
QStringList Entries(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// Name, tag, program version, translation version and authors shown for the chosen language.
QString Details(const TAbout& about) {
    return QStringList{about.Label8->text(), about.Label10->text(), about.Label12->text(),
                       about.Label14->text(), about.Label16->text()}
        .join('|');
}

struct LanguagePage : SupportTest {
    // A language file as the language page reads it; by default the program's file of the tag.
    void Language(const QByteArray& tag, const QByteArray& name, const QByteArray& more = {},
                  const QString& file = {}) {
        w.WriteFile("Data/Languages/" + (file.isEmpty() ? "Vozopis - " + tag + ".lng" : file),
                    "[-main-]\r\ntag=" + tag + "\r\nname=" + name + "\r\n" + more);
    }
};
} // namespace

TEST_F(LanguagePage, ListsFilesIgnoringCaseWithTheirFlagsAndDefaults) {
    Language("BB", "B\xe9", {}, "B.lng");
    Language("AA", "\xc1\xe1", "autor1=Somebody\r\n", "a.lng");
    QImage red(22, 14, QImage::Format_RGB32);
    red.fill(Qt::red);
    red.save(w.folder.File("Data/Languages/a.bmp"), "BMP");
    w.WriteFile("Data/Languages/C.lng", "[other]\r\nx=1\r\n");
    w.WriteFile("Data/Languages/notes.txt", "not a language");
    w.Open("settingslng");
    EXPECT_EQ(Entries(about.ListBox1),
              QStringList({QStringLiteral("AA - Áá"), QStringLiteral("BB - Bé"), "error - error"}));
    EXPECT_EQ(Details(about), "||||") << "the details come from Vozopis - AA.lng, which does not exist";
    const qint64 noFlag = about.ImageList1.at(7).cacheKey();
    EXPECT_EQ(QList<qint64>({about.ImageList2.size(), about.ImageList2.value(1).cacheKey(),
                             about.ImageList2.value(2).cacheKey()}),
              QList<qint64>({3, noFlag, noFlag}));

    // Items are 20 pixels high and the flag (red) is drawn 5 pixels from the left.
    about.ListBox1->resize(200, 100);
    EXPECT_EQ(about.ListBox1->visualItemRect(about.ListBox1->item(1)).height(), 20);
    const QImage drawn = about.ListBox1->viewport()->grab().toImage();
    EXPECT_EQ(drawn.pixelColor(5 + 11, 10), QColor(Qt::red));
    EXPECT_NE(drawn.pixelColor(5 + 11, 30), QColor(Qt::red));
}

TEST_F(LanguagePage, ChoosingALanguageAppliesStoresAndSelectsItAndShowsItsDetailsWithoutOneItAsksForOne) {
    MessageBoxRecorder boxes;
    w.Open("settingslng", [&] { about.BitBtn5->click(); });
    EXPECT_FALSE(QFileInfo::exists(w.folder.File("Data/settings.mvk")));
    EXPECT_EQ(LanguageTag, "");
    const ShownBox ask{QStringLiteral("Prosím vyberte jazyk."), "Vozopis", 64};

    Language("EN", "English", "ProgramVersion=1.00\r\nTranslationVersion=2\r\nautor1=Jan\r\n");
    Language("SK", "Slovensky",
             "autor1=Jana Nov\xe1kov\xe1\r\nAutor2=Eva\r\nautor3=\r\nmeno=X\r\nautorka=Mia\r\n");
    w.WriteFile("Data/settings.mvk", "[general]\r\nSpolKB=1\r\n");
    QString shown; // no language stored: the default file names nothing, so the first entry is selected
    w.Open("settingslng", [&] {
        shown = QString::number(about.ListBox1->currentRow()) + "|" + Details(about);
        about.BitBtn5->click();
    });
    EXPECT_EQ(shown, "0|English|EN|1.00|2|Jan");
    EXPECT_EQ(LanguageTag + "|" + about.StaticText1->text(), "EN|English");
    EXPECT_EQ(
        w.SettingsSection("language"),
        QStringList({"tag=EN", "name=English", "file=" + w.folder.File("Data/Languages/Vozopis - EN.lng")}));
    EXPECT_EQ(w.SettingsSection("general"), QStringList{"SpolKB=1"});
    const ShownBox restart{QStringLiteral("Pre uloženie všetkých zmien prosím reštartujte program."),
                           "Vozopis", 64};
    EXPECT_EQ(boxes.Shown(), Boxes({ask, restart}));

    // The next opening comes back with the stored choice; a double-click chooses as the button does.
    LanguageTag.clear();
    w.Open("settingslng", [&] {
        EXPECT_EQ(LanguageTag + "|" + about.ListBox1->currentItem()->text(), "EN|EN - English");
        const QPoint centre = about.ListBox1->visualItemRect(about.ListBox1->item(1)).center();
        QTest::mouseClick(about.ListBox1->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(about.ListBox1->viewport(), Qt::LeftButton, {}, centre);
    });
    EXPECT_EQ(LanguageTag + "|" + w.SettingsSection("language").value(1), "SK|name=Slovensky");
    EXPECT_EQ(boxes.Shown(), Boxes({ask, restart, restart}));
    // A missing key shows empty; the authors are the keys beginning with autor, in this case, with a value.
    w.Open("settingslng");
    EXPECT_EQ(about.StaticText1->text() + "|" + about.ListBox1->currentItem()->text() + "|" + Details(about),
              QStringLiteral("Slovensky|SK - Slovensky|Slovensky|SK|||Jana Nováková\nMia"));
}

TEST_F(LanguagePage, FifosDevicesAndFoldersAreNeitherListedNorReadNorReplaced) {
    Language("SK", "Slovensky");
    const FifoRescue language(w.folder.File("Data/Languages/x.lng"));
    const FifoRescue settings(w.folder.File("Data/settings.mvk"));
    const FifoRescue licence(w.folder.File("Vozopis-license.rtf"));
    QFile::link("/dev/zero", w.folder.File("Data/Languages/zero.lng"));
    QDir().mkpath(w.folder.File("Data/Languages/folder.lng"));
    MessageBoxRecorder boxes;
    w.Open("settingslng", [&] { about.BitBtn5->click(); });
    EXPECT_EQ(Entries(about.ListBox1), QStringList({"SK - Slovensky"}));
    EXPECT_TRUE(about.reLicense->toPlainText().startsWith(QStringLiteral("Licenčný súbor nebol nájdený.")));
    EXPECT_EQ(boxes.Texts(),
              QStringList({"Nie je možné čítať súbor \"" + w.folder.File("Data/settings.mvk") + "\"."}));
    EXPECT_FALSE(QFileInfo(w.folder.File("Data/settings.mvk")).isFile()) << "the FIFO is not written over";
}
