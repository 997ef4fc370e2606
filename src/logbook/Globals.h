#pragma once

#include <QString>
#include <cstdint>

class TDatabase;

// State of the main window that its pages share.
extern TDatabase* Db;              // the one database connection, owned by the main window; null when closed
extern QString SelectedCustomerId; // id of the current customer, empty when none
extern QString SelectedCustomerName; // name of the current customer
extern QString SelectedYear;         // the current working year
extern bool FirstShow;               // true until the first showing of the main window has run
extern bool CloseConfirmed;          // closing is already agreed
extern uint32_t FocusColor;          // background of the focused input, 0x00BBGGRR
extern uint32_t SavedColor;          // the focused control's colour before highlighting

// The open database; raises an exception with a clear message when start-up could not open it,
// so that every page action is refused through the handler guard.
TDatabase& Database();
