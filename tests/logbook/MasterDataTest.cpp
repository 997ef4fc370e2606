#include "Lookups.h"
#include "MasterDataTabs.h"
#include "PriceTabs.h"
#include "ProgramFixture.h"
#include "RouteTabs.h"

namespace {
class MasterDataTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        panel = program.form->InfoPanel;
        phm = panel->PhmTab;
    }
    void SaveName(const QString& name) {
        phm->nameField->setText(name);
        phm->widgets.save->click();
    }

    TInfoPanel* panel = nullptr;
    TNameTab* phm = nullptr;
};
} // namespace

TEST_F(MasterDataTest, TheMenuOpensTabPhmWhereSaveInsertsOrUpdatesAfterTheQuestionAndNamesAreUnique) {
    program.form->pgInfo->setCurrentIndex(2);
    QTest::keyClick(program.form.get(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(program.form->CurrentPanel(), program.form->pnlInfo);
    EXPECT_EQ(
        QStringList({QString::number(program.form->pgInfo->currentIndex()), program.form->pgInfo->tabText(0),
                     program.form->pgInfo->tabText(6), phm->widgets.grid->Cells(1, 0)}),
        QStringList({"0", "PHM", QStringLiteral("Priemerná rýchlosť"), QStringLiteral("názov")}));

    SaveName("LPG");
    EXPECT_EQ(GridColumn(phm->widgets.grid, 1), QStringList({"LPG", "Nafta", "Natural 95", "Natural 98"}));
    for (const int answer : {ID_NO, ID_YES}) {
        DoubleClickRow(phm->page, 1);
        boxes.Answer(answer);
        SaveName("CNG");
        EXPECT_TRUE(phm->idField->text().isEmpty()) << "cleared after either answer";
    }
    EXPECT_EQ(boxes.Texts(), QStringList(2, "Chcete upraviť a uložiť položku s (ID = 4) ?"));
    EXPECT_EQ(Box(0).flags, 36);
    EXPECT_EQ(Column("select nazov from phm where id = 4"), QStringList({"CNG"}));

    // Names are unique but case-sensitive: the same name again is ignored; renaming onto one is refused.
    SaveName("Nafta");
    SaveName("NAFTA");
    phm->idField->setText("2");
    boxes.Answer(ID_YES);
    SaveName("Nafta");
    EXPECT_EQ(Column("select nazov from phm order by id"),
              QStringList({"Nafta", "Natural 95", "Natural 98", "CNG", "NAFTA"}));
    ASSERT_EQ(boxes.Shown().size(), 4u) << "after the question";
    EXPECT_TRUE(Box(3).flags == MB_ICONERROR && Box(3).text.contains("UNIQUE")) << Box(3).text.toStdString();
    EXPECT_EQ(phm->nameField->text(), "Nafta") << "the field keeps what was typed";
}

TEST_F(MasterDataTest, DeleteAsksAndADeletedRowsIdLeftInTheFieldInsertsAnew) {
    panel->Dolujcedaje1Click();
    TStringGrid* grid = phm->widgets.grid;
    grid->SetRow(1);
    phm->widgets.remove->click();
    EXPECT_EQ(Column("select count(*) from phm"), QStringList({"3"})) << "No deletes nothing";
    phm->page->DblClick();
    boxes.Answer(ID_YES);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(boxes.Texts(), QStringList(2, QStringLiteral("Naozaj chcete položku s ID=\"1\" zmazať?")));
    EXPECT_EQ(phm->idField->text(), "1") << "delete leaves the fields";
    phm->widgets.save->click();
    EXPECT_EQ(boxes.Shown().size(), 2u) << "no update question";
    EXPECT_EQ(Column("select id || nazov from phm order by id"),
              QStringList({"2Natural 95", "3Natural 98", "4Nafta"}));
}

TEST_F(MasterDataTest, ACustomerWithoutDriversGetsOneNamedLikeItAgainAfterTheWipe) {
    panel->Dolujcedaje1Click();
    program.form->pgInfo->setCurrentIndex(4);
    TVodicTab* drivers = panel->VodicTab;
    const QString added = QStringLiteral("V tabuľke sa nenachádzali žiadny vodiči.\r"
                                         "Automaticky bol pridaný vodič \"Doprava Nitra\".");
    EXPECT_EQ(boxes.Texts(), QStringList(added));
    EXPECT_EQ(Box(0).flags, 64);
    for (int i = 0; i < 2; ++i) {
        drivers->eVodicMeno->setText(QStringLiteral("Ján O'Hara"));
        drivers->widgets.save->click();
    }
    EXPECT_EQ(GridColumn(drivers->widgets.grid, 1),
              QStringList({"Doprava Nitra", QStringLiteral("Ján O'Hara")}));
    EXPECT_EQ(Column("select id || meno || id_zakaznik from vodic order by id"),
              QStringList({"1Doprava Nitra1", QStringLiteral("2Ján O'Hara1")}));
    program.form->pgInfo->setCurrentIndex(0);
    program.form->pgInfo->setCurrentIndex(4);
    EXPECT_EQ(boxes.Shown().size(), 1u) << "said once";

    EXPECT_FALSE(drivers->BitBtn8->isVisible());
    for (const int second : {ID_NO, ID_YES}) {
        boxes.Answer(ID_YES);
        boxes.Answer(second);
        drivers->BitBtn8Click();
        EXPECT_EQ(Column("select count(*) from vodic"), QStringList({second == ID_NO ? "2" : "1"}));
    }
    EXPECT_EQ(boxes.Texts().mid(3),
              QStringList({QStringLiteral("Naozaj chcete vymazať celú tabuľku a všetky údaje vo všetkých "
                                          "zákazníkoch v tejto tabuľke nenávratne stratiť?"),
                           QStringLiteral("Pozor! Všetky údaje v tejto tabuľke sú pre všetkých zákazníkov "
                                          "spoločné aj keď sa nezobrazujú a budú stratené! Naozaj ich chcete "
                                          "odstrániť?"),
                           added}));
    EXPECT_EQ(Box(3).flags * 100 + Box(4).flags, 3652);
    EXPECT_EQ(Column("select id || meno from vodic"), QStringList({"1Doprava Nitra"}));
}

// Each page's required entries, filled and then emptied one more at a time from the last: the save stops at
// the first in order, its field focused (a list opened), nothing written, nothing said but a date's refusal.
TEST_F(MasterDataTest, EveryRequiredEntryIsAskedForInOrderAndNothingIsWritten) {
    TForm1& f = *program.form;
    TCarsPage* cars = f.CarsPage;
    TCustomerPage* firms = f.CustomerPage;
    TCPHMTab* prices = panel->CPHMTab;
    TPNTab* rates = panel->PNTab;
    struct Page {
        QAction* menu; // or else the tab of the master data
        int tab;
        QPushButton* save;
        QString table;
        QList<QWidget*> required; // in the order checked; a combo stands for its id label
    };
    const Page pages[] = {
        {f.Pridavybrazkaznka1, 0, firms->BitBtn22, "zakaznici", {firms->eZakNazov, firms->eZakICO}},
        {nullptr, 0, phm->widgets.save, "phm", {phm->nameField}},
        {nullptr, 4, panel->VodicTab->widgets.save, "vodic", {panel->VodicTab->eVodicMeno}},
        {nullptr,
         1,
         prices->widgets.save,
         "cphm",
         {prices->cbCPHMtyp, prices->eCPHMdatum, prices->eCPHMcena}},
        {nullptr, 3, rates->widgets.save, "pausnahr", {rates->ePNdatum, rates->ePNsuma}},
        {nullptr, 5, panel->VMTab->widgets.save, "mesta", {panel->VMTab->eVMkm}},
        {f.Evidenciaat1,
         0,
         cars->BitBtn3,
         "auta",
         {cars->eAutaNazov, cars->cbAutaPHM, cars->cbAutaDruh, cars->eAutaN1, cars->eAutaN2, cars->eAutaN3,
          cars->eAutaNadspotreba}}};
    for (const Page& page : pages) {
        page.menu ? page.menu->trigger() : program.ShowInfoTab(page.tab);
        const QStringList before = Column("select count(*) from " + page.table);
        for (qsizetype first = page.required.size() - 1; first >= 0; --first) {
            for (QWidget* field : page.required) {
                const bool filled = page.required.indexOf(field) < first;
                if (auto* mask = qobject_cast<TMaskEdit*>(field))
                    mask->SetText(filled ? "01.01.2024" : "");
                else if (auto* edit = qobject_cast<QLineEdit*>(field))
                    edit->setText(filled ? "8" : "");
                else if (!filled)
                    field->parentWidget()->findChild<QLabel*>("lbl" + field->objectName().mid(2))->clear();
            }
            QWidget* focused = page.required[first];
            SCOPED_TRACE(focused->objectName().toStdString());
            const size_t shown = boxes.Shown().size();
            page.save->click();
            if (auto* combo = qobject_cast<TComboBox*>(focused)) {
                EXPECT_TRUE(combo->DroppedDown());
                combo->hidePopup();
            }
            EXPECT_TRUE(focused->hasFocus());
            if (qobject_cast<TMaskEdit*>(focused))
                EXPECT_EQ(boxes.Texts().value(shown),
                          "Pole \"dátum\" neobsahuje platný dátum v tvare dd.mm.rrrr.");
            else
                EXPECT_EQ(boxes.Shown().size(), shown);
        }
        EXPECT_EQ(Column("select count(*) from " + page.table), before) << page.table.toStdString();
    }
}
