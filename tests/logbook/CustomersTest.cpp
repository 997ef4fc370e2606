#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "ComboBox.h"
#include "CustomerPage.h"
#include "DateTime.h"
#include "MainScreen.h"
#include "ProgramFixture.h"
#include "ProgramGlobals.h"
#include "StringGrid.h"

namespace {
class CustomersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.ShowActive());
        page = program.form->CustomerPage;
        screen = program.form->MainScreen;
        program.form->Pridavybrazkaznka1->trigger();
    }

    // Types a customer into the form and saves it.
    void Save(const QString& name, const QString& ico, const QString& dic1 = "", const QString& dic2 = "") {
        page->eZakNazov->setText(name);
        page->eZakICO->setText(ico);
        page->eZakDIC1->setText(dic1);
        page->eZakDIC2->setText(dic2);
        page->BitBtn22->click();
    }
    int RowOf(const QString& ico) { return FindGridRecordRowIn(page->sgZak, 2, ico); }
    static int FindGridRecordRowIn(TStringGrid* grid, int col, const QString& text) {
        for (int row = 1; row < grid->RowCount(); ++row)
            if (grid->Cells(col, row) == text)
                return row;
        return -1;
    }
    void DoubleClick(int row) {
        page->sgZak->SetRow(row);
        page->sgZakDblClick();
    }

    MessageBoxRecorder boxes;
    StartedProgram program;
    TCustomerPage* page = nullptr;
    TMainScreen* screen = nullptr;
};
} // namespace

TEST_F(CustomersTest, ANewCustomerIsListedAndGetsTheCurrentYearAndADriver) {
    Save("Doprava Nitra", "12345678", "SK", "2020304050");
    EXPECT_TRUE(boxes.Shown().empty());
    ASSERT_EQ(page->sgZak->RowCount(), 3);
    EXPECT_EQ(page->sgZak->Cells(1, 1), "Doprava Nitra");
    EXPECT_EQ(page->sgZak->Cells(3, 1), "SK2020304050");
    EXPECT_EQ(page->sgZak->Cells(9, 1), "1");
    EXPECT_EQ(page->sgZak->Cells(10, 1), "1");
    EXPECT_EQ(page->sgZak->Cells(11, 1), "0");
    EXPECT_TRUE(page->eZakNazov->text().isEmpty()) << "the form is cleared";
    EXPECT_EQ(Column("select rok || '/' || id_zakaznik from roky"), QStringList({CurrentYearText() + "/1"}));
    EXPECT_EQ(Column("select meno from vodic"), QStringList({"Doprava Nitra"}));

    program.form->Hlavnobrazovka1->trigger();
    EXPECT_EQ(program.form->CurrentPanel(), program.form->pnlMenu);
    EXPECT_EQ(screen->sgMain->Cells(1, 1), "Doprava Nitra");
    EXPECT_EQ(screen->sgMain->Cells(2, 1), "12345678");

    // Saving it again asks; No writes nothing but still reloads and clears.
    Save("Doprava Nitra", "12345678");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              QStringLiteral("Chcete upraviť a uložiť zákazníka s (ID = 1) a (IČO = 12345678) ?"));
    EXPECT_EQ(boxes.Shown()[0].flags, 36);
    EXPECT_EQ(boxes.Shown()[0].caption, "Vozopis");
    EXPECT_EQ(Column("select dic from zakaznici"), QStringList({"SK2020304050"}));
    EXPECT_EQ(Column("select count(*) from roky"), QStringList({"1"}));
    EXPECT_TRUE(page->eZakICO->text().isEmpty());
}

TEST_F(CustomersTest, RequiredNameAndIcoTakeTheFocusWithoutAMessage) {
    page->eZakICO->setText("1");
    page->BitBtn22->click();
    EXPECT_TRUE(page->eZakNazov->hasFocus());
    page->eZakICO->clear();
    page->eZakNazov->setText("A");
    page->BitBtn22->click();
    EXPECT_TRUE(page->eZakICO->hasFocus());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_FALSE(Db->TableExists("zakaznici"));
}

TEST_F(CustomersTest, TheIcoDecidesWhichCustomerIsUpdated) {
    Save("Alfa", "111");
    Save("Beta", "222");

    // A cleared form with Beta's IČO: the question names Beta, Yes overwrites Beta.
    boxes.Answer(ID_YES);
    Save("Beta nova", "222");
    EXPECT_EQ(boxes.Texts().last(),
              QStringLiteral("Chcete upraviť a uložiť zákazníka s (ID = 2) a (IČO = 222) ?"));
    EXPECT_EQ(Column("select nazov from zakaznici order by id"), QStringList({"Alfa", "Beta nova"}));

    // Editing Alfa with an IČO nobody has updates Alfa, found by its id.
    DoubleClick(RowOf("111"));
    EXPECT_EQ(page->eZakID->text(), "1");
    boxes.Answer(ID_YES);
    page->eZakICO->setText("333");
    page->BitBtn22->click();
    EXPECT_EQ(boxes.Texts().last(),
              QStringLiteral("Chcete upraviť a uložiť zákazníka s (ID = 1) a (IČO = 111) ?"));
    EXPECT_EQ(Column("select ico from zakaznici order by id"), QStringList({"333", "222"}));

    // Editing Alfa with Beta's IČO updates Beta; the question names Beta.
    DoubleClick(RowOf("333"));
    boxes.Answer(ID_YES);
    page->eZakICO->setText("222");
    page->BitBtn22->click();
    EXPECT_EQ(boxes.Texts().last(),
              QStringLiteral("Chcete upraviť a uložiť zákazníka s (ID = 2) a (IČO = 222) ?"));
    EXPECT_EQ(Column("select nazov || '/' || ico from zakaznici order by id"),
              QStringList({"Alfa/333", "Alfa/222"}));
}

TEST_F(CustomersTest, TheHeaderRowIsNoCustomer) {
    Save("Alfa", "111");
    Save("Gama", QStringLiteral("iČo"));
    EXPECT_EQ(boxes.Shown().size(), 0u) << "no update question for the header's caption";
    EXPECT_EQ(Column("select nazov || '/' || ico from zakaznici order by id"),
              QStringList({"Alfa/111", QStringLiteral("Gama/iČo")}));
}

TEST_F(CustomersTest, TaxNumberIsSplitAfterTwoLettersForVatPayers) {
    Save("Alfa", "1", "ABC", "123");
    Save("Beta", "2", "S", "");
    Save("Gama", "3", "SK", "2020304050");
    DoubleClick(RowOf("1"));
    EXPECT_EQ(page->eZakDIC1->text(), "AB");
    EXPECT_EQ(page->eZakDIC2->text(), "C123");
    DoubleClick(RowOf("2"));
    EXPECT_EQ(page->eZakDIC1->text(), "S");
    EXPECT_EQ(page->eZakDIC2->text(), "");
    DoubleClick(RowOf("3"));
    EXPECT_EQ(page->eZakDIC1->text(), "SK");
    EXPECT_EQ(page->eZakDIC2->text(), "2020304050");
    EXPECT_FALSE(page->eZakDIC1->isHidden());
    EXPECT_EQ(page->lblDIC->text(), QStringLiteral("IČ DPH:"));
    EXPECT_EQ(page->eZakDIC2->x(), page->eZakDIC1->x() + page->eZakDIC1->width() - 1);
}

TEST_F(CustomersTest, ANonPayerKeepsTheWholeTaxNumberInTheNumberField) {
    page->chbZakPlatca->setChecked(false);
    EXPECT_TRUE(page->eZakDIC1->isHidden());
    EXPECT_EQ(page->lblDIC->text(), QStringLiteral("DIČ:"));
    EXPECT_EQ(page->eZakDIC2->x(), page->eZakDIC1->x());
    page->rbZakPO->setChecked(true);
    Save("Alfa", "1", "", "2020304050");
    EXPECT_EQ(Column("select platca || fo || po || dic from zakaznici"), QStringList({"0012020304050"}));
    EXPECT_TRUE(page->chbZakPlatca->isChecked()) << "clearing checks the box again";
    EXPECT_TRUE(page->rbZakFO->isChecked());

    DoubleClick(1);
    EXPECT_FALSE(page->chbZakPlatca->isChecked());
    EXPECT_TRUE(page->eZakDIC1->isHidden());
    EXPECT_EQ(page->eZakDIC1->text(), "");
    EXPECT_EQ(page->eZakDIC2->text(), "2020304050");
    EXPECT_FALSE(page->rbZakFO->isChecked());
    EXPECT_TRUE(page->rbZakPO->isChecked());
    boxes.Answer(ID_YES);
    page->BitBtn22->click();
    EXPECT_EQ(Column("select platca || fo || po || dic from zakaznici"), QStringList({"0012020304050"}));
}

TEST_F(CustomersTest, QuotesAreStoredAsTyped) {
    const QString name = QStringLiteral("Auto \"Rýchly\" O'Neil");
    Save(name, "1");
    EXPECT_EQ(Column("select nazov from zakaznici"), QStringList({name}));
    EXPECT_EQ(Column("select meno from vodic"), QStringList({name}));
}

TEST_F(CustomersTest, AFailedSaveIsRolledBackAndKeepsTheForm) {
    Save("Alfa", "1");
    Db->Execute("INSERT INTO zakaznici (nazov, ico) VALUES ('Skrytý', '9')"); // not in the grid yet
    Save("Beta", "9");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].flags, MB_ICONERROR);
    EXPECT_TRUE(boxes.Shown()[0].text.contains("UNIQUE constraint failed"))
        << boxes.Shown()[0].text.toStdString();
    EXPECT_FALSE(Db->InTransaction());
    EXPECT_EQ(page->eZakNazov->text(), "Beta") << "what was typed stays";

    page->eZakICO->setText("10");
    page->BitBtn22->click();
    EXPECT_EQ(boxes.Shown().size(), 1u) << "the next save works";
    EXPECT_EQ(Column("select nazov from zakaznici order by id"),
              QStringList({"Alfa", QStringLiteral("Skrytý"), "Beta"}));
}

TEST_F(CustomersTest, DeleteAsksWithTheIdAndLeavesTheSelection) {
    Save("Alfa", "1");
    Save("Beta", "2");
    screen->SelectCustomerYear("1", "2024");
    page->sgZak->SetRow(RowOf("1"));
    page->BitBtn108->click();
    EXPECT_EQ(boxes.Texts().last(), QStringLiteral("Naozaj chcete zákazníka s ID=\"1\" zmazať?"));
    EXPECT_EQ(Column("select count(*) from zakaznici"), QStringList({"2"})) << "No deletes nothing";

    boxes.Answer(ID_YES);
    QTest::keyClick(page->sgZak, Qt::Key_Delete);
    EXPECT_EQ(Column("select nazov from zakaznici"), QStringList({"Beta"}));
    EXPECT_EQ(SelectedCustomerId, "1") << "the selection is not changed";

    page->sgZak->SetRow(page->sgZak->RowCount() - 1);
    page->BitBtn108->click();
    page->sgZakDblClick();
    EXPECT_EQ(boxes.Shown().size(), 2u) << "the empty last row does nothing";
    EXPECT_TRUE(page->eZakID->text().isEmpty());
}

TEST_F(CustomersTest, SelectionNamesCustomerAndYearAndComesBackAfterARestart) {
    Save("Alfa", "1");
    program.form->Hlavnobrazovka1->trigger();
    screen->SelectCustomerYear("1", "2024");
    EXPECT_EQ(program.form->windowTitle(), "Vozopis [v 1.00 (build 1)]     (Alfa - 2024)");
    EXPECT_EQ(screen->pVybZak->text(), "Alfa - 2024");
    EXPECT_TRUE(program.form->Evidenciajzd1->isEnabled());
    EXPECT_TRUE(program.form->dajepreprevodroka1->isEnabled());
    EXPECT_EQ(screen->cbMainRok->currentText(), "") << "2024 is not among the customer's years";
    EXPECT_EQ(ReadFileBytes(program.folder.File("Data/settings.mvk")),
              "[last]\r\nvybzakid=1\r\nvybzakrok=2024\r\n\r\n");

    program.Restart();
    screen = program.form->MainScreen;
    EXPECT_EQ(SelectedCustomerId, "1");
    EXPECT_EQ(SelectedYear, "2024");
    EXPECT_EQ(program.form->windowTitle(), "Vozopis [v 1.00 (build 1)]     (Alfa - 2024)");
    EXPECT_TRUE(program.form->Dolujcedaje1->isEnabled());

    Db->Execute("DELETE FROM zakaznici");
    program.Restart();
    EXPECT_EQ(SelectedCustomerId, "");
    EXPECT_EQ(program.form->MainScreen->pVybZak->text(), QStringLiteral("nie je vybraný žiadny zákazník"));
    EXPECT_EQ(program.form->windowTitle(), "Vozopis [v 1.00 (build 1)]");
    EXPECT_FALSE(program.form->Evidenciaat1->isEnabled());
    EXPECT_TRUE(ReadFileBytes(program.folder.File("Data/settings.mvk")).contains("vybzakid=1"))
        << "a cleared selection is not written";
}

TEST_F(CustomersTest, YearListAndYearCreation) {
    Save("Alfa", "1");
    program.form->Hlavnobrazovka1->trigger();
    screen->sgMain->SetRow(1);

    screen->eMainRok->clear();
    screen->BitBtn2->click();
    EXPECT_TRUE(screen->eMainRok->hasFocus()) << "an empty year is refused";
    screen->eMainRok->setText("2019");
    screen->BitBtn2->click();
    EXPECT_TRUE(screen->eMainRok->text().isEmpty());
    screen->eMainRok->setText(CurrentYearText());
    screen->BitBtn2->click();
    EXPECT_EQ(Column("select rok from roky order by rok"), QStringList({"2019", CurrentYearText()}));

    screen->sgMainDblClick();
    EXPECT_TRUE(screen->cbMainRok->DroppedDown());
    ASSERT_EQ(screen->cbMainRok->count(), 2);
    EXPECT_EQ(screen->cbMainRok->currentText(), CurrentYearText()) << "the newest year is shown";
    // The user picks the older year in the open list.
    QTest::keyClick(screen->cbMainRok->view(), Qt::Key_Up);
    QTest::keyClick(screen->cbMainRok->view(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_FALSE(screen->cbMainRok->DroppedDown());
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
