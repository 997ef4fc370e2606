#pragma once

#include <QObject>

#include "DataPage.h"
#include "DataPageLayout.h"

class QLineEdit;
class QPushButton;

// "Vzdialenosti miest": routes between two towns with their distance in km (table mesta). The
// start town typed last is kept in the settings as the default of a new route.
class TVMTab : public QObject {
    Q_OBJECT
public:
    explicit TVMTab(QWidget* sheet);

    QLineEdit* eVMid = nullptr;
    QLineEdit* eVMmesto1 = nullptr;
    QLineEdit* eVMmesto2 = nullptr;
    QLineEdit* eVMkm = nullptr;
    TDataPageWidgets widgets; // sgVM, BitBtn13, bitVM, BitBtn18
    TDataPage* page = nullptr;

    void InitGridVM();
    void LoadGridVM(const QString& sql);
    void Show();
    void bitVMClick();
    void sgVMDblClick(int row);
    // Any key down in eVMmesto1: its text before the key becomes [Info] "mesto1"; then navigation.
    void eVMmesto1KeyDown(QWidget* sender, int key);
};

// "Priemerná rýchlosť": the average speed, kept in the settings as [Info] "PriemRychl".
class TPriemRychlTab : public QObject {
    Q_OBJECT
public:
    explicit TPriemRychlTab(QWidget* sheet);

    QLineEdit* ePriemRychl = nullptr;
    QPushButton* BitBtn16 = nullptr;

    // The tab is shown: the stored speed (default "0"), focused.
    void Show();
    // "Uložiť položku": the text is stored as typed.
    void BitBtn16Click();
};
