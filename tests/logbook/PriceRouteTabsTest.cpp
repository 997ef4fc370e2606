#include "MasterDataTabs.h"
#include "PriceTabs.h"
#include "ProgramFixture.h"
#include "RouteTabs.h"

namespace {
class PriceRouteTabsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        panel = program.form->InfoPanel;
        panel->Dolujcedaje1Click();
        prices = panel->CPHMTab;
        rates = panel->PNTab;
        routes = panel->VMTab;
        speed = panel->PriemRychlTab;
    }
    void ShowTab(int index) { program.ShowInfoTab(index); }

    TInfoPanel* panel = nullptr;
    TCPHMTab* prices = nullptr;
    TPNTab* rates = nullptr;
    TVMTab* routes = nullptr;
    TPriemRychlTab* speed = nullptr;
};
} // namespace

TEST_F(PriceRouteTabsTest, APriceIsStoredConvertedShownFormattedOrRefused) {
    ShowTab(1);

    // Date, then Enter opens the fuel list; Down picks "Natural 95", Enter closes it and moves on.
    QTest::keyClicks(prices->eCPHMdatum, "01072007");
    QTest::keyClick(prices->eCPHMdatum, Qt::Key_Return);
    EXPECT_TRUE(prices->cbCPHMtyp->DroppedDown());
    prices->cbCPHMtyp->hidePopup();
    QTest::keyClick(prices->cbCPHMtyp, Qt::Key_Down);
    QTest::keyClick(prices->cbCPHMtyp, Qt::Key_Return);
    EXPECT_TRUE(prices->eCPHMcena->hasFocus());
    EXPECT_EQ(prices->lblCPHMtyp->text(), "2") << "the label follows the combo on exit";
    prices->eCPHMcena->selectAll();
    QTest::keyClicks(prices->eCPHMcena, "1.5");
    prices->widgets.save->click();

    EXPECT_EQ(Column("select datum || '|' || id_phm || '|' || cena || '|' || typeof(cena) from cphm"),
              QStringList({"2007-07-01|2|1.5|real"}));
    TStringGrid* grid = prices->widgets.grid;
    EXPECT_EQ(GridRow(grid, 0) + GridRow(grid, 1),
              QStringList({"id", QStringLiteral("dátum"), "typ PHM", "cena", "1", "01.07.2007", "Natural 95",
                           "1,50"}));
    // Cleared, keeping the fuel chosen.
    EXPECT_EQ(prices->eCPHMdatum->Text() + prices->cbCPHMtyp->currentText(), "  .  .    Natural 95");

    Db->Execute("INSERT INTO cphm (datum, id_phm, cena) VALUES ('2008-01-01', 3, 1234.5)");
    Db->Execute("DELETE FROM phm");
    ShowTab(1);
    EXPECT_TRUE(prices->lblCPHMtyp->text().isEmpty());
    EXPECT_EQ(Column("select datum || '|' || id_phm || '|' || cena from cphm order by id"),
              QStringList({"2007-07-01|2|1.5", "2008-01-01|3|1234.5"}));
    EXPECT_EQ(grid->RowCount(), 2) << "prices of deleted fuels leave the grid";
}

TEST_F(PriceRouteTabsTest, FlatRateRoundTrip) {
    ShowTab(3);
    QTest::keyClicks(rates->ePNdatum, "15032024");
    QTest::keyClick(rates->ePNdatum, Qt::Key_Return);
    EXPECT_TRUE(rates->ePNsuma->hasFocus());
    rates->ePNsuma->selectAll();
    QTest::keyClicks(rates->ePNsuma, "0,183");
    rates->widgets.save->click();
    EXPECT_EQ(Column("select datum || '|' || suma from pausnahr") + GridRow(rates->widgets.grid, 1),
              QStringList({"2024-03-15|0.183", "1", "15.03.2024", "0,18"}));

    DoubleClickRow(rates->page, 1);
    rates->ePNsuma->setText("0,2");
    boxes.Answer(ID_YES);
    rates->widgets.save->click();
    EXPECT_EQ(Column("select datum || '|' || suma from pausnahr"), QStringList({"2024-03-15|0.2"}));
}

TEST_F(PriceRouteTabsTest, RoutesKeepTheStartTownTypedBeforeEachKeyAndTheSpeedAsTyped) {
    ShowTab(5);
    QTest::keyClicks(routes->eVMmesto1, "Nitra");
    EXPECT_EQ(ReadSetting("Info", "mesto1", "?"), "Nitr") << "the text before the last key";
    QTest::keyClick(routes->eVMmesto1, Qt::Key_Return);
    EXPECT_EQ(ReadSetting("Info", "mesto1", "?"), "Nitra");
    EXPECT_TRUE(routes->eVMmesto2->hasFocus());
    routes->eVMmesto2->setText("O'Neil \"B\"");
    routes->eVMkm->selectAll();
    QTest::keyClicks(routes->eVMkm, "12.5");
    routes->widgets.save->click();
    EXPECT_EQ(Column("select mesto1 || '|' || mesto2 || '|' || vzdialenost from mesta") +
                  GridRow(routes->widgets.grid, 1),
              QStringList({"Nitra|O'Neil \"B\"|12.5", "1", "Nitra", "O'Neil \"B\"", "12,50"}));
    EXPECT_EQ(routes->eVMmesto1->text(), "Nitra") << "cleared to the start town";

    // The average speed; neither it nor editing a route touches the default start town.
    ShowTab(6);
    EXPECT_EQ(speed->ePriemRychl->text(), "0");
    speed->ePriemRychl->selectAll();
    QTest::keyClicks(speed->ePriemRychl, "85.5");
    QTest::keyClick(speed->ePriemRychl, Qt::Key_Return);
    EXPECT_TRUE(speed->BitBtn16->hasFocus());
    speed->BitBtn16->click();
    EXPECT_EQ(ReadSetting("Info", "PriemRychl", "?") + ReadSetting("Info", "mesto1", "?"), "85,5Nitra");
    speed->ePriemRychl->setText("x");
    ShowTab(6);
    EXPECT_EQ(speed->ePriemRychl->text(), "85,5");

    // Without a settings folder the key shows the error and the program goes on.
    ShowTab(5);
    QDir(program.folder.File("Data")).remove("settings.mvk");
    QDir().mkdir(program.folder.File("Data/settings.mvk"));
    QTest::keyClick(routes->eVMmesto1, Qt::Key_A);
    EXPECT_EQ(boxes.Shown().size() == 1 ? Box(0).flags : 0, 16);
}

// A table of a newer version with a column before the known ones: grid and double-click take each
// value by its column's name, so saving the row unchanged writes back what was there.
TEST_F(PriceRouteTabsTest, AColumnAddedBeforeTheKnownOnesShiftsNothingIntoAnotherField) {
    const QString customer = "nazov VARCHAR (30), ico VARCHAR (30) UNIQUE, dic VARCHAR (25), osoba VARCHAR "
                             "(30), ulica VARCHAR (30), mesto VARCHAR (30), psc VARCHAR (15), stat VARCHAR "
                             "(30), platca BLOB, fo BLOB, po BLOB";
    struct Case {
        std::function<void()> open;
        TDataPage* page;
        QString table, columns, values;
    };
    const Case cases[] = {
        {[this] { ShowTab(5); }, routes->page, "mesta",
         "mesto1 VARCHAR (30), mesto2 VARCHAR (30), vzdialenost FLOAT", "'Nitra', 'Trnava', 50.5"},
        {[this] { ShowTab(3); }, rates->page, "pausnahr", "datum DATE, suma FLOAT", "'2024-03-15', 0.2"},
        {[this] { ShowTab(0); }, panel->PhmTab->page, "phm", "nazov VARCHAR (30) UNIQUE", "'LPG'"},
        {[this] { program.form->Pridavybrazkaznka1->trigger(); }, program.form->CustomerPage->page,
         "zakaznici", customer, "'Alfa', '123', 'SK2020', 'Ján', 'Hlavná', 'Nitra', '94901', 'SR', 1, 0, 1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table.toStdString());
        Db->Execute("DROP TABLE IF EXISTS " + c.table);
        Db->Execute("CREATE TABLE " + c.table + " (ID INTEGER PRIMARY KEY AUTOINCREMENT, kraj TEXT, " +
                    c.columns + ")");
        Db->Execute("INSERT INTO " + c.table + " VALUES (1, 'Nitriansky', " + c.values + ")");
        QStringList quoted = {"quote(kraj)"};
        for (const QString& column : c.columns.split(", "))
            quoted << "quote(" + column.section(' ', 0, 0) + ")";
        const QString stored = "select " + quoted.join(" || ', ' || ") + " from " + c.table;
        EXPECT_EQ(Column(stored), QStringList("'Nitriansky', " + c.values));
        c.open();
        DoubleClickRow(c.page, 1);
        boxes.Answer(ID_YES);
        c.page->Save();
        EXPECT_TRUE(boxes.Texts().last().startsWith("Chcete upraviť a uložiť"))
            << boxes.Texts().last().toStdString();
        EXPECT_EQ(Column(stored), QStringList("'Nitriansky', " + c.values));
    }
}
