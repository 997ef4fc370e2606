#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include "Encoding.h"
#include "GeneralUnit.h"
#include "LANUnit.h"
#include "ProgramFixture.h"
#include "TestSupport.h"
#include "UpdateServer.h"
#include "VersionBlock.h"

namespace {
const QString Question36 =
    QStringLiteral("Prajete si stiahnuť inštalačný súbor, z ktorého program nainštalujete manuálne neskôr?");
const QString Installer = "https://www.molvek.sk/download/vozopis/setup.exe";

QByteArray Lines(const QStringList& lines) {
    return ToAnsi(lines.join("\r\n") + "\r\n");
}

QByteArray ProgramWithVersion(const char* version) {
    return QByteArray("#!/bin/sh\n# ") + VERSION_BLOCK_MARKER + version + QByteArray(1, '\0') + "\n";
}

// A program folder holding version 0.89 (build 64) and a download area offering 0.90 and 0.91.
struct UpdateArea {
    UpdateArea() {
        previousConnected_ = SetConnectedHook([this] { return online; });
        previousEnd_ = SetProgramEndHook([this] { ++ended; });
        WriteFileBytes(folder.File("Vozopis"), ProgramWithVersion("0.8.9.64"));
        Index({"00089 0.89 (build 64)", "00090 0.90 (build 70)", "00091 0.91 (build 75)"});
        Notes("00090", "0.90 (build 70)",
              {QStringLiteral("Oprava tlače"), "", QStringLiteral("Nové zostavy")});
        Notes("00091", "0.91 (build 75)", {QStringLiteral("Rýchlejší štart")});
        server.Put("molvekupd/index.inst", Lines({"1.00 (build 5)", "A"}));
        server.Put("molvekupd/MolvekUPDA.exe", "#!/bin/sh\n");
    }
    ~UpdateArea() {
        SetConnectedHook(previousConnected_);
        SetProgramEndHook(previousEnd_);
    }

    void Index(const QStringList& lines) { server.Put("vozopis/index.inst", Lines(lines)); }
    void Notes(const QString& code, const QString& version, const QStringList& notes,
               const QString& installer = Installer) {
        const QString counted =
            server.Area() + "count.php?f=http://www.molvek.sk/download/vozopis/setup" + code;
        server.Put("vozopis/" + code + ".inst",
                   Lines(QStringList{"[notes]", version, "01.03.2024", counted + ".exe", installer} + notes));
    }
    void Check(bool showMessages = true) {
        CheckForUpdate(showMessages, folder.File("Vozopis"), "Vozopis.exe", "vozopis", "Vozopis", &form);
    }
    // What the check left in the program folder besides the program.
    QStringList Left() const {
        QStringList files = FilesBelow(folder.Path());
        files.removeAll("Vozopis");
        return files;
    }
    static QString Listed(const QString& version, const QStringList& notes) {
        return "\r\n\r\n\r\n[" + version + "]\r\n(dátum vydania: 01.03.2024)\r\n-----\r\n" +
               notes.join("\r\n");
    }
    static QString QuestionFor(const QString& newest, const QString& own) {
        return "Vyšla nová verzia programu \"Vozopis\". Nová verzia je \"[v " + newest +
               "]\" a vaša verzia je \"[v " + own +
               "]\". Prajete si automaticky stiahnuť a nainštalovať novú verziu programu?";
    }
    inline static const QString UpdaterLine =
        QStringLiteral("\r\n\r\n\r\n+ Vyšla nová verzia aktualizačného programu \"MolvekUPD\".");

    DownloadAreaServer server;
    TempProgramFolder folder;
    MessageBoxRecorder boxes;
    QWidget form;
    bool online = true;
    int ended = 0;

private:
    std::function<bool()> previousConnected_;
    ProgramEndHook previousEnd_;
};

struct UpdateCheckTest : UpdateArea, ::testing::Test {
    void SetUp() override { ASSERT_TRUE(server.Started()); }
};

TEST(UpdateCheckCounter, TheCounterAddressIsTheLineUpToItsFirstEmbeddedAddressAndItsLastSegment) {
    const std::pair<QString, QString> cases[] = {
        {"http://a.sk/c.php?f=http://b.sk/d/setup91.exe", "http://a.sk/c.php?f=setup91.exe"},
        {"http://a.sk/c.php?f=http://b.sk/x?g=http://c.sk/s.exe", "http://a.sk/c.php?f=s.exe"},
        {"http://a.sk/c.php?f=http://b.sk/d\\win\\s.exe", "http://a.sk/c.php?f=s.exe"},
        {"http://a.sk/c.php?f=http://b.sk:8080", "http://a.sk/c.php?f=8080"},
        {"http://a.sk/c.php?f=HTTP://b.sk/s.exe", "s.exe"},
        {"http://a.sk/c.php?f=https://b.sk/s.exe", "s.exe"},
        {"count.php?f=setup89.exe", "count.php?f=setup89.exe"},
        {"http://a.sk/c.php?f=http://b.sk/", "http://a.sk/c.php?f="},
        {"", ""},
    };
    for (const auto& [line, address] : cases)
        EXPECT_EQ(CounterAddress(line), address) << line.toStdString();
}

TEST_F(UpdateCheckTest, NewerVersionsAreListedNewestFirstAndADeclinedUpdateOffersTheWebInstaller) {
    ShellRecorder shell;
    boxes.Answer(ID_NO);
    boxes.Answer(ID_YES);
    Check();
    const QString question = QuestionFor("0.91 (build 75)", "0.89 (build 64)") +
                             Listed("0.91 (build 75)", {QStringLiteral("Rýchlejší štart")}) +
                             Listed("0.90 (build 70)", {"Oprava tlače", "Nové zostavy"}) + UpdaterLine;
    EXPECT_EQ(boxes.Shown(), Boxes({{question, "Vozopis", 68}, {Question36, "Vozopis", 36}}));
    EXPECT_EQ(server.Requests(),
              (QStringList{"/download/vozopis/index.inst", "/download/molvekupd/index.inst",
                           "/download/vozopis/00091.inst", "/download/vozopis/00090.inst"}));
    EXPECT_EQ(shell.Opened(), QStringList{Installer});
    EXPECT_TRUE(QDir(folder.File("Data")).exists());

    Notes("00091", "0.91 (build 75)", {"x"}, "/bin/sh");
    boxes.Answer(ID_NO);
    boxes.Answer(ID_YES);
    Check();
    EXPECT_EQ(shell.Opened(), QStringList{Installer}); // a local program is never started from a notes file
    EXPECT_TRUE(Left().isEmpty()) << Left().join(", ").toStdString();
    EXPECT_FALSE(UpdateRunning);
    EXPECT_EQ(ended, 0);
}

TEST_F(UpdateCheckTest, OnlyTheFourNewestVersionsAboveTheFirstLineHoldingTheOwnVersionAreListed) {
    WriteFileBytes(folder.File("Vozopis"), ProgramWithVersion("0.8.9.6")); // also in "0.89 (build 64)"
    QStringList index{"00088 0.89 (build 6)" + QString(44, ' '),
                      "00089 0.89 (build 64)"}; // the longest line taken
    for (int i = 0; i < 5; ++i) {
        const QString version = QStringLiteral("0.9%1 (build %2)").arg(i).arg(70 + i);
        index << QStringLiteral("0009%1 ").arg(i) + version;
        Notes(QStringLiteral("0009%1").arg(i), version, {"zmena " + QString::number(i)});
    }
    Index(index);
    Check();
    ASSERT_FALSE(boxes.Shown().empty());
    EXPECT_EQ(boxes.Shown()[0].text,
              QuestionFor("0.94 (build 74)", "0.89 (build 6)") + Listed("0.94 (build 74)", {"zmena 4"}) +
                  Listed("0.93 (build 73)", {"zmena 3"}) + Listed("0.92 (build 72)", {"zmena 2"}) +
                  Listed("0.91 (build 71)", {"zmena 1"}) + UpdaterLine);
    EXPECT_FALSE(server.Requests().contains("/download/vozopis/00090.inst"));
}

TEST_F(UpdateCheckTest, VersionsCompareAsNumbersAndShowMessagesFalseKeepsOnlyTheQuestions) {
    const QString newer =
        "Máte novšiu verziu programu \"Vozopis\" ako je oficiálne uvedené na stránke.\rAktuálna "
        "verzia uvedená na stránke je \"[v 0.89 (build 100)]\" a vaša verzia je \"[v 0.89 (build "
        "64)]\" . Prosím informujte sa u nás cez e-mail (\"podpora@molvek.sk\"), či nebola novšia "
        "verzia kôli chybám dočasne stiahnutá z ponuky.\rOdporúča sa stiahnuť verziu uvedenú na "
        "stránke ( https://www.molvek.sk/ ).";
    const QString current =
        "Žiadne nové verzie programu \"Vozopis\" nie su k dispozícii. Vaša verzia je aktuálna.";
    const QString older = "00100 0.89 (build 100)"; // 0.891 is older than 0.8964
    for (const bool show : {true, false}) {
        Index({"00089 0.89 (build 64)", older});
        Check(show);
        Index({"00089 0.89 (build 64)"});
        Check(show);
    }
    Index({"00089 0.89 (build 64)", "00091 0.91 (build 75)"});
    Check(false);
    ASSERT_EQ(boxes.Shown().size(), 4u);
    EXPECT_EQ(Boxes(boxes.Shown().begin(), boxes.Shown().begin() + 2),
              Boxes({{newer, "Vozopis", 64}, {current, "Vozopis", 64}}));
    EXPECT_EQ(boxes.Shown()[2].flags, 68);
    EXPECT_EQ(boxes.Shown()[3].text, Question36);
    EXPECT_TRUE(Left().isEmpty());
}

TEST_F(UpdateCheckTest, AcceptedUpdateHandsOverToTheStartedUpdaterAndEndsTheProgram) {
    ShellRecorder shell;
    form.resize(800, 600);
    QRect panel; // the first events run inside the updater download: its taller panel is up on the form
    QTimer::singleShot(0, [&] {
        if (CurrentProgress && CurrentProgress->Panel->parentWidget() == &form &&
            CurrentProgress->Panel->isVisibleTo(&form))
            panel = CurrentProgress->Panel->geometry();
    });
    boxes.Answer(ID_YES);
    Check();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(panel, QRect(200, 240, 400, 120));
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(shell.Opened(), QStringList{folder.File("Data/MolvekUPD.exe")});
    EXPECT_EQ(ReadFileBytes(folder.File("inst.inst")),
              "vozopis\r\nVozopis\r\nVozopis.exe\r\nvozopis00091.inst\r\n");
    EXPECT_EQ(ReadFileBytes(folder.File("updating.temp")), "0.91 (build 75)\r\n");
    EXPECT_TRUE(QFileInfo(folder.File("Data/MolvekUPD.exe")).isExecutable());
    EXPECT_TRUE(server.Requests().contains("/download/count.php?f=setup00091.exe"));
    EXPECT_TRUE(server.Requests().contains("/download/molvekupd/MolvekUPDA.exe"));
    EXPECT_EQ(CurrentProgress, nullptr);
    EXPECT_FALSE(UpdateRunning);
    EXPECT_EQ(Left(), (QStringList{"Data/MolvekUPD.exe", "inst.inst", "updating.temp"}));

    // An updater of the site's version is neither announced nor downloaded; another version is.
    const QByteArray updater = ProgramWithVersion("1.0.0.5");
    WriteFileBytes(folder.File("Data/MolvekUPD.exe"), updater);
    server.Put("molvekupd/index.inst", Lines({"1.00 (build 5)"})); // no download name needed
    boxes.Answer(ID_YES);
    Check();
    EXPECT_EQ(boxes.Shown()[1].text, boxes.Shown()[0].text.chopped(UpdaterLine.size()));
    EXPECT_EQ(server.Requests().filter("MolvekUPD").size(), 1);
    EXPECT_EQ(ReadFileBytes(folder.File("Data/MolvekUPD.exe")), updater);
    EXPECT_EQ(shell.Opened().size(), 2);
    server.Put("molvekupd/index.inst", Lines({"1.00 (build 6)", "A"}));
    Check();
    EXPECT_EQ(boxes.Shown()[2].text, boxes.Shown()[0].text);
}

// Each case changes one file of the download area (none: offline; a null text: removed, a stale
// copy left in the program folder).
TEST(UpdateCheckFailures, EveryFailedStepShowsItsMessageAndLeavesNothing) {
    const QString fetch =
        "Nepodarilo sa stiahnuť informácie z internetu (\"%1\"). Operáciu prosím opakujte neskôr.";
    const QString broken = "Chyba po načítaní súboru \"%1\". Prosím operáciu opakujte.";
    const QString notes = "Nepodarilo sa stiahnuť súbor s informáciami pre niektorú verziu (%1).";
    const QString index = "vozopis/index.inst", updaterIndex = "molvekupd/index.inst";
    const struct {
        const char* name;
        QString file;
        QByteArray content;
        QString text;
        int flags;
    } cases[] = {
        {"offline",
         "",
         {},
         "Pre zistenie novej verzie programu \"Vozopis\" musíte byť pripojený na internet!\r"
         "Pripojte sa na internet a pokus opakujte.",
         48},
        {"no index", index, {}, fetch.arg("index.inst"), 64},
        {"empty index", index, "\r\n\r\n", broken.arg("index.inst"), 16},
        {"version code with a path", index, Lines({"00089 0.89 (build 64)", "../xx 0.99 (build 9)"}),
         broken.arg("index.inst"), 16},
        {"overlong index line", index,
         Lines({"00089 0.89 (build 64)", "00091 0.91 (build 75)" + QString(44, ' ')}),
         broken.arg("index.inst"), 16},
        {"no updater index", updaterIndex, {}, fetch.arg("mvindex.inst"), 64},
        {"empty updater index", updaterIndex, "\r\n", broken.arg("mvindex.inst"), 16},
        {"updater without a name", updaterIndex, "1.00 (build 5)\r\n", broken.arg("mvindex.inst"), 16},
        {"own version not listed", index, Lines({"00090 0.90 (build 70)", "00091 0.91 (build 75)"}),
         "Nepodarilo sa vyhľadať informácie o vašej verzii programu. Update nemôže pokračovať. Vašu verziu "
         "nám oznámte cez e-mail (\"podpora@molvek.sk\"). Vaša verzia je \"[v 0.89 (build 64)]\".",
         16},
        {"no notes", "vozopis/00091.inst", {}, notes.arg("00091.inst"), 16},
        {"short notes", "vozopis/00090.inst", "a\r\nb\r\nc\r\n", notes.arg("00090.inst"), 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateArea a;
        for (const bool show : {false, true}) {
            if (c.file.isEmpty()) {
                a.online = false;
            } else if (c.content.isNull()) {
                a.server.Remove(c.file);
                WriteFileBytes(a.folder.File(c.file.section('/', -1)),
                               Lines({"[x]", "0.91 (build 75)", "d", "c", "i"}));
            } else {
                a.server.Put(c.file, c.content);
            }
            a.Check(show);
        }
        ASSERT_EQ(a.boxes.Shown().size(), 1u); // none without messages
        EXPECT_TRUE(a.boxes.Shown()[0].text.endsWith(c.text)) << a.boxes.Shown()[0].text.toStdString();
        EXPECT_EQ(a.boxes.Shown()[0].flags, c.flags);
        EXPECT_TRUE(a.Left().isEmpty()) << a.Left().join(", ").toStdString();
        EXPECT_FALSE(UpdateRunning);
    }
}

TEST_F(UpdateCheckTest, AFailedUpdaterDownloadEndsTheCheckWithoutHandOver) {
    server.Put("molvekupd/index.inst", Lines({"1.00 (build 5)", "B"}));
    boxes.Answer(ID_YES);
    EXPECT_EQ(ErrorOf([&] { Check(); }),
              "Error downloading URL: " + server.Area() + "molvekupd/MolvekUPDB.exe");
    EXPECT_TRUE(Left().isEmpty()) << Left().join(", ").toStdString();
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(UpdateRunning);
}

TEST_F(UpdateCheckTest, ASecondCheckWhileOneRunsReturnsAtOnce) {
    int shown = 0;
    qsizetype requestsBefore = -1, requestsAfter = -1;
    const MessageBoxHook recorder = SetMessageBoxHook([&](const QString&, const QString&, int) {
        if (++shown == 1) {
            EXPECT_TRUE(UpdateRunning);
            requestsBefore = server.Requests().size();
            Check();
            requestsAfter = server.Requests().size();
        }
        return int(ID_NO);
    });
    Check();
    SetMessageBoxHook(recorder);
    EXPECT_EQ(shown, 2); // the question and the installer question, nothing from the second check
    EXPECT_EQ(requestsBefore, requestsAfter);
}

// The real ending, in a child process. An accepted update, started from the support window (a modal
// dialog over the main window), stops every event loop without the closing question. Closing the main
// window during the updater download stops the download, hands nothing over and ends the program.
TEST(UpdateProgramEnd, TheProgramEndsAfterTheHandOverOrWhenClosedDuringTheUpdaterDownload) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const bool closeDuringDownload : {false, true}) {
        EXPECT_EXIT(
            {
                bool clean = false;
                {
                    UpdateArea area;
                    if (closeDuringDownload)
                        area.server.Put("molvekupd/index.inst", Lines({"1.00 (build 5)", "trickle"}));
                    SetProgramEndHook({});
                    StartedProgram program;
                    program.form->show();
                    area.boxes.Answer(ID_YES); // the update
                    area.boxes.Answer(ID_YES); // the closing question
                    QTimer::singleShot(0, [&] {
                        QDialog about(program.form.get());
                        QTimer::singleShot(0, [&] { area.Check(); });
                        if (!closeDuringDownload)
                            about.exec();
                    });
                    QTimer closer; // closes the main window once the updater download is under way
                    closer.callOnTimeout([&] {
                        if (CurrentProgress && closer.isActive()) {
                            closer.stop();
                            program.form->close();
                        }
                    });
                    if (closeDuringDownload)
                        closer.start(10);
                    QTimer::singleShot(30000, [] { QCoreApplication::exit(3); }); // never left running
                    const int code = QApplication::exec();
                    clean = code == 0 && area.boxes.Shown().size() == (closeDuringDownload ? 2u : 1u) &&
                            QFile::exists(area.folder.File("inst.inst")) != closeDuringDownload &&
                            area.Left().size() == (closeDuringDownload ? 0 : 3) && !UpdateRunning;
                }
                std::exit(clean ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "")
            << closeDuringDownload;
    }
}
} // namespace
