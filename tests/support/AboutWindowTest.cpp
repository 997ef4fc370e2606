#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTabWidget>
#include <QTextBlock>

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

struct AboutWindow : SupportTest {};
} // namespace

// What the one-line guard keeps out of a field is tested with the main window's fields.
TEST_F(AboutWindow, HasTheDesignedShapeAndPagesAndEveryEditIsGuardedToOneLine) {
    EXPECT_EQ(std::tuple(about.objectName(), about.minimumSize(), about.maximumSize(), about.font().family(),
                         about.font().pointSize()),
              std::tuple(QString("About"), QSize(792, 516), QSize(792, 516), QString("MS Sans Serif"), 8));
    QStringList tabs;
    for (const QTabWidget* pages : {about.PgCtrlDorvane, about.PgCtrlSettings})
        for (int i = 0; i < pages->count(); ++i)
            tabs << pages->widget(i)->objectName() + " " + pages->tabText(i);
    EXPECT_EQ(tabs, QStringList({"TabSheet1 Settings", "TabSheet2 Changelog", "TabSheet3 Bug report",
                                 "TabSheet4 Help / License", "TabSheet5 About", "TabSheet7 Hlavné",
                                 "TabSheet6 Language"}));
    EXPECT_EQ(about.ImageList1.at(7).size(), QSize(22, 14)) << "the no-flag picture fits the flag list";
    EXPECT_TRUE(about.Button1->isHidden());
    for (QPushButton* button : about.findChildren<QPushButton*>())
        EXPECT_FALSE(button->autoDefault())
            << button->objectName().toStdString() << ": Enter in a field must not press it";
    for (QLineEdit* edit : about.findChildren<QLineEdit*>()) // a pasted path cannot add settings
        EXPECT_TRUE(dynamic_cast<const TOneLineGuard*>(edit->validator()))
            << edit->objectName().toStdString();
}

TEST_F(AboutWindow, EveryPageKeywordOpensItsPageCentredOnTheMainWindowEvenASmallerOne) {
    // An unknown keyword keeps the outer page shown last and resets the inner one.
    const QStringList keywords{"Settings",    "changelog", "BUG REPORT", "help",        "About",
                               "settingslng", "changelog", "unknown",    "settingslng", "no such page"};
    QStringList shown;
    for (const QString& keyword : keywords)
        w.Open(keyword, [&] {
            shown << QString("%1%2%3")
                         .arg(about.PgCtrlDorvane->currentIndex())
                         .arg(about.PgCtrlSettings->currentIndex())
                         .arg(about.isVisible() && about.isModal() ? "" : " not modal");
        });
    EXPECT_EQ(shown, QStringList({"00", "10", "20", "30", "40", "01", "10", "10", "01", "00"}));
    EXPECT_FALSE(about.isVisible());

    QRect outer;
    // Centred on the main window, also a smaller one; the frame's size is known once it has been shown.
    for (const QRect& main : {QRect(100, 50, 1024, 728), QRect(100, 100, 301, 201)}) {
        w.main.setGeometry(main);
        w.Open("about", [&] { outer = about.frameGeometry(); });
        // A smaller main window gives a negative offset, not clamped.
        EXPECT_EQ(outer.topLeft(), main.topLeft() + QPoint((main.width() - outer.width()) / 2,
                                                           (main.height() - outer.height()) / 2));
    }
    EXPECT_LT(w.main.width(), outer.width());
}

TEST_F(AboutWindow, OpeningFillsProductCaptionsLinksAndFoldersAndTheLinksOpenAndChangeStyleOnHover) {
    const auto products = [] { return ProductCode + " " + ProductName + " " + ProductFileName; };
    ShellRecorder shell;
    QStringList styles; // bold, underlined: at rest, hovered, left
    w.Open("about", [&] {
        for (QLabel* link : {about.lblEmail, about.lblWeb}) {
            QString seen;
            for (QEvent::Type type : {QEvent::None, QEvent::Enter, QEvent::Leave}) {
                QEvent event(type);
                QCoreApplication::sendEvent(link, &event);
                seen += QString("%1%2 ").arg(link->font().bold()).arg(link->font().underline());
            }
            styles << seen + (link->cursor().shape() == Qt::PointingHandCursor ? "hand" : "");
            QTest::mousePress(link, Qt::RightButton);
        }
    });
    EXPECT_EQ(styles, QStringList(2, "11 10 11 hand"));
    EXPECT_EQ(products(), "vzps Vozopis vozopis");
    EXPECT_TRUE(QFileInfo(w.folder.File("Data/Languages")).isDir());
    EXPECT_EQ(QStringList({about.windowTitle(), about.BitBtn2->text(), about.lblMolvekDorvaneVersion->text(),
                           about.lblNazProg->text(), about.lblEmail->text(), about.lblEmail->toolTip(),
                           about.lblWeb->text(), about.lblWeb->toolTip()}),
              QStringList({"Vozopis - Dorvane", QStringLiteral("Navštívte stránku programu Vozopis"),
                           "Molvek Dorvane [v 1.00]", "Vozopis [v 1.23 (build 4)]", "podpora@molvek.sk",
                           "mailto:podpora@molvek.sk?subject=Otazka k Vozopis&body=",
                           "https://www.molvek.sk/", "https://www.molvek.sk/"}));
    about.BitBtn2->click();
    EXPECT_EQ(shell.Opened(),
              QStringList({"mailto:podpora@molvek.sk?subject=Otazka k Vozopis&body=",
                           "https://www.molvek.sk/", "https://www.molvek.sk/site/vzps/popis.php"}));

    // Another family member's title picks its row; a title of none keeps the values.
    ProgramTitle = "Zivena - Tamrik";
    w.Open("about");
    EXPECT_EQ(products(), "zv-tamrik Tamrik tamrik");
    ProgramTitle = "Unknown";
    w.Open("about");
    EXPECT_EQ(products(), "zv-tamrik Tamrik tamrik");
}

TEST_F(AboutWindow, LicenceChangelogAndHelpPreferTheTaggedFile) {
    // Without a tag the names with a double hyphen come first.
    w.WriteFile("Vozopis-license.rtf", "untagged licence");
    w.WriteFile("Vozopis--license.rtf", "empty tag licence");
    w.Open("help");
    EXPECT_EQ(about.reLicense->toPlainText(), "empty tag licence");

    // Neither file of the tag EN: the message-table texts.
    QFile::remove(w.folder.File("Vozopis-license.rtf"));
    w.WriteFile("Data/settings.mvk", "[language]\r\ntag=EN\r\n");
    w.Open("help");
    EXPECT_EQ(about.reLicense->toPlainText(), Missing(QStringLiteral("Licenčný súbor")));
    EXPECT_EQ(about.mChangelog->toPlainText(), Missing(QStringLiteral("Súbor s históriou zmien")));
    ShellRecorder shell;
    MessageBoxRecorder boxes;
    about.BitBtn15->click();
    EXPECT_EQ(boxes.Shown(), Boxes({{Missing(QStringLiteral("Súbor pomocníka")), "Vozopis", 48}}));

    // The untagged files alone; the changelog is Windows-1250 text. Then the tagged ones win.
    w.WriteFile("Vozopis-license.rtf", "untagged licence");
    w.WriteFile("Vozopis-changelog.txt", "Zmena \xe8. 1: \x9e\x9a\x9d");
    w.WriteFile("Vozopis-help.chm", "help");
    about.BitBtn15->click();
    w.Open("help");
    EXPECT_EQ(about.reLicense->toPlainText() + "|" + about.mChangelog->toPlainText(),
              QStringLiteral("untagged licence|Zmena č. 1: žšť"));
    w.WriteFile("Vozopis-EN-license.rtf", "tagged licence");
    w.WriteFile("Vozopis-EN-changelog.txt", "tagged changelog");
    w.WriteFile("Vozopis-EN-help.chm", "help");
    about.BitBtn15->click();
    EXPECT_EQ(shell.Opened(),
              QStringList({w.folder.File("Vozopis-help.chm"), w.folder.File("Vozopis-EN-help.chm")}));
    w.Open("help");
    EXPECT_EQ(about.reLicense->toPlainText() + "|" + about.mChangelog->toPlainText(),
              "tagged licence|tagged changelog");
}

TEST_F(AboutWindow, FolderButtonsProposeTheFolderBesideTheProgramAndSaveWritesTheFourGeneralKeysAndCloses) {
    w.WriteFile("Data/settings.mvk", "[last]\r\nvybzakid=3\r\n");
    QStringList asked;
    QList<std::optional<QString>> answers{"/srv/kelbor", "/srv/tamrik", std::nullopt}; // then a cancel
    const FolderDialogHook previous = SetFolderDialogHook([&](const QString& title, const QString& proposed) {
        asked << title + " | " + proposed;
        return answers.takeFirst();
    });
    bool closed = false;
    w.Open("settings", [&] {
        for (QPushButton* button : {about.BitBtn9, about.BitBtn10, about.BitBtn9})
            button->click();
        about.chbNasSpolKB->setChecked(true);
        about.BitBtn4->click();
        closed = !about.isVisible();
    });
    SetFolderDialogHook(previous);
    EXPECT_TRUE(closed);
    EXPECT_EQ(w.SettingsSection("general"),
              QStringList({"SpolKB=1", "SpolTR=0", "SpolKBpath=/srv/kelbor", "SpolTRpath=/srv/tamrik"}));
    EXPECT_EQ(w.SettingsSection("last"), QStringList{"vybzakid=3"}) << "other sections stay";
    const QString beside = QFileInfo(QDir::cleanPath(w.folder.Path())).path() + "/";
    const QString kelbor = QStringLiteral("Vybrať cestu pre Zivena - Kelbor | ") + beside + "Kelbor";
    EXPECT_EQ(asked,
              QStringList({kelbor, QStringLiteral("Vybrať cestu pre Zivena - Tamrik | ") + beside + "Tamrik",
                           kelbor}));
}

// The window's MS Sans Serif is a bitmap font of one size, without bold or italic faces.
TEST_F(AboutWindow, TheLicenceShowsItsBoldItalicUnderlinedAndSizedTextAndLongLinesComeInPieces) {
    if (!QFontDatabase::hasFamily("MS Sans Serif"))
        GTEST_SKIP() << "fonts-wine is not installed";
    w.WriteFile("Vozopis-license.rtf",
                "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 MS Sans Serif;}"
                "{\\f1\\fswiss Tahoma;}}\\pard\\f0\\fs16 {\\b\\fs40 Licen\\'e8n\\'e1 zmluva}\\par "
                "Text {\\i kurz\\'edva}, {\\ul pod\\'e8iarknut\\'fd} a {\\f1\\fs20 Tahoma}\\par}");
    w.WriteFile("Vozopis-changelog.txt", "Verzia 1.2\r\n" + QByteArray(3001, 'x'));
    QStringList shown; // each run as drawn: text, size, faces, scalable
    w.Open("help", [&] {
        const QTextDocument* doc = about.reLicense->document();
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QFontInfo info(it.fragment().charFormat().font().resolve(doc->defaultFont()));
                shown << QString("%1 %2%3%4%5 %6")
                             .arg(it.fragment().text())
                             .arg(qRound(info.pointSizeF())) // to whole pixels
                             .arg(info.bold() ? " bold" : "", info.italic() ? " italic" : "",
                                  info.underline() ? " underlined" : "",
                                  QFontDatabase::isSmoothlyScalable(info.family()) ? "scalable"
                                                                                   : info.family());
            }
    });
    EXPECT_EQ(shown, QStringList({QStringLiteral("Licenčná zmluva 20 bold scalable"), "Text  8 scalable",
                                  QStringLiteral("kurzíva 8 italic scalable"), ",  8 scalable",
                                  QStringLiteral("podčiarknutý 8 underlined scalable"), " a  8 scalable",
                                  "Tahoma 10 scalable"}));
    QList<int> lines;
    for (QTextBlock block = about.mChangelog->document()->begin(); block.isValid(); block = block.next())
        lines << block.length() - 1;
    EXPECT_EQ(lines, QList<int>({10, 3000, 1}));
}
