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
    static void Paste(QLineEdit* edit, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        edit->paste();
    }

    TInfoPanel* panel = nullptr;
};

QString CharRefusal(const QString& field, const QString& character) {
    return QStringLiteral("Pole \"%1\" obsahuje znak \"%2\", ktorý nie je možné uložiť. Nahraďte ho prosím "
                          "iným znakom.")
        .arg(field, character);
}
} // namespace

TEST_F(InputChecksTest, ADoubleClickFillsNumbersAsStoredNotAsShown) {
    for (auto create : {CreateTablePHM, CreateTableCPHM, CreateTablePausnahr, CreateTableMesta})
        create();
    Db->Execute("INSERT INTO cphm (datum, id_phm, cena) VALUES ('2024-01-01', 1, 1.459)");
    Db->Execute("INSERT INTO pausnahr (datum, suma) VALUES ('2024-01-01', 0.183)");
    Db->Execute("INSERT INTO mesta (mesto1, mesto2, vzdialenost) VALUES ('Nitra', 'Trnava', 1234.567)");
    QStringList filled;
    const std::tuple<int, TDataPage*, QLineEdit*> tabs[] = {
        {1, panel->CPHMTab->page, panel->CPHMTab->eCPHMcena},
        {3, panel->PNTab->page, panel->PNTab->ePNsuma},
        {5, panel->VMTab->page, panel->VMTab->eVMkm}};
    for (const auto& [tab, page, field] : tabs) {
        program.ShowInfoTab(tab);
        DoubleClickRow(page, 1);
        filled << field->text();
    }
    EXPECT_EQ(filled, QStringList({"1,459", "0,183", "1234,567"})) << "not 1,46, 0,18 and 1 234,57";
}

TEST_F(InputChecksTest, ANumberTheGridsWouldShowWithAnExponentIsRefusedWithTheFocusOnIt) {
    program.ShowInfoTab(3);
    TPNTab* rates = panel->PNTab;
    // Either side of both bounds, negative ones too: only those outside are refused.
    const QStringList numbers = {"0,000001",  "1000000000000000", "-99999999999999999999",
                                 "-0,000009", "0,00001",          "-999999999999999",
                                 "0"};
    for (int day = 1; day <= numbers.size(); ++day) {
        rates->ePNdatum->SetText(QString("%1.01.2024").arg(day, 2, 10, QChar('0')));
        rates->ePNsuma->setText(numbers[day - 1]);
        rates->widgets.save->click();
    }
    const QString range =
        QStringLiteral("Číslo \"%1\" v poli \"suma\" je mimo rozsahu, ktorý program dokáže "
                       "zobraziť. Zadajte 0, číslo od 0,00001 do 999999999999999 alebo záporné "
                       "číslo od -999999999999999 do -0,00001.");
    EXPECT_EQ(boxes.Texts(), QStringList({range.arg("0,000001"), range.arg("1000000000000000"),
                                          range.arg("-99999999999999999999"), range.arg("-0,000009")}));
    EXPECT_EQ(Column("select datum || ' ' || (suma * 100000) from pausnahr order by id"),
              QStringList({"2024-01-05 1.0", "2024-01-06 -9.99999999999999e+19", "2024-01-07 0.0"}));

    rates->ePNdatum->SetText("08.01.2024");
    rates->ePNsuma->setText("1000000000000000");
    rates->widgets.save->click();
    EXPECT_TRUE(rates->ePNsuma->hasFocus());
    EXPECT_EQ(rates->ePNsuma->selectedText(), "1000000000000000") << "typing replaces it";
}

// A text that is no number is told so, naming the field; an empty field is a missing entry.
TEST_F(InputChecksTest, ATextThatIsNoNumberIsRefusedWithAMessageNamingTheField) {
    CreateTableAuta();
    TCPHMTab* prices = panel->CPHMTab;
    TVMTab* routes = panel->VMTab;
    TCarsPage* cars = program.form->CarsPage;
    // Each field with its caption and its save button, after its page shown with the other entries filled.
    const std::tuple<QLineEdit*, QString, QPushButton*, std::function<void()>> fields[] = {
        {prices->eCPHMcena, "cena", prices->widgets.save,
         [&] {
             program.ShowInfoTab(1);
             prices->eCPHMdatum->SetText("01.01.2024");
         }},
        {routes->eVMkm, QStringLiteral("vzdialenosť (km)"), routes->widgets.save,
         [&] {
             program.ShowInfoTab(5);
             routes->eVMmesto1->setText("Nitra");
             routes->eVMmesto2->setText("Trnava");
         }},
        {cars->eAutaN1, "spotreba mesto", cars->BitBtn3, [&] {
             program.form->Evidenciaat1->trigger();
             cars->eAutaNazov->setText("Iveco");
             cars->eAutaSPZ->setText("BA1");
         }}};
    QStringList expected;
    for (const auto& [field, caption, save, show] : fields) {
        for (const QString text : {"5-", "--5", ",", "-", ""}) {
            show();
            field->setText(text);
            save->click();
            EXPECT_TRUE(field->hasFocus()) << caption.toStdString() << " " << text.toStdString();
            if (!text.isEmpty())
                expected << QStringLiteral(
                                "Pole \"%1\" neobsahuje platné číslo (zadané: %2). Zadajte číslo s "
                                "desatinnou čiarkou, napríklad 12,5 alebo -3.")
                                .arg(caption, text);
        }
    }
    EXPECT_EQ(boxes.Texts(), expected);
    EXPECT_EQ(Column("select (select count(*) from cphm) || (select count(*) from mesta) || "
                     "(select count(*) from auta)"),
              QStringList({"000"}));
}

TEST_F(InputChecksTest, YearFieldsTakeFourDigitYearsOnly) {
    const auto refused = [](QLineEdit* field, QPushButton* save, const QStringList& years) {
        for (const QString& year : years) {
            field->setText(year);
            save->click();
            EXPECT_TRUE(field->hasFocus()) << year.toStdString();
        }
    };
    // The main screen's "Vytvoriť rok", then the opening state's year, which registers no year either.
    TMainScreen* screen = program.form->MainScreen;
    program.form->Hlavnobrazovka1->trigger();
    screen->sgMain->SetRow(1);
    refused(screen->eMainRok, screen->BitBtn2, {"0", "225", "123456789012345678901234567890"});
    screen->eMainRok->setText("2025");
    screen->BitBtn2->click();
    CreateTableAuta();
    Db->Execute("INSERT INTO auta (nazov, spz, id_zakaznik) VALUES ('Iveco', 'BA1', 1)");
    program.form->dajepreprevodroka1->trigger();
    TOpeningStatesPage* states = program.form->OpeningStatesPage;
    refused(states->ePocStavRok, states->BitBtn40, {"225", "123456789012345678901234567890"});
    EXPECT_EQ(boxes.Texts(), QStringList(5, QStringLiteral("Rok musí mať štyri číslice, napríklad 2024.")));
    EXPECT_EQ(Column("select count(*) from pocstav"), QStringList({"0"}));
    EXPECT_EQ(Column("select rok from roky"), QStringList({"2025"}));
}

TEST_F(InputChecksTest, TextThatWindows1250CannotHoldIsRefusedNamingFieldAndCharacter) {
    program.form->Pridavybrazkaznka1->trigger();
    TCustomerPage* customers = program.form->CustomerPage;
    customers->eZakNazov->setText(QStringLiteral("Jørgen s.r.o."));
    customers->eZakICO->setText("123");
    customers->BitBtn22->click();
    EXPECT_TRUE(customers->eZakNazov->hasFocus());
    EXPECT_EQ(customers->eZakNazov->selectedText(), QStringLiteral("ø"));
    customers->eZakNazov->setText(QStringLiteral("Ďurčo ěřů őű"));
    customers->eZakMesto->setText(QStringLiteral("Auto 🚗"));
    customers->BitBtn22->click();
    EXPECT_TRUE(customers->eZakMesto->hasFocus());
    EXPECT_EQ(Column("select count(*) from zakaznici"), QStringList({"1"})) << "the fixture's customer only";

    // A master-data name and a route, whose start town is also kept in the settings.
    program.ShowInfoTab(2);
    const QStringList kinds = Column("select nazov from druhvoz order by id");
    panel->DvTab->nameField->setText(QStringLiteral("Грузовик"));
    panel->DvTab->widgets.save->click();
    EXPECT_EQ(Column("select nazov from druhvoz order by id"), kinds);
    program.ShowInfoTab(5);
    TVMTab* routes = panel->VMTab;
    routes->eVMmesto1->setText(QStringLiteral("Trnavø"));
    QTest::keyClick(routes->eVMmesto1, Qt::Key_End);
    routes->widgets.save->click();
    EXPECT_EQ(Column("select count(*) from mesta"), QStringList({"0"}));
    EXPECT_EQ(ReadSetting("Info", "mesto1", "none"), "none") << "a key down keeps no such text";
    EXPECT_EQ(boxes.Texts(),
              QStringList({CharRefusal(QStringLiteral("Názov firmy"), QStringLiteral("ø")),
                           CharRefusal("Mesto", QStringLiteral("🚗")),
                           CharRefusal(QStringLiteral("názov"), QStringLiteral("Г")),
                           CharRefusal(QStringLiteral("štartovné mesto"), QStringLiteral("ø"))}));
}

// Pasted line breaks and control characters never enter a one-line field.
TEST_F(InputChecksTest, OneLineFieldsFilterPastedTextAndTheFocusMovedByTheProgramSelectsTheirText) {
    program.ShowInfoTab(6);
    TPriemRychlTab* speed = panel->PriemRychlTab;
    ASSERT_TRUE(speed->ePriemRychl->hasFocus());
    QTest::keyClicks(speed->ePriemRychl, "50,5");
    EXPECT_EQ(speed->ePriemRychl->text(), "50,5") << "typing replaced the shown speed";

    // The decimal and year filters take pasted text as typed text: '.' becomes the one comma.
    program.ShowInfoTab(5);
    TVMTab* routes = panel->VMTab;
    routes->eVMkm->setText("7");
    routes->eVMkm->setCursorPosition(1);
    Paste(routes->eVMkm, "2.5 km\r\n");
    EXPECT_EQ(routes->eVMkm->text(), "72,5");
    Paste(routes->eVMkm, ",3");
    EXPECT_EQ(routes->eVMkm->text(), "725,3");

    // Text fields: each line break becomes a blank, NUL and other controls go, Tab stays; a statement
    // takes the rest.
    routes->eVMmesto1->clear();
    Paste(routes->eVMmesto1, QStringLiteral("Riadok jeden\r\nRiadok dva"));
    routes->eVMmesto2->clear();
    Paste(routes->eVMmesto2, QString("Tr") + QChar(0) + "nava\x1b");
    routes->eVMmesto2->setCursorPosition(2);
    Paste(routes->eVMmesto2, QStringLiteral("\n[M]\u2028\t"));
    EXPECT_EQ(routes->eVMmesto2->cursorPosition(), 8) << "after the pasted text";
    WriteSetting("Info", "mesto1", "Trnava");
    routes->eVMmesto2->setFocus();
    routes->widgets.save->click();
    EXPECT_EQ(Column("select mesto1 || '|' || mesto2 || '|' || vzdialenost from mesta"),
              QStringList({"Riadok jeden Riadok dva|Tr [M] \tnava|725.3"}));
    EXPECT_TRUE(boxes.Shown().empty());
    routes->eVMmesto2->setText("A\nB");
    EXPECT_EQ(routes->eVMmesto2->text(), "A B") << "the program's own texts too";

    // After the save the focus is on the start town, kept in the settings; Enter moves on and selects.
    ASSERT_TRUE(routes->eVMmesto1->hasFocus());
    QTest::keyClicks(routes->eVMmesto1, "Zvolen");
    QTest::keyClick(routes->eVMmesto1, Qt::Key_Return);
    QTest::keyClick(routes->eVMmesto2, Qt::Key_Return);
    ASSERT_TRUE(routes->eVMkm->hasFocus());
    QTest::keyClicks(routes->eVMkm, "12");
    EXPECT_EQ(routes->eVMmesto1->text() + "|" + routes->eVMkm->text(), "Zvolen|12");
}
