#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "Encoding.h"
#include "GeneralUnit.h"
#include "LANUnit.h"
#include "ProgramFixture.h"
#include "SupportFixture.h"
#include "UpdateServer.h"
#include "VersionBlock.h"

namespace {
const QString Installer = "https://www.molvek.sk/download/vozopis/setup.exe";
const QString InstallerQuestion =
    QStringLiteral("Prajete si stiahnuť inštalačný súbor, z ktorého program nainštalujete manuálne neskôr?");

QByteArray Lines(const QStringList& lines) {
    return ToAnsi(lines.join("\r\n") + "\r\n");
}

QByteArray ProgramWithVersion(const char* version) {
    return QByteArray("#!/bin/sh\n# ") + VERSION_BLOCK_MARKER + version + QByteArray(1, '\0') + "\n";
}

// A program folder holding version 0.89 (build 64) and a download area offering 0.90 and 0.91.
struct UpdateArea {
    UpdateArea() {
        SetConnectedHook([this] { return online; });
        SetProgramEndHook([this] { ++ended; });
        WriteFileBytes(folder.File("Vozopis"), ProgramWithVersion("0.8.9.64"));
        Index({"00089 0.89 (build 64)", "00090 0.90 (build 70)", "00091 0.91 (build 75)"});
        Notes("00090", "0.90 (build 70)", {"Oprava tlače", "", "Nové zostavy"});
        Notes("00091", "0.91 (build 75)", {"Rýchlejší štart"});
        server.Put("molvekupd/index.inst", Lines({"1.00 (build 5)", "A"}));
        server.Put("molvekupd/MolvekUPDA.exe", "#!/bin/sh\n");
    }
    ~UpdateArea() {
        SetConnectedHook({});
        SetProgramEndHook({});
    }

    void Index(const QStringList& lines) { server.Put("vozopis/index.inst", Lines(lines)); }
    void Notes(const QString& code, const QString& version, const QStringList& notes,
               const QString& installer = Installer) {
        const QString counter = server.Area() + "count.php?f=http://www.molvek.sk/download/vozopis/setup";
        server.Put(
            "vozopis/" + code + ".inst",
            Lines(QStringList{"[notes]", version, "01.03.2024", counter + code + ".exe", installer} + notes));
    }
    void Check(bool showMessages = true) {
        CheckForUpdate(showMessages, folder.File("Vozopis"), "Vozopis.exe", "vozopis", "Vozopis", &form);
    }
    // What the check left in the program folder besides the program.
    QStringList Left() const { return FilesBelow(folder.Path()).filter(QRegularExpression("^(?!Vozopis$)")); }
    static QString Listed(const QString& version, const QStringList& notes) {
        return "\r\n" +
               (QStringList{"", "", "[" + version + "]", "(dátum vydania: 01.03.2024)", "-----"} + notes)
                   .join("\r\n");
    }
    inline static const QString UpdaterLine =
        QStringLiteral("\r\n\r\n\r\n+ Vyšla nová verzia aktualizačného programu \"MolvekUPD\".");

    DownloadAreaServer server;
    TempProgramFolder folder;
    MessageBoxRecorder boxes;
    QWidget form;
    bool online = true;
    int ended = 0;
};

struct UpdateCheckTest : UpdateArea, ::testing::Test {};

TEST(UpdateCheckCounter, TheCounterAddressIsTheLineUpToItsFirstEmbeddedAddressAndItsLastSegment) {
    const std::pair<QString, QString> cases[] = {
        {"http://a.sk/c.php?f=http://b.sk/d/setup91.exe", "http://a.sk/c.php?f=setup91.exe"},
        {"http://a.sk/c.php?f=http://b.sk/x?g=http://c.sk/s.exe", "http://a.sk/c.php?f=s.exe"},
        {"http://a.sk/c.php?f=http://b.sk/d\\win\\s.exe", "http://a.sk/c.php?f=s.exe"},
        {"http://a.sk/c.php?f=http://b.sk:8080", "http://a.sk/c.php?f=8080"},
        {"http://a.sk/c.php?f=HTTP://b.sk/s.exe", "s.exe"},
        {"http://a.sk/c.php?f=https://b.sk/s.exe", "s.exe"},
        {"count.php?f=setup89.exe", "count.php?f=setup89.exe"},
    };
    for (const auto& [line, address] : cases)
        EXPECT_EQ(CounterAddress(line), address) << line.toStdString();
}

// The own version 0.89 (build 6) is also in "0.89 (build 64)": the first line holding it counts. The notes of
// 0.92 are their five lines alone, with no change listed.
TEST_F(UpdateCheckTest, TheFourNewestVersionsAboveTheOwnLineAreListedAndOnlyAWebInstallerIsOpened) {
    WriteFileBytes(folder.File("Vozopis"), ProgramWithVersion("0.8.9.6"));
    QStringList index{"00088 0.89 (build 6)" + QString(44, ' '), "00089 0.89 (build 64)"}; // the longest line
    QString question =
        "Vyšla nová verzia programu \"Vozopis\". Nová verzia je \"[v 0.94 (build 74)]\" a vaša "
        "verzia je \"[v 0.89 (build 6)]\". Prajete si automaticky stiahnuť a nainštalovať novú "
        "verziu programu?";
    for (int i = 4; i >= 0; --i) {
        const QString version = QStringLiteral("0.9%1 (build %2)").arg(i).arg(70 + i);
        index.insert(2, QStringLiteral("0009%1 ").arg(i) + version);
        const QString change = "zmena " + QString::number(i);
        Notes(QStringLiteral("0009%1").arg(i), version,
              i == 2 ? QStringList() : QStringList{change, "", "oprava"},
              i == 4 ? "/bin/sh" : Installer); // a local program is never started from a notes file
        question += i ? Listed(version, i == 2 ? QStringList() : QStringList{change, "oprava"}) : UpdaterLine;
    }
    Index(index);
    ShellRecorder shell;
    boxes.Answer(ID_NO);
    boxes.Answer(ID_YES);
    Check(false); // the two questions come also without messages
    EXPECT_EQ(boxes.Shown(), Boxes({{question, "Vozopis", 68}, {InstallerQuestion, "Vozopis", 36}}));
    EXPECT_FALSE(server.Log().contains("GET /download/vozopis/00090.inst "));
    EXPECT_EQ(shell.Opened(), QStringList());
    EXPECT_EQ(ended, 0);
}

TEST_F(UpdateCheckTest, AcceptedUpdateHandsOverToTheStartedUpdaterAndEndsTheProgram) {
    ShellRecorder shell;
    form.resize(800, 600);
    QRect panel; // the first events run inside the updater download: its taller panel is up on the form
    QTimer::singleShot(0, [&] {
        if (CurrentProgress && CurrentProgress->Panel->isVisibleTo(&form))
            panel = CurrentProgress->Panel->geometry();
        Check(); // a second check while one runs returns at once
    });
    boxes.Answer(ID_YES);
    Check();
    EXPECT_EQ(panel, QRect(200, 240, 400, 120));
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(ReadFileBytes(folder.File("inst.inst")) + ReadFileBytes(folder.File("updating.temp")),
              "vozopis\r\nVozopis\r\nVozopis.exe\r\nvozopis00091.inst\r\n0.91 (build 75)\r\n");
    EXPECT_TRUE(QFileInfo(folder.File("Data/MolvekUPD.exe")).isExecutable());
    EXPECT_TRUE(server.Log().contains("GET /download/count.php?f=setup00091.exe "));
    EXPECT_EQ(Left(), QStringList({"Data/MolvekUPD.exe", "inst.inst", "updating.temp"}));

    // An updater of the site's version is neither announced nor downloaded; an older or a newer one is.
    const QByteArray updater = ProgramWithVersion("1.0.0.5");
    WriteFileBytes(folder.File("Data/MolvekUPD.exe"), updater);
    server.Put("molvekupd/index.inst", Lines({"1.00 (build 5)"})); // no download name needed
    boxes.Answer(ID_YES);
    Check();
    EXPECT_EQ(ReadFileBytes(folder.File("Data/MolvekUPD.exe")), updater);
    server.Put("molvekupd/index.inst", Lines({"1.00 (build 4)", "B"})); // the one in place is newer
    boxes.Answer(ID_NO);
    boxes.Answer(ID_NO);
    Check();
    server.Put("molvekupd/index.inst", Lines({"1.00 (build 6)", "B"}));
    boxes.Answer(ID_NO);
    boxes.Answer(ID_YES);
    Check();
    const QString question = boxes.Shown()[0].text;
    EXPECT_EQ(boxes.Texts(), QStringList({question, question.chopped(UpdaterLine.size()), question,
                                          InstallerQuestion, question, InstallerQuestion}));
    EXPECT_EQ(shell.Opened(),
              QStringList({folder.File("Data/MolvekUPD.exe"), folder.File("Data/MolvekUPD.exe"), Installer}));

    // A failed updater download raises its error and hands nothing over.
    QFile::remove(folder.File("inst.inst"));
    boxes.Answer(ID_YES);
    EXPECT_EQ(ErrorOf([&] { Check(); }),
              "Error downloading URL: " + server.Area() + "molvekupd/MolvekUPDB.exe");
    EXPECT_EQ(Left(), QStringList({"Data/MolvekUPD.exe", "updating.temp"}));
    EXPECT_FALSE(UpdateRunning);
}

// The updater in place is read for its version only when it is a regular file: anything else is
// replaced by the download, without waiting on a FIFO or reading a device whole.
TEST_F(UpdateCheckTest, AnUpdaterThatIsNoRegularFileIsReplacedWithoutBeingRead) {
    ShellRecorder shell;
    const QString updater = folder.File("Data/MolvekUPD.exe");
    QDir().mkdir(folder.File("Data"));
    for (const bool fifo : {true, false}) {
        SCOPED_TRACE(fifo);
        std::optional<FifoRescue> rescue;
        if (fifo)
            rescue.emplace(updater);
        else
            QFile::link("/dev/zero", updater);
        boxes.Answer(ID_YES);
        Check();
        EXPECT_TRUE(boxes.Shown().back().text.endsWith(UpdaterLine));
        EXPECT_EQ(ReadFileBytes(updater), "#!/bin/sh\n");
        EXPECT_EQ(rescue ? int(rescue->readers) : 0, 0) << "the check waited on the FIFO";
        QFile::remove(updater);
    }
    EXPECT_EQ(shell.Opened(), QStringList({updater, updater}));
    EXPECT_EQ(ended, 2);
}

// The updater reads the program's name from a line of inst.inst: a name that the line cannot hold is
// refused after the question, before anything is counted, fetched, written or started.
TEST_F(UpdateCheckTest, AProgramNameThatALineOfTheHandOverCannotHoldIsRefused) {
    ShellRecorder shell;
    const QString refusal = "Názov súboru programu \"%1\" obsahuje znak \"%2\", ktorý nie je možné zapísať "
                            "do súboru inst.inst.";
    for (const QString bad : {"\n", "☺"}) {
        SCOPED_TRACE(bad.toStdString());
        const QString name = "Vozo" + bad + "pis";
        WriteFileBytes(folder.File(name), ProgramWithVersion("0.8.9.64"));
        boxes.Answer(ID_YES);
        CheckForUpdate(true, folder.File(name), "Vozopis.exe", "vozopis", "Vozopis", &form);
        EXPECT_EQ(boxes.Shown().back(), ShownBox({refusal.arg(name, bad), "Vozopis", 16}));
        QStringList programs{"Vozopis", name};
        programs.sort();
        EXPECT_EQ(FilesBelow(folder.Path()), programs);
        QFile::remove(folder.File(name));
    }
    EXPECT_EQ(boxes.Shown().size(), 4u);
    EXPECT_FALSE(server.Log().contains("count.php")) << "no download was counted";
    EXPECT_FALSE(server.Log().contains("MolvekUPD"));
    EXPECT_EQ(shell.Opened(), QStringList());
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(UpdateRunning);
}

// Each case changes one file of the download area (none: offline; null: removed, a stale copy kept).
TEST(UpdateCheckEndings, EveryEndingBeforeTheQuestionShowsItsMessageOnlyWithMessagesAndLeavesNothing) {
    const QString offline = "Pre zistenie novej verzie programu \"Vozopis\" musíte byť pripojený na "
                            "internet!\rPripojte sa na internet a pokus opakujte.";
    const QString fetch =
        "Nepodarilo sa stiahnuť informácie z internetu (\"%1\"). Operáciu prosím opakujte neskôr.";
    const QString coded = "Nastala neočakávaná chyba č. #0000%1.\rChybu prosím nahláste na e-mail "
                          "(\"podpora@molvek.sk\") . Skontrolujte aktuálnosť verzie vášho programu na "
                          "\"https://www.molvek.sk/\". \r\r";
    const QString broken = "Chyba po načítaní súboru \"%1\". Prosím operáciu opakujte.";
    const QString brokenIndex = coded.arg(1) + broken.arg("index.inst"),
                  brokenUpdater = coded.arg(2) + broken.arg("mvindex.inst");
    const QString unlisted =
        coded.arg(3) + "Nepodarilo sa vyhľadať informácie o vašej verzii programu. Update nemôže pokračovať. "
                       "Vašu verziu nám oznámte cez e-mail (\"podpora@molvek.sk\"). Vaša verzia je \"[v "
                       "0.89 (build 64)]\".";
    const QString newer =
        "Máte novšiu verziu programu \"Vozopis\" ako je oficiálne uvedené na stránke.\rAktuálna "
        "verzia uvedená na stránke je \"[v 0.89 (build 100)]\" a vaša verzia je \"[v 0.89 (build "
        "64)]\" . Prosím informujte sa u nás cez e-mail (\"podpora@molvek.sk\"), či nebola novšia "
        "verzia kôli chybám dočasne stiahnutá z ponuky.\rOdporúča sa stiahnuť verziu uvedenú na "
        "stránke ( https://www.molvek.sk/ ).";
    const QString current =
        "Žiadne nové verzie programu \"Vozopis\" nie su k dispozícii. Vaša verzia je aktuálna.";
    const QString notes = "Nepodarilo sa stiahnuť súbor s informáciami pre niektorú verziu (%1).";
    const QString index = "vozopis/index.inst", updaterIndex = "molvekupd/index.inst";
    const QString own = "00089 0.89 (build 64)";
    const std::tuple<const char*, QString, QByteArray, QString, int> cases[] = {
        {"offline", "", {}, offline, 48},
        {"no index", index, {}, fetch.arg("index.inst"), 64},
        {"empty index", index, "\r\n\r\n", brokenIndex, 16},
        {"version code with a path", index, Lines({own, "../xx 0.99 (build 9)"}), brokenIndex, 16},
        {"overlong line", index, Lines({own, "00091 0.91 (build 75)" + QString(44, ' ')}), brokenIndex, 16},
        // A control character would end the name of a fetched file early, or a line of the hand-over.
        {"version code with a NUL", index, Lines({own, "ab" + QString(QChar(0)) + "cd 2.00 (build 9)"}),
         brokenIndex, 16},
        {"version text with a control character", index, Lines({own, "00091 0.91\x1b(build 75)"}),
         brokenIndex, 16},
        {"site older by number", index, Lines({own, "00100 0.89 (build 100)"}), newer, 64}, // 0.891 < 0.8964
        {"site current", index, Lines({own}), current, 64},
        {"no updater index", updaterIndex, {}, fetch.arg("mvindex.inst"), 64},
        {"empty updater index", updaterIndex, "\r\n", brokenUpdater, 16},
        {"updater without a name", updaterIndex, "1.00 (build 5)\r\n", brokenUpdater, 16},
        {"own version not listed", index, Lines({"00091 0.91 (build 75)"}), unlisted, 16},
        {"no notes", "vozopis/00091.inst", {}, notes.arg("00091.inst"), 16},
        {"short notes", "vozopis/00090.inst", "a\r\nb\r\nc\r\n", notes.arg("00090.inst"), 16},
        {"notes of four lines", "vozopis/00090.inst", Lines({"[x]", "0.90 (build 70)", "d", "c"}),
         notes.arg("00090.inst"), 16},
    };
    for (const auto& [name, file, content, text, flags] : cases) {
        SCOPED_TRACE(name);
        UpdateArea a;
        for (const bool show : {false, true}) {
            if (file.isEmpty()) {
                a.online = false;
            } else if (content.isNull()) {
                a.server.Remove(file);
                WriteFileBytes(a.folder.File(file.section('/', -1)),
                               Lines({"[x]", "0.91 (build 75)", "d", "c", "i"}));
            } else {
                a.server.Put(file, content);
            }
            a.Check(show);
        }
        EXPECT_EQ(a.boxes.Shown(), Boxes({{text, "Vozopis", flags}}));
        EXPECT_EQ(a.Left(), QStringList());
        EXPECT_FALSE(UpdateRunning);
    }
}

// Started from the support window, modal over the main window: the hand-over asks no closing question.
TEST(UpdateProgramEnd, TheProgramEndsAfterTheHandOverOrWhenClosedDuringTheUpdaterDownload) {
    for (const bool closing : {false, true}) {
        SCOPED_TRACE(closing);
        UpdateArea area;
        if (closing)
            area.server.Put("molvekupd/index.inst", Lines({"1.00 (build 5)", "trickle"}));
        SetProgramEndHook({});
        StartedProgram program;
        program.form->show();
        area.boxes.Answer(ID_YES); // the update
        area.boxes.Answer(ID_YES); // the closing question
        QDialog about(program.form.get());
        if (!closing)
            QTimer::singleShot(0, &about, &QDialog::exec);
        QTimer::singleShot(0, &about, [&] { area.Check(); }); // inside the support window's loop
        if (closing)
            QTimer::singleShot(0, &about, [&] { program.form->close(); });    // inside the updater download
        QTimer::singleShot(30000, &about, [] { QCoreApplication::exit(3); }); // never left running
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_EQ(area.boxes.Shown().size(), closing ? 2u : 1u);
        EXPECT_EQ(area.Left().size(), closing ? 0 : 3);
        EXPECT_FALSE(UpdateRunning);
    }
}
} // namespace
