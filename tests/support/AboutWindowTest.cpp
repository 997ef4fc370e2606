#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>

#include "FolderDialog.h"
#include "OneLineGuard.h"
#include "RtfReader.h"
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
    w.WriteFile("Vozopis-changelog.txt",
                "Verzia 1.2\r\n" + QByteArray("abcdefghi ").repeated(300) + "z\r\n" + QByteArray(501, 'x'));
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
    EXPECT_EQ(lines, QList<int>({10, 3000, 1, 500, 1}));
}

namespace {
// A licence as a word processor writes it: a title, headings, body text in two fonts with bold,
// italic and underlined words, tabs, fine print, Slovak letters and typographic quotes and dashes.
// Each run as "text size faces family", paragraph ends as "|".
std::pair<QByteArray, QStringList> RealLicence() {
    const auto run = [](const QString& text, int size, const QString& faces, const QString& family) {
        return text + " " + QString::number(size) + faces + " " + family;
    };
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Tahoma;}"
        "{\\f1\\froman\\fcharset238 DejaVu Serif;}}{\\colortbl ;\\red0\\green0\\blue128;}"
        "\\viewkind4\\uc1\\pard\\sa200\\sl276\\slmult1\\qc\\b\\f0\\fs56 Licen\\'e8n\\'e1 zmluva\\par"
        "\\pard\\b0\\fs20 ";
    QStringList runs{run(QStringLiteral("Licenčná zmluva"), 28, " bold", "Tahoma"), "|"};
    for (int article = 1; article <= 60; ++article) {
        const QByteArray number = QByteArray::number(article);
        rtf +=
            "{\\b\\fs28 " + number +
            ". \\'c8l\\'e1nok}\\par\\tab Pou\\'9e\\'edvate\\'be {\\i smie} program "
            "\\'84Vozopis\\'93 pou\\'9e\\'edva\\'9d \\endash  {\\ul nie v\\'9aak} {\\f1 pred\\'e1va\\'9d} " +
            QByteArray("a \\'9ealej \\'9ealej ").repeated(article * 3) + "\\par ";
        runs << run(number + QStringLiteral(". Článok"), 14, " bold", "Tahoma") << "|"
             << run(QStringLiteral("\tPoužívateľ "), 10, "", "Tahoma") << run("smie", 10, " italic", "Tahoma")
             << run(QStringLiteral(" program „Vozopis“ používať – "), 10, "", "Tahoma")
             << run(QStringLiteral("nie však"), 10, " underlined", "Tahoma") << run(" ", 10, "", "Tahoma")
             << run(QStringLiteral("predávať"), 10, "", "DejaVu Serif")
             << run(" " + QStringLiteral("a žalej žalej ").repeated(article * 3), 10, "", "Tahoma") << "|";
    }
    rtf += "{\\i\\fs12 Drobn\\'e9 p\\'edsmo.}\\fs16\\par}";
    runs << run(QStringLiteral("Drobné písmo."), 6, " italic", "Tahoma") << "|";
    return {rtf, runs};
}
} // namespace

// Opened at its end, as the reader leaves the cursor, the view would lay out the whole licence before
// the window appears.
TEST_F(AboutWindow, ARealLicenceKeepsEveryFormatAndOpensAtItsBeginning) {
    if (!QFontDatabase::hasFamily("Tahoma") || !QFontDatabase::hasFamily("DejaVu Serif"))
        GTEST_SKIP() << "fonts-wine or fonts-dejavu-core is not installed";
    const auto [rtf, expected] = RealLicence();
    w.WriteFile("Vozopis-license.rtf", rtf);
    QStringList shown;
    std::pair<int, int> start{-1, -1}; // cursor position, scroll bar value
    w.Open("help", [&] {
        const QTextDocument* doc = about.reLicense->document();
        start = {about.reLicense->textCursor().position(), about.reLicense->verticalScrollBar()->value()};
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QFontInfo info(it.fragment().charFormat().font().resolve(doc->defaultFont()));
                shown << QString("%1 %2%3%4%5 %6")
                             .arg(it.fragment().text())
                             .arg(qRound(info.pointSizeF()))
                             .arg(info.bold() ? " bold" : "", info.italic() ? " italic" : "",
                                  info.underline() ? " underlined" : "", info.family());
            }
            if (block.next().isValid())
                shown << "|";
        }
    });
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(start, std::pair(0, 0));
    EXPECT_GT(about.reLicense->verticalScrollBar()->maximum(), 0) << "the licence is taller than its view";
}

// A real changelog has a few thousand lines; past the bound, lines run on.
TEST_F(AboutWindow, TheChangelogShowsEveryLineUpToTheBoundOfBreaks) {
    QByteArray changelog;
    for (int line = 1; line < MaxShownBreaks; ++line)
        changelog += "Zmena " + QByteArray::number(line) + "\r\n";
    for (const auto& [tail, last] :
         {std::pair<QByteArray, QString>{"posledn\xe1\r\n", ""},
          {"posledn\xe1\r\n\357al\232\355\r\nkoniec", QStringLiteral("ďalší koniec")}}) {
        w.WriteFile("Vozopis-changelog.txt", changelog + tail);
        w.Open("changelog");
        const QTextDocument* doc = about.mChangelog->document();
        EXPECT_EQ(doc->blockCount(), MaxShownBreaks + 1);
        EXPECT_EQ(doc->findBlockByNumber(MaxShownBreaks - 1).text(), QStringLiteral("posledná"));
        EXPECT_EQ(doc->lastBlock().text(), last);
        EXPECT_EQ(doc->findBlockByNumber(4321).text(), "Zmena 4322");
    }
}
