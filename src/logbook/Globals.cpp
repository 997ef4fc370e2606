#include "Globals.h"

TDatabase* Db = nullptr;
QString SelectedCustomerId;
QString SelectedCustomerName;
QString SelectedYear;
bool FirstShow = true;
bool CloseConfirmed = false;
uint32_t FocusColor = 0x00FEE6CF;
uint32_t SavedColor = 0;
