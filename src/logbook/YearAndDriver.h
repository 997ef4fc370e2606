#pragma once

#include <QString>

// Registers a year for a customer, with a driver named like the customer when a name is given.
// Both inserts skip rows that exist already. Runs inside the caller's transaction; the caller
// passes a checked year and customer id.
void AddYearAndDriver(const QString& year, const QString& name, const QString& customerId);

// True for a year or id text that may be spliced into a statement as a number: digits only.
bool IsWholeNumberText(const QString& text);
