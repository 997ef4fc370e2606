#include <QGroupBox>
#include <QListWidget>
#include <QTimer>

#include "Encoding.h"
#include "IniFile.h"
#include "Language.h"
#include "Messages.h"
#include "ProgramFixture.h"

namespace {
const QString English =
    QStringLiteral("[-main-]\r\ntag=EN\r\nname=English\r\n"
                   "[Form1]\r\nKoniec1=%&Exit%\r\nBitBtn22=%Save data%\r\n"
                   "TabSheet2=%Fuel prices%\r\nLabel21=%Selected customer%\r\n"
                   "GroupBox1=%Add a company: %\r\nTabSheet11=%Adding an item%\r\nBitBtn6=%Print%\r\n"
                   "[About]\r\nTabSheet1=%Options%\r\nchbNasSpolKB=%With Kelbor%\r\n"
                   "[-msg-]\r\n14=%Please choose a language.%\r\n15=%Restart the program.%\r\n");

QString WriteLanguage(StartedProgram& program, const QString& name, const QString& text) {
    const QString path = program.folder.File("Data/Languages/" + name);
    QDir().mkpath(program.folder.File("Data/Languages"));
    WriteFileBytes(path, ToAnsi(text));
    return path;
}

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

// The English captions, one of each kind that once had no name among them, and neighbours left alone.
void ExpectEnglish(StartedProgram& program) {
    TForm1& form = *program.form;
    QStringList captions;
    for (const char* name :
         {"BitBtn22", "TabSheet2", "Label21", "GroupBox1", "TabSheet11", "BitBtn6", "BitBtn1", "TabSheet1"})
        captions << CaptionOf(form.centralWidget()->findChild<QWidget*>(name));
    EXPECT_EQ(captions, QStringList({"Save data", "Fuel prices", "Selected customer",
                                     "Add a company: ", "Adding an item", "Print",
                                     QStringLiteral("Vyčistiť údaje / pridať nového zákazníka"), "PHM"}));
    EXPECT_EQ(form.Koniec1->text() + form.Nastavenia1->text(), "&Exit&Nastavenia...");
    EXPECT_EQ(program.about->PgCtrlDorvane->tabText(0) + program.about->chbNasSpolKB->text(),
              "OptionsWith Kelbor");
    EXPECT_EQ(QStringList({GetMsg(13), GetMsg(14), GetMsg(15)}),
              QStringList({QStringLiteral("Správa bola poslaná úspešne."), "Please choose a language.",
                           "Restart the program."}));
}
} // namespace

// The first showing applies the stored language and copies the cooperation settings; a later one not.
TEST(LanguageForm, StoredLanguageIsAppliedToBothWindowsAtFirstShowOnly) {
    StartedProgram program;
    const QString en = WriteLanguage(program, "Vozopis - EN.lng", English);
    WriteFileBytes(SettingsFilePath(),
                   ToAnsi("[general]\r\nSpolKB=1\r\nSpolTR=0\r\nSpolKBpath=/opt/kelbor\r\n"
                          "[language]\r\ntag=EN\r\nname=English\r\nfile=" +
                          en + "\r\n"));
    EXPECT_EQ(program.form->Koniec1->text(), "&Koniec");

    program.form->show();
    ExpectEnglish(program);
    EXPECT_EQ(LanguageTag, "EN");
    EXPECT_EQ(std::tuple(About->chbNasSpolKB->isChecked(), About->chbNasSpolTR->isChecked(),
                         About->eNasSpolKB->text()),
              std::tuple(true, false, QString("/opt/kelbor")));

    program.form->Koniec1->setText("&Koniec");
    About->eNasSpolKB->setText("changed");
    program.form->hide();
    program.form->show();
    EXPECT_EQ(program.form->Koniec1->text() + About->eNasSpolKB->text(), "&Koniecchanged");
}

// A language chosen on the language page applies at once; the template holds it, every caption named.
TEST(LanguageForm, ChosenLanguageAppliesAtOnceAndTheTemplateHoldsItWithEveryCaptionUnderItsName) {
    StartedProgram program;
    // With no choice stored, the first showing applies the default tag's file.
    WriteLanguage(
        program, "Vozopis - SK.lng",
        QStringLiteral("[-main-]\r\ntag=SK\r\nname=Slovensky\r\n[Form1]\r\nKoniec1=%&Ukončiť%\r\n"));
    WriteLanguage(program, "Vozopis - EN.lng", English);
    LanguageTag = "EN";
    program.form->show();
    EXPECT_EQ(program.form->Koniec1->text() + LanguageTag, QStringLiteral("&Ukončiť"));
    MessageBoxRecorder boxes;
    QTimer::singleShot(0, About, [&] {
        About->ListBox1->setCurrentRow(0);
        About->BitBtn5->click();
        About->reject();
    });
    About->ShowCenter("settingslng");
    ExpectEnglish(program);
    EXPECT_EQ(boxes.Texts(), QStringList("Restart the program."));

    const QString path = program.folder.File("Data/Languages/.lng");
    SaveLanguageTemplate(path, program.form.get());

    const TMemIniFile ini(path);
    EXPECT_EQ(ini.ReadSections(), (QStringList{"Form1", "About", "-msg-"}));
    EXPECT_EQ(ini.ReadString("Form1", "Koniec1", ""), "%&Exit%");
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
}
