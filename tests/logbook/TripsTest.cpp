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

// 4 l / 100 km at 1 a litre on 0,1 km: 0,004 a trip.
TEST_F(TripsTest, ATripWithoutAFlatRateCostsNothingAndTotalsAddUnroundedCosts) {
    MasterData();
    Db->Execute("UPDATE auta SET n1 = 4, n2 = 4, n3 = 4, nadspotreba = 0");
    Db->Execute("UPDATE cphm SET cena = 1");
    Db->Execute("UPDATE mesta SET vzdialenost = 0.1");
    Db->Execute("INSERT INTO cphm (datum, id_phm, cena) VALUES ('2023-01-01', 1, 1)");
    InsertTrip("2023-06-01 08:00"); // a price but no flat rate yet
    for (const char* day : {"2024-05-10 08:00", "2024-05-11 08:00", "2024-05-12 08:00"})
        InsertTrip(day, 0);
    program.OpenTrips();
    EXPECT_EQ(Col(11), QStringList({"0,00", "0,00", "0,00", "0,00"}));
    EXPECT_EQ(Totals(), QStringList({"0,50", "0,01"})) << "3 x 0,004, the first adding nothing";
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

// Trips of car 1 in time order 14, 12, 13, 11, the first arriving the next day; price 1,5 and flat rate 0,2,
// or 3 and 0,4 from 01.03.2024, the day trip 12 departs. A trip of customer 2 on the same car; customer 0's
// Eva Malá (id 2), whom the engine finds before customer 1's (id 3).
TEST_F(TripsTest, TheFilterComparesDepartureDriverRouteAndTheTotalCostAsTheGridShowsIt) {
    MasterData();
    Db->Execute(
        QStringLiteral("INSERT INTO vodic (meno, id_zakaznik) VALUES ('Eva Malá', 0), ('Eva Malá', 1)"));
    Db->Execute("INSERT INTO cphm (datum, id_phm, cena) VALUES ('2024-03-01', 1, 3)");
    Db->Execute("INSERT INTO pausnahr (datum, suma) VALUES ('2024-03-01', 0.4)");
    Db->Execute(
        "INSERT INTO jazdy (id, odchod, prichod, id_mesta, spat, id_vodic, id_zakaznik, id_auto) VALUES "
        "(14, '2024-02-29 23:59', '2024-03-01 00:30', 1, 0, 1, 1, 1), "
        "(12, '2024-03-01 06:00', '2024-03-01 07:00', 1, 0, 3, 1, 1), "
        "(13, '2024-12-31 23:00', '2025-01-01 01:00', 2, 1, 1, 1, 1), "
        "(11, '2025-01-01 01:00', '2025-01-01 02:00', 2, 0, 3, 1, 1), "
        "(15, '2024-06-01 08:00', '2024-06-01 09:00', 1, 0, 1, 2, 1)");
    program.OpenTrips();
    EXPECT_EQ(page->cbJazdyVodic->count(), 2) << "customer 1's drivers only";
    EXPECT_EQ(Col(11), QStringList({"4,95", "9,90", "39,60", "19,80"}));
    struct Case {
        const char *from, *to, *costFrom, *costTo;
        int driver, route, owner;
        QStringList ids;
    };
    const Case cases[] = {
        {"00.00.0000", "00.00.0000", "0", "0", 0, 0, 0, {"14", "12", "13", "11"}},
        {"01.03.2024", "00.00.0000", "0", "0", 0, 0, 0, {"12", "13", "11"}},
        {"00.00.0000", "01.03.2024", "0", "0", 0, 0, 0, {"14"}}, // not the trips of that day
        {"31.12.2024", "01.01.2025", "0", "0", 0, 0, 0, {"13"}},
        {"00.00.0000", "00.00.0000", "0", "0", 1, 0, 0, {"12", "11"}},
        {"00.00.0000", "00.00.0000", "0", "0", 0, 2, 0, {"13", "11"}},
        {"00.00.0000", "00.00.0000", "0", "0", 1, 2, 0, {"11"}},
        {"00.00.0000", "00.00.0000", "9,89", "0", 0, 0, 0, {"12", "13", "11"}},
        {"00.00.0000", "00.00.0000", "9,91", "-5", 0, 0, 0, {"13", "11"}},
        {"00.00.0000", "00.00.0000", "0", "9,91", 0, 0, 0, {"14", "12"}},
        {"00.00.0000", "00.00.0000", "9,89", "19,81", 0, 0, 0, {"12", "11"}},
        {"00.00.0000", "00.00.0000", "14,94", "14,96", 0, 0, 1, {"14"}}, // private: 0,299 x 50
        {"00.00.0000", "00.00.0000", "29,89", "29,91", 0, 0, 1, {"12"}}, // 0,598 x 50
        {"01.03.2024", "", "0", "0", 0, 0, 0, {}},                       // emptied: matches none
        {"", "00.00.0000", "0", "0", 0, 0, 0, {"14", "12", "13", "11"}}, // emptied: matches all
    };
    for (const Case& c : cases) {
        Db->Execute("UPDATE auta SET vlastnictvo = " + QString::number(c.owner));
        page->cbJazdyTriedVodic->setCurrentIndex(c.driver);
        page->cbJazdyTriedTrasa->setCurrentIndex(c.route);
        page->eJazdyTriedCenaOD->setText(c.costFrom);
        page->eJazdyTriedCenaDO->setText(c.costTo);
        Filter(c.from, c.to);
        EXPECT_EQ(Col(0), c.ids) << c.from << "-" << c.to << " " << c.costFrom << "-" << c.costTo << " "
                                 << c.driver << c.route << c.owner;
    }
    Filter("00.00.0000", "01.03.2024");
    EXPECT_EQ(Totals(), QStringList({"50,00", "4,95"})) << "of the rows shown";
    EXPECT_TRUE(boxes.Shown().empty());

    // A date must exist unless it is "00.00.0000" or emptied; the list stays.
    Filter("31.02.2024", "00.00.0000");
    EXPECT_TRUE(page->eJazdyTriedDatumOD->hasFocus());
    Filter("00.00.0000", "01.1 .2024");
    EXPECT_TRUE(page->eJazdyTriedDatumDO->hasFocus());
    const QString bad =
        QStringLiteral("Pole \"%1\" neobsahuje platný dátum v tvare dd.mm.rrrr (zadané: %2).");
    EXPECT_EQ(boxes.Texts(), QStringList({bad.arg(QStringLiteral("Dátum od"), "31.02.2024"),
                                          bad.arg(QStringLiteral("Dátum do"), "01.1 .2024")}));
    EXPECT_EQ(Col(0), QStringList({"14"}));
}

// The 50 km return trip: 6 l x 1,1 / 100 x 1,5 = 0,099 a km, 9,90 for 100 km.
TEST_F(TripsTest, ATripIsListedWithItsCostsSavedAndUpdated) {
    MasterData();
    InsertTrip("2024-05-09 08:00");
    program.OpenTrips();
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

// Cars 2 (5 l) and 3 (10 l) of customer 1 both read "Fabia - Combi - NR1", and so does car 4 of customer 2;
// car 1, renamed arosa, is listed first though the engine sorts it last.
TEST_F(TripsTest, EachCarOfTheListGetsItsOwnTripsAndCostsThoughLabelsReadAlike) {
    MasterData();
    Db->Execute("UPDATE auta SET nazov = 'arosa'");
    Db->Execute(
        "INSERT INTO auta (nazov, spz, n1, n2, n3, nadspotreba, id_phm, vlastnictvo, id_zakaznik) "
        "VALUES ('Fabia - Combi', 'NR1', 5, 5, 5, 0, 1, 0, 1), ('Fabia', 'Combi - NR1', 10, 10, 10, 0, 1, "
        "0, 1), ('Fabia', 'Combi - NR1', 4, 4, 4, 0, 1, 0, 2)");
    Db->Execute("INSERT INTO pocstav (rok, id_auto, id_zakaznik) VALUES (2024, 2, 1), (2024, 3, 1)");
    InsertTrip("2024-05-10 08:00");
    Db->Execute("UPDATE jazdy SET id_auto = 2");
    program.form->Evidenciajzd1->trigger();
    ASSERT_TRUE(page->cbJazdyAuto->DroppedDown());
    ASSERT_EQ(page->cbJazdyAuto->count(), 3) << "customer 2's car left out";
    EXPECT_EQ(page->lblJazdyAuto->text(), "1");
    QAbstractItemView* list = page->cbJazdyAuto->view();
    list->setCurrentIndex(list->model()->index(2, 0)); // car 2, after car 3 named "Fabia"
    QTest::keyClick(list, Qt::Key_Return);
    Settle(); // the toolkit closes the list before the combo takes the chosen item
    Save("11.05.2024 08:00", "11.05.2024 09:00");
    EXPECT_EQ(Col(11), QStringList({"7,50", "7,50"})) << "5 l / 100 km x 1,5 x 100 km";
    page->cbJazdyAuto->setCurrentIndex(1);
    page->cbJazdyAutoCloseUp();
    Save("12.05.2024 08:00", "12.05.2024 09:00");
    EXPECT_EQ(Col(11), QStringList({"15,00"}));
    EXPECT_EQ(Column("SELECT id || '/' || id_auto FROM jazdy"), QStringList({"1/2", "2/2", "3/3"}));

    // An id that is no whole number never reaches a statement.
    page->lblJazdyAuto->setText("3 OR 1");
    page->BitBtn127->click();
    EXPECT_EQ(Col(0), QStringList({"3"}));
    EXPECT_TRUE(boxes.Texts().value(0).contains("'3 OR 1'"));
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
    // The arrival goes by time across a day, a month and a year end; a leap day and an arrival at
    // the minute of the departure are fine.
    const QStringList refused[] = {{"05.03.2024 08:00", "05.03.2024 07:59"},
                                   {"01.01.2025 01:00", "31.12.2024 23:00"},
                                   {"01.02.2024 01:00", "31.01.2024 23:00"}};
    for (const QStringList& times : refused) {
        Save(times[0], times[1]);
        EXPECT_TRUE(page->eJazdyPrichod->hasFocus());
        EXPECT_EQ(boxes.Texts().last(),
                  QStringLiteral("Príchod (%1) nemôže byť skôr ako odchod (%2).").arg(times[1], times[0]));
    }
    EXPECT_EQ(Column("select count(*) from jazdy"), QStringList({"0"})) << "nothing written";
    EXPECT_FALSE(Db->InTransaction());
    for (const QStringList& times : refused)
        Save(times[1], times[0]);
    Save("29.02.2024 08:00", "29.02.2024 08:00");
    EXPECT_EQ(Column("select odchod || '|' || prichod from jazdy"),
              QStringList({"2024-03-05 07:59|2024-03-05 08:00", "2024-12-31 23:00|2025-01-01 01:00",
                           "2024-01-31 23:00|2024-02-01 01:00", "2024-02-29 08:00|2024-02-29 08:00"}));
    EXPECT_EQ(boxes.Shown().size(), 7u);
}
