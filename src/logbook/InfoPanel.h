#pragma once

#include <QObject>

class QTabWidget;
class TCPHMTab;
class TForm1;
class TNameTab;
class TPNTab;
class TPriemRychlTab;
class TVMTab;
class TVodicTab;

// The master-data panel pnlInfo: the page control pgInfo and its seven tabs.
class TInfoPanel : public QObject {
    Q_OBJECT
public:
    TInfoPanel(TForm1& form, QTabWidget* pgInfo);

    // Tab sheets in index order.
    QWidget* TabSheet1 = nullptr;  // 0 "PHM"
    QWidget* TabSheet2 = nullptr;  // 1 "Ceny PHM"
    QWidget* TabSheet8 = nullptr;  // 2 "Druhy vozidiel"
    QWidget* TabSheet3 = nullptr;  // 3 "Paušálna náhrada"
    QWidget* TabSheet15 = nullptr; // 4 "Vodič"
    QWidget* TabSheet5 = nullptr;  // 5 "Vzdialenosti miest"
    QWidget* TabSheet9 = nullptr;  // 6 "Priemerná rýchlosť"

    TNameTab* PhmTab = nullptr;
    TNameTab* DvTab = nullptr;
    TVodicTab* VodicTab = nullptr;
    TCPHMTab* CPHMTab = nullptr;
    TPNTab* PNTab = nullptr;
    TVMTab* VMTab = nullptr;
    TPriemRychlTab* PriemRychlTab = nullptr;

    // Menu "&Doplňujúce údaje": the panel in front, always on tab "PHM".
    void Dolujcedaje1Click();
    // The user picked another tab: that tab's set-up.
    void pgInfoChange();

private:
    QWidget* NewSheet(const char* name, const QString& caption);

    TForm1& form_;
    QTabWidget* pgInfo_;
};
