#include <QAbstractItemView>
#include <QDate>

#include "GridHelpers.h"
#include "PdfText.h"
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
    void MasterData() { CreateTripMasterData("('Nitra', 'Trnava', 50), ('Nitra', 'Zvolen', 100)"); }
    QStringList Col(int col) { return GridColumn(page->sgJazdy, col); }
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

// Drivers and cars count for the selected customer only.
TEST_F(TripsTest, MissingMasterDataIsNamedInOrderAndStopsTheOpening) {
    const QString master =
        QStringLiteral("V tabuľke \"%1\"%2 sa nenachádzajú žiadne údaje. Tabuľku \"Evidencia jázd\" nie je "
                       "možné zobraziť.\r\rProsím doplňte potrebné údaje do tejto tabuľky.");
    const QString section = QStringLiteral(" (v sekcii \"Doplňujúce údaje\")");
    CreateTableVodic();
    Db->Execute("INSERT INTO vodic (meno, id_zakaznik) VALUES ('Jana', 2)");
    program.form->Evidenciajzd1->trigger();
    EXPECT_FALSE(Db->TableExists("cphm")) << "later tables are not created";
    Db->Execute("UPDATE vodic SET id_zakaznik = 1");
    page->Evidenciajzd1Click();

    MasterData();
    Db->Execute("DELETE FROM pocstav");
    program.OpenTrips();
    EXPECT_EQ(program.form->CurrentPanel(), program.form->pnlJazdy) << "the page opens anyway";
    Db->Execute("UPDATE auta SET id_zakaznik = 2");
    page->Evidenciajzd1Click();
    EXPECT_EQ(boxes.Texts(),
              QStringList({master.arg(QStringLiteral("Vodič"), section), master.arg("Ceny PHM", section),
                           QStringLiteral("V tabuľke \"Počiatočné stavy\" (v sekcii \"Údaje pre prevod "
                                          "roka\") sa pre niektoré vozidlá nenachádzajú žiadne "
                                          "údaje.\r\rProsím doplňte tieto údaje do tejto tabuľky."),
                           master.arg(QStringLiteral("Evidencia áut"), "")}))
        << "and nothing after the missing car";
    for (const ShownBox& box : boxes.Shown())
        EXPECT_EQ(box.flags, 48);
}

// Trips of car 1 in time order 14, 12, 13, 11, the first arriving the next day; price 1,5 and flat rate 0,2,
// or 3 and 0,4 from 01.03.2024, the day trip 12 departs (a price of fuel 2 never counts). A trip of customer
// 2 on the same car; customer 0's Eva Malá (id 2), whom the engine finds before customer 1's (id 3).
TEST_F(TripsTest, TheFilterComparesDepartureDriverRouteAndTheTotalCostAsTheGridShowsIt) {
    MasterData();
    Db->Execute(
        QStringLiteral("INSERT INTO vodic (meno, id_zakaznik) VALUES ('Eva Malá', 0), ('Eva Malá', 1)"));
    Db->Execute("INSERT INTO cphm (datum, id_phm, cena) VALUES ('2024-03-01', 1, 3), ('2024-02-01', 2, 9)");
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
        {"00.00.0000", "00.00.0000", "9,91", "-5", 0, 0, 0, {"13", "11"}},
        {"00.00.0000", "00.00.0000", "0", "9,91", 0, 0, 0, {"14", "12"}},
        {"00.00.0000", "00.00.0000", "9,89", "19,81", 0, 0, 0, {"12", "11"}},
        {"00.00.0000", "00.00.0000", "14,94", "14,96", 0, 0, 1, {"14"}}, // private: 0,299 x 50
        {"00.00.0000", "00.00.0000", "29,89", "29,91", 0, 0, 1, {"12"}}, // 0,598 x 50
        {"00.00.0000", "00.00.0000", "   ", "\u00A0 ", 0, 0, 1, {"14", "12", "13", "11"}}, // blanks: no bound
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

    // A date must exist unless it is "00.00.0000" or emptied; the list stays.
    Filter("31.02.2024", "00.00.0000");
    Filter("00.00.0000", "01.1 .2024");
    const QString bad =
        QStringLiteral("Pole \"%1\" neobsahuje platný dátum v tvare dd.mm.rrrr (zadané: %2).");
    EXPECT_EQ(boxes.Texts(), QStringList({bad.arg(QStringLiteral("Dátum od"), "31.02.2024"),
                                          bad.arg(QStringLiteral("Dátum do"), "01.1 .2024")}));
    EXPECT_EQ(Col(0), QStringList({"14"}));
}

// Trip 2 is typed: route 2 (100 km) one way with the excess mark, driver 1: 6 l x 1,1 / 100 x 1,5
// = 0,099 a km, 9,90.
TEST_F(TripsTest, TripsAreListedWithTheirCostsSavedAndUpdated) {
    MasterData();
    InsertTrip("2024-05-09 08:00");
    program.OpenTrips();
    page->cbJazdyTrasa->setCurrentIndex(1);
    page->cbJazdyTrasaCloseUp();
    page->eJazdyOdchod->SetText("10.05.2024 07:30");
    page->BitBtn23->click();
    EXPECT_TRUE(page->eJazdyPrichod->hasFocus()) << "the arrival is required";
    page->eJazdyPrichod->SetText("10.05.2024 09:15");
    page->chbJazdySpiatocna->setChecked(false);
    page->chbJazdyNadspotreba->setChecked(true);
    page->eJazdyCerpane->setText("12,5x");
    page->BitBtn23->click();
    EXPECT_TRUE(page->eJazdyCerpane->hasFocus()) << "a fuel amount that is no number is refused";
    page->eJazdyCerpane->setText("1 234,567");
    page->eJazdyUcel->setText("O'Neil \"servis\"");
    page->BitBtn23->click();
    const QString stored = "SELECT odchod || '|' || prichod || '|' || id_mesta || spat || nadspotreba || "
                           "id_vodic || id_zakaznik || '|' || cerpane || '|' || ucel FROM jazdy WHERE id = 2";
    EXPECT_EQ(Column(stored),
              QStringList({"2024-05-10 07:30|2024-05-10 09:15|20111|1234.567|O'Neil \"servis\""}));

    // The fields take the trip, its fuel as stored, not as shown; the save asks first.
    page->sgJazdy->SetRow(2);
    page->sgJazdyDblClick();
    EXPECT_EQ(QStringList({page->eJazdyCerpane->text(), page->eJazdyUcel->text()}),
              QStringList({"1234,567", "O'Neil \"servis\""}));
    page->eJazdyCerpane->setText("7,5");
    page->eJazdyUcel->setText("servis");
    page->chbJazdySpiatocna->setChecked(true); // the return trip on, the excess mark off: each its own column
    page->chbJazdyNadspotreba->setChecked(false);
    boxes.Answer(ID_YES);
    page->BitBtn23->click();
    EXPECT_EQ(boxes.Texts(),
              QStringList({QStringLiteral("Pole \"čerpané\" neobsahuje platné číslo (zadané: 12,5x). "
                                          "Zadajte číslo s desatinnou čiarkou, napríklad 12,5 alebo -3."),
                           QStringLiteral("Chcete upraviť a uložiť položku s (ID = 2) ?")}));
    EXPECT_EQ(Column(stored), QStringList({"2024-05-10 07:30|2024-05-10 09:15|21011|7.5|servis"}));
    EXPECT_EQ(Col(4) + Col(8), QStringList({"1", "1", "0", "0"}));
    page->chbJazdySpiatocna->setChecked(false);
    page->chbJazdyNadspotreba->setChecked(true);
    page->sgJazdy->SetRow(2);
    page->sgJazdyDblClick();
    EXPECT_TRUE(page->chbJazdySpiatocna->isChecked() && !page->chbJazdyNadspotreba->isChecked());

    // Trip 1 with a price but no flat rate in force costs nothing; the totals add unrounded costs: 0,099 a km
    // on 0,04 km is 0,00396 a trip.
    Db->Execute("UPDATE cphm SET datum = '2023-01-01'");
    Db->Execute("UPDATE mesta SET vzdialenost = 0.04");
    Db->Execute("UPDATE jazdy SET odchod = '2023-06-01 08:00' WHERE id = 1");
    Db->Execute("UPDATE jazdy SET spat = 0 WHERE id = 2"); // one way again
    InsertTrip("2024-05-11 08:00", 0);
    InsertTrip("2024-05-12 08:00", 0);
    page->cbJazdyAutoCloseUp();
    EXPECT_EQ(Col(11), QStringList({"0,00", "0,00", "0,00", "0,00"}));
    EXPECT_EQ(Totals(), QStringList({"0,20", "0,01"}));
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
    ASSERT_EQ(page->cbJazdyAuto->count(), 3) << "customer 2's car left out";
    EXPECT_EQ(page->lblJazdyAuto->text(), "1");
    QAbstractItemView* list = page->cbJazdyAuto->view();
    list->setCurrentIndex(list->model()->index(2, 0)); // car 2, after car 3 named "Fabia"
    QTest::keyClick(list, Qt::Key_Return);
    Settle(); // the toolkit closes the list before the combo takes the chosen item
    EXPECT_EQ(Col(0), QStringList({"1"}));
    Save("11.05.2024 08:00", "11.05.2024 09:00");
    EXPECT_EQ(Col(11), QStringList({"7,50", "7,50"})) << "5 l / 100 km x 1,5 x 100 km";
    page->cbJazdyAuto->setCurrentIndex(1);
    page->cbJazdyAutoCloseUp();
    Save("12.05.2024 08:00", "12.05.2024 09:00");
    EXPECT_EQ(Col(11), QStringList({"15,00"}));
    EXPECT_EQ(Column("SELECT id || '/' || id_auto FROM jazdy"), QStringList({"1/2", "2/2", "3/3"}));
}

// The arrival goes by time across a day, a month and a year end; a leap day and an arrival at the minute
// of the departure are fine.
TEST_F(TripsTest, RefusedDatesAndArrivalsBeforeTheDepartureThenDeleteOfTheSelectedRowsAndTheWipe) {
    MasterData();
    program.OpenTrips();
    const QString bad =
        QStringLiteral("Pole \"%1\" neobsahuje platný dátum a čas v tvare dd.mm.rrrr hh:mm (zadané: %2).");
    Save("31.02.2024 08:00", "31.02.2024 09:00");
    EXPECT_TRUE(page->eJazdyOdchod->hasFocus());
    QStringList expected{bad.arg("odchod", "31.02.2024 08:00")};
    for (const QString arrival : {"05.03.2024 25:99", "05.1 .2024 09:00", "05.03.2024   :  "}) {
        Save("05.03.2024 08:00", arrival);
        EXPECT_TRUE(page->eJazdyPrichod->hasFocus()) << arrival.toStdString();
        expected << bad.arg(QStringLiteral("príchod"), arrival);
    }
    const QStringList refused[] = {{"05.03.2024 08:00", "05.03.2024 07:59"},
                                   {"01.01.2025 01:00", "31.12.2024 23:00"},
                                   {"01.02.2024 01:00", "31.01.2024 23:00"}};
    for (const QStringList& times : refused) {
        Save(times[0], times[1]);
        EXPECT_TRUE(page->eJazdyPrichod->hasFocus());
        expected << QStringLiteral("Príchod (%1) nemôže byť skôr ako odchod (%2).").arg(times[1], times[0]);
    }
    for (const QStringList& times : refused)
        Save(times[1], times[0]);
    Save("29.02.2024 08:00", "29.02.2024 08:00");
    EXPECT_EQ(Column("select odchod || '|' || prichod from jazdy"),
              QStringList({"2024-03-05 07:59|2024-03-05 08:00", "2024-12-31 23:00|2025-01-01 01:00",
                           "2024-01-31 23:00|2024-02-01 01:00", "2024-02-29 08:00|2024-02-29 08:00"}));
    EXPECT_EQ(boxes.Texts(), expected);
    EXPECT_EQ(Box(0).flags, MB_ICONWARNING);

    // Delete asks once for the selected rows, by departure trips 4, 1 and 2; the wipe restarts the ids.
    TStringGrid* grid = page->sgJazdy;
    grid->SetRow(2);
    grid->selectionModel()->select(QItemSelection(grid->model()->index(1, 0), grid->model()->index(3, 11)),
                                   QItemSelectionModel::Select);
    boxes.Answer(ID_YES);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(boxes.Shown().back(),
              ShownBox({QStringLiteral("Naozaj chcete položky s nasledovnými ID zmazať?\r\r4, 1, 2"),
                        "Vozopis", 36}));
    EXPECT_EQ(Col(0), QStringList({"3"})) << "deleted and shown again";
    boxes.Answer(ID_YES);
    boxes.Answer(ID_YES);
    page->BitBtn30Click();
    EXPECT_TRUE(Col(0).isEmpty());
    Save("20.05.2024 07:00", "20.05.2024 08:00");
    EXPECT_EQ(Column("SELECT id FROM jazdy"), QStringList({"1"}));
}

namespace {
// The words printed on the line at top between x1 and x2 (mm), joined by blanks.
QString PrintedText(const PdfText& pdf, double top, double x1, double x2) {
    QStringList words;
    for (const PdfWord& w : pdf.words)
        if (std::abs(w.top - top) < 0.5 && w.left > x1 - 0.1 && w.right < x2 + 0.1)
            words << w.text;
    return words.join(' ');
}

// The texts with each blank the no-break space the program groups digits by.
QStringList Shown(QStringList texts) {
    for (QString& text : texts)
        text.replace(' ', QChar(0xA0));
    return texts;
}
} // namespace

// Values the fields take, at the edges of what the engine's numbers and the totals can hold: each cell and
// total is shown as its value, the page loads, no box, and the trip log prints the same whole. One trip per
// route; the car, a company car, uses 6 l / 100 km raised by its excess percent.
TEST_F(TripsTest, NumbersAtTheEdgesAreShownAndPrintedAsTheirValuesAndTotalsNeverWrap) {
    MasterData();
    program.OpenTrips();
    struct Case {
        const char *distances, *price;
        int back;
        QStringList km, perKm, total, totals;
        QString withoutVat;
        const char* litres; // per 100 km
        int excess;
    };
    // 20 trips of 0,03125 (312,5 ten-thousandths) each: rounded to even at every step they add 312 each.
    const QByteArray twenty = QByteArray("0,03125;").repeated(20).chopped(1);
    const Case cases[] = {
        // Kilometres beyond 2^63 ten-thousandths in sum.
        {"400000000000000;400000000000000",
         "1,5",
         1,
         {"800 000 000 000 000,00", "800 000 000 000 000,00"},
         {"0,10", "0,10"},
         {"79 200 000 000 000,00", "79 200 000 000 000,00"},
         {"1 600 000 000 000 000,00", "158 400 000 000 000,00"},
         "133 109 243 697 478,99",
         "6",
         10},
        // Beyond 10^15, where the engine's text turns to an exponent, and beyond 2^53.
        {"999999999999999",
         "50",
         1,
         {"1 999 999 999 999 998,00"},
         {"3,30"},
         {"6 599 999 999 999 994,00"},
         {"1 999 999 999 999 998,00", "6 599 999 999 999 994,00"},
         "5 546 218 487 394 952,94",
         "6",
         10},
        // A total whose hundredths lie beyond what a double holds at 10^14.
        {"99999999999999,5;0,51",
         "0",
         0,
         {"99 999 999 999 999,50", "0,51"},
         {"0,00", "0,00"},
         {"0,00", "0,00"},
         {"100 000 000 000 000,01", "0,00"},
         "0,00",
         "6",
         10},
        // The same as costs: 1 l a km at a price of 1.
        {"99999999999999,5;0,51",
         "1",
         0,
         {"99 999 999 999 999,50", "0,51"},
         {"1,00", "1,00"},
         {"99 999 999 999 999,50", "0,51"},
         {"100 000 000 000 000,01", "100 000 000 000 000,01"},
         "84 033 613 445 378,16",
         "100",
         0},
        // Each step of the sums rounds a half to even: 0,6240, not 0,6260 (half up) nor 0,6250 (unrounded).
        {twenty.constData(),
         "1",
         0,
         QStringList(20, "0,03"),
         QStringList(20, "1,00"),
         QStringList(20, "0,03"),
         {"0,62", "0,62"},
         "0,52",
         "100",
         0},
        // Below 0,00001, where the exponent is negative.
        {"0,00001", "0,00001", 1, {"0,00"}, {"0,00"}, {"0,00"}, {"0,00", "0,00"}, "0,00", "6", 10},
    };
    PdfPrinterAnswer answer;
    for (const Case& c : cases) {
        Db->Execute("DELETE FROM jazdy");
        Db->Execute("DELETE FROM mesta");
        Db->Execute("UPDATE cphm SET cena = " + NumberToSql(c.price));
        Db->Execute(QString("UPDATE auta SET n1 = %1, n2 = %1, n3 = %1, nadspotreba = %2")
                        .arg(c.litres)
                        .arg(c.excess));
        const QStringList distances = QString(c.distances).split(';');
        for (int i = 0; i < distances.size(); ++i) {
            Db->Execute("INSERT INTO mesta (id, mesto1, mesto2, vzdialenost) VALUES (" +
                        QString::number(i + 1) + ", 'A', 'B', " + NumberToSql(distances[i]) + ")");
            InsertTrip(QDate(2024, 5, 10).addDays(i).toString(Qt::ISODate) + " 08:00", c.back, i + 1);
        }
        page->cbJazdyAutoCloseUp();
        EXPECT_EQ(Col(5), Shown(c.km)) << c.distances;
        EXPECT_EQ(Col(6), Shown(c.perKm)) << c.distances;
        EXPECT_EQ(Col(11), Shown(c.total)) << c.distances;
        EXPECT_EQ(Totals(), Shown(c.totals)) << c.distances;

        // Rows from 57 by 4: kilometres in 123-139, total cost in 258-276; the totals 7 below, right of
        // their captions, which end at 41.
        page->BitBtn27->click();
        const PdfText pdf = answer.Read();
        QStringList printed;
        for (int row = 0; row < c.km.size(); ++row)
            printed << PrintedText(pdf, 57 + 4 * row, 123, 139) << PrintedText(pdf, 57 + 4 * row, 258, 276);
        const int totals = 57 + 4 * int(c.km.size()) + 7;
        for (int line = 0; line < 3; ++line)
            printed << PrintedText(pdf, totals + 4 * line, 41, 297);
        QStringList expected;
        for (int row = 0; row < c.km.size(); ++row)
            expected << c.km[row] << c.total[row];
        EXPECT_EQ(printed, expected + c.totals + QStringList(c.withoutVat)) << c.distances;
    }
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join('\n').toStdString();
}
