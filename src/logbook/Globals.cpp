#include "Globals.h"

#include "Exception.h"

TDatabase* Db = nullptr;
QString SelectedCustomerId;
QString SelectedCustomerName;
QString SelectedYear;
bool FirstShow = true;
bool CloseConfirmed = false;
uint32_t FocusColor = 0x00FEE6CF;
uint32_t SavedColor = 0;

TDatabase& Database() {
    if (!Db)
        throw Exception(QStringLiteral(
            "Databáza nie je otvorená. Skontrolujte priečinok Data a spustite program znova."));
    return *Db;
}
