// The program under faults a user's machine produces: another program writing to the database or deleting
// a record while it is edited, routes that share a label, and values that cannot be spliced into a statement.
#include "FaultHelpers.h"
#include "MasterDataTabs.h"
#include "ProgramFixture.h"
#include "ProgramGlobals.h"
#include "RouteTabs.h"
#include "YearAndDriver.h"

namespace {
class FaultsTest : public ProgramTest {
protected:
    static void TypeTrip(TTripsPage* page, const QString& day) {
        page->eJazdyOdchod->SetText(day + " 07:30");
        page->eJazdyPrichod->SetText(day + " 09:00");
        page->chbJazdySpiatocna->setChecked(false);
    }
    static void ChooseRoute(TComboBox* combo, int index) {
        combo->setCurrentIndex(index);
        emit combo->CloseUp();
        Settle();
    }
};
} // namespace

TEST_F(FaultsTest, ASaveWaitsOutAnotherWritersLock) {
    TNameTab* phm = program.form->InfoPanel->PhmTab;
    program.ShowInfoTab(0);
    phm->nameField->setText("LPG");
    OtherWriter other(DatabasePath, 1000); // holds the write lock for a second
    ASSERT_TRUE(other.Locked());
    phm->widgets.save->click();
    EXPECT_TRUE(other.Finished());
    EXPECT_EQ(boxes.Texts(), QStringList());
    EXPECT_EQ(Column("select nazov from phm where id = 4"), QStringList{"LPG"});
}

TEST_F(FaultsTest, AnEditOfADeletedRouteSaysSoKeepsTheFieldsAndReloadsTheGrid) {
    program.ShowInfoTab(5);
    TVMTab* routes = program.form->InfoPanel->VMTab;
    Db->Execute("INSERT INTO mesta (mesto1, mesto2, vzdialenost) VALUES ('Nitra', 'Trnava', 50)");
    routes->LoadGridVM("");
    DoubleClickRow(routes->page, 1);
    routes->eVMmesto2->setText("Zvolen");
    routes->eVMkm->setText("120");
    Db->Execute("DELETE FROM mesta");
    boxes.Answer(ID_YES);
    routes->widgets.save->click();
    EXPECT_EQ(boxes.Texts().value(1), QStringLiteral("Položka s (ID = 1) už v databáze neexistuje, medzitým "
                                                     "ju zmazal iný program. Zadané údaje zostali vo "
                                                     "formulári, uložením ich pridáte ako novú položku."));
    EXPECT_EQ(Box(1).flags, MB_ICONWARNING);
    EXPECT_EQ(routes->eVMmesto1->text() + routes->eVMmesto2->text() + routes->eVMkm->text(),
              "NitraZvolen120");
    EXPECT_EQ(routes->widgets.grid->Cells(0, 1), "") << "the grid no longer lists the route";
    EXPECT_FALSE(Db->InTransaction());

    // Saved again, what was typed becomes a new route.
    routes->widgets.save->click();
    EXPECT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(Column("select mesto1 || '-' || mesto2 || '-' || vzdialenost from mesta"),
              QStringList{"Nitra-Zvolen-120.0"});
}

TEST_F(FaultsTest, TheRouteChosenAmongRoutesOfOneLabelIsTheRouteStored) {
    CreateTripMasterData("('A - B', 'C', 10), ('A', 'B - C', 500)");
    TTripsPage* page = program.OpenTrips();
    EXPECT_EQ(page->lblJazdyTrasa->text(), "2") << "the first entry is the 500 km route (by start town)";

    // A trip on each route; each trip, double-clicked, brings back its own route.
    for (const auto& [index, day] : {std::pair{0, "10.05.2024"}, std::pair{1, "11.05.2024"}}) {
        ChooseRoute(page->cbJazdyTrasa, 1 - index);
        ChooseRoute(page->cbJazdyTrasa, index);
        TypeTrip(page, day);
        page->BitBtn23->click();
    }
    EXPECT_EQ(Column("select id_mesta from jazdy order by id"), (QStringList{"2", "1"}));
    for (const auto& [row, index, route] : {std::tuple{1, 0, "2"}, std::tuple{2, 1, "1"}}) {
        page->sgJazdy->SetRow(row);
        page->sgJazdyDblClick();
        EXPECT_EQ(page->cbJazdyTrasa->currentIndex(), index) << row;
        EXPECT_EQ(page->lblJazdyTrasa->text(), route) << row;
    }

    // A trip on a route added after the list was filled: no item is chosen, the id is kept, and
    // the trip is saved back on its own route.
    Db->Execute("INSERT INTO mesta (mesto1, mesto2, vzdialenost) VALUES ('Zvolen', 'Nitra', 70)");
    InsertTrip("2024-05-12 08:00", 0, 3);
    page->LoadGridJazdy("");
    page->sgJazdy->SetRow(3);
    page->sgJazdyDblClick();
    EXPECT_EQ(page->cbJazdyTrasa->currentIndex(), -1);
    EXPECT_EQ(page->lblJazdyTrasa->text(), "3");
    boxes.Answer(ID_YES);
    page->BitBtn23->click();
    EXPECT_EQ(boxes.Texts(), QStringList("Chcete upraviť a uložiť položku s (ID = 3) ?"));
    EXPECT_EQ(Column("select id_mesta from jazdy where id = 3"), QStringList{"3"});

    // The route filter keeps the ids too: its item 2 is the 10 km route.
    page->cbJazdyTriedTrasa->setCurrentIndex(2);
    page->BitBtn127->click();
    EXPECT_EQ(GridColumn(page->sgJazdy, 0), QStringList("2"));
}

// A value that is no id stops the save while its statement is built, before anything runs; the
// fields keep what was typed. A year likewise, before the driver registered with it.
TEST_F(FaultsTest, AnIdOrYearThatIsNoNumberStopsTheWriteBeforeAnyStatement) {
    CreateTripMasterData();
    TTripsPage* page = program.OpenTrips();
    TypeTrip(page, "10.05.2024");
    page->lblJazdyVodic->setText("1; DROP TABLE jazdy");
    page->BitBtn23->click();
    EXPECT_EQ(boxes.Texts(), QStringList("'1; DROP TABLE jazdy' is not a valid record id."));
    EXPECT_TRUE(Db->TableExists("jazdy") && !Db->InTransaction());
    EXPECT_TRUE(Column("select id from jazdy").isEmpty());
    EXPECT_EQ(page->eJazdyOdchod->Text(), "10.05.2024 07:30");

    EXPECT_THROW(AddYearAndDriver("2024); DROP TABLE jazdy; --", "Nový", "1"), EConvertError);
    EXPECT_THROW(AddYearAndDriver("2024", "Nový", "1 OR 1"), EConvertError);
    EXPECT_TRUE(Column("select meno from vodic where meno = 'Nový'").isEmpty());
}
