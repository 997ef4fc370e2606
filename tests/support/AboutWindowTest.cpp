#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <optional>

#include "FolderDialog.h"
#include "OneLineGuard.h"
#include "SupportFixture.h"
#include "VersionBlock.h"

DEFINE_VERSION_BLOCK(VOZOPIS_VERSION);

namespace {
// The text shown for a missing file of the given kind.
QString Missing(const QString& kind) {
    return kind + QStringLiteral(" nebol nájdený. Prosím stiahnite si inštalačku k programu \"Vozopis\" zo "
                                 "stránky ( https://www.molvek.sk/ ) znova.");
}

QStringList TabTexts(const QTabWidget* tabs) {
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->widget(i)->objectName() + " " + tabs->tabText(i);
    return texts;
}

struct AboutWindow : SupportTest {};
} // namespace

TEST_F(AboutWindow, HasTheDesignedShapeAndPages) {
    EXPECT_EQ(about.objectName(), "About");
    EXPECT_EQ(about.minimumSize(), QSize(792, 516));
    EXPECT_EQ(about.maximumSize(), QSize(792, 516));
    EXPECT_EQ(about.font().family(), "MS Sans Serif");
    EXPECT_EQ(about.font().pointSize(), 8);
    EXPECT_EQ(TabTexts(about.PgCtrlDorvane),
              QStringList({"TabSheet1 Settings", "TabSheet2 Changelog", "TabSheet3 Bug report",
                           "TabSheet4 Help / License", "TabSheet5 About"}));
    EXPECT_EQ(TabTexts(about.PgCtrlSettings), QStringList({"TabSheet7 Hlavné", "TabSheet6 Language"}));
    EXPECT_EQ(about.ImageList1.at(7).size(), QSize(22, 14)) << "the no-flag picture fits the flag list";
    EXPECT_TRUE(about.Button1->isHidden());
    for (QPushButton* button : about.findChildren<QPushButton*>())
        EXPECT_FALSE(button->autoDefault())
            << button->objectName().toStdString() << ": Enter in a field must not press it";
}

TEST_F(AboutWindow, EveryPageKeywordOpensItsPage) {
    struct Case {
        const char* keyword;
        int outer, inner;
    };
    const Case cases[] = {{"Settings", 0, 0},    {"changelog", 1, 0}, {"BUG REPORT", 2, 0},
                          {"help", 3, 0},        {"About", 4, 0},     {"settingslng", 0, 1},
                          {"changelog", 1, 0},   {"unknown", 1, 0},   {"settingslng", 0, 1},
                          {"no such page", 0, 0}};
    for (const Case& c : cases) {
        int outer = -1, inner = -1;
        bool modal = false;
        w.Open(c.keyword, [&] {
            outer = about.PgCtrlDorvane->currentIndex();
            inner = about.PgCtrlSettings->currentIndex();
            modal = about.isVisible() && about.isModal();
        });
        EXPECT_EQ(outer, c.outer) << c.keyword;
        EXPECT_EQ(inner, c.inner) << c.keyword << ": the inner page";
        EXPECT_TRUE(modal) << c.keyword;
        EXPECT_FALSE(about.isVisible());
    }
}

TEST_F(AboutWindow, OpeningFillsProductCaptionsLinksAndFolders) {
    w.Open("about");
    EXPECT_EQ(ProductCode + " " + ProductName + " " + ProductFileName, "vzps Vozopis vozopis");
    EXPECT_TRUE(QFileInfo(w.folder.File("Data/Languages")).isDir());
    EXPECT_EQ(about.windowTitle(), "Vozopis - Dorvane");
    EXPECT_EQ(about.BitBtn2->text(), QStringLiteral("Navštívte stránku programu Vozopis"));
    EXPECT_EQ(about.lblMolvekDorvaneVersion->text(), "Molvek Dorvane [v 1.00]");
    EXPECT_EQ(about.lblNazProg->text(), "Vozopis [v 1.23 (build 4)]");
    EXPECT_EQ(about.lblEmail->text(), "podpora@molvek.sk");
    EXPECT_EQ(about.lblEmail->toolTip(), "mailto:podpora@molvek.sk?subject=Otazka k Vozopis&body=");
    EXPECT_EQ(about.lblWeb->text(), "https://www.molvek.sk/");
    EXPECT_EQ(about.lblWeb->toolTip(), "https://www.molvek.sk/");

    ShellRecorder shell;
    about.BitBtn2->click();
    EXPECT_EQ(shell.Opened(), QStringList({"https://www.molvek.sk/site/vzps/popis.php"}));

    // Another family member's title picks its row; a title of none keeps the values.
    ProgramTitle = "Zivena - Tamrik";
    w.Open("about");
    EXPECT_EQ(ProductCode + " " + ProductName + " " + ProductFileName, "zv-tamrik Tamrik tamrik");
    ProgramTitle = "Unknown";
    w.Open("about");
    EXPECT_EQ(ProductCode + " " + ProductName + " " + ProductFileName, "zv-tamrik Tamrik tamrik");
}

TEST_F(AboutWindow, IsCentredOnTheMainWindowEvenWhenTheMainWindowIsSmaller) {
    QRect outer;
    w.Open("about"); // the frame's size is known once the window has been shown
    w.main.setGeometry(100, 50, 1024, 728);
    w.Open("about", [&] { outer = about.frameGeometry(); });
    EXPECT_EQ(outer.topLeft(), QPoint(100 + (1024 - outer.width()) / 2, 50 + (728 - outer.height()) / 2));

    w.main.setGeometry(100, 100, 301, 201);
    w.Open("about", [&] { outer = about.frameGeometry(); });
    const int halfWidth = (301 - outer.width()) / 2;
    const int halfHeight = (201 - outer.height()) / 2;
    EXPECT_LT(halfWidth, 0);
    EXPECT_EQ(outer.topLeft(), QPoint(100 + halfWidth, 100 + halfHeight)) << "a negative offset, not clamped";
}

TEST_F(AboutWindow, LicenceAndChangelogPreferTheTaggedFile) {
    w.WriteFile("Data/settings.mvk", "[language]\r\ntag=EN\r\n");

    // Neither file: the message-table texts.
    w.Open("help");
    EXPECT_EQ(LanguageTag, "EN");
    EXPECT_EQ(about.reLicense->toPlainText(), Missing(QStringLiteral("Licenčný súbor")));
    EXPECT_EQ(about.mChangelog->toPlainText(), Missing(QStringLiteral("Súbor s históriou zmien")));

    // The untagged files alone; the changelog is Windows-1250 text.
    w.WriteFile("Vozopis-license.rtf", "untagged licence");
    w.WriteFile("Vozopis-changelog.txt", "Zmena \xe8. 1: \x9e\x9a\x9d");
    w.Open("help");
    EXPECT_EQ(about.reLicense->toPlainText(), "untagged licence");
    EXPECT_EQ(about.mChangelog->toPlainText(), QStringLiteral("Zmena č. 1: žšť"));

    // The tagged ones win.
    w.WriteFile("Vozopis-EN-license.rtf", "tagged licence");
    w.WriteFile("Vozopis-EN-changelog.txt", "tagged changelog");
    w.Open("help");
    EXPECT_EQ(about.reLicense->toPlainText(), "tagged licence");
    EXPECT_EQ(about.mChangelog->toPlainText(), "tagged changelog");
}

TEST_F(AboutWindow, WithoutALanguageTagTheDoubleHyphenNamesComeFirst) {
    w.WriteFile("Vozopis-license.rtf", "untagged licence");
    w.WriteFile("Vozopis--license.rtf", "empty tag licence");
    w.Open("help");
    EXPECT_EQ(about.reLicense->toPlainText(), "empty tag licence");
}

TEST_F(AboutWindow, HelpButtonOpensTaggedThenUntaggedHelpElseWarns) {
    w.WriteFile("Data/settings.mvk", "[language]\r\ntag=EN\r\n");
    w.Open("help");
    ShellRecorder shell;
    MessageBoxRecorder boxes;
    about.BitBtn15->click();
    w.WriteFile("Vozopis-help.chm", "help");
    about.BitBtn15->click();
    w.WriteFile("Vozopis-EN-help.chm", "help");
    about.BitBtn15->click();
    EXPECT_EQ(boxes.Shown(), Boxes({{Missing(QStringLiteral("Súbor pomocníka")), "Vozopis", 48}}));
    EXPECT_EQ(shell.Opened(),
              QStringList({w.folder.File("Vozopis-help.chm"), w.folder.File("Vozopis-EN-help.chm")}));
}

TEST_F(AboutWindow, LinkLabelsChangeStyleOnHoverAndOpenTheirLinks) {
    ShellRecorder shell;
    w.Open("about", [&] {
        for (QLabel* link : {about.lblEmail, about.lblWeb}) {
            EXPECT_TRUE(link->font().bold() && link->font().underline());
            EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
            QEvent enter(QEvent::Enter);
            QCoreApplication::sendEvent(link, &enter);
            EXPECT_TRUE(link->font().bold());
            EXPECT_FALSE(link->font().underline()) << "hover: bold alone";
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(link, &leave);
            EXPECT_TRUE(link->font().bold() && link->font().underline());
            QTest::mousePress(link, Qt::RightButton);
        }
    });
    EXPECT_EQ(shell.Opened(), QStringList({"mailto:podpora@molvek.sk?subject=Otazka k Vozopis&body=",
                                           "https://www.molvek.sk/"}));
}

TEST_F(AboutWindow, SaveWritesTheFourGeneralKeysAndCloses) {
    w.WriteFile("Data/settings.mvk", "[last]\r\nvybzakid=3\r\n");
    bool closed = false;
    w.Open("settings", [&] {
        about.chbNasSpolKB->setChecked(true);
        about.eNasSpolKB->setText(QStringLiteral("/opt/Kelbor účty"));
        about.BitBtn4->click();
        closed = !about.isVisible();
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(
        w.SettingsSection("general"),
        QStringList({"SpolKB=1", "SpolTR=0", QStringLiteral("SpolKBpath=/opt/Kelbor účty"), "SpolTRpath="}));
    EXPECT_EQ(w.SettingsSection("last"), QStringList{"vybzakid=3"}) << "other sections stay";

    about.chbNasSpolKB->setChecked(false);
    about.eNasSpolKB->clear();
    about.BitBtn4Click();
    EXPECT_EQ(w.SettingsSection("general"),
              QStringList({"SpolKB=0", "SpolTR=0", "SpolKBpath=", "SpolTRpath="}));
}

TEST_F(AboutWindow, EditsHoldOneLineSoAPastedPathCannotAddSettings) {
    w.WriteFile("Data/settings.mvk", "");
    for (QLineEdit* edit : about.findChildren<QLineEdit*>())
        EXPECT_TRUE(dynamic_cast<const TOneLineGuard*>(edit->validator()))
            << edit->objectName().toStdString();
    QGuiApplication::clipboard()->setText(QString("/opt/Kelbor\r\n[Main]\r\ncolor=modra") + QChar(0) + "\t1");
    about.eNasSpolKB->paste();
    EXPECT_EQ(about.eNasSpolKB->text(), "/opt/Kelbor[Main]color=modra\t1");
    about.BitBtn4Click();
    const QByteArray saved = ReadFileBytes(w.folder.File("Data/settings.mvk"));
    EXPECT_FALSE(saved.contains("\r\n[Main]")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("SpolKBpath=/opt/Kelbor[Main]color=modra\t1\r\n")) << saved.toStdString();
}

TEST_F(AboutWindow, FolderButtonsProposeTheFolderBesideTheProgramAndCancelKeepsTheEdit) {
    QStringList asked;
    std::optional<QString> answer = QString("/srv/kelbor");
    const FolderDialogHook previous = SetFolderDialogHook([&](const QString& title, const QString& proposed) {
        asked << title + " | " + proposed;
        return answer;
    });
    const QString beside = QFileInfo(QDir::cleanPath(w.folder.Path())).path() + "/";

    about.eNasSpolKB->setText("old");
    about.BitBtn9->click();
    EXPECT_EQ(about.eNasSpolKB->text(), "/srv/kelbor");
    answer = std::nullopt;
    about.BitBtn9->click();
    EXPECT_EQ(about.eNasSpolKB->text(), "/srv/kelbor") << "Cancel keeps the edit";
    about.eNasSpolTR->setText("tamrik before");
    about.BitBtn10->click();
    EXPECT_EQ(about.eNasSpolTR->text(), "tamrik before");
    answer = QString("/srv/tamrik");
    about.BitBtn10->click();
    EXPECT_EQ(about.eNasSpolTR->text(), "/srv/tamrik");

    const QString kelbor = QStringLiteral("Vybrať cestu pre Zivena - Kelbor | ") + beside + "Kelbor";
    const QString tamrik = QStringLiteral("Vybrať cestu pre Zivena - Tamrik | ") + beside + "Tamrik";
    EXPECT_EQ(asked, QStringList({kelbor, kelbor, tamrik, tamrik}));
    SetFolderDialogHook(previous);
}
