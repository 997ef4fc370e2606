#include "Reports.h"
#include "PdfText.h"
#include "Printing.h"
#include "ProgramFixture.h"

namespace {
constexpr double kMm = 0.5;

// The PDF's document title (the print job's name).
QString PdfTitle(const QString& file) {
    QProcess process;
    process.start("pdfinfo", {file});
    process.waitForFinished(30000);
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n'))
        if (line.startsWith("Title:"))
            return line.mid(6).trimmed();
    return {};
}

// The program with customer 1 selected and the print date fixed at 5 December 2026, 14:30:15.
// Every report goes to a PDF file.
class ReportsTest : public ProgramTest {
protected:
    ReportsTest() : ProgramTest("") {}
    void SetUp() override {
        previousClock = SetReportClock([] { return QDateTime(QDate(2026, 12, 5), QTime(14, 30, 15)); });
        ProgramTest::SetUp();
        CreateTableZakaznici();
        Db->Execute(QStringLiteral(
            "INSERT INTO zakaznici (nazov, ico, dic, osoba, ulica, mesto, psc, stat, platca, fo, po) VALUES "
            "('Ľubovník s.r.o.', '36123456', 'SK2020123456', 'Ján Ďurček', 'Hlavná 5', 'Žilina', '010 01', "
            "'Slovensko', '1', '0', '1')"));
        program.form->MainScreen->SelectCustomerYear("1", "2024");
    }
    void TearDown() override { SetReportClock(previousClock); }

    // The trip master data (a private car if asked) and trips one a day from 1 May 2024.
    void TripData(int trips, bool privateCar = false) {
        CreateTripMasterData();
        Db->Execute(QString("UPDATE auta SET vlastnictvo = %1").arg(privateCar ? 1 : 0));
        AddTrips(0, trips);
    }
    void AddTrips(int from, int count) {
        TTransaction transaction(*Db);
        for (int i = from; i < from + count; ++i)
            InsertTrip(QDate(2024, 5, 1).addDays(i).toString("yyyy-MM-dd 08:00"), 0, 1, "NULL",
                       QStringLiteral("služobná cesta"));
        transaction.Commit();
    }
    PdfText Print(QPushButton* button) {
        button->click();
        return answer.Read();
    }

    ReportClock previousClock;
    PdfPrinterAnswer answer;
};

// The customer block and title of the car list and the trip log, from the sheet's top.
void ExpectAt(const PdfText& pdf, const QString& text, double left, double top) {
    const PdfWord word = pdf.Nearest(text, left, top);
    EXPECT_NEAR(word.left, left, kMm) << text.toStdString();
    EXPECT_NEAR(word.top, top, kMm) << text.toStdString();
}
void ExpectRightAt(const PdfText& pdf, const QString& text, double right, double top) {
    const PdfWord word = pdf.Nearest(text, right, top);
    EXPECT_NEAR(word.right, right, kMm) << text.toStdString();
    EXPECT_NEAR(word.top, top, kMm) << text.toStdString();
}

// Every word of text on the box's first line (top) and between x1 and x2: a bold text that has
// grown too wide would wrap or stick out of its box, where it is cut.
void ExpectInBox(const PdfText& pdf, const QString& text, double x1, double top, double x2) {
    for (const QString& part : text.split(' ', Qt::SkipEmptyParts)) {
        PdfWord word; // the one on the line nearest to top, then nearest to the box
        double distance = 1e9;
        for (const PdfWord& w : pdf.Find(part)) {
            const double d = 100 * std::abs(w.top - top) + std::abs(w.centre() - (x1 + x2) / 2);
            if (d < distance) {
                word = w;
                distance = d;
            }
        }
        EXPECT_NEAR(word.top, top, kMm) << part.toStdString();
        EXPECT_GE(word.left, x1 - 0.1) << part.toStdString();
        EXPECT_LE(word.right, x2 + 0.1) << part.toStdString();
    }
}

// The header row of a table printed from 5 mm: each caption of the grid in its column's box.
void ExpectHeaderInBoxes(const PdfText& pdf, const TStringGrid* grid, const QString& widths, double top) {
    int x = 5;
    const QStringList width = widths.split(';');
    for (int c = 0; c < grid->ColCount(); ++c) {
        ExpectInBox(pdf, grid->Cells(c, 0), x + 3, top, x + width[c].toInt() + 2);
        x += width[c].toInt() + 2;
    }
}

// The customer block, the title with its second line and the print date, from the sheet's top.
void ExpectCustomerHeader(const PdfText& pdf, const QString& titleWord, const QString& secondLine) {
    ExpectAt(pdf, QStringLiteral("Ľubovník"), 22, 16); // bold 10 pt
    ExpectRightAt(pdf, "adresa:", 32, 21);
    ExpectRightAt(pdf, QStringLiteral("IČO:"), 32, 35);
    const std::tuple<const char*, double> values[] = {{"Hlavná", 21},   {"010", 24},
                                                      {"Žilina", 27},   {"Slovensko", 30},
                                                      {"36123456", 35}, {"SK2020123456", 39}};
    for (const auto& [word, top] : values)
        ExpectAt(pdf, QString::fromUtf8(word), 34, top);
    ExpectAt(pdf, titleWord, 115, 14);
    const PdfWord second = pdf.Nearest(secondLine, 115, 18);
    EXPECT_NEAR(second.left, 115, kMm) << "the CR starts the title's second line";
    EXPECT_NEAR(second.top, 14 + (pdf.First(titleWord).bottom - pdf.First(titleWord).top), kMm);
    // The bold texts fit their boxes.
    ExpectInBox(pdf, QStringLiteral("Ľubovník s.r.o."), 22, 16, 110);
    ExpectInBox(pdf, QStringLiteral("IČO:"), 20, 35, 32);
    ExpectInBox(pdf, QStringLiteral("Dátum tlače:"), 115, 40, 144);
    ExpectAt(pdf, QStringLiteral("Dátum"), 115, 40);
    EXPECT_NEAR(pdf.First(QStringLiteral("tlače:")).top, 40, kMm);
    ExpectAt(pdf, "05.12.2026", 136, 40);
    const PdfWord at = pdf.Nearest("o", 155, 40);
    EXPECT_NEAR(at.top, 40, kMm);
    EXPECT_GT(at.left, pdf.First("05.12.2026").right + 1) << "two blanks";
    const PdfWord time = pdf.Nearest("14:30,15", at.right, 40);
    EXPECT_NEAR(time.top, 40, kMm);
    EXPECT_GT(time.left, at.right + 1) << "two blanks";
}
} // namespace

TEST_F(ReportsTest, TheCustomerListPrintsTitleAndEveryRowOfTheGridInPortrait) {
    Db->Execute(QStringLiteral(
        "INSERT INTO zakaznici (nazov, ico, platca, fo, po) VALUES ('Ťava a spol.', '2', '0', '1', '0')"));
    program.form->Pridavybrazkaznka1->trigger();
    TCustomerPage* page = program.form->CustomerPage;
    ASSERT_EQ(page->sgZak->RowCount(), 4);

    const PdfText pdf = Print(page->BitBtn110);
    ASSERT_EQ(answer.Asked(), 1);
    ASSERT_EQ(pdf.pages.size(), 1u);
    EXPECT_NEAR(pdf.pages[0].width, 210, kMm);
    EXPECT_NEAR(pdf.pages[0].height, 297, kMm);
    EXPECT_EQ(PdfTitle(answer.File()), "Zakaznici_zoznam");

    ExpectAt(pdf, "Zoznam", 10, 15);
    EXPECT_TRUE(pdf.PageText(1).startsWith(QStringLiteral("Zoznam zákazníkov (05.12.2026)")));
    EXPECT_GT(pdf.First("(05.12.2026)").left, pdf.First(QStringLiteral("zákazníkov")).right + 1.2)
        << "two blanks";
    ExpectHeaderInBoxes(pdf, page->sgZak, "7;25;18;18;18;18;18;14;15;8;8;9", 23);
    // Header from 23 in bold; rows from 30 by 4; "id" right in 8-14, the name from 17, IČO from 44.
    ExpectRightAt(pdf, "id", 14, 23);
    EXPECT_NEAR(pdf.First(QStringLiteral("názov")).left, 17, kMm);
    EXPECT_NEAR(pdf.First(QStringLiteral("IČO")).left, 44, kMm);
    const QString first = page->sgZak->Cells(1, 1).split(' ').first();
    const QString second = page->sgZak->Cells(1, 2).split(' ').first();
    ExpectAt(pdf, first, 17, 30);
    EXPECT_NEAR(pdf.First(second).top, 34, kMm);
    EXPECT_NEAR(pdf.First("36123456").left, 44, kMm);
    EXPECT_NEAR(pdf.First(page->sgZak->Cells(0, 2)).right, 14, kMm);
    // The three flags centred in 177-184, 187-194 and 197-205.
    EXPECT_NEAR(pdf.First("platca").centre(), 180.5, kMm);
    EXPECT_NEAR(pdf.First("fyz.o.").centre(), 190.5, kMm);
    EXPECT_NEAR(pdf.First(QStringLiteral("práv.o.")).centre(), 201, kMm);
    int flags = 0;
    for (const PdfWord& w : pdf.words)
        if ((w.text == "0" || w.text == "1") && w.top > 29 && w.centre() > 175)
            ++flags;
    EXPECT_EQ(flags, 6);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(ReportsTest, CancelPrintsNothingAndTheTripLogNeedsAChosenCar) {
    program.form->Pridavybrazkaznka1->trigger();
    PdfPrinterAnswer cancel(false);
    program.form->CustomerPage->BitBtn110->click();
    EXPECT_EQ(cancel.Asked(), 1);
    EXPECT_FALSE(QFile::exists(cancel.File()));
    EXPECT_FALSE(Printer().Printing());

    TripData(1);
    TTripsPage* page = program.OpenTrips();
    EXPECT_TRUE(page->BitBtn27->isVisible());
    page->cbJazdyAuto->setCurrentIndex(-1);
    page->BitBtn27->click();
    EXPECT_EQ(cancel.Asked(), 1) << "no dialog without a car";
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(ReportsTest, AnOutputFileThatCannotBeWrittenIsReportedAndTheNextReportPrints) {
    program.form->Pridavybrazkaznka1->trigger();
    const PrintDialogHook previous = SetPrintDialogHook([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(program.folder.File("no such folder/list.pdf"));
        return true;
    });
    program.form->CustomerPage->BitBtn110->click();
    SetPrintDialogHook(previous);
    EXPECT_EQ(boxes.Texts(), QStringList(QStringLiteral(
                                 "Tlač sa nedá začať: tlačiareň alebo výstupný súbor nie je dostupný.")));
    EXPECT_EQ(Box(0).flags, 16);
    EXPECT_FALSE(Printer().Printing());
    EXPECT_NEAR(Print(program.form->CustomerPage->BitBtn110).First("Zoznam").top, 15, kMm);
}

TEST_F(ReportsTest, WithoutACustomerOrCarIdTheBlockIsEmptyAndTheCarCountsAsACompanyCar) {
    TripData(1);
    TTripsPage* page = program.OpenTrips();
    SelectedCustomerId.clear();
    page->lblJazdyAuto->clear();
    const PdfText pdf = Print(page->BitBtn27);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(pdf.Find(QStringLiteral("Ľubovník")).empty());
    ExpectRightAt(pdf, QStringLiteral("DIČ:"), 32, 39);
    ExpectAt(pdf, "05.12.2026", 136, 40);
    EXPECT_EQ(pdf.Find("Celkom").size(), 3u);
}

TEST_F(ReportsTest, TheCarListHasTheCustomerBlockAndOwnershipInWordsWithoutTouchingTheGrid) {
    TripData(0);
    Db->Execute("INSERT INTO auta (nazov, spz, id_dv, vlastnictvo, norma, n1, n2, n3, nadspotreba, id_phm, "
                "id_zakaznik) VALUES ('Fabia', 'ZA999ZZ', 1, 1, 1, 5, 5, 5, 0, 1, 1), "
                "('Transit', 'TT555TT', 1, 7, 1, 9, 9, 9, 0, 1, 1)");
    program.form->Evidenciaat1->trigger();
    TCarsPage* page = program.form->CarsPage;
    ASSERT_EQ(page->sgAuta->RowCount(), 5);

    const PdfText pdf = Print(page->BitBtn19);
    ASSERT_EQ(pdf.pages.size(), 1u);
    EXPECT_NEAR(pdf.pages[0].height, 297, kMm);
    EXPECT_EQ(PdfTitle(answer.File()), "Evidencia_vozidiel");
    ExpectCustomerHeader(pdf, "Evidencia", QStringLiteral("Ľubovník"));
    ExpectRightAt(pdf, "DPH:", 32, 39); // a VAT payer
    ExpectInBox(pdf, QStringLiteral("IČ DPH:"), 18, 39, 32);
    ExpectHeaderInBoxes(pdf, page->sgAuta, "7;25;14;14;14;14;14;14;14;14;17", 50);
    EXPECT_TRUE(pdf.Find(QStringLiteral("DIČ:")).empty());

    // The table from 50: the ownership column 76-89 in words, an unknown value as it is.
    ExpectAt(pdf, "vlastn.", 76, 50);
    EXPECT_NEAR(pdf.First("Fabia").top, 57, kMm);
    for (const char* word : {"firemné", "súkromné"})
        EXPECT_NEAR(pdf.First(QString::fromUtf8(word)).left, 76, kMm) << word;
    EXPECT_NEAR(pdf.First(QStringLiteral("súkromné")).top, 57, kMm); // Fabia
    EXPECT_NEAR(pdf.First(QStringLiteral("firemné")).top, 61, kMm);  // Octavia
    ExpectAt(pdf, "7", 76, 65);                                      // Transit
    EXPECT_EQ(page->sgAuta->Cells(4, 1), "1") << "the page's grid keeps its numbers";

    // A customer who pays no VAT: "DIČ:".
    Db->Execute("UPDATE zakaznici SET platca = '0'");
    const PdfText plain = Print(page->BitBtn19);
    EXPECT_TRUE(plain.Find("DPH:").empty());
    ExpectRightAt(plain, QStringLiteral("DIČ:"), 32, 39);
}

TEST_F(ReportsTest, TheTripLogIsLandscapeWithTotalsAndTheVatLineForACompanyCar) {
    TripData(2);
    TTripsPage* page = program.OpenTrips();
    ASSERT_EQ(page->sgJazdy->RowCount(), 4);
    page->lblJazdySuma->setText("119,00");

    const PdfText pdf = Print(page->BitBtn27);
    ASSERT_EQ(pdf.pages.size(), 1u);
    EXPECT_NEAR(pdf.pages[0].width, 297, kMm);
    EXPECT_NEAR(pdf.pages[0].height, 210, kMm);
    EXPECT_EQ(PdfTitle(answer.File()), "Vozopis_Octavia - NR123AB");
    ExpectCustomerHeader(pdf, "Vozopis", "Octavia");
    EXPECT_TRUE(pdf.PageText(1).contains("Vozopis vozidla Octavia - NR123AB"));

    // Table from 50; the departure centred in 19-41, the driver from 191.
    EXPECT_NEAR(pdf.First("odchod").top, 50, kMm);
    EXPECT_NEAR(pdf.First("odchod").centre(), 30, kMm);
    EXPECT_NEAR(pdf.First("01.05.2024").top, 57, kMm);
    EXPECT_NEAR(pdf.First(QStringLiteral("Ján")).left, 191, kMm);
    EXPECT_NEAR(pdf.First("02.05.2024").top, 61, kMm);
    EXPECT_TRUE(pdf.PageText(1).contains(QStringLiteral("Ján Novák služobná cesta")));

    // The last row ends at 65: totals from 72, right-aligned at 41 and 65.
    ExpectRightAt(pdf, "km:", 41, 72);
    ExpectRightAt(pdf, page->lblJazdyKM->text(), 65, 72);
    ExpectRightAt(pdf, "DPH:", 41, 76);
    ExpectRightAt(pdf, "119,00", 65, 76);
    EXPECT_NEAR(pdf.First("bez").top, 80, kMm);
    ExpectRightAt(pdf, "DPH:", 41, 80);
    ExpectRightAt(pdf, "100,00", 65, 80);
    EXPECT_EQ(pdf.Find("Celkom").size(), 3u);
    ExpectInBox(pdf, "Celkom km:", 12, 72, 41);
    ExpectInBox(pdf, "Celkom SK s DPH:", 12, 76, 41);
    ExpectInBox(pdf, "Celkom SK bez DPH:", 12, 80, 41);
    ExpectHeaderInBoxes(pdf, page->sgJazdy, "9;23;23;43;7;17;17;17;9;41;22;19", 50);
}

TEST_F(ReportsTest, APrivateCarPrintsTwoTotalLines) {
    TripData(1, true);
    TTripsPage* page = program.OpenTrips();
    const PdfText pdf = Print(page->BitBtn27);
    EXPECT_EQ(pdf.Find("Celkom").size(), 2u);
    EXPECT_TRUE(pdf.Find("bez").empty());
    ExpectRightAt(pdf, "DPH:", 41, 72); // the row ends at 61: 61 + 7 + 4
}

TEST_F(ReportsTest, TotalsGoToANewPageFrom20WhenTheTableEndsBelow163) {
    // 26 trips end at 161: totals at 168 on page 1; 27 end at 165: totals at 20 on page 2.
    TripData(27);
    TTripsPage* page = program.OpenTrips();
    PdfText pdf = Print(page->BitBtn27);
    ASSERT_EQ(pdf.pages.size(), 2u);
    EXPECT_TRUE(pdf.Find("odchod", 2).empty()) << "no header on the totals page";
    EXPECT_NEAR(pdf.First("km:", 2).top, 20, kMm);
    EXPECT_NEAR(pdf.Find("DPH:", 2).back().top, 28, kMm);

    Db->Execute("DELETE FROM jazdy WHERE id = 27");
    page->LoadGridJazdy("");
    pdf = Print(page->BitBtn27);
    ASSERT_EQ(pdf.pages.size(), 1u);
    EXPECT_NEAR(pdf.First("km:").top, 168, kMm);

    // 33 trips, the last ending on the landscape limit of 190: a page with the header alone (the
    // customer block is on the first page only), then the totals.
    AddTrips(26, 7);
    page->LoadGridJazdy("");
    pdf = Print(page->BitBtn27);
    ASSERT_EQ(pdf.pages.size(), 3u);
    EXPECT_EQ(pdf.PageText(2).left(10), "id odchod ");
    EXPECT_FALSE(pdf.PageText(2).contains(".2024")) << "no trip on it";
    EXPECT_NEAR(pdf.First("km:", 3).top, 20, kMm);

    // 40 trips: 33 on page 1, the other 7 under the header repeated on page 2 from 26 (the last
    // ending at 54), and the totals below them from 61.
    AddTrips(33, 7);
    page->LoadGridJazdy("");
    pdf = Print(page->BitBtn27);
    ASSERT_EQ(pdf.pages.size(), 2u);
    EXPECT_NEAR(pdf.First("02.06.2024", 1).top, 185, kMm);
    EXPECT_NEAR(pdf.First("odchod", 2).top, 19, kMm);
    EXPECT_NEAR(pdf.First("03.06.2024", 2).top, 26, kMm);
    EXPECT_NEAR(pdf.First("09.06.2024", 2).top, 50, kMm);
    EXPECT_NEAR(pdf.First("km:", 2).top, 61, kMm);
    EXPECT_NEAR(pdf.Find("DPH:", 2).back().top, 69, kMm);
    EXPECT_TRUE(pdf.Find(QStringLiteral("Dátum"), 2).empty()) << "the customer block on page 1 only";
}
