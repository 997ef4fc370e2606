#include <QApplication>
#include <QMenuBar>

#include "Colors.h"
#include "HandlerGuard.h"
#include "ProgramFixture.h"
#include "VersionBlock.h"

DEFINE_VERSION_BLOCK(VOZOPIS_VERSION);

namespace {
// Each menu as one line: its caption, then "name|text|shortcut|enabled|icon" per item, "-" per separator.
QStringList MenuLayout(QMenuBar* bar) {
    QStringList menus;
    for (QAction* top : bar->actions()) {
        menus << top->text();
        for (QAction* a : top->menu()->actions())
            menus.last() += a->isSeparator() ? QString("; -")
                                             : QString("; %1|%2|%3|%4|%5")
                                                   .arg(a->objectName(), a->text(), a->shortcut().toString())
                                                   .arg(a->isEnabled())
                                                   .arg(!a->icon().isNull());
    }
    return menus;
}

// One-line captions whose letters do not fit their label: capitals' accents (Č, Š) rise above the ascent.
QStringList ClippedCaptions(QWidget* root) {
    QStringList clipped;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        const QString text = label->text();
        const QFontMetrics metrics(label->font());
        const QRect contents = label->contentsRect(); // text centred in height, as every label has it
        const int baseline = contents.top() + (contents.height() - metrics.height()) / 2 + metrics.ascent();
        const QRect ink = metrics.tightBoundingRect(text).translated(0, baseline);
        if (label->isVisible() && !text.isEmpty() && !text.contains('\n') && !label->wordWrap() &&
            !Qt::mightBeRichText(text) && (ink.top() < 0 || ink.bottom() >= label->height()))
            clipped << text;
    }
    return clipped;
}
} // namespace

TEST(StartUp, FirstRunMakesAnEmptyDatabaseTheMenuCentredPanelsAndWholeCaptionsAndHelpGoesThroughTheShell) {
    MessageBoxRecorder boxes;
    StartedProgram program;
    TForm1& form = *program.form;
    EXPECT_EQ(form.windowTitle() + boxes.Texts().join(""), "Vozopis [v 1.00 (build 1)]");
    EXPECT_EQ(Column("select count(*) from sqlite_master"), QStringList("0")) << "tables come with first use";
    // The designed fonts: Tahoma in the main window, MS Sans Serif for the support window.
    EXPECT_EQ(std::tuple(FocusColor, form.CurrentPanel(), form.BitBtn4->isEnabled(),
                         bool(form.windowState() & Qt::WindowMaximized), QFontInfo(form.font()).family(),
                         QFontInfo(form.font()).pixelSize(), QFontInfo(QFont("MS Sans Serif", 8)).family()),
              std::tuple(0x00FEE6CFu, form.pnlMenu, false, true, "Tahoma", 11, "MS Sans Serif"));
    EXPECT_EQ(form.BitBtn4->text(), QStringLiteral("Vypočítať a uložiť údaje pre počiatočné stavy\n"
                                                   "pre ďalší kalendárny tok automaticky"));
    EXPECT_EQ(
        MenuLayout(form.menuBar()),
        QStringList({"Súbor; Pridavybrazkaznka1|&Pridať / upraviť zákazníka|F7|1|0; -; "
                     "Nastavenia1|&Nastavenia...|Ctrl+N|1|1; Zistiaktualizciu1|Zistiť aktualizáciu||1|1; -; "
                     "Koniec1|&Koniec|Esc|1|1",
                     "Zobraziť; Hlavnobrazovka1|&Hlavná obrazovka|Ctrl+H|1|0; -; "
                     "Evidenciajzd1|Evidencia jázd|Ctrl+J|0|0; Evidenciaat1|&Evidencia áut|Ctrl+E|0|0; "
                     "Dolujcedaje1|&Doplňujúce údaje|Ctrl+D|0|0; "
                     "dajepreprevodroka1|Údaje pre prevod roka|Ctrl+P|0|0",
                     "Pomocník; Pomocnk1|Pomocník|F1|1|1; "
                     "NavtvtestrnkuprogramuVozopis1|Navštívte stránku programu Vozopis||1|1; -; "
                     "Oprograme1|O programe...||1|1"}));
    ShellRecorder shell;
    form.Pomocnk1->trigger();
    form.NavtvtestrnkuprogramuVozopis1->trigger();
    EXPECT_EQ(shell.Opened(), QStringList({program.folder.File("Vozopis-help.chm"),
                                           "https://www.molvek.sk/site/vzps/popis.php"}));

    // The page panels stay centred, with negative offsets in a small window, half of -1 truncated to 0.
    form.setWindowState(Qt::WindowNoState);
    form.show();
    for (const auto& [size, pos] :
         {std::pair(QSize(1200, 800), QPoint(89, 56)), std::pair(QSize(1000, 600), QPoint(-11, -44)),
          std::pair(QSize(1021, 687), QPoint(0, 0))}) {
        form.centralWidget()->resize(size);
        for (QWidget* panel :
             {form.pnlMenu, form.pnlZakaznici, form.pnlJazdy, form.pnlAuta, form.pnlInfo, form.pnlPrevod})
            EXPECT_EQ(panel->pos(), pos) << size.width() << " " << panel->objectName().toStdString();
    }

    // Every page opened once, every tab of the master data shown: no caption is clipped.
    program.SelectCustomer("Doprava Nitra");
    for (QAction* page :
         {form.Pridavybrazkaznka1, form.Evidenciaat1, form.dajepreprevodroka1, form.Dolujcedaje1})
        page->trigger();
    for (int tab = 0; tab < form.pgInfo->count(); ++tab) {
        form.pgInfo->setCurrentIndex(tab);
        EXPECT_EQ(ClippedCaptions(&form), QStringList()) << "master-data tab " << tab;
    }
    // The opening-states button: on its page's tab, both lines fitting, clear of the other controls shown.
    EXPECT_EQ(form.pgPrevod->geometry(), form.pnlPrevod->rect());
    QWidget* tab = form.pgPrevod->currentWidget();
    QPushButton* button = form.BitBtn4;
    const QRect onTab(button->mapTo(tab, QPoint(0, 0)), button->size());
    const QSize text = button->fontMetrics().boundingRect(QRect(), 0, button->text()).size();
    EXPECT_TRUE(button->isVisible() && tab->isAncestorOf(button) && tab->rect().contains(onTab));
    EXPECT_EQ(button->size().expandedTo(text + QSize(8, 4)), button->size()) << text.width();
    for (QWidget* other : tab->findChildren<QWidget*>())
        EXPECT_FALSE(other != button && other->isVisible() && !other->isAncestorOf(button) &&
                     !button->isAncestorOf(other) &&
                     QRect(other->mapTo(tab, QPoint(0, 0)), other->size()).intersects(onTab))
            << other->objectName().toStdString() << " " << other->metaObject()->className();
}

TEST(StartUp, FocusColourTakesNamesAndNumbersAndAnInvalidOneIsReportedWithTheDefaultKept) {
    const QPalette palette = QApplication::palette();
    // System (one per colour group), fixed and web colour names, numbers; then no colour: the default stays.
    QList<std::pair<QString, QColor>> cases = {
        {"clBtnFace", palette.color(QPalette::Button)},
        {"clGrayText", palette.color(QPalette::Disabled, QPalette::Text)},
        {"clNone", palette.color(QPalette::Base)}};
    for (const QString named :
         {"clRed=#ff0000", "clskyblue=#a6caf0", "clMedGray=#a0a0a4", "clMoneyGreen=#c0dcc0",
          "clWebAliceBlue=#f0f8ff", "255=#ff0000", "$00FF0000=#0000ff", " $00FEE6CF=#cfe6fe",
          "blue-ish=", "clBlueish=", "clWeb=", "$=", "99999999999="})
        cases.append({named.section('=', 0, 0), QColor(named.section('=', 1))});
    for (const auto& [text, color] : cases) {
        MessageBoxRecorder boxes;
        StartedProgram program("[Main]\r\ncolor=" + text.toLatin1() + "\r\n");
        const Boxes error{{"'" + text + "' is not a valid integer value.", "Vozopis", MB_ICONERROR}};
        EXPECT_EQ(ColorFromBgr(FocusColor), color.isValid() ? color : QColor(0xCF, 0xE6, 0xFE))
            << text.toStdString();
        EXPECT_EQ(boxes.Shown(), color.isValid() ? Boxes() : error);
        EXPECT_NE(Db, nullptr) << text.toStdString() << ": the database is opened all the same";
    }
}

TEST(Closing,
     EscAsksOnlyYesClosesAndIsRememberedTheSessionEndDoesNotAskAndAnUnopenableDatabaseIsReportedNext) {
    MessageBoxRecorder boxes;
    StartedProgram program;
    TForm1* form = program.form.get();
    ASSERT_TRUE(program.ShowActive());
    const auto asked = [&] { return std::pair(boxes.Shown().size(), form->isVisible()); };

    boxes.Answer(ID_NO);
    QTest::keyClick(form, Qt::Key_Escape);
    EXPECT_EQ(boxes.Shown(), Boxes({{QStringLiteral("Naozaj chcete aplikáciu ukončiť?"), "Vozopis", 36}}));
    EXPECT_TRUE(form->isVisible()) << "No keeps the program running";
    boxes.Answer(ID_YES);
    form->Koniec1->trigger();
    EXPECT_EQ(asked(), std::pair(size_t(2), false)) << "a second request asks again";
    form->show();
    form->close();
    EXPECT_EQ(asked(), std::pair(size_t(2), false)) << "a Yes is remembered";

    // At the session's end it closes without the question, and the database goes with the window.
    program.Restart();
    form = program.form.get();
    form->WMQueryEndSession();
    form->close();
    EXPECT_EQ(asked(), std::pair(size_t(2), false));
    program.Stop();
    EXPECT_EQ(Db, nullptr) << "closed, so an open transaction is rolled back";

    // A database that cannot be opened is reported; the window goes on, page actions are refused.
    QFile::remove(program.folder.File("Data/data.mvk"));
    QDir().mkpath(program.folder.File("Data/data.mvk"));
    program.Start();
    EXPECT_EQ(boxes.Texts().value(2).section(" : ", 0, 0),
              "Failed to open database \"" + program.folder.File("Data/data.mvk") + "\"");
    program.form->show();
    EXPECT_TRUE(!Db && !FirstShow);
    EXPECT_FALSE(RunGuarded([] { Database(); }));
    EXPECT_EQ(boxes.Texts().mid(3),
              QStringList(QStringLiteral("Databáza nie je otvorená. Skontrolujte priečinok "
                                         "Data a spustite program znova.")));
}
