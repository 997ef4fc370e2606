#include <QFile>

#include "Encoding.h"
#include "InputBox.h"
#include "OrderExport.h"
#include "ProgramFixture.h"
#include "ProgramGlobals.h"

namespace {
// A stand-in for the accounting program: like the real one it reads the database named on line 1
// of the order beside it and writes a trip of the ordered car there (departure from line 4, the
// kilometres of line 6 in the purpose); then it records its arguments.
const char* StandIn = R"py(#!/usr/bin/env python3
import os, sqlite3, sys
here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, 'order.txt'), 'rb') as f:
    lines = f.read().decode('cp1250').split('\r\n')
day, month, year = lines[3].split('.')
departure = '%s-%02d-%02d 08:00' % (year, int(month), int(day))
db = sqlite3.connect(lines[0], timeout=30)
db.execute("INSERT INTO jazdy (odchod, prichod, id_mesta, spat, cerpane, nadspotreba, ucel, id_auto, "
           "id_vodic, id_zakaznik) VALUES (?, ?, 1, 0, 0, 0, ?, ?, 1, ?)",
           (departure, departure, ('Kelbor ' + lines[5]).encode('cp1250'), int(lines[2]), int(lines[1])))
db.commit()
db.close()
with open(os.path.join(here, 'record.tmp'), 'w') as f:
    f.write('\n'.join(sys.argv[1:]))
os.rename(os.path.join(here, 'record.tmp'), os.path.join(here, 'record.txt'))
)py";

// The customer Doprava Žilina (id 1, year 2024) with the master data of one car (id 1) and one
// route; the accounting program's folder "kelbor" with the stand-in, cooperation switched on.
class OrderExportTest : public ProgramTest {
protected:
    OrderExportTest() : ProgramTest(QStringLiteral("Doprava Žilina")) {}
    void SetUp() override {
        ProgramTest::SetUp();
        page = program.form->TripsPage;
        folder = program.folder.File("kelbor");
        QDir().mkdir(folder);
        WriteFileBytes(folder + "/Kelbor.exe", StandIn);
        QFile(folder + "/Kelbor.exe").setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        WriteSetting("general", "SpolKB", "1");
        WriteSetting("general", "SpolKBpath", folder);
        previousInput =
            SetInputBoxHook([this](const QString& caption, const QString& prompt, const QString&) {
                prompts << caption + ": " + prompt;
                return answers.value(prompts.size() - 1);
            });
        CreateTripMasterData("('Nitra', 'Trnava', 50)", "2000-01-01");
        program.OpenTrips();
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

TEST_F(OrderExportTest, TheOrderIsWrittenTheProgramStartedAndItsTripListedAfterOk) {
    EXPECT_FALSE(page->BitBtn26->isHidden());
    const QString caption = program.form->windowTitle();
    ASSERT_TRUE(caption.contains(QStringLiteral("Doprava Žilina - 2024")));
    answers = {"1.1.2007", "31.12.2007", "150"};

    // The confirmation waits until the stand-in has done its work, as the user would.
    bool minimised = false;
    bool recorded = false;
    const MessageBoxHook answer = SetMessageBoxHook(nullptr);
    SetMessageBoxHook([&](const QString& text, const QString& boxCaption, int flags) {
        minimised = program.form->windowState().testFlag(Qt::WindowMinimized);
        recorded = QTest::qWaitFor([&] { return QFile::exists(folder + "/record.txt"); }, 60000);
        return answer(text, boxCaption, flags);
    });
    page->BitBtn26->click();
    SetMessageBoxHook(answer);

    EXPECT_EQ(prompts, QStringList({QStringLiteral("Vozopis: dátum OD (dd.mm.yyyy)"),
                                    QStringLiteral("Vozopis: dátum DO (dd.mm.yyyy)"), "Vozopis: km"}));
    const QByteArray expected = ToAnsi(program.folder.File("Data/data.mvk")) + "\r\n" +
                                "1\r\n1\r\n1.1.2007\r\n31.12.2007\r\n150\r\n10\r\n"
                                "Doprava \x8Eilina\r\n2024\r\n" +
                                ToAnsi(caption) + "\r\nVozopis\r\n";
    EXPECT_EQ(Order(), expected);

    ASSERT_TRUE(recorded) << "the stand-in ran";
    EXPECT_EQ(ReadFileBytes(folder + "/record.txt"), "Vozopis_export_jazdy");
    EXPECT_EQ(boxes.Texts(), QStringList(QStringLiteral("Po skončení importu prosím stlačte OK.")));
    EXPECT_EQ(Box(0).caption, "Vozopis");
    EXPECT_EQ(Box(0).flags, 0);
    EXPECT_TRUE(minimised) << "the main window waits minimised";
    EXPECT_TRUE(program.form->windowState().testFlag(Qt::WindowMaximized));
    EXPECT_FALSE(program.form->windowState().testFlag(Qt::WindowMinimized));
    EXPECT_EQ(GridColumn(page->sgJazdy, 10), QStringList("Kelbor 150"))
        << "the trip the program wrote is listed";
    EXPECT_EQ(GridColumn(page->sgJazdy, 1), QStringList("01.01.2007 08:00"));
}

TEST_F(OrderExportTest, AMissingProgramAnEmptyAnswerOrAnUnwritableOrderStartNothing) {
    ShellRecorder shell;
    answers = {"1.1.2024", "31.1.2024", "10"};

    // The program file is looked for beside the folder's separator, added once.
    WriteSetting("general", "SpolKBpath", program.folder.File("inde/"));
    page->BitBtn26->click();
    WriteSetting("general", "SpolKBpath", "");
    page->BitBtn26->click();
    EXPECT_EQ(boxes.Texts(), QStringList({QStringLiteral("Program nebol na nasledovnej adrese nájdený:\r\r") +
                                              program.folder.File("inde/Kelbor.exe"),
                                          QStringLiteral("Program nebol na nasledovnej adrese nájdený:\r\r"
                                                         "/Kelbor.exe")}));
    EXPECT_EQ(Box(0).flags, 16);
    EXPECT_TRUE(prompts.isEmpty());

    // A cancelled box answers empty: all three are asked, then nothing happens.
    WriteSetting("general", "SpolKBpath", folder + "/");
    answers = {"1.1.2024", "", "10"};
    page->BitBtn26->click();
    EXPECT_EQ(prompts.size(), 3);
    EXPECT_EQ(boxes.Shown().size(), 2u);
    EXPECT_FALSE(QFile::exists(folder + "/order.txt"));

    // A character the order file cannot hold is refused, not replaced.
    prompts.clear();
    answers = {"1.1.2024", QStringLiteral("31.1.2024 ☺"), "10"};
    page->BitBtn26->click();
    EXPECT_EQ(boxes.Texts().value(2),
              QStringLiteral("Pole \"dátum DO (dd.mm.yyyy)\" obsahuje znak \"☺\", ktorý nie je možné "
                             "uložiť. Nahraďte ho prosím iným znakom."));
    EXPECT_FALSE(QFile::exists(folder + "/order.txt"));

    // A database path that the order file cannot hold would send the program to another file.
    const QString databasePath = DatabasePath;
    DatabasePath = QStringLiteral("/home/muñoz/Data/data.mvk");
    prompts.clear();
    page->BitBtn26->click();
    DatabasePath = databasePath;
    EXPECT_EQ(
        boxes.Texts().value(3),
        QStringLiteral("Cesta k databáze \"/home/muñoz/Data/data.mvk\" obsahuje znak \"ñ\", ktorý nie je "
                       "možné zapísať do súboru order.txt."));
    EXPECT_EQ(Box(3).flags, 16);
    EXPECT_TRUE(prompts.isEmpty());
    EXPECT_FALSE(QFile::exists(folder + "/order.txt"));

    // The order cannot replace what stands in its place: the file error, no start, no minimising.
    QDir().mkdir(folder + "/order.txt");
    prompts.clear();
    answers = {"1.1.2024", "31.1.2024", "10"};
    page->BitBtn26->click();
    ASSERT_EQ(boxes.Shown().size(), 5u);
    EXPECT_EQ(Box(4).flags, 16);
    EXPECT_TRUE(
        Box(4).text.startsWith(QStringLiteral("Nie je možné zapísať súbor \"%1/order.txt\"").arg(folder)))
        << Box(4).text.toStdString();
    EXPECT_TRUE(shell.Opened().isEmpty());
    EXPECT_FALSE(program.form->windowState().testFlag(Qt::WindowMinimized));
    EXPECT_TRUE(QFileInfo(folder + "/order.txt").isDir());

    // The kept average speed goes on line 7.
    QDir().rmdir(folder + "/order.txt");
    prompts.clear();
    WriteSetting("Info", "PriemRychl", "55");
    page->BitBtn26->click();
    EXPECT_EQ(Order().split('\n').value(6), "55\r");
    EXPECT_EQ(shell.Opened(), QStringList(folder + "/Kelbor.exe"));
    EXPECT_EQ(shell.Parameters(), QStringList("Vozopis_export_jazdy"));
}
