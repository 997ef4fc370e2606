#include <QClipboard>
#include <QGuiApplication>

#include "InputBehaviour.h"
#include "MasterDataTabs.h"
#include "PriceTabs.h"
#include "ProgramFixture.h"
#include "RouteTabs.h"

// What the user types or pastes is checked before a save writes anything: numbers, years, text
// that Windows-1250 cannot hold; one-line fields keep one line; a moved focus selects the text.
namespace {
class InputChecksTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        panel = program.form->InfoPanel;
    }
    void ShowTab(int index) { program.ShowInfoTab(index); }
    static void Paste(QLineEdit* edit, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        edit->paste();
    }
    QStringList Texts() const { return boxes.Texts(); }

    TInfoPanel* panel = nullptr;
};

const QString kExponentRefusal =
    QStringLiteral("Číslo \"%1\" je mimo rozsahu, ktorý program dokáže zobraziť. "
                   "Zadajte 0 alebo číslo od 0,00001 do 999999999999999.");
const QString kYearRefusal = QStringLiteral("Rok musí mať štyri číslice, napríklad 2024.");

QString CharRefusal(const QString& field, const QString& character) {
    return QStringLiteral("Pole \"%1\" obsahuje znak \"%2\", ktorý nie je možné uložiť. Nahraďte ho prosím "
                          "iným znakom.")
        .arg(field, character);
}
} // namespace

TEST_F(InputChecksTest, ADoubleClickFillsNumbersAsStoredSoASaveKeepsThem) {
    for (auto create : {CreateTablePHM, CreateTableCPHM, CreateTablePausnahr, CreateTableMesta})
        create();
    Db->Execute("INSERT INTO cphm (datum, id_phm, cena) VALUES ('2024-01-01', 1, 1.459)");
    Db->Execute("INSERT INTO pausnahr (datum, suma) VALUES ('2024-01-01', 0.183)");
    Db->Execute("INSERT INTO mesta (mesto1, mesto2, vzdialenost) VALUES ('Nitra', 'Trnava', 1234.567)");

    // Only the date of the price changes.
    ShowTab(1);
    TCPHMTab* prices = panel->CPHMTab;
    EXPECT_EQ(prices->widgets.grid->Cells(3, 1), "1,46");
    DoubleClickRow(prices->page, 1);
    EXPECT_EQ(prices->eCPHMcena->text(), "1,459");
    prices->eCPHMdatum->SetText("02.01.2024");
    boxes.Answer(ID_YES);
    prices->widgets.save->click();
    EXPECT_EQ(Column("select datum || '|' || cena from cphm"), QStringList({"2024-01-02|1.459"}));

    ShowTab(3);
    DoubleClickRow(panel->PNTab->page, 1);
    EXPECT_EQ(panel->PNTab->ePNsuma->text(), "0,183");
    ShowTab(5);
    DoubleClickRow(panel->VMTab->page, 1);
    EXPECT_EQ(panel->VMTab->eVMkm->text(), "1234,567") << "no thousands separator";
    boxes.Answer(ID_YES);
    panel->VMTab->widgets.save->click();
    EXPECT_EQ(Column("select vzdialenost || '' from mesta"), QStringList({"1234.567"}));
    EXPECT_EQ(boxes.Shown().size(), 2u) << "the two update questions";
}

TEST_F(InputChecksTest, ANumberTheGridsWouldShowWithAnExponentIsRefusedWithTheFocusOnIt) {
    ShowTab(3);
    TPNTab* rates = panel->PNTab;
    for (const QString number : {"0,000001", "1000000000000000", "-99999999999999999999"}) {
        rates->ePNdatum->SetText("01.01.2024");
        rates->ePNsuma->setText(number);
        rates->widgets.save->click();
        EXPECT_TRUE(rates->ePNsuma->hasFocus()) << number.toStdString();
        EXPECT_EQ(rates->ePNsuma->selectedText(), number) << "typing replaces it";
        EXPECT_EQ(Texts().value(Texts().size() - 1), kExponentRefusal.arg(number));
    }
    EXPECT_EQ(Column("select count(*) from pausnahr"), QStringList({"0"}));
    rates->ePNsuma->setText("0,00001");
    rates->widgets.save->click();
    ShowTab(3);
    EXPECT_EQ(rates->widgets.grid->Cells(2, 1), "0,00") << "shown, and the tab opens without an error";
    EXPECT_EQ(boxes.Shown().size(), 3u);
}

TEST_F(InputChecksTest, YearFieldsTakeFourDigitYearsOnly) {
    const auto refused = [](QLineEdit* field, QPushButton* save, const QStringList& years) {
        for (const QString& year : years) {
            field->setText(year);
            save->click();
            EXPECT_TRUE(field->hasFocus()) << year.toStdString();
        }
    };
    // The main screen's "Vytvoriť rok", then the opening state's year.
    TMainScreen* screen = program.form->MainScreen;
    program.form->Hlavnobrazovka1->trigger();
    screen->sgMain->SetRow(1);
    refused(screen->eMainRok, screen->BitBtn2, {"0", "225", "123456789012345678901234567890"});
    EXPECT_EQ(Texts(), QStringList(3, kYearRefusal));
    EXPECT_TRUE(!Db->TableExists("roky") || Column("select count(*) from roky") == QStringList({"0"}));
    screen->eMainRok->setText("2025");
    screen->BitBtn2->click();
    EXPECT_EQ(Column("select rok from roky"), QStringList({"2025"}));

    CreateTableAuta();
    Db->Execute("INSERT INTO auta (nazov, spz, id_zakaznik) VALUES ('Iveco', 'BA1', 1)");
    program.form->dajepreprevodroka1->trigger();
    TOpeningStatesPage* states = program.form->OpeningStatesPage;
    refused(states->ePocStavRok, states->BitBtn40, {"225", "123456789012345678901234567890"});
    EXPECT_EQ(Texts(), QStringList(5, kYearRefusal));
    EXPECT_EQ(Column("select count(*) from pocstav"), QStringList({"0"}));
    EXPECT_EQ(Column("select rok from roky"), QStringList({"2025"}));
}

TEST_F(InputChecksTest, TextThatWindows1250CannotHoldIsRefusedNamingFieldAndCharacter) {
    program.form->Pridavybrazkaznka1->trigger();
    TCustomerPage* customers = program.form->CustomerPage;
    customers->eZakNazov->setText(QStringLiteral("Jørgen s.r.o."));
    customers->eZakICO->setText("123");
    customers->BitBtn22->click();
    EXPECT_EQ(Texts(), QStringList({CharRefusal(QStringLiteral("Názov firmy"), QStringLiteral("ø"))}));
    EXPECT_EQ(Box(0).flags, MB_ICONWARNING);
    EXPECT_TRUE(customers->eZakNazov->hasFocus());
    EXPECT_EQ(customers->eZakNazov->selectedText(), QStringLiteral("ø"));
    EXPECT_EQ(Column("select count(*) from zakaznici"), QStringList({"1"})) << "the fixture's customer only";

    customers->eZakNazov->setText(QStringLiteral("Ďurčo ěřů őű"));
    customers->eZakMesto->setText(QStringLiteral("Auto 🚗"));
    customers->BitBtn22->click();
    EXPECT_EQ(Texts().value(1), CharRefusal("Mesto", QStringLiteral("🚗")));
    EXPECT_TRUE(customers->eZakMesto->hasFocus());

    // Every letter and sign of Windows-1250 is stored and read back.
    customers->eZakMesto->setText(QStringLiteral("Łódź ąćęńśźż"));
    customers->eZakUlica->setText(QStringLiteral("€ „Auto“ ß ‚x‘ – …"));
    customers->BitBtn22->click();
    EXPECT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(Column("select nazov || '|' || mesto || '|' || ulica from zakaznici where ico = '123'"),
              QStringList({QStringLiteral("Ďurčo ěřů őű|Łódź ąćęńśźż|€ „Auto“ ß ‚x‘ – …")}));

    // A master-data name and a route, whose start town is also kept in the settings.
    ShowTab(2);
    const QStringList kinds = Column("select nazov from druhvoz order by id");
    panel->DvTab->nameField->setText(QStringLiteral("Грузовик"));
    panel->DvTab->widgets.save->click();
    EXPECT_EQ(Texts().value(2), CharRefusal(QStringLiteral("názov"), QStringLiteral("Г")));
    EXPECT_EQ(Column("select nazov from druhvoz order by id"), kinds);
    ShowTab(5);
    TVMTab* routes = panel->VMTab;
    routes->eVMmesto1->setText(QStringLiteral("Trnavø"));
    QTest::keyClick(routes->eVMmesto1, Qt::Key_End);
    routes->widgets.save->click();
    EXPECT_EQ(Texts().value(3), CharRefusal(QStringLiteral("štartovné mesto"), QStringLiteral("ø")));
    EXPECT_EQ(Column("select count(*) from mesta"), QStringList({"0"}));
    EXPECT_EQ(ReadSetting("Info", "mesto1", "none"), "none") << "a key down keeps no such text";
}

TEST_F(InputChecksTest, PastedLineBreaksAndControlCharactersNeverEnterAOneLineField) {
    // The decimal and year filters take pasted text as typed text: '.' becomes the one comma.
    ShowTab(5);
    TVMTab* routes = panel->VMTab;
    routes->eVMkm->setText("7");
    routes->eVMkm->setCursorPosition(1);
    Paste(routes->eVMkm, "2.5 km\r\n");
    EXPECT_EQ(routes->eVMkm->text(), "72,5");
    Paste(routes->eVMkm, ",3");
    EXPECT_EQ(routes->eVMkm->text(), "725,3");

    // Text fields: line breaks, NUL and other controls go, Tab stays; a statement takes the rest.
    routes->eVMmesto1->clear();
    Paste(routes->eVMmesto1, QStringLiteral("Nitra\r\n[Main]\u2028x\ty"));
    EXPECT_EQ(routes->eVMmesto1->text(), "Nitra[Main]x\ty");
    routes->eVMmesto2->clear();
    Paste(routes->eVMmesto2, QString("Tr") + QChar(0) + "nava\x1b");
    EXPECT_EQ(routes->eVMmesto2->text(), "Trnava");
    routes->widgets.save->click();
    EXPECT_EQ(Column("select mesto1 || '|' || mesto2 || '|' || vzdialenost from mesta"),
              QStringList({"Nitra[Main]x\ty|Trnava|725.3"}));
    EXPECT_TRUE(boxes.Shown().empty());

    // The program's own texts lose them too.
    routes->eVMmesto2->setText("A\nB");
    EXPECT_EQ(routes->eVMmesto2->text(), "AB");
}

TEST_F(InputChecksTest, EveryOneLineFieldOfTheMainWindowHasItsGuard) {
    int fields = 0;
    for (QLineEdit* edit : program.form->findChildren<QLineEdit*>()) {
        if (qobject_cast<TMaskEdit*>(edit) || edit->window() != program.form.get())
            continue;
        EXPECT_TRUE(HasLineGuard(edit)) << edit->objectName().toStdString();
        ++fields;
    }
    EXPECT_GT(fields, 40);
}

TEST_F(InputChecksTest, TheFocusMovedByTheProgramSelectsTheTextSoTypingReplacesIt) {
    ShowTab(6);
    TPriemRychlTab* speed = panel->PriemRychlTab;
    ASSERT_TRUE(speed->ePriemRychl->hasFocus());
    QTest::keyClicks(speed->ePriemRychl, "50,5");
    EXPECT_EQ(speed->ePriemRychl->text(), "50,5");

    WriteSetting("Info", "mesto1", "Trnava");
    ShowTab(5);
    TVMTab* routes = panel->VMTab;
    routes->eVMmesto2->setText("Nitra");
    routes->eVMmesto2->setFocus();
    routes->widgets.save->click();
    ASSERT_TRUE(routes->eVMmesto1->hasFocus());
    EXPECT_EQ(routes->eVMmesto1->selectedText(), "Trnava");
    QTest::keyClicks(routes->eVMmesto1, "Zvolen");
    EXPECT_EQ(routes->eVMmesto1->text(), "Zvolen");

    // Enter moves on and selects.
    QTest::keyClick(routes->eVMmesto1, Qt::Key_Return);
    QTest::keyClick(routes->eVMmesto2, Qt::Key_Return);
    ASSERT_TRUE(routes->eVMkm->hasFocus());
    QTest::keyClicks(routes->eVMkm, "12");
    EXPECT_EQ(routes->eVMkm->text(), "12");
}
