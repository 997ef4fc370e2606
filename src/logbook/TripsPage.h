#pragma once

#include <QObject>
#include <QStringList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TComboBox;
class TForm1;
class TMaskEdit;
class TStringGrid;

// The trip page (pnlJazdy, inner panel Panel10): the trips of one car of the selected customer
// with their kilometres and costs computed by the engine, the totals, the entry tab (save,
// double-click, delete, wipe) and the filter tab. TripsPage.cpp holds the frame, the opening,
// the grid and its query; TripsEntry.cpp the entry tab; TripsFilter.cpp the filter.
class TTripsPage : public QObject {
    Q_OBJECT
public:
    TTripsPage(TForm1& form, QWidget* panel10);

    // Frame.
    TComboBox* cbJazdyAuto = nullptr;
    QTabWidget* PageControl7 = nullptr;
    QWidget* TabSheet13 = nullptr; // "Pridávanie položky"
    QWidget* TabSheet14 = nullptr; // "Možnosti triedenia"
    QPushButton* bitJazdy = nullptr;
    TStringGrid* sgJazdy = nullptr;
    QWidget* Panel11 = nullptr;
    QPushButton* BitBtn27 = nullptr; // print (the trip log)
    QPushButton* BitBtn28 = nullptr; // delete the selected trips
    QPushButton* BitBtn30 = nullptr; // wipe, kept invisible
    // Invisible holders: the chosen car's id, the entry's route and driver ids, the totals.
    QLabel* lblJazdyAuto = nullptr;
    QLabel* lblJazdyTrasa = nullptr;
    QLabel* lblJazdyVodic = nullptr;
    QLabel* lblJazdyKM = nullptr;
    QLabel* lblJazdySuma = nullptr;

    // Entry tab.
    QLineEdit* eJazdyID = nullptr;
    TMaskEdit* eJazdyOdchod = nullptr;
    TMaskEdit* eJazdyPrichod = nullptr;
    TComboBox* cbJazdyTrasa = nullptr;
    QCheckBox* chbJazdySpiatocna = nullptr;
    QCheckBox* chbJazdyNadspotreba = nullptr;
    TComboBox* cbJazdyVodic = nullptr;
    QLineEdit* eJazdyCerpane = nullptr;
    QLineEdit* eJazdyUcel = nullptr;
    QPushButton* BitBtn23 = nullptr; // save
    QPushButton* BitBtn26 = nullptr; // export order
    QPushButton* BitBtn29 = nullptr; // second accounting program, no action

    // Filter tab.
    TMaskEdit* eJazdyTriedDatumOD = nullptr;
    TMaskEdit* eJazdyTriedDatumDO = nullptr;
    QLineEdit* eJazdyTriedCenaOD = nullptr;
    QLineEdit* eJazdyTriedCenaDO = nullptr;
    TComboBox* cbJazdyTriedVodic = nullptr;
    TComboBox* cbJazdyTriedTrasa = nullptr;
    QPushButton* BitBtn127 = nullptr;

    // The chosen car's id, "" for none.
    QString CarId() const;

    // Menu "Evidencia jázd".
    void Evidenciajzd1Click();
    // False, after its warning, when master data or cars are missing.
    bool CheckTripPrerequisites();
    void InitGridJazdy();
    // The trip query of the chosen car, or the statement sql when given; fills the grid and the
    // totals.
    void LoadGridJazdy(const QString& sql);
    // The grid with no trip rows and zero totals.
    void ClearTripRows();
    // The 16 lines of the trip query; a condition narrows its trips (the filter).
    QStringList TripQueryLines(const QString& condition = QString()) const;

    void bitJazdyClick();
    void PageControl7Change();
    void cbJazdyAutoCloseUp();
    void cbJazdyAutoExit();
    void cbJazdyTrasaCloseUp();
    void cbJazdyTrasaExit();
    void cbJazdyVodicCloseUp();
    void cbJazdyVodicExit();

    // Entry tab.
    void BitBtn23Click();
    void sgJazdyDblClick();
    void BitBtn28Click();
    void sgJazdyKeyDown(int key);
    void BitBtn30Click();
    // Export of an order to the simple-entry accounting program (OrderExport.cpp).
    void BitBtn26Click();

    // Filter tab.
    void BitBtn127Click();
    // The total cost of a trip as one expression, the same as the trip query's.
    QString CostExpr() const;

private:
    void BuildFrame(QWidget* panel10);
    void BuildEntryTab();
    void BuildFilterTab();
    void ConnectHandlers();
    void ResetFilter();

    TForm1& form_;
};
