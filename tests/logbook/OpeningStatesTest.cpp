#include "ProgramFixture.h"

namespace {
class OpeningStatesTest : public ProgramTest {
protected:
    OpeningStatesTest() : ProgramTest("Alfa") {}
    void SetUp() override {
        ProgramTest::SetUp();
        CreateTableAuta();
        // Cars 2 and 3 both read "Iveco - BA - 1" (listed as 1, 3, 2), and so does car 4 of customer 2.
        Db->Execute(
            "INSERT INTO auta (nazov, spz, id_zakaznik) VALUES ('Iveco', 'BA1', 1), ('Iveco - BA', '1', 1), "
            "('Iveco', 'BA - 1', 1), ('Iveco', 'BA - 1', 2)");
        page = program.form->OpeningStatesPage;
        program.form->dajepreprevodroka1->trigger();
    }
    void Save(const QString& year, const QString& fuel = "1", const QString& odometer = "1") {
        page->ePocStavRok->setText(year);
        page->ePocStavPHM->setText(fuel);
        page->ePocStavTachometer->setText(odometer);
        page->BitBtn40->click();
    }
    static QStringList States() {
        return Column("select id || '/' || rok || '/' || id_auto || '/' || stavphm || '/' || stavtach "
                      "from pocstav order by rok");
    }

    TOpeningStatesPage* page = nullptr;
};
} // namespace

// A new state for a known car and year replaces the row under a new id; the year and the driver named
// like the customer are registered before the question, so also when the update is declined.
TEST_F(OpeningStatesTest, ANewStateReplacesTheCarsYearAndADeclinedUpdateStillRegistersTheYear) {
    EXPECT_EQ(QStringList({page->cbPocStavAuto->currentText(), page->lblPocStavAuto->text(),
                           page->ePocStavRok->text(), page->ePocStavPHM->text()}),
              QStringList({"Iveco - BA1", "1", "2024", "0"}));
    Save("");
    EXPECT_TRUE(page->ePocStavRok->hasFocus()) << "an empty year is refused";
    Save("2024", "10,5", "1000");
    Save("2024", "20", "2000");
    EXPECT_EQ(GridRow(page->sgPocStav, 1),
              QStringList({"2", "2024", "Iveco", "BA1", "20,00", QStringLiteral("2\u00A0000,00")}));

    DoubleClickRow(page->page, 1);
    EXPECT_EQ(page->ePocStavPHM->text(), "20");
    page->ePocStavRok->setText("2026");
    page->BitBtn40->click();
    EXPECT_EQ(boxes.Texts(), QStringList(QStringLiteral("Chcete upraviť a uložiť položku s (ID = 2) ?")));
    EXPECT_EQ(States(), QStringList({"2/2024/1/20.0/2000.0"}));
    EXPECT_EQ(Column("select rok from roky order by rok"), QStringList({"2024", "2026"}));
    EXPECT_EQ(Column("select meno || '/' || id_zakaznik from vodic"), QStringList({"Alfa/1"}));
}

// Another program may have written a customer without a name, empty or NULL: the save registers the year,
// and no driver without a name.
TEST_F(OpeningStatesTest, ACustomerWithoutANameGetsTheYearButNoNamelessDriver) {
    CreateTableVodic();
    for (const char* name : {"''", "NULL"}) {
        SCOPED_TRACE(name);
        Db->Execute(QString("UPDATE zakaznici SET nazov = %1").arg(name));
        program.form->MainScreen->SelectCustomerYear("1", "2024");
        Save("2025");
        EXPECT_EQ(Column("select rok || '/' || id_zakaznik from pocstav"), QStringList({"2025/1"}));
        EXPECT_EQ(Column("select rok || '/' || id_zakaznik from roky"), QStringList({"2025/1"}));
        EXPECT_EQ(Column("select count(*) from vodic"), QStringList({"0"}));
    }
    EXPECT_TRUE(boxes.Texts().isEmpty());
}

TEST_F(OpeningStatesTest, AFailedUpdateIsRolledBackAndTheNextSaveWorks) {
    Save("2023", "10", "1000");
    Save("2025", "20", "2000");
    Db->Execute("DELETE FROM vodic");

    DoubleClickRow(page->page, 2);
    boxes.Answer(ID_YES);
    page->ePocStavRok->setText("2023");
    page->BitBtn40->click();
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_TRUE(Box(1).flags == MB_ICONERROR && Box(1).text.contains("UNIQUE constraint failed"));
    EXPECT_FALSE(Db->InTransaction());
    EXPECT_TRUE(Column("select meno from vodic").isEmpty()) << "the driver's insert is rolled back";
    EXPECT_EQ(States(), QStringList({"1/2023/1/10.0/1000.0", "2/2025/1/20.0/2000.0"}));
    EXPECT_EQ(page->ePocStavRok->text(), "2023") << "what was typed stays";

    boxes.Answer(ID_YES);
    page->ePocStavRok->setText("2027");
    page->BitBtn40->click();
    EXPECT_EQ(States(), QStringList({"1/2023/1/10.0/1000.0", "2/2027/1/20.0/2000.0"}));
    EXPECT_EQ(Column("select meno from vodic"), QStringList({"Alfa"}));
}

TEST_F(OpeningStatesTest, EachCarOfTheListGetsItsOwnStatesThoughLabelsReadAlike) {
    for (int item : {1, 2}) {
        page->cbPocStavAuto->setCurrentIndex(item);
        page->cbPocStavAutoCloseUp();
        Save(QString::number(2023 + item));
    }
    EXPECT_EQ(States(), QStringList({"1/2024/3/1.0/1.0", "2/2025/2/1.0/1.0"}));
    QStringList chosen;
    for (int row : {1, 2}) {
        DoubleClickRow(page->page, row);
        chosen << QString::number(page->cbPocStavAuto->currentIndex()) + "/" + page->lblPocStavAuto->text();
    }
    EXPECT_EQ(chosen, QStringList({"1/3", "2/2"}));
}

// Customer 2's state is on its own car, whose label reads like customer 1's cars 2 and 3.
TEST_F(OpeningStatesTest, TheGridListsOnlyTheSelectedCustomersStates) {
    Db->Execute("INSERT INTO zakaznici (nazov, ico) VALUES ('Beta', '2')");
    Db->Execute(
        "INSERT INTO pocstav (id, rok, id_auto, id_zakaznik) VALUES (5, 2024, 4, 2), (7, 2023, 2, 1), "
        "(9, 2025, 1, 1)");
    program.form->dajepreprevodroka1->trigger();
    EXPECT_EQ(GridColumn(page->sgPocStav, 0), QStringList({"7", "9"}));

    program.form->MainScreen->SelectCustomerYear("2", "2024");
    program.form->dajepreprevodroka1->trigger();
    EXPECT_EQ(GridColumn(page->sgPocStav, 0), QStringList({"5"}));
}
