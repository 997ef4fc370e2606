#pragma once

#include <QObject>

#include "DataPage.h"
#include "DataPageLayout.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TComboBox;
class TMaskEdit;

// "Ceny PHM": the price of each fuel type from a given day on (table cphm).
class TCPHMTab : public QObject {
    Q_OBJECT
public:
    explicit TCPHMTab(QWidget* sheet);

    QLineEdit* eCPHMid = nullptr;
    TMaskEdit* eCPHMdatum = nullptr;
    TComboBox* cbCPHMtyp = nullptr;
    QLabel* lblCPHMtyp = nullptr; // id of the fuel type shown in cbCPHMtyp
    QLineEdit* eCPHMcena = nullptr;
    TDataPageWidgets widgets; // sgCPHM, BitBtn9, bitCPHM, BitBtn12
    TDataPage* page = nullptr;

    void InitGridCPHM();
    void LoadGridCPHM(const QString& sql);
    // The tab-change action: tables, grid, the fuel names in the combo, clear.
    void Show();
    void bitCPHMClick();
    void sgCPHMDblClick(int row);
    // The list closes or the combo loses the focus: the label follows the combo's text.
    void cbCPHMtypCloseUp();
    void cbCPHMtypExit();

protected:
private:
    void UpdateTypeLabel();
};

// "Paušálna náhrada": the flat-rate compensation per kilometre from a given day on (table pausnahr).
class TPNTab : public QObject {
    Q_OBJECT
public:
    explicit TPNTab(QWidget* sheet);

    QLineEdit* ePNid = nullptr;
    TMaskEdit* ePNdatum = nullptr;
    QLineEdit* ePNsuma = nullptr;
    TDataPageWidgets widgets; // sgPN, BitBtn10, bitPN, BitBtn15
    TDataPage* page = nullptr;

    void InitGridPN();
    void LoadGridPN(const QString& sql);
    void Show();
    void bitPNClick();
    void sgPNDblClick(int row);
};
