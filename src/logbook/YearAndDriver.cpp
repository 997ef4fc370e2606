#include "YearAndDriver.h"

#include "Globals.h"
#include "SQLunit.h"
#include "Schema.h"
#include "SqliteWrapper.h"

void AddYearAndDriver(const QString& year, const QString& name, const QString& customerId) {
    const QString yearValue = SqlYear(year);
    const QString id = SqlId(customerId);
    CreateTableRoky();
    if (!name.isEmpty()) {
        CreateTableVodic();
        SqlText =
            "INSERT OR IGNORE INTO vodic (meno, id_zakaznik) VALUES (" + SqlQuoted(name) + ", " + id + ");";
        Database().Execute(SqlText);
    }
    SqlText = "INSERT OR IGNORE INTO roky (rok, id_zakaznik) VALUES (" + yearValue + ", " + id + ");";
    Database().Execute(SqlText);
}

bool IsWholeNumberText(const QString& text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}
