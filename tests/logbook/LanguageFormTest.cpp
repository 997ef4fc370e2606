#include <QGroupBox>
#include <QListWidget>
#include <QSet>
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
                   "TabSheet2=%Fuel prices%\r\neZakNazov=%Name%\r\nLabel21=%Selected customer%\r\n"
                   "GroupBox1=%Add a company: %\r\nTabSheet11=%Adding an item%\r\nBitBtn6=%Print%\r\n"
                   "[About]\r\nTabSheet1=%Options%\r\nchbNasSpolKB=%With Kelbor%\r\n"
                   "[-msg-]\r\n14=%Please choose a language.%\r\n15=%Restart the program.%\r\n");

QString WriteLanguage(StartedProgram& program, const QString& name, const QString& text) {
    const QString path = program.folder.File("Data/Languages/" + name);
    QDir().mkpath(program.folder.File("Data/Languages"));
    WriteFileBytes(path, ToAnsi(text));
    return path;
}

// The language choice as the language page stores it.
void StoreChoice(const QString& tag, const QString& name, const QString& file) {
    TMemIniFile settings(SettingsFilePath());
    settings.WriteString("language", "tag", tag);
    settings.WriteString("language", "name", name);
    settings.WriteString("language", "file", file);
    settings.UpdateFile();
}

// A widget's caption: a tab page's tab text, a label's, button's or group box's text.
QString CaptionOf(QWidget* w) {
    QWidget* stack = w ? w->parentWidget() : nullptr; // none for a name that no widget has
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    if (tabs && tabs->indexOf(w) >= 0)
        return tabs->tabText(tabs->indexOf(w));
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    auto* group = qobject_cast<QGroupBox*>(w);
    return group ? group->title() : QString();
}

// Every widget of the main window with a caption, on every page and tab, shown or not.
QList<QWidget*> CaptionWidgets(TForm1& form) {
    QList<QWidget*> widgets;
    for (QWidget* w : form.findChildren<QWidget*>())
        if (w->window() == &form && !CaptionOf(w).isEmpty())
            widgets << w;
    return widgets;
}

// The captions that the English file names, and their neighbours that it does not.
void ExpectEnglish(StartedProgram& program) {
    TForm1& form = *program.form;
    // Captions of each kind that had no name once: a label, a group box, a tab and a button.
    for (const auto& [name, english] : {std::pair{"Label21", "Selected customer"},
                                        {"GroupBox1", "Add a company: "},
                                        {"TabSheet11", "Adding an item"},
                                        {"BitBtn6", "Print"}})
        EXPECT_EQ(CaptionOf(form.centralWidget()->findChild<QWidget*>(name)), english) << name;
    EXPECT_EQ(form.Koniec1->text(), "&Exit");
    EXPECT_EQ(form.CustomerPage->BitBtn22->text(), "Save data");
    EXPECT_EQ(program.form->pgInfo->tabText(1), "Fuel prices");
    EXPECT_EQ(program.about->PgCtrlDorvane->tabText(0), "Options");
    EXPECT_EQ(program.about->chbNasSpolKB->text(), "With Kelbor");
    EXPECT_EQ(GetMsg(14), "Please choose a language.");

    EXPECT_EQ(form.Nastavenia1->text(), "&Nastavenia...");
    EXPECT_EQ(form.CustomerPage->BitBtn1->text(), QStringLiteral("Vyčistiť údaje / pridať nového zákazníka"));
    EXPECT_EQ(program.form->pgInfo->tabText(0), "PHM"); // Form1's TabSheet1 is not About's
    EXPECT_EQ(form.CustomerPage->eZakNazov->text(), "");
    EXPECT_EQ(GetMsg(15), "Restart the program.");
    EXPECT_EQ(GetMsg(13), QStringLiteral("Správa bola poslaná úspešne."));
}
} // namespace

TEST(LanguageForm, StoredLanguageIsAppliedToBothWindowsAtFirstShow) {
    StartedProgram program;
    const QString en = WriteLanguage(program, "Vozopis - EN.lng", English);
    StoreChoice("EN", "English", en);
    EXPECT_EQ(program.form->Koniec1->text(), "&Koniec");

    program.form->show();
    ExpectEnglish(program);
    EXPECT_EQ(LanguageTag, "EN");

    // a later showing does not load the file again
    program.form->Koniec1->setText("&Koniec");
    program.form->hide();
    program.form->show();
    EXPECT_EQ(program.form->Koniec1->text(), "&Koniec");
}

TEST(LanguageForm, WithoutAChoiceTheDefaultTagFileIsApplied) {
    StartedProgram program;
    WriteLanguage(program, "Vozopis - SK.lng", QStringLiteral("[Form1]\r\nKoniec1=%&Ukončiť%\r\n"));
    LanguageTag = "EN";
    program.form->show();
    EXPECT_EQ(program.form->Koniec1->text(), QStringLiteral("&Ukončiť"));
    EXPECT_EQ(LanguageTag, "");
}

TEST(LanguageForm, ChosenLanguageAppliesAtOnceToBothWindows) {
    StartedProgram program;
    program.form->show();
    WriteLanguage(program, "Vozopis - EN.lng", English);
    WriteLanguage(program, "Vozopis - SK.lng", "[-main-]\r\ntag=SK\r\nname=Slovensky\r\n");
    MessageBoxRecorder boxes;
    // Chosen on the support window's language page, as a user does.
    QTimer::singleShot(0, About, [&] {
        About->ListBox1->setCurrentRow(0);
        About->BitBtn5->click();
        About->reject();
    });
    About->ShowCenter("settingslng");
    ExpectEnglish(program);
    EXPECT_EQ(boxes.Texts(), QStringList("Restart the program."));
}

TEST(LanguageForm, TemplateHoldsBothWindowsTheMessagesAndEveryCaptionUnderItsOwnName) {
    StartedProgram program;
    program.form->show();
    const QString path = program.folder.File("Data/Languages/.lng");
    QDir().mkpath(program.folder.File("Data/Languages"));
    SaveLanguageTemplate(path, program.form.get());

    const TMemIniFile ini(path);
    EXPECT_EQ(ini.ReadSections(), (QStringList{"Form1", "About", "-msg-"}));
    EXPECT_EQ(ini.ReadString("Form1", "Sbor1", ""), QStringLiteral("%Súbor%"));
    EXPECT_EQ(ini.ReadString("Form1", "Koniec1", ""), "%&Koniec%");
    EXPECT_EQ(ini.ReadString("About", "TabSheet1", ""), "%" + program.about->PgCtrlDorvane->tabText(0) + "%");
    QStringList names;
    for (QWidget* w : CaptionWidgets(*program.form)) {
        names << w->objectName();
        EXPECT_EQ(ini.ReadString("Form1", w->objectName(), ""), '%' + CaptionOf(w).replace('\n', ' ') + '%')
            << CaptionOf(w).toStdString();
    }
    EXPECT_GT(names.size(), 170);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size()) << "one caption to a name";
    for (const QString& key : ini.ReadSection("Form1") + ini.ReadSection("About")) {
        EXPECT_FALSE(key.startsWith('e') && key.at(1).isUpper()) << key.toStdString(); // no edit fields
        EXPECT_FALSE(key.startsWith("qt_") || key.startsWith("Scroll") || key.startsWith("pnl"))
            << key.toStdString();
    }

    program.Restart(); // the same names at the next start
    QStringList again;
    for (QWidget* w : CaptionWidgets(*program.form))
        again << w->objectName();
    EXPECT_EQ(again, names);
}
