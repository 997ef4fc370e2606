#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "AtomicFile.h"
#include "BoundedFile.h"
#include "Download.h"
#include "Encoding.h"
#include "Endpoints.h"
#include "Exception.h"
#include "GeneralUnit.h"
#include "LANUnit.h"
#include "MessageBox.h"
#include "Messages.h"
#include "OneLineGuard.h"
#include "ProgramFolder.h"
#include "Shell.h"
#include "TextUtils.h"

bool UpdateRunning = false;

namespace {
ProgramEndHook& EndHook() {
    static ProgramEndHook hook;
    return hook;
}

void EndProgram() {
    if (EndHook())
        EndHook()();
    else
        QCoreApplication::exit(0); // stops the loops without asking the windows to close
}

// The largest text file of an update: an index, a version's notes or the expected version.
constexpr qint64 MaxUpdateTextBytes = 1 << 20;

// The lines of a text file as a string list reads them (CR LF, LF or CR end a line); none when it
// is no regular file of a text file's size.
QStringList ReadLines(const QString& fileName) {
    const QString text = FromAnsi(ReadBoundedFile(fileName, MaxUpdateTextBytes).value_or(QByteArray()));
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == '\r' || c == '\n') {
            lines << line;
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

QStringList WithoutEmptyLines(QStringList lines) {
    lines.removeAll(QString());
    return lines;
}

bool IsWebAddress(const QString& text) {
    return text.startsWith("http://", Qt::CaseInsensitive) ||
           text.startsWith("https://", Qt::CaseInsensitive);
}

void WriteHandOverFile(const QString& fileName, const QStringList& lines) {
    if (!WriteFileAtomically(fileName, ToAnsi(lines.join("\r\n") + "\r\n")))
        throw EFileError(QStringLiteral("Nie je možné zapísať súbor \"%1\".").arg(fileName));
}

} // namespace

QString CounterAddress(const QString& counterLine) {
    const qsizetype equals = counterLine.indexOf("=http://");
    const qsizetype lastSeparator =
        std::max({counterLine.lastIndexOf('/'), counterLine.lastIndexOf('\\'), counterLine.lastIndexOf(':')});
    return (equals >= 0 ? counterLine.left(equals + 1) : QString()) + counterLine.mid(lastSeparator + 1);
}

namespace {
// The longest index line taken for a real one: code, separator and a long version text.
constexpr qsizetype MaxIndexLine = 64;

// The state of one update check; ending it, on any path, runs the clean-up.
class TUpdateCheck {
public:
    TUpdateCheck(bool showMessages, const QString& exePath, const QString& productFileName,
                 const QString& title)
        : showMessages_(showMessages), exePath_(exePath), d_(QFileInfo(exePath).absolutePath() + '/'),
          product_(productFileName), title_(title), area_(DownloadArea()) {
        UpdateRunning = true;
    }
    ~TUpdateCheck() {
        CleanupUpdateFiles();
        QFile::remove(d_ + "index.inst");
        UpdateRunning = false;
    }

    void Run(const QString& exeFileName, QWidget* parentForm);

private:
    bool CheckInternetForUpdate();
    void CleanupUpdateFiles();
    // Copies the address into D + SavedAs; false when it did not arrive whole.
    bool Fetch(const QString& address, const QString& savedAs);
    // Checks the connection and fetches an index file into D + SavedAs; its lines but the empty
    // ones, or false after the message when it could not be fetched.
    bool FetchIndex(const QString& address, const QString& savedAs, QStringList& lines);
    bool FetchVersionIndex(QStringList& index);
    void ReportNoNewerVersion();
    bool CheckUpdater(QStringList& updaterIndex, bool& updaterNeeded);
    int FindCurrentLine(const QStringList& index);
    bool BuildQuestion(const QStringList& index, int current, bool updaterNeeded, QStringList& question);
    bool CanHandOver();
    void CountDownload(const QStringList& newestNotes);
    void HandOver(const QString& exeFileName, const QString& updaterName, const QString& newestCode,
                  QWidget* parentForm);
    void OfferInstaller(const QStringList& newestNotes);

    void NotesMissing(const QString& notesFile) {
        if (showMessages_)
            ShowError("Nepodarilo sa stiahnuť súbor s informáciami pre niektorú verziu (" + notesFile + ").",
                      title_);
    }
    void Message(const QString& text, int flags) {
        if (showMessages_)
            ShowMessageBox(text, title_, flags);
    }
    void ErrorCode(const QString& code, const QString& text) {
        if (showMessages_)
            ShowErrorCode(code, text, title_);
    }
    QString Updater() const { return d_ + "Data/MolvekUPD.exe"; }

    bool showMessages_;
    QString exePath_;
    QString d_;
    QString product_;
    QString title_;
    QString area_;
    QString cur_;    // the running program's version text
    QString newest_; // the newest version text of the index
    QStringList downloaded_;
};

bool TUpdateCheck::CheckInternetForUpdate() {
    if (IsConnectedToInternet())
        return true;
    Message("Pre zistenie novej verzie programu \"" + title_ + "\" musíte byť pripojený na internet!\r" +
                "Pripojte sa na internet a pokus opakujte.",
            MB_ICONWARNING);
    return false;
}

void TUpdateCheck::CleanupUpdateFiles() {
    for (const QString& file : std::as_const(downloaded_))
        QFile::remove(file);
    downloaded_.clear();
    UpdateRunning = false;
}

bool TUpdateCheck::Fetch(const QString& address, const QString& savedAs) {
    return DownloadToFile(address, d_ + savedAs);
}

bool TUpdateCheck::FetchIndex(const QString& address, const QString& savedAs, QStringList& lines) {
    if (!CheckInternetForUpdate())
        return false;
    if (!Fetch(address, savedAs)) {
        Message("Nepodarilo sa stiahnuť informácie z internetu (\"" + savedAs +
                    "\"). Operáciu prosím opakujte neskôr.",
                MB_ICONINFORMATION);
        return false;
    }
    downloaded_ << d_ + savedAs;
    lines = WithoutEmptyLines(ReadLines(d_ + savedAs));
    return true;
}

// The version index, its empty lines dropped; false after the message when it is missing or broken.
bool TUpdateCheck::FetchVersionIndex(QStringList& index) {
    if (!FetchIndex(area_ + product_ + "/index.inst", "index.inst", index))
        return false;
    // A version code names a file beside the program, and a version text goes into the hand-over:
    // a code holding a path, a line holding what a line of the hand-over cannot, or an overlong
    // line makes the index unusable.
    const auto broken = [](const QString& line) {
        const QString code = line.left(5);
        return code.contains('/') || code.contains('\\') || code.startsWith('.') ||
               FindUnwritableChar(line, TTextCode::Windows1250, TTextLines::One) >= 0 ||
               line.size() > MaxIndexLine;
    };
    if (index.isEmpty() || std::any_of(index.cbegin(), index.cend(), broken)) {
        ErrorCode("#00001", "Chyba po načítaní súboru \"index.inst\". Prosím operáciu opakujte.");
        return false;
    }
    return true;
}

void TUpdateCheck::ReportNoNewerVersion() {
    if (TextToFloat(newest_) < TextToFloat(cur_))
        Message("Máte novšiu verziu programu \"" + title_ + "\" ako je oficiálne uvedené na stránke.\r" +
                    "Aktuálna verzia uvedená na stránke je \"[v " + newest_ + "]\" a vaša verzia je \"[v " +
                    cur_ + "]\" . Prosím informujte sa u nás cez e-mail (\"" + SupportEmail +
                    "\"), či nebola novšia verzia kôli chybám dočasne stiahnutá z ponuky.\r" +
                    "Odporúča sa stiahnuť verziu uvedenú na stránke ( " + MakerWebSite + " ).",
                MB_ICONINFORMATION);
    else
        Message("Žiadne nové verzie programu \"" + title_ +
                    "\" nie su k dispozícii. Vaša verzia je aktuálna.",
                MB_ICONINFORMATION);
}

// Whether the updater is to be downloaded: missing, or another version than the updater index names.
bool TUpdateCheck::CheckUpdater(QStringList& updaterIndex, bool& updaterNeeded) {
    QDir().mkdir(d_ + "Data");
    updaterNeeded = !QFile::exists(Updater());
    if (!FetchIndex(area_ + "molvekupd/index.inst", "mvindex.inst", updaterIndex))
        return false;
    const QString updaterIndexError = "Chyba po načítaní súboru \"mvindex.inst\". Prosím operáciu opakujte.";
    if (updaterIndex.isEmpty()) {
        ErrorCode("#00002", updaterIndexError);
        return false;
    }
    if (!updaterNeeded && TextToFloat(GetFileVersionText(Updater(), true)) != TextToFloat(updaterIndex.at(0)))
        updaterNeeded = true;
    if (updaterNeeded && updaterIndex.size() < 2) { // no download name for the updater
        ErrorCode("#00002", updaterIndexError);
        return false;
    }
    return true;
}

// The first index line holding the own version; -1 after the message when none does.
int TUpdateCheck::FindCurrentLine(const QStringList& index) {
    const int current = IndexOfText(cur_, index, true);
    if (current < 0)
        ErrorCode("#00003",
                  "Nepodarilo sa vyhľadať informácie o vašej verzii programu. Update nemôže pokračovať. "
                  "Vašu verziu nám oznámte cez e-mail (\"" +
                      SupportEmail + "\"). Vaša verzia je \"[v " + cur_ + "]\".");
    return current;
}

// The question with the notes of up to four versions above the current line, newest first.
bool TUpdateCheck::BuildQuestion(const QStringList& index, int current, bool updaterNeeded,
                                 QStringList& question) {
    question << "Vyšla nová verzia programu \"" + title_ + "\". Nová verzia je \"[v " + newest_ +
                    "]\" a vaša verzia je \"[v " + cur_ +
                    "]\". Prajete si automaticky stiahnuť a nainštalovať novú verziu programu?";
    for (qsizetype i = index.size() - 1, listed = 0; i > current && listed < 4; --i, ++listed) {
        question << QString() << QString();
        if (!CheckInternetForUpdate())
            return false;
        const QString notesFile = index.at(i).left(5) + ".inst";
        downloaded_ << d_ + notesFile;
        const QStringList notes =
            Fetch(area_ + product_ + "/" + notesFile, notesFile) ? ReadLines(d_ + notesFile) : QStringList();
        if (notes.size() < 5) { // missing, or too short to use
            NotesMissing(notesFile);
            return false;
        }
        question << "[" + notes.at(1) + "]"
                 << "(dátum vydania: " + notes.at(2) + ")"
                 << "-----";
        question << WithoutEmptyLines(notes.mid(5));
    }
    if (updaterNeeded)
        question << QString() << QString() << "+ Vyšla nová verzia aktualizačného programu \"MolvekUPD\".";
    return true;
}

// The updater reads the program's file name from a line of inst.inst: a name that the line cannot
// hold as it stands is refused before anything is fetched or written.
bool TUpdateCheck::CanHandOver() {
    const QString name = QFileInfo(exePath_).fileName();
    const qsizetype at = FindUnwritableChar(name, TTextCode::Windows1250, TTextLines::One);
    if (at < 0)
        return true;
    ShowError(QStringLiteral("Názov súboru programu \"%1\" obsahuje znak \"%2\", ktorý nie je možné "
                             "zapísať do súboru inst.inst.")
                  .arg(name, CharAt(name, at)),
              title_);
    return false;
}

// The download-counter request; its outcome is not examined.
void TUpdateCheck::CountDownload(const QStringList& newestNotes) {
    const QString counter = CounterAddress(newestNotes.at(3));
    if (IsWebAddress(counter)) { // anything else cannot be fetched
        Fetch(counter, "err.err");
        QFile::remove(d_ + "err.err");
    }
}

// Downloads the updater when named, leaves the exchange files for it, starts it and ends the program.
void TUpdateCheck::HandOver(const QString& exeFileName, const QString& updaterName, const QString& newestCode,
                            QWidget* parentForm) {
    if (!updaterName.isEmpty() && !DownloadFile(area_ + "molvekupd/MolvekUPD" + updaterName + ".exe",
                                                d_ + "Data", "MolvekUPD.exe", parentForm))
        return; // the program is closing: nothing is handed over
    const QString updater = Updater();
    QFile(updater).setPermissions(QFile(updater).permissions() | QFile::ExeOwner | QFile::ExeUser |
                                  QFile::ExeGroup | QFile::ExeOther);
    CleanupUpdateFiles();

    WriteHandOverFile(d_ + "inst.inst", {product_.toLower(), QFileInfo(exePath_).fileName(), exeFileName,
                                         product_ + newestCode + ".inst"});
    try {
        WriteHandOverFile(d_ + "updating.temp", {newest_});
    } catch (...) {
        QFile::remove(d_ + "inst.inst");
        throw;
    }
    ShellOpen(updater);
    EndProgram();
}

void TUpdateCheck::OfferInstaller(const QStringList& newestNotes) {
    if (ShowMessageBox(
            "Prajete si stiahnuť inštalačný súbor, z ktorého program nainštalujete manuálne neskôr?", title_,
            MB_YESNO_QUESTION) != ID_YES)
        return;
    const QString installer = newestNotes.at(4);
    if (IsWebAddress(installer)) // only a web address goes to the shell
        ShellOpen(installer);
}

void TUpdateCheck::Run(const QString& exeFileName, QWidget* parentForm) {
    cur_ = GetFileVersionText(exePath_, true);
    QFile::remove(d_ + "index.inst");
    QStringList index;
    if (!FetchVersionIndex(index))
        return;
    newest_ = index.last().mid(6);
    const QString newestCode = index.last().left(5);
    if (!(TextToFloat(newest_) > TextToFloat(cur_))) {
        ReportNoNewerVersion();
        return;
    }

    QStringList updaterIndex;
    bool updaterNeeded = false;
    if (!CheckUpdater(updaterIndex, updaterNeeded))
        return;
    const int current = FindCurrentLine(index);
    QStringList question;
    if (current < 0 || !BuildQuestion(index, current, updaterNeeded, question))
        return;

    const QString newestNotesFile = newestCode + ".inst";
    const QStringList newestNotes = ReadLines(d_ + newestNotesFile);
    if (newestNotes.size() < 5) {
        NotesMissing(newestNotesFile);
        return;
    }
    if (ShowMessageBox(question.join("\r\n"), title_, MB_YESNO_INFORMATION) == ID_YES) {
        if (!CanHandOver())
            return;
        CountDownload(newestNotes);
        HandOver(exeFileName, updaterNeeded ? updaterIndex.at(1) : QString(), newestCode, parentForm);
    } else {
        OfferInstaller(newestNotes);
    }
}
} // namespace

void CheckForUpdate(bool showMessages, const QString& exePath, const QString& exeFileName,
                    const QString& productFileName, const QString& programTitle, QWidget* parentForm) {
    if (UpdateRunning)
        return;
    TUpdateCheck check(showMessages, exePath, productFileName, programTitle);
    check.Run(exeFileName, parentForm);
}

void FinishUpdate(const QString& programTitle) {
    struct Running {
        Running() { UpdateRunning = true; }
        ~Running() { UpdateRunning = false; }
    } running;
    const QString d = ProgramFolder();
    const QString expectedFile = d + "updating.temp";
    // Told once: only when the file could be taken away, so that what cannot be (a folder in its
    // place, which is no hand-over of the updater) is not told again at every start. Anything but a
    // regular file of a text file's size reads as no version.
    const QStringList lines = ReadLines(expectedFile);
    if (QFile::remove(expectedFile)) {
        bool succeeded = false;
        try {
            succeeded =
                TextToFloat(GetFileVersionText(ProgramFilePath(), true)) == TextToFloat(lines.value(0));
        } catch (const EConvertError&) {
            // a garbled file tells of no update that took effect
        }
        if (succeeded)
            ShowMessageBox("Aktualizácia prebehla úspešne.", programTitle, MB_ICONINFORMATION);
        else
            ShowMessageBox(QStringLiteral("Aktualizácia bola neúspešná!\r") +
                               "V prípade problémov nás prosím kontaktujte cez e-mail (\"" + SupportEmail +
                               "\").",
                           programTitle, MB_ICONWARNING);
    }
    QDir().rmdir(d + "TempUpd"); // only an empty folder goes
}

ProgramEndHook SetProgramEndHook(ProgramEndHook hook) {
    ProgramEndHook previous = std::move(EndHook());
    EndHook() = std::move(hook);
    return previous;
}
