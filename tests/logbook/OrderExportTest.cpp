#include <QFile>

#include "Encoding.h"
#include "InputBox.h"
#include "OrderExport.h"
#include "ProgramFixture.h"
#include "ProgramGlobals.h"

namespace {
// Customer 3 "Doprava Žilina" with a CR LF inside (as the earlier program stored it), year 2023, car 5,
// and the accounting program in "kelbor" with cooperation on. Distinct ids show a swapped line.
class OrderExportTest : public ProgramTest {
protected:
    OrderExportTest() : ProgramTest("") {}
    void SetUp() override {
        ProgramTest::SetUp();
        folder = program.folder.File("kelbor");
        QDir().mkdir(folder);
        WriteFileBytes(folder + "/Kelbor.exe", "");
        WriteSetting("general", "SpolKB", "1");
        WriteSetting("general", "SpolKBpath", folder);
        previousInput =
            SetInputBoxHook([this](const QString& caption, const QString& prompt, const QString&) {
                prompts << caption + ": " + prompt;
                return answers.isEmpty() ? QString() : answers.takeFirst();
            });
        CreateTripMasterData("('Nitra', 'Trnava', 50)", "2000-01-01");
        CreateTableZakaznici();
        Db->Execute(QStringLiteral("INSERT INTO zakaznici (id, nazov, ico) VALUES (3, 'Doprava' || char(13, "
                                   "10) || 'Žilina', '3')"));
        Db->Execute("UPDATE auta SET id = 5, id_zakaznik = 3");
        Db->Execute("UPDATE vodic SET id_zakaznik = 3");
        Db->Execute("UPDATE pocstav SET id_auto = 5, id_zakaznik = 3, rok = 2023");
        program.form->MainScreen->SelectCustomerYear("3", "2023");
        page = program.OpenTrips();
    }
    void TearDown() override { SetInputBoxHook(previousInput); }

    QByteArray Order() { return ReadFileBytes(folder + "/order.txt"); }

    TTripsPage* page = nullptr;
    QString folder;
    QStringList answers;
    QStringList prompts;
    InputBoxHook previousInput;
};
} // namespace

TEST_F(OrderExportTest, TheOrderHasElevenLinesTheProgramStartsAndItsTripIsListedAfterOk) {
    const QString caption = program.form->windowTitle();
    ASSERT_TRUE(caption.contains(QStringLiteral("Doprava\r\nŽilina - 2023")));
    answers = {"1.1.2007", "31.12.2007", "150"};
    // A trip of the ordered car that the program writes; the window minimised while the box waits.
    InsertTrip("2007-01-01 08:00", 0, 1, "NULL", "Kelbor 150");
    Db->Execute("UPDATE jazdy SET id_auto = 5, id_zakaznik = 3");
    ShellRecorder shell;
    bool minimised = false;
    const MessageBoxHook answer = SetMessageBoxHook(nullptr);
    SetMessageBoxHook([&](const QString& text, const QString& boxCaption, int flags) {
        minimised = program.form->windowState().testFlag(Qt::WindowMinimized);
        return answer(text, boxCaption, flags);
    });
    page->BitBtn26->click();
    SetMessageBoxHook(answer);

    EXPECT_EQ(prompts, QStringList({QStringLiteral("Vozopis: dátum OD (dd.mm.yyyy)"),
                                    QStringLiteral("Vozopis: dátum DO (dd.mm.yyyy)"), "Vozopis: km"}));
    EXPECT_EQ(Order(), ToAnsi(program.folder.File("Data/data.mvk")) + "\r\n" +
                           "3\r\n5\r\n1.1.2007\r\n31.12.2007\r\n150\r\n10\r\nDoprava\x8Eilina\r\n2023\r\n" +
                           ToAnsi(QString(caption).remove("\r\n")) + "\r\nVozopis\r\n");
    EXPECT_EQ(shell.Opened() + shell.Parameters(),
              QStringList({folder + "/Kelbor.exe", "Vozopis_export_jazdy"}));
    EXPECT_EQ(boxes.Shown(),
              Boxes({{QStringLiteral("Po skončení importu prosím stlačte OK."), "Vozopis", 0}}));
    EXPECT_TRUE(minimised);
    EXPECT_EQ(program.form->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized), Qt::WindowMaximized);
    EXPECT_EQ(GridColumn(page->sgJazdy, 10), QStringList("Kelbor 150")) << "the trip list is read again";
}

TEST_F(OrderExportTest, AMissingProgramAnEmptyAnswerOrAnUnwritableOrderStartNothing) {
    ShellRecorder shell;
    const QString notFound = QStringLiteral("Program nebol na nasledovnej adrese nájdený:\r\r");
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
    for (const QString& bad : {QStringLiteral("ñ"), QStringLiteral("\n")}) {
        DatabasePath = "/home/mu" + bad + "oz/Data/data.mvk";
        page->BitBtn26->click();
        EXPECT_EQ(
            boxes.Texts().last(),
            QStringLiteral("Cesta k databáze \"%1\" obsahuje znak \"%2\", ktorý nie je možné zapísať do "
                           "súboru order.txt.")
                .arg(DatabasePath, bad));
    }
    DatabasePath = databasePath;
    EXPECT_TRUE(prompts.isEmpty()) << "nothing is asked for a missing program or an unusable path";

    // A cancelled box answers empty: all three are asked, then nothing happens. A character the
    // order file cannot hold is refused, not replaced.
    answers = {"1.1.2024", "", "10", "1.1.2024", QStringLiteral("31.1.2024 ☺"), "10"};
    page->BitBtn26->click();
    EXPECT_EQ(prompts.size(), 3);
    page->BitBtn26->click();
    EXPECT_EQ(boxes.Texts().value(4),
              QStringLiteral("Pole \"dátum DO (dd.mm.yyyy)\" obsahuje znak \"☺\", ktorý nie je možné "
                             "uložiť. Nahraďte ho prosím iným znakom."));
    EXPECT_FALSE(QFile::exists(folder + "/order.txt"));

    // The order cannot replace what stands in its place: the file error, no start, no minimising.
    QDir().mkdir(folder + "/order.txt");
    answers = {"1.1.2024", "31.1.2024", "10", "1.1.2024", "31.1.2024", "10"};
    page->BitBtn26->click();
    EXPECT_TRUE(
        boxes.Shown().size() == 6 && Box(5).flags == 16 &&
        Box(5).text.startsWith(QStringLiteral("Nie je možné zapísať súbor \"%1/order.txt\"").arg(folder)));
    EXPECT_TRUE(shell.Opened().isEmpty());
    EXPECT_FALSE(program.form->windowState().testFlag(Qt::WindowMinimized));

    // The kept average speed goes on line 7.
    QDir().rmdir(folder + "/order.txt");
    WriteSetting("Info", "PriemRychl", "55");
    page->BitBtn26->click();
    EXPECT_EQ(Order().split('\n').value(6), "55\r");
}
