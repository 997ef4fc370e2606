#include "DateTime.h"
#include "ProgramFixture.h"

namespace {
class CustomersTest : public ProgramTest {
protected:
    CustomersTest() : ProgramTest("") {}
    void SetUp() override {
        ProgramTest::SetUp();
        page = program.form->CustomerPage;
        screen = program.form->MainScreen;
        program.form->Pridavybrazkaznka1->trigger();
    }

    void Save(const QString& name, const QString& ico, const QString& dic1 = "", const QString& dic2 = "") {
        page->eZakNazov->setText(name);
        page->eZakICO->setText(ico);
        page->eZakDIC1->setText(dic1);
        page->eZakDIC2->setText(dic2);
        page->BitBtn22->click();
    }
    int RowOf(const QString& ico) {
        for (int row = 1; row < page->sgZak->RowCount(); ++row)
            if (page->sgZak->Cells(2, row) == ico)
                return row;
        return -1;
    }
    void DoubleClick(int row) {
        page->sgZak->SetRow(row);
        page->sgZakDblClick();
    }

    TCustomerPage* page = nullptr;
    TMainScreen* screen = nullptr;
};
} // namespace

TEST_F(CustomersTest, ANewCustomerIsListedAndGetsTheCurrentYearAndADriver) {
    const QString name = QStringLiteral("Auto \"Rýchly\" O'Neil");
    Save(name, "12345678", "SK", "2020304050");
    EXPECT_EQ(GridRow(page->sgZak, 1),
              QStringList({"1", name, "12345678", "SK2020304050", "", "", "", "", "", "1", "1", "0"}));
    EXPECT_EQ(Column("select rok || '/' || id_zakaznik from roky") + Column("select meno from vodic"),
              QStringList({CurrentYearText() + "/1", name}));

    // Saving it again asks; No writes nothing but still reloads and clears.
    Save(name, "12345678");
    EXPECT_EQ(boxes.Texts(), QStringList(QStringLiteral(
                                 "Chcete upraviť a uložiť zákazníka s (ID = 1) a (IČO = 12345678) ?")));
    EXPECT_EQ(Box(0).flags, 36);
    EXPECT_EQ(Column("select dic from zakaznici"), QStringList({"SK2020304050"}));
    EXPECT_TRUE(page->eZakICO->text().isEmpty());
}

TEST_F(CustomersTest, TheIcoDecidesWhichCustomerIsUpdatedAndIsUnique) {
    Save("Alfa", "111");
    Save("Beta", "222");
    // A cleared form with Beta's IČO updates Beta; editing Alfa with an IČO nobody has updates Alfa,
    // found by its id; editing Alfa with Beta's IČO updates Beta. Each is asked about the one updated.
    const QStringList steps[] = {{"", "Beta nova", "222", "2", "222", "Alfa/111 Beta nova/222"},
                                 {"111", "Alfa", "333", "1", "111", "Alfa/333 Beta nova/222"},
                                 {"333", "Alfa", "222", "2", "222", "Alfa/333 Alfa/222"}};
    for (const QStringList& step : steps) {
        if (!step[0].isEmpty())
            DoubleClick(RowOf(step[0]));
        boxes.Answer(ID_YES);
        Save(step[1], step[2]);
        EXPECT_EQ(boxes.Texts().last(),
                  QStringLiteral("Chcete upraviť a uložiť zákazníka s (ID = %1) a (IČO = %2) ?")
                      .arg(step[3], step[4]));
        EXPECT_EQ(Column("select nazov || '/' || ico from zakaznici order by id").join(' '), step[5]);
    }

    Save("Gama", QStringLiteral("iČo"));
    EXPECT_EQ(boxes.Shown().size(), 3u) << "no update question for the header's caption";
    EXPECT_EQ(Column("select ico from zakaznici where nazov = 'Gama'"), QStringList({QStringLiteral("iČo")}));

    // The IČO is unique: a customer not in the grid with the IČO typed makes the save fail.
    Db->Execute(QStringLiteral("INSERT INTO zakaznici (nazov, ico) VALUES ('Skrytý', '9')"));
    Save("Delta", "9");
    EXPECT_TRUE(Box(3).flags == MB_ICONERROR && Box(3).text.contains("UNIQUE constraint failed"))
        << boxes.Texts().last().toStdString();
}

// The tax number is split after two letters for VAT payers only; the prefix takes typed letters in
// upper case, each key adding to what is there.
TEST_F(CustomersTest, TaxNumberIsSplitAfterTwoLettersForVatPayersOnly) {
    const auto layout = [&] {
        return QString("%1|%2|%3")
            .arg(page->eZakDIC1->isHidden())
            .arg(page->lblDIC->text())
            .arg(page->eZakDIC2->x() - page->eZakDIC1->x());
    };
    page->chbZakPlatca->setChecked(false);
    EXPECT_EQ(layout(), QStringLiteral("1|DIČ:|0"));
    page->rbZakPO->setChecked(true);
    Save("Beta", "3", "", "2020304050");
    const QString stored = "select platca || fo || po || dic from zakaznici where ico = '3'";
    EXPECT_EQ(Column(stored), QStringList({"0012020304050"}));
    EXPECT_TRUE(page->chbZakPlatca->isChecked() && page->rbZakFO->isChecked())
        << "clearing checks them again";

    Save("Alfa", "1", "ABC", "123");
    DoubleClick(RowOf("1"));
    EXPECT_EQ(page->eZakDIC1->text() + "|" + page->eZakDIC2->text(), "AB|C123");
    EXPECT_EQ(layout(), QString("0|IČ DPH:|%1").arg(page->eZakDIC1->width() - 1));

    DoubleClick(RowOf("3"));
    EXPECT_EQ(layout() + page->eZakDIC2->text(), QStringLiteral("1|DIČ:|02020304050"));
    EXPECT_TRUE(!page->chbZakPlatca->isChecked() && page->rbZakPO->isChecked() &&
                !page->rbZakFO->isChecked());
    boxes.Answer(ID_YES);
    page->BitBtn22->click();
    EXPECT_EQ(Column(stored), QStringList({"0012020304050"})) << "written back unchanged";

    // The person flags come back from the row as they were stored, both clear when neither is 1.
    Db->Execute("UPDATE zakaznici SET fo = 1, po = 0 WHERE ico = '1'");
    Db->Execute("UPDATE zakaznici SET fo = 0, po = 0 WHERE ico = '3'");
    page->LoadGridZak("");
    DoubleClick(RowOf("3"));
    DoubleClick(RowOf("1"));
    EXPECT_TRUE(page->rbZakFO->isChecked() && !page->rbZakPO->isChecked());
    DoubleClick(RowOf("3"));
    EXPECT_FALSE(page->rbZakFO->isChecked() || page->rbZakPO->isChecked());

    page->BitBtn1->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->eZakNazov->hasFocus(); }));
    page->eZakDIC1->setFocus();
    QTest::keyClicks(page->eZakDIC1, "sk");
    QTest::keyClick(page->eZakDIC1, Qt::Key_Home);
    QTest::keyClicks(page->eZakDIC1, "x");
    EXPECT_EQ(page->eZakDIC1->text() + QString::number(page->eZakDIC1->cursorPosition()), "XSK1");
}

// Deleting the selected customer leaves the selection until the next start.
TEST_F(CustomersTest, TheSelectionComesBackAfterARestartUntilItsCustomerIsDeleted) {
    Save("Alfa", "1");
    Save("Beta", "2");
    screen->SelectCustomerYear("1", "2024");
    EXPECT_EQ(screen->pVybZak->text(), "Alfa - 2024");
    EXPECT_EQ(ReadFileBytes(program.folder.File("Data/settings.mvk")),
              "[last]\r\nvybzakid=1\r\nvybzakrok=2024\r\n\r\n");

    program.Restart();
    EXPECT_EQ(SelectedCustomerId, "1");
    EXPECT_EQ(program.form->windowTitle(), "Vozopis [v 1.00 (build 1)]     (Alfa - 2024)");
    EXPECT_TRUE(program.form->Dolujcedaje1->isEnabled());

    page = program.form->CustomerPage;
    program.form->Pridavybrazkaznka1->trigger();
    page->sgZak->SetRow(RowOf("1"));
    page->BitBtn108->click();
    EXPECT_EQ(boxes.Texts().last(), QStringLiteral("Naozaj chcete zákazníka s ID=\"1\" zmazať?"));
    EXPECT_EQ(Column("select count(*) from zakaznici"), QStringList({"2"})) << "No deletes nothing";
    boxes.Answer(ID_YES);
    QTest::keyClick(page->sgZak, Qt::Key_Delete);
    EXPECT_EQ(Column("select nazov from zakaznici"), QStringList({"Beta"}));
    EXPECT_EQ(SelectedCustomerId, "1") << "the selection is not changed";
    DoubleClick(page->sgZak->RowCount() - 1);
    page->BitBtn108->click();
    EXPECT_EQ(boxes.Shown().size(), 2u) << "the empty last row does nothing";
    EXPECT_TRUE(page->eZakID->text().isEmpty());

    program.Restart();
    EXPECT_EQ(SelectedCustomerId, "");
    EXPECT_EQ(program.form->MainScreen->pVybZak->text(), QStringLiteral("nie je vybraný žiadny zákazník"));
    EXPECT_FALSE(program.form->Evidenciaat1->isEnabled());
    EXPECT_TRUE(ReadFileBytes(program.folder.File("Data/settings.mvk")).contains("vybzakid=1"))
        << "a cleared selection is not written";
}

TEST_F(CustomersTest, YearListAndYearCreation) {
    Save("Alfa", "1");
    program.form->Hlavnobrazovka1->trigger();
    screen->sgMain->SetRow(1);
    screen->BitBtn2->click();
    EXPECT_TRUE(screen->eMainRok->hasFocus()) << "an empty year is refused";
    for (const QString& year : {QString("2019"), CurrentYearText()}) {
        screen->eMainRok->setText(year);
        screen->BitBtn2->click();
    }
    EXPECT_EQ(Column("select rok from roky order by rok"), QStringList({"2019", CurrentYearText()}));

    screen->sgMainDblClick();
    EXPECT_TRUE(screen->cbMainRok->DroppedDown());
    ASSERT_EQ(screen->cbMainRok->count(), 2);
    EXPECT_EQ(screen->cbMainRok->currentText(), CurrentYearText()) << "the newest year is shown";
    QTest::keyClick(screen->cbMainRok->view(), Qt::Key_Up);
    QTest::keyClick(screen->cbMainRok->view(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(SelectedYear, "2019");
    EXPECT_EQ(screen->pVybZak->text(), "Alfa - 2019");

    // A customer without years: the list opens empty and closing it clears the selection.
    Db->Execute("DELETE FROM roky");
    screen->sgMainDblClick();
    EXPECT_EQ(screen->cbMainRok->count(), 0);
    screen->cbMainRok->hidePopup();
    QCoreApplication::processEvents();
    EXPECT_EQ(SelectedCustomerId, "");
    EXPECT_TRUE(boxes.Shown().empty());
}
