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
    EXPECT_EQ(program.form->pgInfo->currentIndex(), 0);
    EXPECT_EQ(program.form->pgInfo->tabText(0), "PHM");
    EXPECT_EQ(program.form->pgInfo->tabText(6), QStringLiteral("Priemerná rýchlosť"));
    EXPECT_EQ(phm->widgets.grid->Cells(1, 0), QStringLiteral("názov"));

    SaveName("LPG");
    EXPECT_EQ(GridColumn(phm->widgets.grid, 1), QStringList({"LPG", "Nafta", "Natural 95", "Natural 98"}));
    phm->widgets.grid->SetRow(1);
    phm->page->DblClick();
    SaveName("CNG");
    EXPECT_EQ(boxes.Texts(), QStringList("Chcete upraviť a uložiť položku s (ID = 4) ?"));
    EXPECT_EQ(Box(0).flags, 36);
    EXPECT_EQ(Column("select nazov from phm where id = 4"), QStringList({"LPG"})) << "No writes nothing";
    EXPECT_TRUE(phm->idField->text().isEmpty()) << "and still clears";

    phm->page->DblClick();
    boxes.Answer(ID_YES);
    SaveName("CNG");
    EXPECT_EQ(Column("select nazov from phm where id = 4"), QStringList({"CNG"}));

    // Names are unique but case-sensitive: the same name again is ignored.
    SaveName("Nafta");
    SaveName("NAFTA");
    EXPECT_EQ(Column("select nazov from phm where lower(nazov) = 'nafta' order by id"),
              QStringList({"Nafta", "NAFTA"}));

    // Renaming onto an existing name is refused by the engine and rolled back.
    phm->idField->setText("2");
    boxes.Answer(ID_YES);
    SaveName("Nafta");
    ASSERT_EQ(boxes.Shown().size(), 4u) << "after the question";
    EXPECT_EQ(Box(3).flags, MB_ICONERROR);
    EXPECT_TRUE(Box(3).text.contains("UNIQUE")) << Box(3).text.toStdString();
    EXPECT_FALSE(Db->InTransaction());
    EXPECT_EQ(phm->nameField->text(), "Nafta") << "the field keeps what was typed";
    phm->widgets.clear->click();
    SaveName("Bionafta");
    EXPECT_EQ(Column("select count(*) from phm"), QStringList({"6"})) << "the next save works";
}

TEST_F(MasterDataTest, DeleteAsksAndADeletedRowsIdLeftInTheFieldInsertsAnew) {
    panel->Dolujcedaje1Click();
    TStringGrid* grid = phm->widgets.grid;
    grid->SetRow(grid->RowCount() - 1);
    QTest::keyClick(grid, Qt::Key_Delete);
    phm->page->DblClick();
    EXPECT_TRUE(boxes.Shown().empty()) << "the empty last row does nothing";
    EXPECT_TRUE(phm->idField->text().isEmpty());

    grid->SetRow(1);
    phm->widgets.remove->click();
    EXPECT_EQ(boxes.Texts().last(), QStringLiteral("Naozaj chcete položku s ID=\"1\" zmazať?"));
    EXPECT_EQ(Column("select count(*) from phm"), QStringList({"3"})) << "No deletes nothing";
    phm->page->DblClick();
    boxes.Answer(ID_YES);
    QTest::keyClick(grid, Qt::Key_Delete);
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
    EXPECT_EQ(boxes.Texts(), QStringList(QStringLiteral("V tabuľke sa nenachádzali žiadny vodiči.\r"
                                                        "Automaticky bol pridaný vodič \"Doprava Nitra\".")));
    EXPECT_EQ(Box(0).flags, 64);
    EXPECT_EQ(GridColumn(drivers->widgets.grid, 1), QStringList({"Doprava Nitra"}));
    for (int i = 0; i < 2; ++i) {
        drivers->eVodicMeno->setText(QStringLiteral("Ján O'Hara"));
        drivers->widgets.save->click();
    }
    EXPECT_EQ(Column("select meno || '/' || id_zakaznik from vodic order by id"),
              QStringList({"Doprava Nitra/1", QStringLiteral("Ján O'Hara/1")}));
    EXPECT_EQ(GetVodicId(QStringLiteral("Ján O'Hara")), "2");
    program.form->pgInfo->setCurrentIndex(0);
    program.form->pgInfo->setCurrentIndex(4);
    EXPECT_EQ(boxes.Shown().size(), 1u) << "said once";

    EXPECT_FALSE(drivers->BitBtn8->isVisible());
    boxes.Answer(ID_YES);
    boxes.Answer(ID_NO);
    drivers->BitBtn8Click();
    EXPECT_EQ(Column("select count(*) from vodic"), QStringList({"2"}));
    boxes.Answer(ID_YES);
    boxes.Answer(ID_YES);
    drivers->BitBtn8Click();
    const auto& shown = boxes.Shown();
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_EQ(shown[3].text, QStringLiteral("Naozaj chcete vymazať celú tabuľku a všetky údaje vo všetkých "
                                            "zákazníkoch v tejto tabuľke nenávratne stratiť?"));
    EXPECT_EQ(shown[3].flags, 36);
    EXPECT_EQ(shown[4].text,
              QStringLiteral("Pozor! Všetky údaje v tejto tabuľke sú pre všetkých zákazníkov "
                             "spoločné aj keď sa nezobrazujú a budú stratené! Naozaj ich chcete "
                             "odstrániť?"));
    EXPECT_EQ(shown[4].flags, 52);
    EXPECT_EQ(shown[5].flags, 64) << "the customer-named driver comes back";
    EXPECT_EQ(Column("select id || meno from vodic"), QStringList({"1Doprava Nitra"}));
}

// Each page's required entries, emptied one more at a time from the last: the save stops at the
// first in order, its field focused (a list opened), nothing written, nothing said but a date's refusal.
TEST_F(MasterDataTest, EveryRequiredEntryIsAskedForInOrderAndNothingIsWritten) {
    TForm1& f = *program.form;
    TCarsPage* cars = f.CarsPage;
    TCustomerPage* firms = f.CustomerPage;
    TCPHMTab* prices = panel->CPHMTab;
    TPNTab* rates = panel->PNTab;
    const auto fill = [](QAction* menu, QLineEdit* field, const QString& text) {
        menu->trigger();
        field->setText(text);
    };
    struct Page {
        std::function<void()> open; // shows the page and completes its form
        QPushButton* save;
        QString table;
        QList<QWidget*> required; // in the order checked; a combo stands for its id label
    };
    const Page pages[] = {
        {[&] { fill(f.Pridavybrazkaznka1, firms->eZakICO, "7"), firms->eZakNazov->setText("A"); },
         firms->BitBtn22,
         "zakaznici",
         {firms->eZakNazov, firms->eZakICO}},
        {[&] { program.ShowInfoTab(0), phm->nameField->setText("LPG"); },
         phm->widgets.save,
         "phm",
         {phm->nameField}},
        {[&] { program.ShowInfoTab(2), panel->DvTab->nameField->setText("bus"); },
         panel->DvTab->widgets.save,
         "druhvoz",
         {panel->DvTab->nameField}},
        {[&] { program.ShowInfoTab(4), panel->VodicTab->eVodicMeno->setText("Jozef"); },
         panel->VodicTab->widgets.save,
         "vodic",
         {panel->VodicTab->eVodicMeno}},
        {[&] { program.ShowInfoTab(1), prices->eCPHMdatum->SetText("01.01.2024"); },
         prices->widgets.save,
         "cphm",
         {prices->cbCPHMtyp, prices->eCPHMdatum, prices->eCPHMcena}},
        {[&] { program.ShowInfoTab(3), rates->ePNdatum->SetText("01.01.2024"); },
         rates->widgets.save,
         "pausnahr",
         {rates->ePNdatum, rates->ePNsuma}},
        {[&] { program.ShowInfoTab(5); }, panel->VMTab->widgets.save, "mesta", {panel->VMTab->eVMkm}},
        {[&] { fill(f.Evidenciaat1, cars->eAutaNazov, "Iveco"); },
         cars->BitBtn3,
         "auta",
         {cars->eAutaNazov, cars->cbAutaPHM, cars->cbAutaDruh, cars->eAutaN1, cars->eAutaN2, cars->eAutaN3,
          cars->eAutaNadspotreba}}};
    for (const Page& page : pages) {
        page.open();
        const QStringList before = Column("select count(*) from " + page.table);
        for (qsizetype first = page.required.size() - 1; first >= 0; --first) {
            for (QWidget* field : page.required.mid(first)) {
                if (auto* mask = qobject_cast<TMaskEdit*>(field))
                    mask->SetText("");
                else if (auto* edit = qobject_cast<QLineEdit*>(field))
                    edit->clear();
                else
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
