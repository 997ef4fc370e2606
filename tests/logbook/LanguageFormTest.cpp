#include <QGroupBox>
#include <QListWidget>
#include <QTimer>

#include "Encoding.h"
#include "IniFile.h"
#include "Language.h"
#include "Messages.h"
#include "ProgramFixture.h"

namespace {
// A widget's caption: a tab page's tab text, a label's, button's or group box's text.
QString CaptionOf(QWidget* w) {
    QWidget* stack = w ? w->parentWidget() : nullptr; // none for a name that no widget has
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    if (tabs && tabs->indexOf(w) >= 0)
        return tabs->tabText(tabs->indexOf(w));
    if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w))
        return w->property("text").toString();
    return qobject_cast<QGroupBox*>(w) ? w->property("title").toString() : QString();
}
} // namespace

// No language stored: the first showing applies the default tag's file. One chosen on the language page
// applies at once, to both windows and the messages, and at the next start; the template holds it.
TEST(LanguageForm, LanguagesApplyToBothWindowsAtFirstShowAndWhenChosenAndTheTemplateNamesEveryCaption) {
    StartedProgram program;
    QDir().mkpath(program.folder.File("Data/Languages"));
    const auto write = [&](const QString& file, const QString& text) { WriteFileBytes(file, ToAnsi(text)); };
    write(program.folder.File("Data/Languages/Vozopis - SK.lng"),
          QStringLiteral("[-main-]\r\ntag=SK\r\nname=Slovensky\r\n[Form1]\r\nKoniec1=%&Ukončiť%\r\n"));
    write(program.folder.File("Data/Languages/Vozopis - EN.lng"),
          "[-main-]\r\ntag=EN\r\nname=English\r\n"
          "[Form1]\r\nKoniec1=%&Exit%\r\nBitBtn22=%Save data%\r\nTabSheet2=%Fuel prices%\r\n"
          "Label21=%Selected customer%\r\nGroupBox1=%Add a company: %\r\nTabSheet11=%Adding an item%\r\n"
          "BitBtn6=%Print%\r\n[About]\r\nTabSheet1=%Options%\r\nchbNasSpolKB=%With Kelbor%\r\n"
          "[-msg-]\r\n14=%Please choose a language.%\r\n15=%Restart the program.%\r\n");
    write(SettingsFilePath(), "[general]\r\nSpolKB=1\r\nSpolTR=0\r\nSpolKBpath=/opt/kelbor\r\n");
    // The first showing applies the language and copies the cooperation settings; a later one not.
    LanguageTag = "EN";
    program.form->show();
    EXPECT_EQ(program.form->Koniec1->text() + LanguageTag, QStringLiteral("&Ukončiť"));
    EXPECT_EQ(std::tuple(About->chbNasSpolKB->isChecked(), About->chbNasSpolTR->isChecked(),
                         About->eNasSpolKB->text()),
              std::tuple(true, false, QString("/opt/kelbor")));
    program.form->Koniec1->setText("&Koniec");
    About->eNasSpolKB->setText("changed");
    program.form->hide();
    program.form->show();
    EXPECT_EQ(program.form->Koniec1->text() + About->eNasSpolKB->text(), "&Koniecchanged");

    MessageBoxRecorder boxes;
    QTimer::singleShot(0, About, [&] {
        About->ListBox1->setCurrentRow(0);
        About->BitBtn5->click();
        About->reject();
    });
    About->ShowCenter("settingslng");
    EXPECT_EQ(boxes.Texts(), QStringList("Restart the program."));

    SaveLanguageTemplate(program.folder.File("Data/Languages/.lng"), program.form.get());
    const TMemIniFile ini(program.folder.File("Data/Languages/.lng"));
    EXPECT_EQ(ini.ReadSections(), (QStringList{"Form1", "About", "-msg-"}));
    EXPECT_EQ(ini.ReadString("Form1", "Koniec1", "") + ini.ReadString("About", "TabSheet1", ""),
              "%&Exit%%Options%");
    QStringList names;
    for (QWidget* w : program.form->findChildren<QWidget*>()) { // on every page and tab, shown or not
        if (w->window() != program.form.get() || CaptionOf(w).isEmpty())
            continue;
        names << w->objectName();
        EXPECT_EQ(ini.ReadString("Form1", w->objectName(), ""), '%' + CaptionOf(w).replace('\n', ' ') + '%')
            << CaptionOf(w).toStdString();
    }
    EXPECT_GT(names.size(), 170);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size()) << "one caption to a name";

    // The choice was stored: the next start applies it at its first showing, to captions of each kind that
    // once had no name among them, leaving their neighbours alone.
    LanguageTag.clear();
    program.Restart();
    TForm1& form = *program.form;
    QStringList texts{form.Koniec1->text() + form.Nastavenia1->text() + LanguageTag,
                      About->PgCtrlDorvane->tabText(0) + About->chbNasSpolKB->text(),
                      GetMsg(13) + GetMsg(14)};
    for (const char* name :
         {"BitBtn22", "TabSheet2", "Label21", "GroupBox1", "TabSheet11", "BitBtn6", "BitBtn1", "TabSheet1"})
        texts << CaptionOf(form.centralWidget()->findChild<QWidget*>(name));
    EXPECT_EQ(texts, QStringList({"&Exit&Nastavenia...EN", "OptionsWith Kelbor",
                                  QStringLiteral("Správa bola poslaná úspešne.Please choose a language."),
                                  "Save data", "Fuel prices", "Selected customer",
                                  "Add a company: ", "Adding an item", "Print",
                                  QStringLiteral("Vyčistiť údaje / pridať nového zákazníka"), "PHM"}));
}

// The template's panel text stands for no selection: with one, the panel names it again; without, the
// language file's text stays.
TEST(LanguageForm, ALanguageFileLeavesTheSelectionNamedOrItsOwnTextForNone) {
    StartedProgram program;
    program.form->show();
    program.SelectCustomer("Alfa", "2024");
    const QString file = program.folder.File("en.lng");
    WriteFileBytes(file, "[Form1]\r\npVybZak=%no customer selected%\r\nLabel21=%Selected customer%\r\n");
    QStringList shown;
    for (const bool selected : {true, false}) {
        if (!selected)
            program.form->MainScreen->SelectCustomerYear("", "");
        SetLanguage("EN", file, program.form.get());
        shown << program.form->MainScreen->pVybZak->text() + " | " +
                     program.form->centralWidget()->findChild<QLabel*>("Label21")->text();
    }
    EXPECT_EQ(shown,
              QStringList({"Alfa - 2024 | Selected customer", "no customer selected | Selected customer"}));
}
