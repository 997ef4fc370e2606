#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include "Exception.h"
#include "FolderDialog.h"
#include "OneLineGuard.h"
#include "TestSupport.h"
#include "TextCompare.h"
#include "ToolkitTranslation.h"
#include "VersionBlock.h"

namespace {
// The version block of a file's bytes (or of the file at path) as "1.2.3.4"; empty when none is found.
QString VersionIn(const QByteArray& bytes, QString path = {}) {
    TempProgramFolder folder;
    if (path.isEmpty())
        WriteFileBytes(path = folder.File("file.bin"), bytes);
    FileVersion v;
    return ReadFileVersion(path, v)
               ? QString("%1.%2.%3.%4").arg(v.major).arg(v.minor).arg(v.release).arg(v.build)
               : QString();
}
} // namespace

TEST(VersionBlock, FoundAnywhereInAFileAfterFalseStartsAndNotWhenMissingOrInvalid) {
    EXPECT_EQ(VersionIn({}, VOZOPIS_EXE), "1.0.0.1"); // the built program carries the build's version
    const QByteArray marker(VERSION_BLOCK_MARKER);
    // A bare marker (as the reader's own copy is) and a malformed block come first.
    EXPECT_EQ(VersionIn("junk" + marker + '\0' + "x" + marker + "1.2.3\0" + "y" + marker +
                        QByteArray("0.8.9.64\0", 9) + "tail"),
              "0.8.9.64");
    EXPECT_EQ(VersionIn("no version here"), "");
    EXPECT_EQ(VersionIn(marker + QByteArray("1.2.3.70000\0", 12)), "") << "a part above 65535 is no version";
    EXPECT_EQ(VersionIn(marker + QByteArray("000001.2.3.4\0", 13)), "") << "a part has five digits at most";
    EXPECT_EQ(VersionIn({}, "/nonexistent/file"), "");
}

// The file goes by in pieces of 64 KiB: a block cut by a piece's end is found all the same. Only a
// regular file up to the largest program's size (256 MiB) is scanned.
TEST(VersionBlock, ABlockAcrossPiecesIsFoundInARegularFileOfAtMostAProgramsSize) {
    const QByteArray block = VERSION_BLOCK_MARKER + QByteArray("65535.65535.65535.65535\0", 24);
    for (const int before : {1, 22, int(block.size()) - 1, int(block.size())}) // of the first piece's end
        EXPECT_EQ(VersionIn(QByteArray((64 << 10) - before, 'x') + block + "tail"), "65535.65535.65535.65535")
            << before;

    TempProgramFolder folder;
    QStringList found;
    for (const qint64 size : {qint64(256) << 20, (qint64(256) << 20) + 1}) {
        QFile sparse(folder.File("sparse"));
        EXPECT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.write(block) == block.size() &&
                    sparse.resize(size));
        sparse.close();
        found << VersionIn({}, sparse.fileName());
    }
    QFile::link("/dev/zero", folder.File("zero"));
    found << VersionIn({}, folder.File("zero")) << VersionIn({}, folder.Path());
    EXPECT_EQ(found, QStringList({"65535.65535.65535.65535", "", "", ""}));
}

// A write to a connection whose peer has gone fails with EPIPE; SIGPIPE would end the process. The
// program ignores it from its start, and the tests do as the program does.
TEST(BrokenPipe, AWriteToAClosedConnectionFailsAndTheProgramGoesOn) {
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
    ::close(ends[1]);
    errno = 0;
    EXPECT_EQ(::write(ends[0], "x", 1), -1);
    EXPECT_EQ(errno, EPIPE);
    ::close(ends[0]);

    // The program in a folder of its own, started with SIGPIPE at its default: the tests ignore it,
    // and an ignored signal would stay ignored in the program.
    const TempProgramFolder folder;
    ASSERT_TRUE(QFile::copy(VOZOPIS_EXE, folder.File("Vozopis")));
    QProcess program;
    program.setChildProcessModifier([] { ::signal(SIGPIPE, SIG_DFL); });
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.setStandardOutputFile(QProcess::nullDevice());
    program.setStandardErrorFile(QProcess::nullDevice());
    program.start(folder.File("Vozopis"), {});
    ASSERT_TRUE(program.waitForStarted());
    const auto Ignored = [&] {
        QFile status(QString("/proc/%1/status").arg(program.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return false;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("SigIgn:"))
                return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGPIPE - 1) & 1) != 0;
        return false;
    };
    EXPECT_TRUE(QTest::qWaitFor(Ignored, 15000));
    program.kill();
    program.waitForFinished();
}

TEST(TextCompare, IgnoresCaseOfAccentedLettersButNotAccents) {
    EXPECT_EQ(QList<bool>({SameTextIgnoreCase("ČADCA", "čadca"), SameTextIgnoreCase("", ""),
                           SameTextIgnoreCase("Cadca", "Čadca"), SameTextIgnoreCase("abc", "abcd")}),
              QList<bool>({true, true, false, false}));
}

// '"', ')' and the full stop itself sort before or at '.'.
TEST(ErrorBox, FullStopIsAddedOnlyAfterCharactersSortingAfterIt) {
    QStringList shown;
    for (const QString text : {"Transaction already open", "Done.", "value \"x\"", "(a)", ""})
        shown << ExceptionBoxText(text);
    EXPECT_EQ(shown, QStringList({"Transaction already open.", "Done.", "value \"x\"", "(a)", ""}));
}

// Without a hook the toolkit's folder dialog opens on the proposed folder, or on its nearest existing
// parent, with a Slovak Cancel; cancelling it chooses nothing.
TEST(FolderDialog, WithoutAHookTheToolkitsDialogOpensOnTheNearestFolderWithASlovakCancel) {
    LoadToolkitTranslation();
    const TempProgramFolder folder;
    ASSERT_TRUE(QDir().mkpath(folder.File("Data")));
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QPushButton* cancel = buttons ? buttons->button(QDialogButtonBox::Cancel) : nullptr;
        shown = QFileInfo(dialog->directory().absolutePath()).fileName() + " | " +
                (cancel ? cancel->text() : "no Cancel");
        dialog->reject();
    });
    EXPECT_EQ(BrowseForFolder("Kelbor", folder.File("Data/missing/deeper"), nullptr), std::nullopt);
    EXPECT_EQ(shown, "Data | " + QStringLiteral("Zrušiť"));

    // Accepted as it opens, it chooses the folder shown (a file dialog would wait for a file name).
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
            QMetaObject::invokeMethod(dialog, "accept");
    });
    QTimer::singleShot(3000, [] { // a dialog still open fails the test rather than hangs it
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    EXPECT_EQ(BrowseForFolder("Kelbor", folder.File("Data/missing"), nullptr), folder.File("Data"));
}

// '|' marks the caret. A line break is one blank, CR LF one break, LF CR two; other controls go.
TEST(OneLineText, EachLineBreakBecomesOneBlankAndTheCaretKeepsItsPlace) {
    const std::pair<QString, QString> cases[] = {{"Riadok jeden\r\nRiadok dva|", "Riadok jeden Riadok dva|"},
                                                 {"a\rb\nc|d", "a b c|d"},
                                                 {"a\n\r|b", "a  |b"},
                                                 {"|a\r\n\r\nb", "|a  b"},
                                                 {"a\r|\nb", "a |b"}, // the caret between CR and LF
                                                 {"ab|\r\ncd", "ab| cd"},
                                                 {QString("Tr") + QChar(0) + "na|va\x1b", "Trna|va"},
                                                 {QStringLiteral("x\u2028y\u2029z\t|"), "x y z\t|"}};
    for (const auto& [given, expected] : cases) {
        QString text = given;
        int caret = int(text.indexOf('|'));
        text.remove('|');
        RemoveLineBreaks(text, caret);
        EXPECT_EQ(text.insert(caret, '|'), expected) << given.toStdString();
        EXPECT_EQ(OneLineText(QString(given).remove('|')), QString(expected).remove('|'));
    }
}
