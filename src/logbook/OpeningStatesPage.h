#pragma once

#include <QObject>

#include "DataPageLayout.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TComboBox;
class TDataPage;
class TForm1;
class TStringGrid;

// The opening states (pnlPrevod, page control pgPrevod): per car and year, the fuel in the tank and
// the odometer reading at the start of the year. Saving one also registers its year.
class TOpeningStatesPage : public QObject {
    Q_OBJECT
public:
    TOpeningStatesPage(TForm1& form, QTabWidget* pgPrevod);

    QWidget* sheet = nullptr; // the tab "Počiatočné stavy"
    QLineEdit* ePocStavID = nullptr;
    QLineEdit* ePocStavRok = nullptr;
    TComboBox* cbPocStavAuto = nullptr;
    QLabel* lblPocStavAuto = nullptr;
    QLineEdit* ePocStavPHM = nullptr;
    QLineEdit* ePocStavTachometer = nullptr;
    QPushButton* BitBtn40 = nullptr;   // save
    QPushButton* bitPocStav = nullptr; // clear
    QPushButton* BitBtn43 = nullptr;   // delete
    TStringGrid* sgPocStav = nullptr;
    TDataPage* page = nullptr;

    void dajepreprevodroka1Click();
    void pgPrevodChange();
    void InitGridPocStav();
    void LoadGridPocStav(const QString& sql);
    void BitBtn40Click();
    void BitBtn43Click();
    void bitPocStavClick();
    void sgPocStavDblClick(int row);
    void cbPocStavAutoCloseUp();

private:
    // Grid, car list and cleared fields, as on opening.
    void Refresh();
    bool CheckRequired();

    TForm1& form_;
    QTabWidget* pgPrevod_;
    TDataPageWidgets widgets_;
};
