#pragma once

class TDatabase;

// A generated logbook of customer 1 ("Doprava Nitra", year 2024): its cars, routes, drivers, fuel
// prices, flat rates and trips. The same sizes give the same rows on every run.
struct TLogbookSize {
    int cars = 1;
    int tripsPerCar = 10000;
    int prices = 3000;
    int flatRates = 100;
    int routes = 50;
};

// Creates the tables as the program does and writes the rows in one transaction. The trips of
// every car span about ten years from 2015, the cars' trips interleaved; the flat rates start a few
// days after the first trips, so the first trips have no cost.
void BuildLogbook(TDatabase& database, const TLogbookSize& size);
