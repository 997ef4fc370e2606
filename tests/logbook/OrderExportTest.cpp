#include "OrderExport.h"
#include "Encoding.h"
#include "InputBox.h"
#include "ProgramFixture.h"
#include "ProgramGlobals.h"

namespace {
// Customer 3 "Doprava Žilina" with a CR LF inside, year 2023, car 5 (distinct ids show a swapped line),
// and the program in "kelbor"; input boxes answered from `answers`, starts recorded in `started`.
class OrderExportTest : public ProgramTest {
protected:
    OrderExportTest() : ProgramTest("") {}
    void SetUp() override {
        ProgramTest::SetUp();
        folder = program.folder.File("kelbor");
        QDir().mkdir(folder);
        WriteFileBytes(folder + "/Kelbor.exe", "");
        WriteSetting("general", "SpolKBpath", folder);
        previousInput =
            SetInputBoxHook([this](const QString& caption, const QString& prompt, const QString&) {
                prompts << caption + ": " + prompt;
                return answers.isEmpty() ? QString() : answers.takeFirst();
            });
        previousShell = SetShellOpenHook([this](const QString& target, const QString& parameters) {
            started << target << parameters
                    << (program.form->windowState().testFlag(Qt::WindowMinimized) ? "minimised" : "shown");
        });
        CreateTripMasterData("('Nitra', 'Trnava', 50)", "2000-01-01");
        CreateTableZakaznici();
        Db->Execute(
            "INSERT INTO zakaznici (id, nazov, ico) VALUES (3, 'Doprava' || char(13, 10) || 'Žilina', '3')");
        Db->Execute("UPDATE auta SET id = 5, id_zakaznik = 3");
        Db->Execute("UPDATE vodic SET id_zakaznik = 3");
        Db->Execute("UPDATE pocstav SET id_auto = 5, id_zakaznik = 3, rok = 2023");
        program.form->MainScreen->SelectCustomerYear("3", "2023");
        page = program.OpenTrips();
    }
    void TearDown() override {
        SetInputBoxHook(previousInput);
        SetShellOpenHook(previousShell);
    }

    QByteArray Order() { return ReadFileBytes(folder + "/order.txt"); }

    TTripsPage* page = nullptr;
    QString folder;
    QStringList answers, prompts, started;
    InputBoxHook previousInput;
    ShellOpenHook previousShell;
};
} // namespace

TEST_F(OrderExportTest, TheOrderHasElevenLinesTheProgramStartsAndItsTripIsListedAfterOk) {
    const QString caption = program.form->windowTitle();
    answers = {"1.1.2007", "31.12.2007", "150"};
    InsertTrip("2007-01-01 08:00", 0, 1, "NULL", "Kelbor 150"); // as the program writes it
    Db->Execute("UPDATE jazdy SET id_auto = 5, id_zakaznik = 3");
    page->BitBtn26->click();

    EXPECT_EQ(prompts, QStringList({"Vozopis: dátum OD (dd.mm.yyyy)", "Vozopis: dátum DO (dd.mm.yyyy)",
                                    "Vozopis: km"}));
    EXPECT_EQ(Order(), ToAnsi(program.folder.File("Data/data.mvk")) + "\r\n" +
                           "3\r\n5\r\n1.1.2007\r\n31.12.2007\r\n150\r\n10\r\nDoprava \x8Eilina\r\n2023\r\n" +
                           ToAnsi(QString(caption).replace("\r\n", " ")) + "\r\nVozopis\r\n");
    EXPECT_EQ(started, QStringList({folder + "/Kelbor.exe", "Vozopis_export_jazdy", "minimised"}));
    EXPECT_EQ(boxes.Shown(), Boxes({{"Po skončení importu prosím stlačte OK.", "Vozopis", 0}}));
    EXPECT_EQ(program.form->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized), Qt::WindowMaximized);
    EXPECT_EQ(GridColumn(page->sgJazdy, 10), QStringList("Kelbor 150")) << "the trip list is read again";
}

TEST_F(OrderExportTest, AMissingProgramAnEmptyAnswerOrAnUnwritableOrderStartNothing) {
    const QString notFound = "Program nebol na nasledovnej adrese nájdený:\r\r";
    // The program file is looked for beside the folder's separator, added once.
    for (const QString& setting : {program.folder.File("inde/"), QString()}) {
        WriteSetting("general", "SpolKBpath", setting);
        page->BitBtn26->click();
    }
    EXPECT_EQ(boxes.Shown(), Boxes({{notFound + program.folder.File("inde/Kelbor.exe"), "Vozopis", 16},
                                    {notFound + "/Kelbor.exe", "Vozopis", 16}}));
    WriteSetting("general", "SpolKBpath", folder + "/");

    // A database path that a line of the order cannot hold would send the program to another file.
    const QString databasePath = DatabasePath;
    for (const QString bad : {"ñ", "\n"}) {
        DatabasePath = "/home/mu" + bad + "oz/Data/data.mvk";
        page->BitBtn26->click();
        EXPECT_EQ(boxes.Texts().last(), "Cesta k databáze \"" + DatabasePath + "\" obsahuje znak \"" + bad +
                                            "\", ktorý nie je možné zapísať do súboru order.txt.");
    }
    DatabasePath = databasePath;
    EXPECT_TRUE(prompts.isEmpty()) << "nothing is asked for a missing program or an unusable path";

    // A cancelled (empty) answer after all three ends silently; a character Windows-1250 lacks is refused.
    answers = {"1.1.2024", "", "10", "1.1.2024", "31.1.2024 ☺", "10"};
    page->BitBtn26->click();
    EXPECT_EQ(prompts.size(), 3);
    page->BitBtn26->click();
    EXPECT_EQ(boxes.Texts().value(4),
              "Pole \"dátum DO (dd.mm.yyyy)\" obsahuje znak \"☺\", ktorý nie je možné "
              "uložiť. Nahraďte ho prosím iným znakom.");

    // The order cannot replace what stands in its place: the file error, no start, no minimising.
    QDir().mkdir(folder + "/order.txt");
    answers = {"1.1.2024", "31.1.2024", "10", "1.1.2024", "31.1.2024", "10"};
    page->BitBtn26->click();
    EXPECT_TRUE(boxes.Shown().size() == 6 && Box(5).flags == 16 &&
                Box(5).text.startsWith("Nie je možné zapísať súbor \"" + folder + "/order.txt\""));
    EXPECT_TRUE(started.isEmpty());
    EXPECT_FALSE(program.form->windowState().testFlag(Qt::WindowMinimized));

    // The kept average speed goes on line 7.
    QDir().rmdir(folder + "/order.txt");
    WriteSetting("Info", "PriemRychl", "55");
    page->BitBtn26->click();
    EXPECT_EQ(Order().split('\n').value(6), "55\r");
}
