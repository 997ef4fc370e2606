#pragma once

#include <QDateTime>
#include <QString>

// Date-times as a day count: whole days since 1899-12-30, the time of day as the fraction
// (before that day the fraction still counts forward from midnight: -1.25 is 1899-12-29 06:00).

// The current local date and time.
double Now();
double DateTimeToDays(const QDateTime& dateTime);

// The date-time as text in a pattern: d/dd day, m/mm month (minutes when the letter before was
// h), y/yy two-digit year, yyy/yyyy four-digit year, h/hh hour (0-23), n/nn minute, s/ss second,
// '/' the date separator '.', ':' the time separator ':'; letters are read in either case and
// every other character is copied.
QString FormatDate(const QString& pattern, double dateTime);
// The four-digit year.
QString YearText(double dateTime);
QString CurrentYearText();

// Typed dates as the masked edits give them: "dd.mm.yyyy" and "dd.mm.yyyy hh:nn", every position
// a digit, the day existing in its month (leap years counted), hours 0-23 and minutes 0-59.
bool IsDateText(const QString& text);
bool IsDateTimeText(const QString& text);
// A year of four digits, 1000 to 9999.
bool IsYearText(const QString& text);
