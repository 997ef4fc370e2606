#include <QProgressBar>
#include <sqlite3.h>

#include "CustomerImport.h"
#include "DateTime.h"
#include "Encoding.h"
#include "GeneralUnit.h"
#include "GridHelpers.h"
#include "ProgramFixture.h"
#include "ProgramGlobals.h"

namespace {
ShownBox Info(const QString& section) {
    return {"V zakaznikovi s ID \"" + section +
                "\" v programe \"Zivena - Kelbor\" nie je zadané IČO alebo názov. "
                "Zákazníka nie je možné importovať.",
            "Vozopis", 64};
}

// A customer left out for a character that Windows-1250 cannot hold.
ShownBox Refused(const QString& section, const QString& product, const QString& key,
                 const QString& character) {
    return {"Zákazník s ID \"" + section + "\" v programe \"Zivena - " + product + "\" obsahuje v poli \"" +
                key + "\" znak \"" + character +
                "\", ktorý nie je možné uložiť. Zákazníka nie je možné importovať.",
            "Vozopis", 64};
}

ShownBox Question(const QString& product) {
    return {"V databáze zákazníkov v programe \"Zivena - " + product +
                "\" boli nájdené údaje, ktoré nemáte importované. "
                "Prajete si tieto údaje importovať?",
            "Vozopis", 36};
}

// The program before its first showing; the programs' customer files in "kb" and "tr".
class CustomerImportTest : public ::testing::Test {
protected:
    void SetUp() override { CreateTableZakaznici(); }

    // A customer file in Windows-1250 with CR LF line ends.
    void CustomerFile(const QString& folder, const QString& ini) {
        QDir().mkpath(program.folder.File(folder + "/Data"));
        WriteFileBytes(program.folder.File(folder + "/Data/zakaznici.zvn"),
                       ToAnsi(QString(ini).replace("\n", "\r\n")));
    }
    // Cooperation on with Kelbor and as given with Tamrik; a folder is given as its setting reads.
    void Cooperation(bool tamrik, const QString& kbPath = "kb", const QString& trPath = "tr") {
        WriteSetting("general", "SpolKB", "1");
        WriteSetting("general", "SpolTR", tamrik ? "1" : "0");
        WriteSetting("general", "SpolKBpath", program.folder.File(kbPath));
        WriteSetting("general", "SpolTRpath", program.folder.File(trPath));
    }
    // The first showing; seen runs whenever a box comes up, before it is answered.
    void Show(const std::function<void(const QString& text)>& seen = [](const QString&) {}) {
        const MessageBoxHook recorder = SetMessageBoxHook(nullptr);
        SetMessageBoxHook([&](const QString& text, const QString& caption, int flags) {
            seen(text);
            return recorder(text, caption, flags);
        });
        program.form->show();
        QCoreApplication::processEvents();
        SetMessageBoxHook(recorder);
    }
    QStringList Customers() { return Column("SELECT printf('%d %s %s', id, nazov, ico) FROM zakaznici"); }

    MessageBoxRecorder boxes{ID_YES};
    StartedProgram program;
};
} // namespace

TEST_F(CustomerImportTest, NewCustomersAreAskedForOnceStoredCleanedAndGetTheYearAndADriver) {
    Db->Execute("INSERT INTO zakaznici (nazov, ico) VALUES ('Doprava', 'sk777')");
    const QString quoted = "Auto \"Rýchly\" O'Neil";
    CustomerFile(
        "kb",
        QStringLiteral("[K-101]\nICO=123\nosoba=bez názvu\n[K-102]\nnazov=Doprava s novým názvom\n"
                       "ICO=SK777\n[K-103]\nnazov=Stavby\nICO=36123456\nIC=SK\nDIC=2020\nosoba=Ján\n"
                       "ulica=Hlavná 1\nmesto=Žilina\nPSC=010 01\nstat=SR\nplatcaDPH=x\nfo=\npo=X\n"
                       "[4]\nnazov=Auto \"Rýchly\" O'Neil\nICO=111\nplatcaDPH=X\nfo=x\npo=x\n"
                       "[5]\nnazov=Dvojník\nICO=111\n[6]\nnazov=Nov\0\aá\nICO=4\0"
                       "44\nmesto=Ko\x1B\x7Fšice\nfo=x\0\n[7]\nnazov=Doprava\nICO=222\nDIC=333\n"
                       "platcaDPH=1\nfo=xx\npo=ano\n[8]\nnazov=\nICO=sk777\n[9]\nnazov=Bez IČO\nICO=\x01\n"));
    CustomerFile("tr", "[1]\nnazov=Tamrik\nICO=1\n"); // its cooperation is off
    Cooperation(false);
    // At each box: the progress window, and the support window's settings loaded before the import.
    QStringList progress;
    Show([&](const QString&) {
        if (!CurrentProgress) // a failure's box comes after the pass
            return;
        const QWidget* form = CurrentProgress->Form;
        const QRect centre((ScreenWidth - 400) / 2, (ScreenHeight - 100) / 2, 400, 100);
        const auto buttons = Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint;
        progress
            << QString("%1/%2 ").arg(CurrentProgress->Bar->value()).arg(CurrentProgress->Bar->maximum()) +
                   CurrentProgress->Text->text() + " " + form->windowTitle() +
                   (form->windowFlags() & buttons ? " buttons" : "") +
                   (QRect(form->pos(), form->size()) == centre ? " centred " : " ") +
                   About->eNasSpolKB->text();
    });

    // An empty name gets the box even for a known IČO; known IČOs in any letter case are skipped.
    EXPECT_EQ(boxes.Shown(), Boxes({Info("K-101"), Question("Kelbor"), Info("8"), Info("9")}));
    const QString window =
        " prebieha import z programu \"Zivena - Kelbor\"... Vozopis centred " + program.folder.File("kb");
    EXPECT_EQ(progress, QStringList({"1/9" + window, "3/9" + window, "8/9" + window, "9/9" + window}));
    // Every field in its column, and the driver and year of the second Doprava belong to it.
    const QString year = " " + CurrentYearText();
    EXPECT_EQ(
        Column("SELECT printf('%d %s %s|%s|%s|%s|%s|%s|%s|%s%s%s|%s%s', z.id, nazov, ico, dic, osoba, "
               "ulica, mesto, psc, stat, platca, fo, po, meno, ' ' || rok) FROM zakaznici z LEFT JOIN "
               "vodic v ON v.id_zakaznik = z.id LEFT JOIN roky r ON r.id_zakaznik = z.id ORDER BY z.id"),
        QStringList({"1 Doprava sk777||||||||",
                     "2 Stavby 36123456|SK2020|Ján|Hlavná 1|Žilina|010 01|SR|101|Stavby" + year,
                     "3 " + quoted + " 111|||||||111|" + quoted + year,
                     "4 Nová 444||||Košice|||010|Nová" + year, "5 Doprava 222|333||||||000|Doprava" + year}));
}

TEST_F(CustomerImportTest, EachProgramAsksOnceAndNoLeavesOnlyThatProgramOut) {
    // The Kelbor folder with a trailing separator, the Tamrik one without: both name their file.
    CustomerFile("kb", "[1]\nnazov=Kelborský\nICO=AB12\n");
    CustomerFile("tr", "[7]\nnazov=Tamrikový\nICO=555\n");
    Cooperation(true, "kb/");
    boxes.Answer(ID_NO);
    boxes.Answer(ID_YES);
    Show();
    EXPECT_EQ(boxes.Shown(), Boxes({Question("Kelbor"), Question("Tamrik")}));
    EXPECT_EQ(Customers(), QStringList("1 Tamrikový 555"));

    // The next start offers the declined customer again; the second pass knows it then, in any case.
    CustomerFile("tr", "[7]\nnazov=Tamrikový\nICO=555\n[9]\nnazov=Kelborský\nICO=ab12\n");
    program.Restart();
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.Shown(), Boxes({Question("Kelbor"), Question("Tamrik"), Question("Kelbor")}));
    EXPECT_EQ(Customers(), QStringList({"1 Tamrikový 555", "2 Kelborský AB12"}));
}

TEST_F(CustomerImportTest, AFailingProgramIsRolledBackAndReportedAndStartUpGoesOnAfterTheImport) {
    CreateTableVodic();
    Db->Execute("CREATE TRIGGER odmietni BEFORE INSERT ON vodic WHEN NEW.meno = 'Zlá' "
                "BEGIN SELECT RAISE(ABORT, 'vodic odmietnuty'); END");
    WriteSetting("last", "vybzakid", "1");
    WriteSetting("last", "vybzakrok", CurrentYearText());
    CustomerFile("kb", "[1]\nnazov=Dobrá\nICO=1\n[2]\nnazov=Zlá\nICO=2\n");
    CustomerFile("tr", "[1]\nnazov=Tamrik\nICO=3\n");
    Cooperation(true);
    SelectedCustomerId.clear();
    Show();

    const Boxes shown = boxes.Shown();
    EXPECT_TRUE(shown.size() == 3 && shown[1].flags == 16 && shown[1].text.endsWith(": vodic odmietnuty."));
    EXPECT_EQ(Boxes({shown.at(0), shown.at(2)}), Boxes({Question("Kelbor"), Question("Tamrik")}));
    EXPECT_EQ(Customers(), QStringList("1 Tamrik 3")) << "Dobrá went back with Zlá";
    // The last selection and the list come after the import: the customer imported in this run.
    EXPECT_EQ(SelectedCustomerId, "1");
    EXPECT_EQ(GridColumn(program.form->MainScreen->sgMain, 1), QStringList("Tamrik"));
}

TEST_F(CustomerImportTest, Utf8FilesAreReadAsUtf8AndACharacterWindows1250CannotHoldLeavesOnlyItsCustomerOut) {
    // Kelbor writes UTF-8 after a byte-order mark, Tamrik without one.
    QDir().mkpath(program.folder.File("kb/Data"));
    QDir().mkpath(program.folder.File("tr/Data"));
    WriteFileBytes(program.folder.File("kb/Data/zakaznici.zvn"),
                   "\xEF\xBB\xBF" +
                       QStringLiteral("[K-1]\r\nnazov=Иван s.r.o.\r\nICO=10\r\n[K-2]\r\nnazov=Košická\r\n"
                                      "ICO=20\r\nmesto=Žilina\r\n[K-3]\r\nnazov=Auto\r\nICO=30\r\n"
                                      "osoba=Ján 🚗\r\n")
                           .toUtf8());
    WriteFileBytes(
        program.folder.File("tr/Data/zakaznici.zvn"),
        QStringLiteral("[T-1]\r\nnazov=Tatry\r\nICO=40\r\nulica=Štúrova\r\n[T-2]\r\nnazov=Omega\r\n"
                       "ICO=50\r\nIC=SK\r\nDIC=12Ω\r\n[T-3]\r\nnazov=Ivan\r\nICO=10\r\n")
            .toUtf8());
    Cooperation(true);
    Show();

    // A pair of UTF-16 halves is named whole.
    EXPECT_EQ(boxes.Shown(), Boxes({Refused("K-1", "Kelbor", "nazov", "И"), Question("Kelbor"),
                                    Refused("K-3", "Kelbor", "osoba", "🚗"), Question("Tamrik"),
                                    Refused("T-2", "Tamrik", "DIC", "Ω")}));
    EXPECT_EQ(Column("SELECT printf('%d %s %s|%s|%s', id, nazov, ico, ulica, mesto) FROM zakaznici"),
              QStringList({"1 Košická 20||Žilina", "2 Tatry 40|Štúrova|", "3 Ivan 10||"}));
    EXPECT_EQ(Column("SELECT meno || ' ' || id_zakaznik FROM vodic ORDER BY id"),
              QStringList({"Košická 1", "Tatry 2", "Ivan 3"}));
}

namespace {
// A customer file without a byte-order mark, and what the import makes of it.
struct TUnmarkedFile {
    const char* name;
    QByteArray bytes;
    QStringList customers;
    Boxes boxes;
};

void PrintTo(const TUnmarkedFile& file, std::ostream* os) {
    *os << file.name;
}

class UnmarkedFileTest : public CustomerImportTest, public ::testing::WithParamInterface<TUnmarkedFile> {};
} // namespace

// Windows-1250 text is taken for UTF-8 only when it reads as text to its last byte.
TEST_P(UnmarkedFileTest, IsReadInTheCodeItWasWrittenIn) {
    QDir().mkpath(program.folder.File("kb/Data"));
    WriteFileBytes(program.folder.File("kb/Data/zakaznici.zvn"), GetParam().bytes);
    Cooperation(false);
    Show();
    EXPECT_EQ(boxes.Shown(), GetParam().boxes);
    EXPECT_EQ(Customers(), GetParam().customers);
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnmarkedFileTest,
    ::testing::Values(
        // Its only byte beyond ASCII ends the file, as a lead byte of UTF-8 would.
        TUnmarkedFile{"AnsiEndingInAnUnfinishedSequence",
                      "[K-1]\r\nICO=101\r\nnazov=" + ToAnsi("Jana Nová"),
                      {"1 Jana Nová 101"},
                      {Question("Kelbor")}},
        // Í and Ž form a UTF-8 pair: a combining mark.
        TUnmarkedFile{"AnsiCapitalBeforeZCaron",
                      "[K-1]\r\nnazov=" + ToAnsi("NÍŽINA") + "\r\nICO=102\r\n",
                      {"1 NÍŽINA 102"},
                      {Question("Kelbor")}},
        // Ú and ž form a UTF-8 pair: an Arabic letter.
        TUnmarkedFile{"AnsiCapitalBeforeSmallZCaron",
                      "[K-1]\r\nnazov=" + ToAnsi("Úžitok") + "\r\nICO=103\r\n",
                      {"1 Úžitok 103"},
                      {Question("Kelbor")}},
        TUnmarkedFile{"Utf8",
                      QStringLiteral("[K-1]\r\nnazov=Košice\r\nICO=1\r\n[K-2]\r\nnazov=Žilina\r\nICO=2\r\n"
                                     "[K-3]\r\nnazov=Иван\r\nICO=3")
                          .toUtf8(),
                      {"1 Košice 1", "2 Žilina 2"},
                      {Question("Kelbor"), Refused("K-3", "Kelbor", "nazov", "И")}}),
    [](const ::testing::TestParamInfo<TUnmarkedFile>& info) { return std::string(info.param.name); });

namespace {
// Another program on the same database file: it never waits for a lock.
class OtherConnection {
public:
    OtherConnection() {
        sqlite3_open(DatabasePath.toUtf8().constData(), &db_);
        sqlite3_busy_timeout(db_, 0);
    }
    ~OtherConnection() { sqlite3_close(db_); }
    int Run(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

private:
    sqlite3* db_ = nullptr;
};
} // namespace

TEST_F(CustomerImportTest, NoWriteLockIsHeldWhileABoxWaitsAndACustomerStoredMeanwhileIsNotDoubled) {
    CustomerFile("kb", "[1]\nnazov=\nICO=1\n[2]\nnazov=Nový\nICO=2\n[3]\nnazov=Tretí\nICO=3\n");
    Cooperation(false);
    OtherConnection other;
    QList<int> begun;
    Show([&](const QString& text) {
        begun << other.Run("BEGIN IMMEDIATE");
        // While the question waits, the other program stores the third customer.
        if (text.startsWith("V databáze"))
            other.Run("INSERT INTO zakaznici (nazov, ico) VALUES ('Iny program', '3')");
        other.Run("COMMIT");
    });

    EXPECT_EQ(boxes.Shown(), Boxes({Info("1"), Question("Kelbor")}));
    EXPECT_EQ(begun, QList<int>({SQLITE_OK, SQLITE_OK}));
    EXPECT_EQ(Customers(), QStringList({"1 Iny program 3", QStringLiteral("2 Nový 2")}));
    EXPECT_EQ(Column("SELECT meno || ' ' || id_zakaznik FROM vodic"), QStringList(QStringLiteral("Nový 2")));
}

namespace {
// The cooperation switches before the start: a key's value or nullptr for a missing key, and the
// support window's check box.
struct TSwitches {
    const char* name;
    const char* kelbor;
    bool kelborBox;
    const char* tamrik;
    bool tamrikBox;
    const char* imported; // names, ' ' between them
};

void PrintTo(const TSwitches& switches, std::ostream* os) {
    *os << switches.name;
}

class CooperationTest : public CustomerImportTest, public ::testing::WithParamInterface<TSwitches> {};
} // namespace

// Each program by its own key; a missing key keeps what the support window's box shows.
TEST_P(CooperationTest, EachProgramIsSwitchedByItsOwnKeyOrByItsBoxWhenTheKeyIsMissing) {
    const TSwitches& s = GetParam();
    CustomerFile("kb", "[1]\nnazov=Kelbor\nICO=1\n");
    CustomerFile("tr", "[1]\nnazov=Tamrik\nICO=2\n");
    WriteSetting("general", "SpolKBpath", program.folder.File("kb"));
    WriteSetting("general", "SpolTRpath", program.folder.File("tr"));
    if (s.kelbor)
        WriteSetting("general", "SpolKB", s.kelbor);
    if (s.tamrik)
        WriteSetting("general", "SpolTR", s.tamrik);
    About->chbNasSpolKB->setChecked(s.kelborBox);
    About->chbNasSpolTR->setChecked(s.tamrikBox);
    Show();
    EXPECT_EQ(Column("SELECT nazov FROM zakaznici ORDER BY id").join(' '), s.imported);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, CooperationTest,
    ::testing::Values(TSwitches{"KelborMissingBoxOff", nullptr, false, "1", false, "Tamrik"},
                      TSwitches{"KelborMissingBoxOn", nullptr, true, nullptr, false, "Kelbor"},
                      TSwitches{"TamrikMissingBoxOn", "0", true, nullptr, true, "Tamrik"},
                      TSwitches{"KelborOnTamrikOff", "1", false, "0", true, "Kelbor"}),
    [](const ::testing::TestParamInfo<TSwitches>& info) { return std::string(info.param.name); });
