#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The order that the trip page hands to the simple-entry accounting program, Kelbor: "order.txt"
// beside its program file, which it reads when started with KelborArgument.

inline const QString KelborArgument = QStringLiteral("Vozopis_export_jazdy");

// The program file from the [general] "SpolKBpath" setting.
QString KelborProgramFile(const QString& pathSetting);
// "order.txt" in the same folder.
QString OrderFilePath(const QString& pathSetting);

// The eleven lines of the order, in file order.
struct TOrder {
    QString databasePath;
    QString customerId;
    QString carId;
    QString dateFrom; // as typed
    QString dateTo;   // as typed
    QString km;       // as typed
    QString avgSpeed; // [Info] "PriemRychl", "10" when missing
    QString customerName;
    QString year;
    QString caption; // the main window's caption at the moment of the export
    QString programTitle;

    QStringList Lines() const;
};

// The file's bytes: Windows-1250, every line ended by CR LF; line breaks and other control
// characters within a line are dropped, so the file always has its eleven lines.
QByteArray OrderFileBytes(const TOrder& order);
// Writes the whole file at once; throws EFileError when it cannot be written (the old file stays).
void WriteOrderFile(const QString& fileName, const TOrder& order);
