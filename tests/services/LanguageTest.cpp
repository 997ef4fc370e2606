#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

#include "Encoding.h"
#include "Exception.h"
#include "IniFile.h"
#include "Language.h"
#include "Messages.h"
#include "TestSupport.h"

namespace {
template <typename W, typename... Text> W* Named(QWidget* parent, const char* name, const Text&... text) {
    auto* widget = new W(text..., parent);
    widget->setObjectName(name);
    return widget;
}

// A small main window "Form1" with a support window "About" beside it, holding one component
// of each translated kind and an edit field.
struct TestWindows {
    TestWindows() {
        form.setObjectName("Form1");
        QMenu* file = form.menuBar()->addMenu(QStringLiteral("Súbor"));
        file->setObjectName("Sbor1");
        Koniec1 = file->addAction(QStringLiteral("&Koniec"));
        Koniec1->setObjectName("Koniec1");
        auto* central = new QWidget(&form);
        form.setCentralWidget(central);
        BitBtn1 = Named<QPushButton>(central, "BitBtn1", QStringLiteral("Uložiť"));
        BitBtn2 = Named<QPushButton>(central, "BitBtn2", QStringLiteral("Zmazať"));
        SpeedButton1 = Named<QToolButton>(central, "SpeedButton1");
        SpeedButton1->setText("...");
        lblNazov = Named<QLabel>(central, "lblNazov", QStringLiteral("Názov:"));
        Image1 = Named<QLabel>(central, "Image1");
        QPixmap picture(8, 8);
        picture.fill(Qt::red);
        Image1->setPixmap(picture);
        GroupBox1 = Named<QGroupBox>(central, "GroupBox1", QStringLiteral("Osoba: "));
        rbFO = Named<QRadioButton>(GroupBox1, "rbFO", QStringLiteral("Fyzická osoba"));
        eNazov = Named<QLineEdit>(central, "eNazov", "Alfa");
        tabs = Named<QTabWidget>(central, "PageControl1");
        for (const char* name : {"TabSheet1", "TabSheet2"})
            tabs->addTab(Named<QWidget>(nullptr, name), QString(name) + " SK");
        StatusBar1 = form.statusBar();
        StatusBar1->setObjectName("StatusBar1");
        for (int i = 0; i < 13; ++i)
            StatusBar1->addWidget(new QLabel(QString("panel %1").arg(i)));

        about = Named<QDialog>(&form, "About");
        aboutButton = Named<QPushButton>(about, "BitBtn1", QStringLiteral("Zavrieť"));

        MessageTable = QStringList(21, QString());
        InitDefaultMessages();
    }
    QString Tab(int index) const { return tabs->tabText(index); }
    // Every translatable text but the status bar's, joined by '|'.
    QString Texts() const {
        return Koniec1->parent()->property("title").toString() + '|' + Koniec1->text() + '|' +
               BitBtn1->text() + '|' + BitBtn2->text() + '|' + SpeedButton1->text() + '|' + lblNazov->text() +
               '|' + GroupBox1->title() + '|' + rbFO->text() + '|' + eNazov->text() + '|' + Tab(0) + '|' +
               Tab(1) + '|' + aboutButton->text();
    }
    QString Panel(int index) const { return StatusBar1->findChildren<QLabel*>()[index]->text(); }

    QMainWindow form;
    QAction* Koniec1;
    QPushButton *BitBtn1, *BitBtn2;
    QToolButton* SpeedButton1;
    QLabel* lblNazov;
    QLabel* Image1; // a picture, not a caption
    QGroupBox* GroupBox1;
    QRadioButton* rbFO;
    QLineEdit* eNazov;
    QTabWidget* tabs;
    QStatusBar* StatusBar1;
    QDialog* about;
    QPushButton* aboutButton; // named BitBtn1 as well
};

class LanguageTest : public ::testing::Test {
protected:
    QString Languages() const { return folder.File("Data/Languages/"); }
    QString WriteLanguage(const QString& name, const QString& text) {
        QDir().mkpath(Languages());
        WriteFileBytes(Languages() + name, ToAnsi(text));
        return Languages() + name;
    }
    void Translate(const QString& text) { TranslateForm(WriteLanguage("test.lng", text), &w.form); }
    // Section names of a file, in file order.
    static QStringList Sections(const QString& path) { return TMemIniFile(path).ReadSections(); }

    TempProgramFolder folder;
    TestWindows w;
};

const QString Untranslated = QStringLiteral(
    "Súbor|&Koniec|Uložiť|Zmazať|...|Názov:|Osoba: |Fyzická osoba|Alfa|TabSheet1 SK|TabSheet2 SK|Zavrieť");
} // namespace

TEST_F(LanguageTest, ChangesExactlyTheNamedButtonMenuItemTabAndMessage) {
    QStringList messages = MessageTable;
    Translate("[Form1]\r\nBitBtn1=%Save%\r\nKoniec1=%&Exit%\r\nTabSheet2=%Second%\r\n"
              "[-msg-]\r\n14=%Please choose a language.%\r\n");
    // BitBtn1 of the other window keeps its text.
    EXPECT_EQ(w.Texts(), QStringLiteral("Súbor|&Exit|Save|Zmazať|...|Názov:|Osoba: |Fyzická osoba|Alfa|"
                                        "TabSheet1 SK|Second|Zavrieť"));
    EXPECT_EQ(GetMsg(14), "Please choose a language.");
    messages[14] = "%Please choose a language.%"; // stored with its marks
    EXPECT_EQ(MessageTable, messages);
}

TEST_F(LanguageTest, EveryKindTakesItsText) {
    Translate("[Form1]\r\nSpeedButton1=%Browse%\r\nlblNazov=%Name:%\r\nGroupBox1=%Person: %\r\n"
              "rbFO=%Natural person%\r\nSbor1=%File%\r\nImage1=%Picture%\r\n[About]\r\nBitBtn1=%Close%\r\n");
    // The marks keep the trailing blank of "Person: ".
    EXPECT_EQ(w.Texts(), QStringLiteral("File|&Koniec|Uložiť|Zmazať|Browse|Name:|Person: |Natural person|"
                                        "Alfa|TabSheet1 SK|TabSheet2 SK|Close"));
    EXPECT_FALSE(w.Image1->pixmap().isNull()) << "a picture keeps its picture";
}

TEST_F(LanguageTest, NamesCompareWithLetterCaseEditFieldsStayAndMarksAreStripped) {
    Translate("[form1]\r\nBitBtn1=%Save%\r\n[Form1]\r\nbitbtn2=%Delete%\r\nKONIEC1=%Exit%\r\n");
    EXPECT_EQ(w.Texts(), Untranslated);
    Translate("[-main-]\r\nBitBtn1=%Main%\r\n[Form1]\r\neNazov=%Beta%\r\nNothing1=%x%\r\n"
              "BitBtn1=%%\r\nBitBtn2=Delete\r\nlblNazov=%%Name%%\r\n[Form2]\r\nBitBtn1=%Other%\r\n");
    // Two marks only: an empty caption; no marks: used as it is; one mark at each end is stripped only.
    EXPECT_EQ(w.Texts(), QStringLiteral("Súbor|&Koniec||Delete|...|%Name%|Osoba: |Fyzická osoba|Alfa|"
                                        "TabSheet1 SK|TabSheet2 SK|Zavrieť"));
}

TEST_F(LanguageTest, StatusBarKeysNameTheirPanel) {
    Translate("[Form1]\r\nStatusBar1.Panels[12]=%twelve%\r\nStatusBar1=%zero%\r\n"
              "StatusBar1.Panels[13]=%none%\r\nStatusBar1.Panels[a]=%bad%\r\n");
    EXPECT_EQ(w.Panel(12), "twelve");
    EXPECT_EQ(w.Panel(0), "zero");
    EXPECT_EQ(w.Panel(1), "panel 1");
}

TEST_F(LanguageTest, AnotherOrAMissingLanguageKeepsTextsItDoesNotName) {
    Translate("[Form1]\r\nBitBtn1=%Save%\r\nBitBtn2=%Delete%\r\n[-msg-]\r\n13=%Sent.%\r\n");
    Translate("[Form1]\r\nBitBtn1=%Speichern%\r\n");
    const QStringList messages = MessageTable;
    SetLanguage("EN", Languages() + "missing.lng", &w.form);
    EXPECT_EQ(LanguageTag, "EN");
    EXPECT_EQ(w.BitBtn1->text() + "|" + w.BitBtn2->text() + "|" + GetMsg(13), "Speichern|Delete|Sent.");
    EXPECT_EQ(MessageTable, messages);
}

TEST_F(LanguageTest, LoadWithoutSettingsPrefersTheUntaggedProductFileToTheDefaultTagFile) {
    WriteLanguage("Vozopis - SK.lng", "[Form1]\r\nBitBtn1=%SK file%\r\n");
    LanguageTag = "XX";
    LoadLanguage("Vozopis", "SK", &w.form);
    EXPECT_EQ(w.BitBtn1->text(), "SK file");
    EXPECT_EQ(LanguageTag, "");
    WriteLanguage("Vozopis.lng", "[Form1]\r\nBitBtn1=%plain file%\r\n");
    LoadLanguage("Vozopis", "SK", &w.form);
    EXPECT_EQ(w.BitBtn1->text(), "plain file");
}

TEST_F(LanguageTest, LoadUsesTheStoredChoiceAndForAPathOfAnotherFolderTheTagsFileHere) {
    const QString en = WriteLanguage("Vozopis - EN.lng", "[Form1]\r\nBitBtn1=%Save%\r\n");
    WriteLanguage("Vozopis - SK.lng", "[Form1]\r\nBitBtn1=%SK file%\r\n");
    for (const QString& file : {en, QString("C:\\Vozopis\\Data\\Languages\\Vozopis - EN.lng")}) {
        SCOPED_TRACE(file.toStdString());
        WriteFileBytes(folder.File("Data/settings.mvk"),
                       ToAnsi("[language]\r\ntag=EN\r\nfile=" + file + "\r\n"));
        w.BitBtn1->setText("before");
        LanguageTag.clear();
        LoadLanguage("Vozopis", "SK", &w.form);
        EXPECT_EQ(w.BitBtn1->text(), "Save");
        EXPECT_EQ(LanguageTag, "EN");
    }
}

TEST_F(LanguageTest, TemplateOfANewFileHoldsWindowsThenMessages) {
    w.BitBtn2->setText(QStringLiteral("Dva\r\nriadky"));
    const QString path = Languages() + ".lng";
    EXPECT_THROW(SaveLanguageTemplate(path, &w.form), EFileError) << "no folder is created";
    QDir().mkpath(Languages());
    SaveLanguageTemplate(path, &w.form);

    EXPECT_EQ(Sections(path), (QStringList{"Form1", "About", "-msg-"}));
    const TMemIniFile ini(path);
    QStringList keys{"Sbor1",    "Koniec1",   "BitBtn1", "BitBtn2",   "SpeedButton1",
                     "lblNazov", "GroupBox1", "rbFO",    "TabSheet1", "TabSheet2"};
    for (int i = 0; i < 13; ++i)
        keys << QString("StatusBar1.Panels[%1]").arg(i);
    EXPECT_EQ(ini.ReadSection("Form1"), keys);
    EXPECT_EQ(ini.ReadString("Form1", "BitBtn1", ""), QStringLiteral("%Uložiť%"));
    EXPECT_EQ(ini.ReadString("Form1", "BitBtn2", ""), "%Dva riadky%"); // one line per entry
    EXPECT_EQ(ini.ReadString("Form1", "GroupBox1", ""), "%Osoba: %");
    EXPECT_EQ(ini.ReadSection("About"), QStringList{"BitBtn1"});
    EXPECT_EQ(ini.ReadString("-msg-", "14", ""), QStringLiteral("%Prosím vyberte jazyk.%"));
    EXPECT_EQ(ini.ReadString("-msg-", "7", "x"), "");
    EXPECT_EQ(ini.ReadSection("-msg-").size(), 21);
    EXPECT_TRUE(ReadFileBytes(path).contains(ToAnsi(QStringLiteral("BitBtn1=%Uložiť%\r\n"))));
}

TEST_F(LanguageTest, TemplateKeepsMainSectionAndReplacesValues) {
    const QString path = WriteLanguage("Vozopis - EN.lng", "[-main-]\r\ntag=EN\r\nname=English\r\n"
                                                           "autor1=Jana\r\n[Form1]\r\nBitBtn1=%Save%\r\n"
                                                           "Old1=%kept%\r\n");
    TranslateForm(path, &w.form);
    w.BitBtn1->setText("  Store  ");
    w.tabs->setTabText(0, QStringLiteral("Prvá"));
    SaveLanguageTemplate(path, &w.form);
    EXPECT_EQ(Sections(path), (QStringList{"-main-", "Form1", "About", "-msg-"}));
    const TMemIniFile ini(path);
    EXPECT_EQ(ini.ReadSection("-main-"), (QStringList{"tag", "name", "autor1"}));
    EXPECT_EQ(ini.ReadString("-main-", "name", ""), "English");
    EXPECT_EQ(ini.ReadString("Form1", "BitBtn1", ""), "%  Store  %");
    EXPECT_EQ(ini.ReadString("Form1", "Old1", ""), "%kept%");
    TestWindows fresh; // the template reads back to the same texts
    TranslateForm(path, &fresh.form);
    EXPECT_EQ(fresh.BitBtn1->text() + "|" + fresh.Tab(0), QStringLiteral("  Store  |Prvá"));
}
