#include <QApplication>
#include <QMenuBar>

#include "HandlerGuard.h"
#include "ProgramFixture.h"
#include "VersionBlock.h"

DEFINE_VERSION_BLOCK(VOZOPIS_VERSION);

namespace {
// Each menu as one line: its caption, then "name|text|shortcut|enabled|icon" per item, "-" per separator.
QStringList MenuLayout(QMenuBar* bar) {
    QStringList menus;
    for (QAction* top : bar->actions()) {
        QStringList items{top->text()};
        for (QAction* a : top->menu()->actions())
            items << (a->isSeparator() ? QString("-")
                                       : QString("%1|%2|%3|%4|%5")
                                             .arg(a->objectName(), a->text(), a->shortcut().toString())
                                             .arg(a->isEnabled())
                                             .arg(!a->icon().isNull()));
        menus << items.join("; ");
    }
    return menus;
}

// One-line captions whose letters do not fit their label: capitals' accents (Č, Š) rise above the ascent.
QStringList ClippedCaptions(QWidget* root) {
    QStringList clipped;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        const QString text = label->text();
        if (!label->isVisible() || text.isEmpty() || text.contains('\n') || label->wordWrap() ||
            Qt::mightBeRichText(text))
            continue;
        const QFontMetrics metrics(label->font());
        const QRect contents = label->contentsRect(); // text centred in height, as every label has it
        const int top = contents.top() + (contents.height() - metrics.height()) / 2;
        const QRect ink = metrics.tightBoundingRect(text).translated(0, top + metrics.ascent());
        if (ink.top() < 0 || ink.bottom() >= label->height())
            clipped << text;
    }
    return clipped;
}
} // namespace

TEST(StartUp, FirstRunInAnEmptyFolderCreatesDataAndAnEmptyDatabaseAndCentresThePanels) {
    MessageBoxRecorder boxes;
    StartedProgram program;
    TForm1& form = *program.form;
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(form.windowTitle(), "Vozopis [v 1.00 (build 1)]");
    ASSERT_NE(Db, nullptr);
    EXPECT_EQ(Db->Query("select name from sqlite_master")->RowCount(), 0)
        << "tables are created on first use only";
    EXPECT_EQ(FocusColor, 0x00FEE6CFu);
    EXPECT_EQ(form.CurrentPanel(), form.pnlMenu);
    EXPECT_TRUE(form.MainScreen->eMainRok->text().isEmpty());
    EXPECT_FALSE(form.BitBtn4->isEnabled());
    EXPECT_EQ(form.BitBtn4->text(), QStringLiteral("Vypočítať a uložiť údaje pre počiatočné stavy\n"
                                                   "pre ďalší kalendárny tok automaticky"));
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
    // The designed fonts: Tahoma in the main window, bold too; MS Sans Serif for the support window.
    QFont bold = form.font();
    bold.setBold(true);
    EXPECT_EQ(QFontInfo(bold).family() + QString::number(QFontInfo(bold).pixelSize()), "Tahoma11");
    EXPECT_EQ(QFontInfo(QFont("MS Sans Serif", 8)).family(), "MS Sans Serif");

    // The page panels stay centred, with negative offsets in a small window.
    form.setWindowState(Qt::WindowNoState);
    form.show();
    form.centralWidget()->resize(1200, 800);
    EXPECT_EQ(form.pnlJazdy->pos(), QPoint(89, 56));
    form.centralWidget()->resize(1000, 600);
    for (QWidget* panel :
         {form.pnlMenu, form.pnlZakaznici, form.pnlJazdy, form.pnlAuta, form.pnlInfo, form.pnlPrevod})
        EXPECT_EQ(panel->pos(), QPoint(-11, -44)) << panel->objectName().toStdString();
    form.centralWidget()->resize(1021, 687);
    EXPECT_EQ(form.pnlMenu->pos(), QPoint(0, 0)) << "half of -1 truncates toward zero";
}

TEST(StartUp, MenuHasEveryCaptionShortcutAndSeparatorAndHelpAndWebPageGoThroughTheShell) {
    StartedProgram program;
    EXPECT_EQ(
        MenuLayout(program.form->menuBar()),
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
    program.form->Pomocnk1->trigger();
    program.form->NavtvtestrnkuprogramuVozopis1->trigger();
    EXPECT_EQ(shell.Opened(), QStringList({program.folder.File("Vozopis-help.chm"),
                                           "https://www.molvek.sk/site/vzps/popis.php"}));
}

TEST(StartUp, FocusColourTakesNamesAndNumbersAndAnInvalidOneIsReportedWithTheDefaultKept) {
    const auto palette = [](QPalette::ColorRole role, QPalette::ColorGroup group = QPalette::Active) {
        const QColor c = QApplication::palette().color(group, role);
        return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
    };
    const auto start = [](const char* text, uint32_t color, const Boxes& shown) {
        MessageBoxRecorder boxes;
        StartedProgram program(QByteArray("[Main]\r\ncolor=") + text + "\r\n");
        EXPECT_EQ(FocusColor, color) << text;
        EXPECT_EQ(boxes.Shown(), shown) << text;
        ASSERT_NE(Db, nullptr) << text << ": the database is opened all the same";
        EXPECT_EQ(program.form->CurrentPanel(), program.form->pnlMenu) << text;
    };
    // Fixed and web colour names and numbers, then system names (from the palette, one per colour group).
    for (const char* named :
         {"clRed=0000FF", "clskyblue=F0CAA6", "clMedGray=A4A0A0", "clMoneyGreen=C0DCC0",
          "clWebAliceBlue=FFF8F0", "255=0000FF", "$00FF0000=FF0000", " $00FEE6CF=FEE6CF"}) {
        const QList<QByteArray> parts = QByteArray(named).split('=');
        start(parts[0].constData(), parts[1].toUInt(nullptr, 16), {});
    }
    start("clBtnFace", palette(QPalette::Button), {});
    start("clGrayText", palette(QPalette::Text, QPalette::Disabled), {});
    start("clNone", palette(QPalette::Base), {});
    for (const char* text : {"blue-ish", "clBlueish", "clWeb", "$", "99999999999"})
        start(text, 0x00FEE6CF,
              {{QString("'%1' is not a valid integer value.").arg(text), "Vozopis", MB_ICONERROR}});
}

TEST(StartUp, ADatabaseThatCannotBeOpenedIsReportedAndTheWindowGoesOn) {
    MessageBoxRecorder boxes;
    TempProgramFolder folder;
    QDir().mkpath(folder.File("Data/data.mvk")); // a folder where the file should be
    auto form = std::make_unique<TForm1>();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.startsWith("Failed to open database \"" + folder.File("Data/data.mvk") +
                                                 "\" : "))
        << boxes.Shown()[0].text.toStdString();
    EXPECT_EQ(Db, nullptr);
    form->show();
    EXPECT_FALSE(FirstShow);
    EXPECT_FALSE(RunGuarded([] { Database(); })) << "page actions are refused";
    EXPECT_EQ(boxes.Texts().value(1),
              QStringLiteral("Databáza nie je otvorená. Skontrolujte priečinok Data a "
                             "spustite program znova."));
    CloseConfirmed = true;
}

TEST(Closing, EscAsksAndOnlyYesClosesAndIsRememberedAndTheSessionEndDoesNotAsk) {
    MessageBoxRecorder boxes;
    StartedProgram program;
    program.form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(program.form.get()));

    boxes.Answer(ID_NO);
    QTest::keyClick(program.form.get(), Qt::Key_Escape);
    EXPECT_EQ(boxes.Shown(), Boxes({{QStringLiteral("Naozaj chcete aplikáciu ukončiť?"), "Vozopis", 36}}));
    EXPECT_TRUE(program.form->isVisible()) << "No keeps the program running";

    boxes.Answer(ID_YES);
    program.form->Koniec1->trigger();
    EXPECT_EQ(boxes.Shown().size(), 2u) << "a second request asks again";
    EXPECT_FALSE(program.form->isVisible());
    EXPECT_TRUE(CloseConfirmed);

    program.form->show();
    program.form->close();
    EXPECT_EQ(boxes.Shown().size(), 2u) << "a Yes is remembered";
    EXPECT_FALSE(program.form->isVisible());

    // At the session's end it closes without the question, and the database goes with the window.
    program.Restart();
    program.form->WMQueryEndSession();
    program.form->close();
    EXPECT_EQ(boxes.Shown().size(), 2u);
    EXPECT_FALSE(program.form->isVisible());
    program.Stop();
    EXPECT_EQ(Db, nullptr) << "closed, so an open transaction is rolled back";
}

TEST(Look, EveryCaptionShowsWholeAndTheOpeningStatesButtonBothLinesClearOfTheOthers) {
    MessageBoxRecorder boxes;
    StartedProgram program;
    TForm1& form = *program.form;
    program.SelectCustomer("Doprava Nitra");
    form.show();
    // Every page is opened once, every tab of the master data shown.
    for (QAction* page :
         {form.Pridavybrazkaznka1, form.Evidenciaat1, form.dajepreprevodroka1, form.Dolujcedaje1})
        page->trigger();
    QStringList clipped;
    for (int tab = 0; tab < form.pgInfo->count(); ++tab) {
        form.pgInfo->setCurrentIndex(tab);
        clipped << ClippedCaptions(&form);
    }
    EXPECT_TRUE(clipped.isEmpty()) << clipped.join(" | ").toStdString();

    EXPECT_EQ(form.pgPrevod->geometry(), form.pnlPrevod->rect());
    // On the page's tab, clear of the other controls shown, both lines fitting.
    QWidget* tab = form.pgPrevod->currentWidget();
    QPushButton* button = form.BitBtn4;
    const QRect onTab(button->mapTo(tab, QPoint(0, 0)), button->size());
    EXPECT_TRUE(button->isVisible() && tab->isAncestorOf(button) && tab->rect().contains(onTab));
    const QFontMetrics metrics(button->font());
    EXPECT_GE(button->height(), 2 * metrics.lineSpacing() + 4);
    for (const QString& line : button->text().split('\n'))
        EXPECT_GE(button->width(), metrics.horizontalAdvance(line) + 8) << line.toStdString();
    for (QWidget* other : tab->findChildren<QWidget*>()) {
        const QRect rect(other->mapTo(tab, QPoint(0, 0)), other->size());
        EXPECT_FALSE(other != button && other->isVisible() && !other->isAncestorOf(button) &&
                     !button->isAncestorOf(other) && rect.intersects(onTab))
            << other->objectName().toStdString() << " " << other->metaObject()->className();
    }
}
