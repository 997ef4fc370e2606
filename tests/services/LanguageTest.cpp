#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "Encoding.h"
#include "IniFile.h"
#include "Language.h"
#include "Messages.h"
#include "TestSupport.h"

namespace {
template <typename W> W* Named(QWidget* parent, const char* name, const QString& text = {}) {
    auto* widget = new W(parent);
    widget->setObjectName(name);
    widget->setProperty("text", text);
    return widget;
}

// A main window "Form1" with a support window "About" beside it, holding the kinds of component that
// the program's own windows do not show to the translation tests: a tool button, a radio button, a
// menu, a picture, an edit field, a status bar and a button whose name both windows use.
struct TestWindows {
    TestWindows() {
        form.setObjectName("Form1");
        QMenu* file = form.menuBar()->addMenu(QStringLiteral("Súbor"));
        file->setObjectName("Sbor1");
        Koniec1 = file->addAction(QStringLiteral("&Koniec"));
        Koniec1->setObjectName("Koniec1");
        auto* central = Named<QWidget>(&form, "Panel1");
        form.setCentralWidget(central);
        BitBtn1 = Named<QPushButton>(central, "BitBtn1", QStringLiteral("Uložiť"));
        Named<QToolButton>(central, "SpeedButton1", "...");
        Named<QRadioButton>(central, "rbFO", QStringLiteral("Fyzická osoba"));
        Named<QLabel>(central, "lblNazov", QStringLiteral("Názov:"));
        Named<QLineEdit>(central, "eNazov", "Alfa");
        Image1 = Named<QLabel>(central, "Image1");
        QPixmap picture(8, 8);
        picture.fill(Qt::red);
        Image1->setPixmap(picture);
        form.statusBar()->setObjectName("StatusBar1");
        for (int i = 0; i < 13; ++i)
            form.statusBar()->addWidget(new QLabel(QString("panel %1").arg(i)));
        aboutButton =
            Named<QPushButton>(Named<QDialog>(&form, "About"), "BitBtn1", QStringLiteral("Zavrieť"));
    }
    // Every text, "name=text" each, joined by '|'.
    QString Texts() const {
        QString all = "Sbor1=" + form.findChild<QMenu*>("Sbor1")->title() + "|Koniec1=" + Koniec1->text();
        for (const char* name : {"BitBtn1", "SpeedButton1", "rbFO", "lblNazov", "eNazov"})
            all += QString("|%1=").arg(name) +
                   form.centralWidget()->findChild<QWidget*>(name)->property("text").toString();
        return all + "|About.BitBtn1=" + aboutButton->text();
    }
    QString Panel(int index) const { return form.statusBar()->findChildren<QLabel*>()[index]->text(); }

    QMainWindow form;
    QAction* Koniec1;
    QPushButton *BitBtn1, *aboutButton;
    QLabel* Image1;
};

const QString Layout = QStringLiteral("Sbor1=Súbor|Koniec1=&Koniec|BitBtn1=Uložiť|SpeedButton1=...|"
                                      "rbFO=Fyzická osoba|lblNazov=Názov:|eNazov=Alfa|About.BitBtn1=Zavrieť");

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageTable = QStringList(21, QString());
        InitDefaultMessages();
    }
    QString WriteLanguage(const QString& name, const QString& text) {
        QDir().mkpath(folder.File("Data/Languages"));
        WriteFileBytes(folder.File("Data/Languages/" + name), ToAnsi(text));
        return folder.File("Data/Languages/" + name);
    }

    TempProgramFolder folder;
    TestWindows w;
};
} // namespace

TEST_F(LanguageTest, EachNamedComponentOfAKindTakesItsTextAndNothingElseChanges) {
    const struct {
        QString file, texts;
    } cases[] = {
        // Only the window named by the section; the marks keep a trailing blank; a picture stays.
        {"[Form1]\r\nSbor1=%File%\r\nKoniec1=%&Exit%\r\nBitBtn1=%Save%\r\nSpeedButton1=%Browse%\r\n"
         "rbFO=%Natural person%\r\nlblNazov=%Name: %\r\nImage1=%Picture%\r\n",
         "Sbor1=File|Koniec1=&Exit|BitBtn1=Save|SpeedButton1=Browse|rbFO=Natural person|lblNazov=Name: |"
         "eNazov=Alfa|About.BitBtn1=Zavrieť"},
        {"[About]\r\nBitBtn1=%Close%\r\n", QString(Layout).replace("Zavrieť", "Close")},
        // Section and key names compare with their letter case; the description, an edit field, an
        // unknown name or window change nothing.
        {"[form1]\r\nBitBtn1=%Save%\r\n[Form1]\r\nbitbtn1=%Save%\r\nKONIEC1=%Exit%\r\n[-main-]\r\n"
         "BitBtn1=%Main%\r\n[Form1]\r\neNazov=%Beta%\r\nNothing1=%x%\r\n[Form2]\r\nBitBtn1=%Other%\r\n",
         Layout},
    };
    for (const auto& c : cases) {
        TestWindows windows;
        TranslateForm(WriteLanguage("test.lng", c.file), &windows.form);
        EXPECT_EQ(windows.Texts(), c.texts) << c.file.toStdString();
        EXPECT_FALSE(windows.Image1->pixmap().isNull());
    }
}

TEST_F(LanguageTest, MessagesAndStatusBarPanelsTakeTheirTextsAndAnotherOrAMissingLanguageKeepsTheRest) {
    QStringList messages = MessageTable;
    TranslateForm(WriteLanguage("1.lng", "[Form1]\r\nStatusBar1.Panels[12]=%twelve%\r\nStatusBar1=%zero%\r\n"
                                         "StatusBar1.Panels[13]=%none%\r\nStatusBar1.Panels[a]=%bad%\r\n"
                                         "BitBtn1=%Save%\r\nKoniec1=%Exit%\r\n"
                                         "[-msg-]\r\n14=%Please choose a language.%\r\n"),
                  &w.form);
    EXPECT_EQ(w.Panel(12) + "|" + w.Panel(0) + "|" + w.Panel(1), "twelve|zero|panel 1");
    messages[14] = "%Please choose a language.%"; // stored with its marks
    EXPECT_EQ(MessageTable, messages);
    TranslateForm(WriteLanguage("2.lng", "[Form1]\r\nBitBtn1=%Speichern%\r\n"), &w.form);
    SetLanguage("EN", folder.File("Data/Languages/missing.lng"), &w.form);
    EXPECT_EQ(LanguageTag, "EN");
    EXPECT_EQ(w.BitBtn1->text() + "|" + w.Koniec1->text() + "|" + GetMsg(14),
              "Speichern|Exit|Please choose a language.");
    EXPECT_EQ(MessageTable, messages);
}

TEST_F(LanguageTest, LoadPrefersTheStoredChoiceThenTheUntaggedProductFileThenTheDefaultTagFile) {
    WriteLanguage("Vozopis - SK.lng", "[Form1]\r\nBitBtn1=%SK file%\r\n");
    LanguageTag = "XX";
    LoadLanguage("Vozopis", "SK", &w.form);
    EXPECT_EQ(w.BitBtn1->text() + "|" + LanguageTag, "SK file|");
    WriteLanguage("Vozopis.lng", "[Form1]\r\nBitBtn1=%plain file%\r\n");
    LoadLanguage("Vozopis", "SK", &w.form);
    EXPECT_EQ(w.BitBtn1->text(), "plain file");

    // A stored path of another folder: the stored tag's file here.
    const QString en = WriteLanguage("Vozopis - EN.lng", "[Form1]\r\nBitBtn1=%Save%\r\n");
    for (const QString& file : {en, QString("C:\\Vozopis\\Data\\Languages\\Vozopis - EN.lng")}) {
        WriteFileBytes(folder.File("Data/settings.mvk"),
                       ToAnsi("[language]\r\ntag=EN\r\nfile=" + file + "\r\n"));
        w.BitBtn1->setText("before");
        LoadLanguage("Vozopis", "SK", &w.form);
        EXPECT_EQ(w.BitBtn1->text() + "|" + LanguageTag, "Save|EN") << file.toStdString();
    }
}

// A template over an existing file keeps its other sections and keys and adds the windows, then the messages.
TEST_F(LanguageTest, TemplateHoldsWindowsThenMessagesAndKeepsWhatTheFileHeld) {
    w.BitBtn1->setText(QStringLiteral("  Dva\r\nriadky  "));
    EXPECT_THROW(SaveLanguageTemplate(folder.File("Data/Languages/.lng"), &w.form), EFileError)
        << "no folder is created";
    const QString path =
        WriteLanguage("Vozopis - EN.lng",
                      "[-main-]\r\ntag=EN\r\nname=English\r\nautor1=Jana\r\n[Form1]\r\nOld1=%kept%\r\n");
    SaveLanguageTemplate(path, &w.form);
    const TMemIniFile ini(path);
    EXPECT_EQ(ini.ReadSections(), (QStringList{"-main-", "Form1", "About", "-msg-"}));
    EXPECT_EQ(ini.ReadSection("-main-"), (QStringList{"tag", "name", "autor1"}));
    QStringList keys{"Old1", "Sbor1", "Koniec1", "BitBtn1", "SpeedButton1", "rbFO", "lblNazov"};
    for (int i = 0; i < 13; ++i)
        keys << QString("StatusBar1.Panels[%1]").arg(i);
    EXPECT_EQ(ini.ReadSection("Form1"), keys);
    EXPECT_EQ(ini.ReadSection("About"), QStringList{"BitBtn1"});
    EXPECT_EQ(QStringList({ini.ReadString("Form1", "Old1", ""), ini.ReadString("Form1", "Sbor1", ""),
                           ini.ReadString("Form1", "StatusBar1.Panels[12]", ""),
                           ini.ReadString("-msg-", "14", ""), ini.ReadString("-msg-", "7", "x")}),
              QStringList({"%kept%", QStringLiteral("%Súbor%"), "%panel 12%",
                           QStringLiteral("%Prosím vyberte jazyk.%"), ""}));
    EXPECT_EQ(ini.ReadSection("-msg-").size(), 21);
    TestWindows fresh; // the template reads back to the same texts, on one line
    TranslateForm(path, &fresh.form);
    EXPECT_EQ(fresh.BitBtn1->text(), "  Dva riadky  ");

    // Filled up to the reader's bound, the file takes no longer caption and stays as it was.
    QByteArray full = ReadFileBytes(path) + "[fill]\r\nx=\r\n\r\n";
    full.insert(full.size() - 4, QByteArray(TMemIniFile::MaxFileBytes - full.size(), 'f'));
    WriteFileBytes(path, full);
    w.BitBtn1->setText(QStringLiteral("  Dva\r\nriadky  !"));
    EXPECT_EQ(ErrorOf([&] { SaveLanguageTemplate(path, &w.form); }),
              "Nastavenie \"BitBtn1\" v sekcii [Form1] nie je možné uložiť: súbor nastavení by bol väčší ako "
              "8 MB.");
    EXPECT_TRUE(ReadFileBytes(path) == full);
}

// A translated caption sizes its control from where its text stands, never below the size it was laid out
// with: a right-aligned label keeps its right edge, a centred one its middle, a wrapped one its width; the
// group boxes around a check box widen to hold it. The short caption again gives back the layout.
TEST_F(LanguageTest, ACaptionSizesItsControlFromWhereItStandsAndAShortOneGivesBackTheLayout) {
    QWidget* central = w.form.centralWidget();
    auto* right = Named<QLabel>(central, "lblRight");
    right->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* middle = Named<QLabel>(central, "lblMiddle");
    middle->setAlignment(Qt::AlignCenter);
    auto* wrapped = Named<QLabel>(central, "lblWrapped");
    wrapped->setWordWrap(true);
    auto* outer = Named<QGroupBox>(central, "GroupBox1");
    auto* inner = Named<QGroupBox>(outer, "GroupBox2");
    auto* check = Named<QCheckBox>(inner, "chbCheck");
    auto* label = central->findChild<QLabel*>("lblNazov"); // never given a size
    label->move(400, 0);
    const QList<QWidget*> controls{right, middle, wrapped, check, inner, outer};
    const QList<QRect> laidOut{{200, 0, 40, 16},  {300, 0, 41, 16},  {10, 40, 60, 16},
                               {100, 10, 40, 20}, {10, 10, 150, 40}, {0, 100, 200, 60}};
    for (int i = 0; i < controls.size(); ++i)
        controls[i]->setGeometry(laidOut[i]);
    const auto translate = [&](const QString& caption) {
        QString file = "[Form1]\r\n";
        for (const char* name : {"lblRight", "lblMiddle", "lblWrapped", "chbCheck", "lblNazov"})
            file += name + QString("=%") + caption + "%\r\n";
        TranslateForm(WriteLanguage("fit.lng", file), &w.form);
    };

    translate("a caption far longer than any box it stands in");
    const int width = right->sizeHint().width();
    EXPECT_EQ(right->geometry(), QRect(240 - width, 0, width, 16));
    EXPECT_EQ(middle->width(), width);
    EXPECT_LE(std::abs(middle->geometry().center().x() - QRect(laidOut[1]).center().x()), 1);
    EXPECT_EQ(wrapped->geometry(), QRect(10, 40, 60, wrapped->heightForWidth(60)));
    EXPECT_GT(wrapped->height(), 16);
    EXPECT_EQ(check->geometry(), QRect(100, 10, check->sizeHint().width(), 20));
    for (QWidget* held : {static_cast<QWidget*>(check), static_cast<QWidget*>(inner)}) {
        const int room = held->parentWidget()->width() - held->geometry().right() - 1;
        EXPECT_TRUE(room > 0 && room < 5) << held->objectName().toStdString() << " " << room;
    }
    EXPECT_EQ(label->geometry(), QRect(QPoint(400, 0), label->sizeHint()));

    translate("a");
    for (int i = 0; i < controls.size(); ++i)
        EXPECT_EQ(controls[i]->geometry(), laidOut[i]) << controls[i]->objectName().toStdString();
    EXPECT_EQ(label->geometry(), QRect(QPoint(400, 0), label->sizeHint()));
    EXPECT_LT(label->width(), width);
    // Still sized by the toolkit at its first showing, as a label that was never translated.
    label->setText("a caption set before the window is first shown");
    w.form.show();
    EXPECT_EQ(label->size(), label->sizeHint());
}
