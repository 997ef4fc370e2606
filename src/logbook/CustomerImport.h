#pragma once

#include <QString>
#include <QStringList>

class TMemIniFile;

// Copies the customers of the two accounting programs, Kelbor first and Tamrik second, into the
// customer table when cooperation with them is on. Each program gets one question before its first
// new customer; known IČOs are skipped, and so is a customer with a character that Windows-1250
// cannot hold, with a box. All boxes are answered before the program's customers are written. A
// program whose import fails is rolled back and its error shown; the other one still runs.
void ImportCustomersFromAccounting();

// The folder of an accounting program from its path setting, with a trailing '/'; an empty
// setting gives "/".
QString AccountingFolder(const QString& pathSetting);
// The customer file that an accounting program keeps in its folder.
QString CustomerFilePath(const QString& pathSetting);

// The insert of one customer file section, line by line.
QStringList CustomerInsertLines(const TMemIniFile& ini, const QString& section);
