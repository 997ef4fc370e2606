#include "Lookups.h"
#include "MasterDataTabs.h"
#include "ProgramFixture.h"

namespace {
class CarsTest : public ProgramTest {
protected:
    CarsTest() : ProgramTest("Alfa") {}
    void SetUp() override {
        ProgramTest::SetUp();
        page = program.form->CarsPage;
        program.form->Evidenciaat1->trigger();
    }
    void Save(const QString& name, const QString& plate, const QString& n1, const QString& n2 = "0",
              const QString& n3 = "0", const QString& excess = "0") {
        page->eAutaNazov->setText(name);
        page->eAutaSPZ->setText(plate);
        page->eAutaN1->setText(n1);
        page->eAutaN2->setText(n2);
        page->eAutaN3->setText(n3);
        page->eAutaNadspotreba->setText(excess);
        page->BitBtn3->click();
    }

    TCarsPage* page = nullptr;
};
} // namespace

TEST_F(CarsTest, APlateListedInOtherAsciiCaseEditsThatCarButTheHeaderCaptionIsNoCar) {
    EXPECT_EQ(program.form->CurrentPanel(), program.form->pnlAuta);
    EXPECT_EQ(QStringList({page->cbAutaPHM->currentText(), page->lblAutaPHM->text(),
                           page->cbAutaDruh->currentText(), page->lblAutaDruh->text()}),
              QStringList({"Nafta", "1", "autobus", "3"}));
    Save(QStringLiteral("Dodávka"), "BA123XY", "5");
    EXPECT_TRUE(boxes.Shown().empty());

    boxes.Answer(ID_YES);
    Save("Iveco", "ba123xy", "6");
    EXPECT_EQ(boxes.Texts(), QStringList(QStringLiteral("Chcete upraviť a uložiť položku s (ID = 1) ?")));
    EXPECT_EQ(Box(0).flags, 36);
    EXPECT_EQ(Column("select id || '/' || nazov || '/' || spz || '/' || n1 from auta"),
              QStringList({"1/Iveco/ba123xy/6.0"}));
    EXPECT_TRUE(page->eAutaSPZ->text().isEmpty()) << "cleared after the save";

    Save("Fiat", QStringLiteral("ŠPZ"), "4");
    EXPECT_EQ(boxes.Shown().size(), 1u) << "no question for the header's caption";
    EXPECT_EQ(Column("select spz from auta order by id"), QStringList({"ba123xy", QStringLiteral("ŠPZ")}));
}

TEST_F(CarsTest, StnStoresOneValueThriceAndTheGridShowsTheAverage) {
    page->chbAutaSTN->setChecked(true);
    EXPECT_EQ(page->lblAutaN1->text(), "norma STN");
    EXPECT_TRUE(page->eAutaN2->isHidden());
    EXPECT_TRUE(page->lblAutaN3->isHidden());
    Save("Stn", "S1", "5,5", "9", "9");
    EXPECT_EQ(Column("select n1 || '/' || n2 || '/' || n3 || '/' || norma from auta"),
              QStringList({"5.5/5.5/5.5/3"}));

    page->chbAutaEHK->setChecked(true);
    EXPECT_FALSE(page->eAutaN2->isHidden());
    EXPECT_EQ(page->lblAutaN2->text(), "90 km/h");
    Save(QStringLiteral("Dodávka"), "BA123XY", "6", "7", "8", "10");
    ASSERT_EQ(page->sgAuta->RowCount(), 4);
    EXPECT_EQ(GridRow(page->sgAuta, 1).mid(1) + GridRow(page->sgAuta, 2).mid(10, 1),
              QStringList({QStringLiteral("Dodávka"), "BA123XY", "autobus", "0", "6,00", "7,00", "8,00",
                           "10,00", "Nafta", "7,70", "5,50"}));

    // Editing the STN car while EHK is checked brings STN back.
    page->sgAuta->SetRow(2);
    page->page->DblClick();
    EXPECT_TRUE(page->chbAutaSTN->isChecked() && page->eAutaN2->isHidden());
    EXPECT_EQ(page->eAutaID->text() + "|" + page->eAutaN1->text(), "1|5,5"); // as stored, not as shown
    EXPECT_TRUE(boxes.Shown().empty());

    program.form->dajepreprevodroka1->trigger();
    TOpeningStatesPage* states = program.form->OpeningStatesPage;
    EXPECT_EQ(QStringList({QString::number(states->cbPocStavAuto->count()),
                           states->cbPocStavAuto->itemText(0), states->lblPocStavAuto->text()}),
              QStringList({"2", QStringLiteral("Dodávka - BA123XY"), "2"}));
}

// Two customers with a car and a driver of the same name: lists and lookups give the selected one's.
TEST_F(CarsTest, ListsAndLookupsKeepToTheSelectedCustomer) {
    CreateTableVodic();
    Db->Execute("INSERT INTO zakaznici (id, nazov, ico) VALUES (2, 'Beta', '2')");
    for (const char* customer : {"2", "1"}) {
        Db->Execute(QString("INSERT INTO auta (nazov, spz, id_dv, id_phm, id_zakaznik) VALUES ('Iveco', "
                            "'BA1', 1, 1, %1)")
                        .arg(customer));
        Db->Execute(QStringLiteral("INSERT INTO vodic (meno, id_zakaznik) VALUES ('Ján', %1)").arg(customer));
    }
    for (const auto& [customer, id] : {std::pair{"1", "2"}, std::pair{"2", "1"}}) {
        program.form->MainScreen->SelectCustomerYear(customer, "2024");
        EXPECT_EQ(GetAutaId("Iveco - BA1"), id);
        EXPECT_EQ(GetVodicId(QStringLiteral("Ján")), id);
        QStringList cars, drivers;
        FillAutaLabels(cars);
        FillDriverNames(drivers);
        EXPECT_EQ(cars + drivers, QStringList({"Iveco - BA1", QStringLiteral("Ján")}));
        program.form->Evidenciaat1->trigger();
        EXPECT_EQ(GridColumn(page->sgAuta, 0), QStringList(id));
        program.ShowInfoTab(4);
        EXPECT_EQ(GridColumn(program.form->InfoPanel->VodicTab->widgets.grid, 0), QStringList(id));
    }
    EXPECT_TRUE(boxes.Shown().empty());
}
