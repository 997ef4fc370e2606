#include "OrderExport.h"

#include <QFileInfo>
#include <QMainWindow>

#include "AtomicFile.h"
#include "CustomerImport.h"
#include "DataPage.h"
#include "Encoding.h"
#include "Exception.h"
#include "Globals.h"
#include "InputBox.h"
#include "MessageBox.h"
#include "Messages.h"
#include "OneLineGuard.h"
#include "ProgramGlobals.h"
#include "Settings.h"
#include "Shell.h"
#include "TripsPage.h"
#include "Vozopis1.h"

QString KelborProgramFile(const QString& pathSetting) {
    return AccountingFolder(pathSetting) + "Kelbor.exe";
}

QString OrderFilePath(const QString& pathSetting) {
    return AccountingFolder(pathSetting) + "order.txt";
}

QStringList TOrder::Lines() const {
    return {databasePath, customerId,   carId, dateFrom, dateTo,      km,
            avgSpeed,     customerName, year,  caption,  programTitle};
}

QByteArray OrderFileBytes(const TOrder& order) {
    QString text;
    // Texts from the database and the caption may hold line breaks: each stays on its own line.
    for (const QString& line : order.Lines())
        text += OneLineText(line) + "\r\n";
    return ToAnsi(text);
}

void WriteOrderFile(const QString& fileName, const TOrder& order) {
    QString reason;
    if (!WriteFileAtomically(fileName, OrderFileBytes(order), &reason))
        throw EFileError(QStringLiteral("Nie je možné zapísať súbor \"%1\": %2").arg(fileName, reason));
}

void TTripsPage::BitBtn26Click() {
    const QString path = ReadSetting("general", "SpolKBpath", QString());
    const QString program = KelborProgramFile(path);
    if (!QFileInfo(program).isFile()) {
        ShowAppError(QStringLiteral("Program nebol na nasledovnej adrese nájdený:") + "\r\r" + program);
        return;
    }
    // The program opens the database named on line 1: a character replaced or dropped there would
    // lead it to another file, where its trips would be lost.
    if (const qsizetype at = FindUnwritableChar(DatabasePath, TTextCode::Windows1250, TTextLines::One);
        at >= 0) {
        ShowAppError(
            QStringLiteral("Cesta k databáze \"%1\" obsahuje znak \"%2\", ktorý nie je možné zapísať "
                           "do súboru order.txt.")
                .arg(DatabasePath, CharAt(DatabasePath, at)));
        return;
    }

    const QStringList prompts = {QStringLiteral("dátum OD (dd.mm.yyyy)"),
                                 QStringLiteral("dátum DO (dd.mm.yyyy)"), QStringLiteral("km")};
    QStringList answers;
    for (const QString& prompt : prompts)
        answers << PlatformInputBox(ProgramTitle, prompt, QString());
    for (const QString& answer : answers) {
        if (answer.isEmpty())
            return;
    }
    // The file is Windows-1250 text: a character it cannot hold is refused, not replaced.
    for (int i = 0; i < answers.size(); ++i) {
        if (RefuseUnstorableChar(answers.at(i), prompts.at(i)))
            return;
    }

    TOrder order;
    order.databasePath = DatabasePath;
    order.customerId = SelectedCustomerId;
    order.carId = CarId();
    order.dateFrom = answers.at(0);
    order.dateTo = answers.at(1);
    order.km = answers.at(2);
    order.avgSpeed = ReadSetting("info", "PriemRychl", "10");
    order.customerName = SelectedCustomerName;
    order.year = SelectedYear;
    order.caption = form_.windowTitle();
    order.programTitle = ProgramTitle;
    WriteOrderFile(OrderFilePath(path), order);

    form_.setWindowState(Qt::WindowMinimized);
    ShellOpen(program, KelborArgument);
    if (ShowMessageBox(QStringLiteral("Po skončení importu prosím stlačte OK."), ProgramTitle, MB_OK) !=
        ID_OK)
        return;
    form_.setWindowState(Qt::WindowMaximized);
    cbJazdyAutoCloseUp();
}
