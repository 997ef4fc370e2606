#include <QApplication>
#include <QProgressBar>

#include "CustomerImport.h"
#include "DateTime.h"
#include "Encoding.h"
#include "GeneralUnit.h"
#include "GridHelpers.h"
#include "ProgramFixture.h"

namespace {
const QString Kelbor = "Zivena - Kelbor";
const QString Tamrik = "Zivena - Tamrik";

QString InfoText(const QString& section, const QString& product) {
    return QStringLiteral("V zakaznikovi s ID \"%1\" v programe \"%2\" nie je zadané IČO alebo názov. "
                          "Zákazníka nie je možné importovať.")
        .arg(section, product);
}

QString Question(const QString& product) {
    return QStringLiteral("V databáze zákazníkov v programe \"%1\" boli nájdené údaje, ktoré nemáte "
                          "importované. Prajete si tieto údaje importovať?")
        .arg(product);
}

// What the import's progress window showed when a box came up.
struct ProgressSeen {
    int position = -1;
    int maximum = -1;
    QString text;
    QString title;
    Qt::WindowFlags flags;
    QRect geometry;
};

// The program before its first showing, with customer files of the two accounting programs in
// folders "kb" and "tr" of the program folder. Every box is recorded, along with the state of the
// progress window at that moment.
class CustomerImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateTableZakaznici();
        previous = SetMessageBoxHook([this](const QString& text, const QString& caption, int flags) {
            ProgressSeen seen;
            if (CurrentProgress) {
                QWidget* window = CurrentProgress->Form;
                seen = {CurrentProgress->Bar->value(), CurrentProgress->Bar->maximum(),
                        CurrentProgress->Text->text(), window->windowTitle(),
                        window->windowFlags(),         QRect(window->pos(), window->size())};
            }
            progress.push_back(seen);
            return previous(text, caption, flags);
        });
    }
    void TearDown() override { SetMessageBoxHook(previous); }

    // A customer file in Windows-1250 with CR LF, one section per entry.
    void CustomerFile(const QString& folder, const QList<QPair<QString, QStringList>>& sections) {
        QDir().mkpath(program.folder.File(folder + "/Data"));
        QString text;
        for (const auto& [name, entries] : sections) {
            text += "[" + name + "]\r\n";
            for (const QString& entry : entries)
                text += entry + "\r\n";
        }
        WriteFileBytes(program.folder.File(folder + "/Data/zakaznici.zvn"), ToAnsi(text));
    }
    // Cooperation switches and folders; a folder is given as its setting reads.
    void Cooperation(bool kb, bool tr, const QString& kbPath = "", const QString& trPath = "") {
        WriteSetting("general", "SpolKB", kb ? "1" : "0");
        WriteSetting("general", "SpolTR", tr ? "1" : "0");
        WriteSetting("general", "SpolKBpath", kbPath.isEmpty() ? program.folder.File("kb") : kbPath);
        WriteSetting("general", "SpolTRpath", trPath.isEmpty() ? program.folder.File("tr") : trPath);
    }
    void Show() {
        program.form->show();
        QCoreApplication::processEvents();
    }
    QStringList Customers() {
        return Column("SELECT id || ' ' || nazov || ' ' || ico FROM zakaznici ORDER BY id");
    }
    QStringList MainScreenNames() { return GridColumn(program.form->MainScreen->sgMain, 1); }
    const ShownBox& Box(size_t i) { return boxes.Shown().at(i); }

    MessageBoxRecorder boxes{ID_YES};
    StartedProgram program;
    MessageBoxHook previous;
    std::vector<ProgressSeen> progress;
};
} // namespace

TEST_F(CustomerImportTest, ANewCustomerIsAskedForOnceAndGetsTheYearAndADriver) {
    Db->Execute("INSERT INTO zakaznici (nazov, ico) VALUES ('Stará firma', 'sk777')");
    CustomerFile("kb",
                 {{"K-101", {"ICO=123", "osoba=bez názvu"}},
                  {"K-102", {QStringLiteral("nazov=Stará firma s novým názvom"), "ICO=SK777"}},
                  {"K-103",
                   {QStringLiteral("nazov=Stavby Žilina"), "ICO=36123456", "IC=SK", "DIC=2020123456",
                    QStringLiteral("osoba=Ján Šťastný"), QStringLiteral("ulica=Hlavná 1"),
                    QStringLiteral("mesto=Žilina"), "PSC=010 01", "stat=SR", "platcaDPH=x", "fo=", "po=X"}}});
    Cooperation(true, false);
    Show();

    ASSERT_EQ(boxes.Shown().size(), 2u) << boxes.Texts().join(" | ").toStdString();
    EXPECT_EQ(Box(0).text, InfoText("K-101", Kelbor));
    EXPECT_EQ(Box(0).caption, "Vozopis");
    EXPECT_EQ(Box(0).flags, 64);
    EXPECT_EQ(Box(1).text, Question(Kelbor));
    EXPECT_EQ(Box(1).flags, 36);

    // The progress window steps once per section, the known one included.
    EXPECT_EQ(progress.at(0).position, 1);
    EXPECT_EQ(progress.at(1).position, 3);
    EXPECT_EQ(progress.at(1).maximum, 3);
    EXPECT_EQ(progress.at(0).text, QStringLiteral("prebieha import z programu \"Zivena - Kelbor\"..."));
    EXPECT_EQ(progress.at(0).title, "Vozopis");
    EXPECT_FALSE(progress.at(0).flags.testAnyFlags(Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));
    EXPECT_EQ(progress.at(0).geometry, QRect((ScreenWidth - 400) / 2, (ScreenHeight - 100) / 2, 400, 100))
        << "400 x 100 in the middle of the screen";
    EXPECT_EQ(CurrentProgress, nullptr);
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_NE(window->objectName(), "ImportProgress") << "the progress window is gone";

    EXPECT_EQ(Customers(), QStringList({QStringLiteral("1 Stará firma sk777"),
                                        QStringLiteral("2 Stavby Žilina 36123456")}))
        << "a known customer is never changed";
    EXPECT_EQ(
        Column("SELECT dic || '|' || osoba || '|' || ulica || '|' || mesto || '|' || psc || '|' || stat || "
               "'|' || platca || fo || po FROM zakaznici WHERE id = 2"),
        QStringList(QStringLiteral("SK2020123456|Ján Šťastný|Hlavná 1|Žilina|010 01|SR|101")));
    EXPECT_EQ(Column("SELECT rok || ' ' || id_zakaznik FROM roky"), QStringList(CurrentYearText() + " 2"));
    EXPECT_EQ(Column("SELECT meno || ' ' || id_zakaznik FROM vodic"),
              QStringList(QStringLiteral("Stavby Žilina 2")));
    EXPECT_FALSE(Db->InTransaction());
    EXPECT_EQ(MainScreenNames(),
              QStringList({QStringLiteral("Stará firma"), QStringLiteral("Stavby Žilina")}));
}

TEST_F(CustomerImportTest, ValuesAreStoredAsWrittenAndTheYearGoesToTheRowJustInserted) {
    Db->Execute("INSERT INTO zakaznici (nazov, ico) VALUES ('Doprava', '999')");
    const QString quoted = QStringLiteral("Auto \"Rýchly\" O'Neil");
    CustomerFile("kb", {{"1", {"nazov=" + quoted, "ICO=111", "platcaDPH=X", "fo=x", "po=x"}},
                        {"2", {"nazov=Dvojník", "ICO=111"}},
                        {"3", {"nazov=Doprava", "ICO=222", "DIC=333", "platcaDPH=1", "fo=xx", "po=ano"}},
                        {"4", {"nazov=", "ICO=999"}},
                        {"5", {"nazov=Bez IČO"}}});
    Cooperation(true, false);
    Show();

    EXPECT_EQ(boxes.Texts(), QStringList({Question(Kelbor), InfoText("4", Kelbor), InfoText("5", Kelbor)}))
        << "a known IČO with an empty name still gets the box; the second 111 is skipped silently";
    EXPECT_EQ(Customers(), QStringList({"1 Doprava 999", "2 " + quoted + " 111", "3 Doprava 222"}));
    EXPECT_EQ(Column("SELECT id || ':' || dic || ':' || platca || fo || po FROM zakaznici WHERE id > 1"),
              QStringList({"2::111", "3:333:000"}));
    EXPECT_EQ(Column("SELECT meno || ' ' || id_zakaznik FROM vodic ORDER BY id_zakaznik"),
              QStringList({quoted + " 2", "Doprava 3"}))
        << "the driver of the second Doprava belongs to it, not to the first";
    EXPECT_EQ(Column("SELECT id_zakaznik FROM roky ORDER BY id_zakaznik"), QStringList({"2", "3"}));
}

TEST_F(CustomerImportTest, EachProgramAsksOnceAndNoLeavesOnlyThatProgramOut) {
    // The Kelbor folder with a trailing separator, the Tamrik one without: both name their file.
    CustomerFile("kb", {{"1", {"nazov=Kelborský", "ICO=AB12"}}});
    CustomerFile("tr", {{"7", {"nazov=Tamrikový", "ICO=555"}}, {"8", {"nazov=Tamrikový 2", "ICO=556"}}});
    Cooperation(true, true, program.folder.File("kb/"), program.folder.File("tr"));
    boxes.Answer(ID_NO);
    boxes.Answer(ID_YES);
    Show();
    EXPECT_EQ(boxes.Texts(), QStringList({Question(Kelbor), Question(Tamrik)}));
    EXPECT_EQ(Customers(),
              QStringList({QStringLiteral("1 Tamrikový 555"), QStringLiteral("2 Tamrikový 2 556")}));

    // The next start offers the declined customer again. Tamrik's file now holds it too, in other
    // letter case: the first pass's customers are known to the second, which then has nothing new.
    CustomerFile("tr", {{"7", {"nazov=Tamrikový", "ICO=555"}}, {"9", {"nazov=Kelborský", "ICO=ab12"}}});
    program.Restart();
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.Texts(), QStringList({Question(Kelbor), Question(Tamrik), Question(Kelbor)}));
    EXPECT_EQ(Customers().value(2), QStringLiteral("3 Kelborský AB12"));
    EXPECT_EQ(Customers().size(), 3);
}

TEST_F(CustomerImportTest, CooperationOffReadsNothingAndShowsNothing) {
    CustomerFile("kb", {{"1", {"nazov=Firma", "ICO=1"}}});
    CustomerFile("tr", {{"1", {"nazov=Firma", "ICO=1"}}});
    Cooperation(false, false);
    int windows = 0;
    struct Filter : QObject {
        int* count;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Show && watched->objectName() == "ImportProgress")
                ++*count;
            return false;
        }
    } filter;
    filter.count = &windows;
    qApp->installEventFilter(&filter);
    Show();
    qApp->removeEventFilter(&filter);
    EXPECT_EQ(windows, 0);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(Customers().isEmpty());

    // Switched on with a folder that holds no customer file: the window shows, nothing else.
    Cooperation(true, false, program.folder.File("nowhere"));
    qApp->installEventFilter(&filter);
    program.Restart();
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&filter);
    EXPECT_EQ(windows, 1);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(CustomerImportTest, AFailingProgramIsRolledBackReportedOnceAndStartUpGoesOn) {
    Db->Execute("INSERT INTO zakaznici (nazov, ico) VALUES ('Doprava', '999')");
    CreateTableVodic();
    Db->Execute("CREATE TRIGGER odmietni BEFORE INSERT ON vodic WHEN NEW.meno = 'Zlá' "
                "BEGIN SELECT RAISE(ABORT, 'vodic odmietnuty'); END");
    WriteSetting("last", "vybzakid", "1");
    WriteSetting("last", "vybzakrok", CurrentYearText());
    CustomerFile("kb", {{"1", {"nazov=Dobrá", "ICO=1"}}, {"2", {QStringLiteral("nazov=Zlá"), "ICO=2"}}});
    CustomerFile("tr", {{"1", {"nazov=Tamrik", "ICO=3"}}});
    CreateTableRoky();
    Db->Execute("INSERT INTO roky (rok, id_zakaznik) VALUES (" + CurrentYearText() + ", 1)");
    Cooperation(true, true);
    SelectedCustomerId.clear();
    Show();

    ASSERT_EQ(boxes.Shown().size(), 3u) << boxes.Texts().join(" | ").toStdString();
    EXPECT_EQ(Box(0).text, Question(Kelbor));
    EXPECT_EQ(Box(1).flags, 16);
    EXPECT_TRUE(Box(1).text.contains(QStringLiteral("vodic odmietnuty"))) << Box(1).text.toStdString();
    EXPECT_EQ(Box(2).text, Question(Tamrik));
    EXPECT_FALSE(Db->InTransaction());
    EXPECT_EQ(Customers(), QStringList({"1 Doprava 999", "2 Tamrik 3"})) << "Dobrá went back with Zlá";
    EXPECT_EQ(SelectedCustomerId, "1") << "the last selection is restored after the import";
    EXPECT_EQ(MainScreenNames(), QStringList({"Doprava", "Tamrik"}));
}

TEST_F(CustomerImportTest, FirstShowImportsAfterTheLanguageAndSettingsAndBeforeTheListAndSelection) {
    QDir().mkpath(program.folder.File("Data/Languages"));
    WriteFileBytes(program.folder.File("Data/Languages/Vozopis - SK.lng"),
                   ToAnsi(QStringLiteral("[Form1]\r\nKoniec1=%&Ukončiť%\r\n")));
    CustomerFile("kb", {{"1", {"nazov=Nová firma", "ICO=42"}}});
    Cooperation(true, false);
    WriteSetting("last", "vybzakid", "1");
    WriteSetting("last", "vybzakrok", CurrentYearText());

    // What the window showed when the import asked its question.
    QString menuCaption, kelborFolder;
    bool kelborChecked = false;
    const MessageBoxHook recorder = SetMessageBoxHook(nullptr);
    SetMessageBoxHook([&](const QString& text, const QString& caption, int flags) {
        menuCaption = program.form->Koniec1->text();
        kelborChecked = About->chbNasSpolKB->isChecked();
        kelborFolder = About->eNasSpolKB->text();
        return recorder(text, caption, flags);
    });
    SelectedCustomerId.clear();
    Show();
    SetMessageBoxHook(recorder);

    EXPECT_EQ(boxes.Texts(), QStringList(Question(Kelbor)));
    EXPECT_EQ(menuCaption, QStringLiteral("&Ukončiť")) << "the language is applied first";
    EXPECT_TRUE(kelborChecked);
    EXPECT_EQ(kelborFolder, program.folder.File("kb")) << "the settings reach the support window";
    EXPECT_EQ(MainScreenNames(), QStringList(QStringLiteral("Nová firma")));
    EXPECT_EQ(SelectedCustomerId, "1") << "the customer imported in this run is the last one selected";
    EXPECT_EQ(SelectedYear, CurrentYearText());
}
