#include <QAbstractItemView>

#include "GridHelpers.h"
#include "ProgramFixture.h"
#include "SQLunit.h"
#include "TextUtils.h"

namespace {
// The routes Nitra - Trnava (50 km) and Nitra - Zvolen (100 km) with the trip master data.
class TripsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        page = program.form->TripsPage;
    }
    void MasterData(const QString& since = "2024-01-01") {
        CreateTripMasterData("('Nitra', 'Trnava', 50), ('Nitra', 'Zvolen', 100)", since);
    }
    QStringList Col(int col) { return GridColumn(page->sgJazdy, col); }
    QStringList Row(int row) { return GridRow(page->sgJazdy, row); }
    QStringList Totals() { return {page->lblJazdyKM->text(), page->lblJazdySuma->text()}; }
    void Save(const QString& departure, const QString& arrival) {
        page->eJazdyOdchod->SetText(departure);
        page->eJazdyPrichod->SetText(arrival);
        page->BitBtn23->click();
    }
    void Filter(const QString& from, const QString& to) {
        page->eJazdyTriedDatumOD->SetText(from);
        page->eJazdyTriedDatumDO->SetText(to);
        page->BitBtn127->click();
    }

    TTripsPage* page = nullptr;
};
} // namespace

TEST_F(TripsTest, PricesAndFlatRatesApplyFromTheirDayAndTotalsAddUnroundedCosts) {
    MasterData();
    Db->Execute("UPDATE auta SET vlastnictvo = 1");
    Db->Execute("INSERT INTO cphm (datum, id_phm, cena) VALUES ('2024-05-10', 1, 2), ('2024-05-11', 1, 3), "
                "('2023-01-01', 1, 1)");
    Db->Execute("INSERT INTO pausnahr (datum, suma) VALUES ('2024-05-11', 0.5)");
    InsertTrip("2024-05-10 08:00");
    InsertTrip("2023-06-01 08:00"); // a price but no flat rate yet: listed first, with no cost
    program.OpenTrips();
    EXPECT_EQ(Col(6), QStringList({"0,00", "0,33"})) << "0,066 x 2 + 0,2";
    EXPECT_EQ(Col(11), QStringList({"0,00", "33,20"}));
    EXPECT_EQ(Totals(), QStringList({"200,00", "33,20"}));

    // Totals add ten-thousandths of the unrounded costs.
    Db->Execute("DELETE FROM jazdy");
    Db->Execute("UPDATE auta SET vlastnictvo = 0, n1 = 4, n2 = 4, n3 = 4, nadspotreba = 0");
    Db->Execute("UPDATE cphm SET cena = 1");
    Db->Execute("UPDATE mesta SET vzdialenost = 0.1");
    for (const char* day : {"2024-05-10 08:00", "2024-05-11 08:00", "2024-05-12 08:00"})
        InsertTrip(day, 0);
    program.OpenTrips();
    EXPECT_EQ(Col(11), QStringList({"0,00", "0,00", "0,00"}));
    EXPECT_EQ(Totals(), QStringList({"0,30", "0,01"})) << "3 x 0,004";
}

TEST_F(TripsTest, MissingMasterDataIsNamedInOrderAndStopsTheOpening) {
    const QString master =
        QStringLiteral("V tabuľke \"%1\"%2 sa nenachádzajú žiadne údaje. Tabuľku \"Evidencia "
                       "jázd\" nie je možné zobraziť.\r\rProsím doplňte potrebné údaje do "
                       "tejto tabuľky.");
    const QString section = QStringLiteral(" (v sekcii \"Doplňujúce údaje\")");
    program.form->Evidenciajzd1->trigger();
    EXPECT_EQ(boxes.Texts(), QStringList(master.arg(QStringLiteral("Vodič"), section)));
    EXPECT_EQ(Box(0).flags, 48);
    EXPECT_FALSE(Db->TableExists("cphm")) << "later tables are not created";
    EXPECT_NE(program.form->CurrentPanel(), program.form->pnlJazdy);

    Db->Execute("INSERT INTO vodic (meno, id_zakaznik) VALUES ('Jana', 1)");
    page->Evidenciajzd1Click();
    EXPECT_EQ(Box(1).text, master.arg("Ceny PHM", section));

    MasterData();
    Db->Execute("DELETE FROM pocstav");
    program.OpenTrips();
    ASSERT_EQ(boxes.Shown().size(), 3u);
    EXPECT_EQ(Box(2).text,
              QStringLiteral("V tabuľke \"Počiatočné stavy\" (v sekcii \"Údaje pre prevod roka\") "
                             "sa pre niektoré vozidlá nenachádzajú žiadne údaje.\r\r"
                             "Prosím doplňte tieto údaje do tejto tabuľky."));
    EXPECT_EQ(Box(2).flags, 48);
    EXPECT_EQ(program.form->CurrentPanel(), program.form->pnlJazdy) << "the page opens anyway";

    Db->Execute("DELETE FROM auta");
    page->Evidenciajzd1Click();
    EXPECT_EQ(boxes.Texts().mid(3), QStringList(master.arg(QStringLiteral("Evidencia áut"), "")))
        << "and nothing after it";
}

TEST_F(TripsTest, TheFilterKeepsItsBoundsAndTotalsCoverItsRows) {
    MasterData("2007-01-01");
    InsertTrip("2007-04-30 23:59");
    InsertTrip("2007-05-01 06:00", 0);
    InsertTrip("2007-05-15 06:00", 1, 2);
    InsertTrip("2007-05-31 06:00");
    program.OpenTrips();
    EXPECT_EQ(page->eJazdyTriedDatumOD->Text(), "00.00.0000");
    Filter("01.05.2007", "31.05.2007");
    EXPECT_EQ(Col(0), QStringList({"2", "3"})) << "the upper date leaves out that day's trips";
    EXPECT_EQ(Totals(), QStringList({"250,00", "24,75"})) << "0,099 x 250";

    page->cbJazdyTriedTrasa->setCurrentIndex(page->cbJazdyTriedTrasa->findText("Nitra - Zvolen"));
    page->BitBtn127->click();
    EXPECT_EQ(Col(0), QStringList({"3"}));
    page->cbJazdyTriedTrasa->setCurrentIndex(0);
    page->eJazdyTriedCenaOD->setText("10,5");
    page->BitBtn127->click();
    EXPECT_EQ(Col(0), QStringList({"3"})) << "its total of 19,80 only";
    page->eJazdyTriedCenaOD->setText("-5");

    Filter("01.05.2007", "");
    EXPECT_TRUE(Col(0).isEmpty()) << "an emptied upper date matches none";
    Filter("", "00.00.0000");
    EXPECT_EQ(Col(0), QStringList({"1", "2", "3", "4"})) << "an emptied lower date matches all";
    EXPECT_TRUE(boxes.Shown().empty());
}

// The 50 km return trip: 6 l x 1,1 / 100 x 1,5 = 0,099 a km, 9,90 for 100 km.
TEST_F(TripsTest, ATripIsListedWithItsCostsSavedAndUpdated) {
    MasterData();
    InsertTrip("2024-05-09 08:00");
    program.OpenTrips();
    EXPECT_EQ(page->sgJazdy->Cells(11, 0), "suma celkom");
    EXPECT_EQ(Row(1),
              QStringList({"1", "09.05.2024 08:00", "09.05.2024 08:00", "Nitra - Trnava", "1", "100,00",
                           "0,10", "0,00", "0", QStringLiteral("Ján Novák"), "cesta", "9,90"}));

    page->eJazdyOdchod->SetText("10.05.2024 07:30");
    page->BitBtn23->click();
    EXPECT_TRUE(page->eJazdyPrichod->hasFocus()) << "the arrival is required";
    page->eJazdyPrichod->SetText("10.05.2024 09:15");
    page->chbJazdySpiatocna->setChecked(false);
    page->eJazdyCerpane->setText("12,5x");
    page->BitBtn23->click();
    EXPECT_TRUE(page->eJazdyCerpane->hasFocus()) << "a fuel amount that is no number is refused";
    page->eJazdyCerpane->setText("1 234,567");
    page->eJazdyUcel->setText("O'Neil \"servis\"");
    page->BitBtn23->click();
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(
        Column("SELECT odchod || '|' || prichod || '|' || spat || '|' || cerpane || '|' || ucel || '|' || "
               "id_vodic || '|' || id_zakaznik FROM jazdy WHERE id = 2"),
        QStringList({"2024-05-10 07:30|2024-05-10 09:15|0|1234.567|O'Neil \"servis\"|1|1"}));
    EXPECT_EQ(Row(2), QStringList({"2", "10.05.2024 07:30", "10.05.2024 09:15", "Nitra - Trnava", "0",
                                   "50,00", "0,10", QStringLiteral("1\u00a0234,57"), "0",
                                   QStringLiteral("Ján Novák"), "O'Neil \"servis\"", "4,95"}));
    EXPECT_EQ(Totals(), QStringList({"150,00", "14,85"}));
    EXPECT_TRUE(page->eJazdyID->text().isEmpty()) << "the fields are cleared";

    // A double-clicked trip is saved back after the question, its fuel as stored, not as shown.
    page->sgJazdy->SetRow(2);
    page->sgJazdyDblClick();
    EXPECT_EQ(page->eJazdyCerpane->text(), "1234,567");
    boxes.Answer(ID_YES);
    page->BitBtn23->click();
    EXPECT_EQ(boxes.Texts(), QStringList("Chcete upraviť a uložiť položku s (ID = 2) ?"));
    EXPECT_EQ(Column("SELECT spat || cerpane || ucel FROM jazdy WHERE id = 2"),
              QStringList({"01234.567O'Neil \"servis\""}));

    // A failing statement is rolled back; the fields keep what was typed.
    Db->Execute("CREATE TRIGGER refuse BEFORE INSERT ON jazdy BEGIN SELECT RAISE(ABORT, 'refused'); END");
    Save("11.05.2024 07:30", "11.05.2024 08:00");
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(Box(1).flags, 16);
    EXPECT_FALSE(Db->InTransaction());
    EXPECT_EQ(page->eJazdyOdchod->Text(), "11.05.2024 07:30");
}

TEST_F(TripsTest, ChoosingACarInTheListLoadsItsTripsAndAnUnknownCarNone) {
    MasterData();
    Db->Execute("INSERT INTO auta (nazov, spz, n1, n2, n3, nadspotreba, id_phm, vlastnictvo, id_zakaznik) "
                "VALUES ('Berlingo', 'NR999ZZ', 5, 5, 5, 0, 1, 0, 1)");
    Db->Execute("INSERT INTO pocstav (rok, id_auto, id_zakaznik) VALUES (2024, 2, 1)");
    InsertTrip("2024-05-10 08:00");
    Db->Execute("UPDATE jazdy SET id_auto = 2");
    InsertTrip("2024-05-11 08:00");
    program.form->Evidenciajzd1->trigger();
    ASSERT_TRUE(page->cbJazdyAuto->DroppedDown());
    EXPECT_EQ(page->cbJazdyAuto->currentText(), "Berlingo - NR999ZZ") << "sorted";
    QAbstractItemView* list = page->cbJazdyAuto->view();
    list->setCurrentIndex(list->model()->index(1, 0));
    QTest::keyClick(list, Qt::Key_Return);
    Settle();
    EXPECT_EQ(Col(0), QStringList({"2"}));

    // The toolkit closes a list before the combo takes the chosen item.
    page->cbJazdyTrasa->setFocus();
    page->cbJazdyTrasa->showPopup();
    page->cbJazdyTrasa->hidePopup();
    page->cbJazdyTrasa->setCurrentIndex(1);
    Settle();
    EXPECT_EQ(page->lblJazdyTrasa->text(), "2");

    // A car whose label finds no row: the page opens with no trips, and a trip cannot be added.
    Db->Execute("UPDATE auta SET spz = NULL"); // "Octavia - " matches no car
    program.form->Evidenciajzd1->trigger();
    EXPECT_EQ(boxes.Texts(), QStringList(QStringLiteral("V databáze nebolo nájdené u tohto zákazníka žiadne "
                                                        "vozidlo. Nie je možné pridávať jazdy.")));
    EXPECT_EQ(Box(0).flags, 48);
    EXPECT_FALSE(page->cbJazdyAuto->DroppedDown());
    EXPECT_TRUE(Col(0).isEmpty()) << "the trips shown before are gone";
    EXPECT_EQ(page->lblJazdySuma->text(), "0,00");
    page->BitBtn23->click();
    EXPECT_TRUE(page->cbJazdyAuto->DroppedDown()) << "a trip needs a car";
    page->cbJazdyAuto->hidePopup();
}

TEST_F(TripsTest, DeleteNamesTheSelectedIdsAndTheWipeRestartsThem) {
    MasterData();
    for (int id = 10; id <= 14; ++id)
        InsertTrip(QString("2024-05-%1 08:00").arg(id), 1, 1, QString::number(id));
    program.OpenTrips();
    TStringGrid* grid = page->sgJazdy;
    grid->SetRow(3);
    grid->selectionModel()->select(QItemSelection(grid->model()->index(2, 0), grid->model()->index(4, 11)),
                                   QItemSelectionModel::Select);
    boxes.Answer(ID_YES);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(boxes.Texts(),
              QStringList(QStringLiteral("Naozaj chcete položky s nasledovnými ID zmazať?\r\r12, 13, 14")));
    EXPECT_EQ(Box(0).flags, 36);
    EXPECT_EQ(Col(0), QStringList({"10", "11"})) << "deleted and shown again";
    EXPECT_FALSE(page->BitBtn30->isVisible());

    boxes.Answer(ID_YES);
    boxes.Answer(ID_YES);
    page->BitBtn30Click();
    EXPECT_TRUE(Col(0).isEmpty());
    Save("20.05.2024 07:00", "20.05.2024 08:00");
    EXPECT_EQ(Column("SELECT id FROM jazdy"), QStringList({"1"}));
}

// The one-pass load shows exactly what the documented steps with the shared helpers show.
TEST_F(TripsTest, TheLoadMatchesFillingFormattingAndSummingStepByStep) {
    MasterData();
    Db->Execute("UPDATE auta SET n1 = 5.3, n2 = 7.1, n3 = 6.05, nadspotreba = 12.5, vlastnictvo = 1");
    Db->Execute(
        "INSERT INTO mesta (mesto1, mesto2, vzdialenost) VALUES ('A', 'B', 1234.567), ('C', 'D', 0.05)");
    auto two = [](int n) { return QString("%1").arg(n, 2, 10, QChar('0')); };
    for (int i = 0; i < 60; ++i) {
        const QString month = two(i % 12 + 1);
        Db->Execute(QString("INSERT INTO cphm (datum, id_phm, cena) VALUES ('2024-%1-0%2', 1, %3)")
                        .arg(month)
                        .arg(i / 12 + 1)
                        .arg(1.234 + i * 0.0137));
        for (const QString year : {"2023", "2024"})
            InsertTrip(year + "-" + month + "-" + two(i % 28 + 1) + " 08:00", i % 2, i % 3 + 1);
    }
    Db->Execute("UPDATE jazdy SET cerpane = id * 3.3, nadspotreba = id % 2");
    program.OpenTrips();
    TStringGrid* grid = page->sgJazdy;
    const auto shownWith = [&](QStringList totals) {
        for (int row = 0; row < grid->RowCount(); ++row)
            totals << Row(row);
        return totals;
    };
    const QStringList shown = shownWith(Totals());

    SqlLines = page->TripQueryLines();
    auto table = Db->Query(SqlLinesText());
    FillGridFromTable(*table, grid);
    QStringList km, costs;
    FieldToStrings(*table, "km", km);
    FieldToStrings(*table, "cena_celkom", costs);
    FormatNumberColumns(grid, "5;6;7;11");
    DateTimeColumnsToText(grid, "1;2");
    EXPECT_EQ(shown, shownWith({FormatNumber(SumTenThousandths(km) / 10000.0),
                                FormatNumber(SumTenThousandths(costs) / 10000.0)}));
    EXPECT_TRUE(costs.contains("")) << "trips of 2023 have no price";
    auto outcome = [](double (*read)(const QString&), const QString& text) {
        QString value;
        const QString error = ErrorOf([&] { value = QString::number(read(text), 'g', 17); });
        return error == "<no error>" ? value : error;
    };
    for (const QString text : {"0", "-0,5", "12,345678901234", "0,00001", "123456789012345",
                               "9,9000000000000004", "1,5E-5", "5,", "-,5", "1 234,5", "-"})
        EXPECT_EQ(outcome(NumberTextValue, text), outcome(TextToFloat, text)) << text.toStdString();
}

TEST_F(TripsTest, ImpossibleOrPartlyTypedDatesAndAnArrivalBeforeTheDepartureAreRefused) {
    MasterData();
    program.OpenTrips();
    const auto refusal = [](const QString& field, const QString& typed) {
        return QStringLiteral(
                   "Pole \"%1\" neobsahuje platný dátum a čas v tvare dd.mm.rrrr hh:mm (zadané: %2).")
            .arg(field, typed);
    };
    Save("31.02.2024 08:00", "31.02.2024 09:00");
    EXPECT_TRUE(page->eJazdyOdchod->hasFocus());
    EXPECT_EQ(boxes.Texts(), QStringList({refusal("odchod", "31.02.2024 08:00")}));
    EXPECT_EQ(Box(0).flags, MB_ICONWARNING);

    for (const QString arrival : {"05.03.2024 25:99", "05.1 .2024 09:00", "05.03.2024   :  "}) {
        Save("05.03.2024 08:00", arrival);
        EXPECT_TRUE(page->eJazdyPrichod->hasFocus()) << arrival.toStdString();
        EXPECT_EQ(boxes.Texts().last(), refusal(QStringLiteral("príchod"), arrival));
    }
    Save("05.03.2024 08:00", "05.03.2024 07:59");
    EXPECT_TRUE(page->eJazdyPrichod->hasFocus());
    EXPECT_EQ(boxes.Texts().last(),
              QStringLiteral("Príchod (05.03.2024 07:59) nemôže byť skôr ako odchod (05.03.2024 08:00)."));
    EXPECT_EQ(Column("select count(*) from jazdy"), QStringList({"0"})) << "nothing written";
    EXPECT_FALSE(Db->InTransaction());

    // A leap day, and an arrival at the minute of the departure, are fine.
    Save("29.02.2024 08:00", "29.02.2024 08:00");
    EXPECT_EQ(Column("select odchod || '|' || prichod from jazdy"),
              QStringList({"2024-02-29 08:00|2024-02-29 08:00"}));
    EXPECT_EQ(boxes.Shown().size(), 5u);
}

TEST_F(TripsTest, AFilterDateMustExistUnlessItIsNoneOrEmptied) {
    MasterData("2007-01-01");
    InsertTrip("2007-05-01 06:00");
    program.OpenTrips();
    Filter("31.02.2007", "00.00.0000");
    EXPECT_TRUE(page->eJazdyTriedDatumOD->hasFocus());
    Filter("00.00.0000", "01.1 .2007");
    EXPECT_TRUE(page->eJazdyTriedDatumDO->hasFocus());
    EXPECT_EQ(boxes.Texts(),
              QStringList({QStringLiteral("Pole \"Dátum od\" neobsahuje platný dátum v tvare dd.mm.rrrr "
                                          "(zadané: 31.02.2007)."),
                           QStringLiteral("Pole \"Dátum do\" neobsahuje platný dátum v tvare dd.mm.rrrr "
                                          "(zadané: 01.1 .2007).")}));
    EXPECT_EQ(boxes.Shown().size(), 2u);
}
