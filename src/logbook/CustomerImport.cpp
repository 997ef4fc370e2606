#include "CustomerImport.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QSet>
#include <QWidget>
#include <memory>

#include "AboutUnit.h"
#include "DateTime.h"
#include "GeneralUnit.h"
#include "Globals.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "IniFile.h"
#include "MessageBox.h"
#include "Messages.h"
#include "OneLineGuard.h"
#include "ProgramGlobals.h"
#include "SQLunit.h"
#include "Schema.h"
#include "Settings.h"
#include "SqliteWrapper.h"
#include "YearAndDriver.h"

namespace {
struct AccountingProgram {
    QString name;       // as the texts name it
    QString enabledKey; // [general] switch
    QString folderKey;  // [general] folder
    bool enabledDefault;
};

// A value of the customer file as one line: control characters (a NUL among them) are dropped.
QString Value(const TMemIniFile& ini, const QString& section, const QString& key) {
    return OneLineText(ini.ReadString(section, key, QString()));
}

QString FlagValue(const TMemIniFile& ini, const QString& section, const QString& key) {
    const QString value = Value(ini, section, key);
    return value == "x" || value == "X" ? "1" : "0";
}

// IČOs compared as whole texts without regard to letter case.
QString IcoKey(const QString& ico) {
    return ico.toCaseFolded();
}

QSet<QString> StoredIcos(TDatabase& db) {
    QStringList stored;
    QueryToStrings(db, "SELECT * FROM zakaznici", "ico", stored);
    QSet<QString> known;
    for (const QString& ico : stored)
        known.insert(IcoKey(ico));
    return known;
}

// The keys whose values are stored as text.
const char* const TextKeys[] = {"nazov", "ICO", "IC", "DIC", "osoba", "ulica", "mesto", "PSC", "stat"};

// A customer whose value holds a character that Windows-1250 cannot hold is not imported: one box
// names the customer, the key and the character. False then.
bool RequireStorable(const TMemIniFile& ini, const QString& section, const QString& product) {
    TCharRefusal refusal{QStringLiteral("Zákazník s ID \"%1\" v programe \"%2\"").arg(section, product),
                         QString(), QStringLiteral("uložiť"),
                         QStringLiteral("Zákazníka nie je možné importovať."), MB_ICONINFORMATION};
    for (const char* key : TextKeys) {
        refusal.field = QString::fromLatin1(key);
        if (RefuseUnstorableChar(Value(ini, section, key), refusal))
            return false;
    }
    return true;
}

// A small window of its own in the middle of the screen that carries the progress panel.
std::unique_ptr<QWidget> NewProgressWindow() {
    auto window =
        std::make_unique<QWidget>(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    window->setObjectName("ImportProgress");
    window->setWindowTitle(ProgramTitle);
    window->setFixedSize(400, 100);
    window->move((ScreenWidth - window->width()) / 2, (ScreenHeight - window->height()) / 2);
    window->show();
    return window;
}

void ImportPass(const AccountingProgram& program) {
    if (!ReadSettingBool("general", program.enabledKey, program.enabledDefault))
        return;
    // An accounting program may write its file in UTF-8, with or without the byte-order mark.
    const TMemIniFile ini(CustomerFilePath(ReadSetting("general", program.folderKey, QString())),
                          TMemIniFile::Utf8Sign::MarkOrContent);
    CreateTableZakaznici(); // only when an import may need it

    TDatabase& db = Database();
    QSet<QString> known = StoredIcos(db);
    const QStringList sections = ini.ReadSections();

    const std::unique_ptr<QWidget> window = NewProgressWindow();
    TProgress progress(int(sections.size()), false,
                       QStringLiteral("prebieha import z programu \"") + program.name + "\"...",
                       window.get());
    CurrentProgress = &progress;

    // Every box is answered before the first write: no write lock is held while one waits.
    QStringList accepted;
    bool asked = false;
    for (const QString& section : sections) {
        progress.StepIt();
        // Repaint only: clicks on the main window wait until the import is over.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

        const QString ico = Value(ini, section, "ICO");
        const QString name = ico.isEmpty() ? QString() : Value(ini, section, "nazov");
        if (ico.isEmpty() || name.isEmpty()) {
            ShowMessageBox(
                QStringLiteral("V zakaznikovi s ID \"%1\" v programe \"%2\" nie je zadané IČO alebo "
                               "názov. Zákazníka nie je možné importovať.")
                    .arg(section, program.name),
                ProgramTitle, MB_ICONINFORMATION);
            continue;
        }
        if (known.contains(IcoKey(ico)) || !RequireStorable(ini, section, program.name))
            continue;
        if (!asked && ShowMessageBox(QStringLiteral("V databáze zákazníkov v programe \"%1\" boli nájdené "
                                                    "údaje, ktoré nemáte importované. Prajete si tieto "
                                                    "údaje importovať?")
                                         .arg(program.name),
                                     ProgramTitle, MB_YESNO_QUESTION) != ID_YES)
            break;
        known.insert(IcoKey(ico));
        asked = true;
        accepted << section;
    }
    if (accepted.isEmpty())
        return;

    TTransaction transaction(db);
    // Another program may have stored some of them while the boxes were open.
    const QSet<QString> stored = StoredIcos(db);
    for (const QString& section : accepted) {
        if (stored.contains(IcoKey(Value(ini, section, "ICO"))))
            continue;
        SqlLines = CustomerInsertLines(ini, section);
        db.Execute(SqlLinesText());
        const QString id = FirstId(db, "SELECT last_insert_rowid() AS id;");
        AddYearAndDriver(CurrentYearText(), Value(ini, section, "nazov"), id);
    }
    transaction.Commit();
}
} // namespace

QString AccountingFolder(const QString& pathSetting) {
    return pathSetting.endsWith('/') ? pathSetting : pathSetting + '/';
}

QString CustomerFilePath(const QString& pathSetting) {
    return AccountingFolder(pathSetting) + "Data/zakaznici.zvn";
}

QStringList CustomerInsertLines(const TMemIniFile& ini, const QString& section) {
    auto value = [&](const char* key) { return Value(ini, section, key); };
    return {"INSERT INTO zakaznici (",
            "nazov, ico, dic, osoba, ulica, mesto, psc, stat, platca, fo, po)",
            "VALUES (",
            SqlQuoted(value("nazov")) + ",",
            SqlQuoted(value("ICO")) + ",",
            SqlQuoted(value("IC") + value("DIC")) + ",",
            SqlQuoted(value("osoba")) + ",",
            SqlQuoted(value("ulica")) + ",",
            SqlQuoted(value("mesto")) + ",",
            SqlQuoted(value("PSC")) + ",",
            SqlQuoted(value("stat")) + ",",
            FlagValue(ini, section, "platcaDPH") + ",",
            FlagValue(ini, section, "fo") + ",",
            FlagValue(ini, section, "po"),
            ");"};
}

void ImportCustomersFromAccounting() {
    const AccountingProgram programs[] = {
        {"Zivena - Kelbor", "SpolKB", "SpolKBpath", About && About->chbNasSpolKB->isChecked()},
        {"Zivena - Tamrik", "SpolTR", "SpolTRpath", About && About->chbNasSpolTR->isChecked()},
    };
    // A failing program is rolled back and reported once; start-up goes on.
    for (const AccountingProgram& program : programs)
        RunGuarded([&] { ImportPass(program); });
}
