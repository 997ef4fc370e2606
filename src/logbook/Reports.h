#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

class TCarsPage;
class TCustomerPage;
class TStringGrid;
class TTripsPage;

// The three printed reports, each from its page's grid as the page shows it: the customer list
// and the car list in portrait, the trip log of one car in landscape, laid out in millimetres on
// A4. Each is one print document after the printer set-up dialog; Cancel prints nothing.

// The date and time of printing; tests fix them. An empty clock restores the system clock.
using ReportClock = std::function<QDateTime()>;
ReportClock SetReportClock(ReportClock clock);
QDateTime ReportNow();

// "Tlačiť zobrazené údaje" on the customers, cars and trip pages. The trip log needs a car chosen.
void BitBtn110Click(TCustomerPage& page);
void BitBtn19Click(TCarsPage& page);
void BitBtn27Click(TTripsPage& page);

void PrintCustomerList(TStringGrid* sgZak);
void PrintCustomerListTitle();
void PrintCars(TStringGrid* sgAuta);
void PrintCarsTitle();
void PrintTrips(TTripsPage& page);
void PrintTripsTitle(const QString& carLabel);
// The selected customer's block (name, address, tax numbers), the title (a CR starts its second
// line) and the print date, from y mm.
void PrintCustomerHeader(const QString& title, int y);
