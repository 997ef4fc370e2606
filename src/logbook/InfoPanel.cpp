#include "InfoPanel.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabWidget>

#include "HandlerGuard.h"
#include "MasterDataTabs.h"
#include "PriceTabs.h"
#include "RouteTabs.h"
#include "Schema.h"
#include "Vozopis1.h"

TInfoPanel::TInfoPanel(TForm1& form, QTabWidget* pgInfo) : QObject(pgInfo), form_(form), pgInfo_(pgInfo) {
    pgInfo->resize(1022, 688);
    TabSheet1 = NewSheet("TabSheet1", "PHM");
    TabSheet2 = NewSheet("TabSheet2", "Ceny PHM");
    TabSheet8 = NewSheet("TabSheet8", "Druhy vozidiel");
    TabSheet3 = NewSheet("TabSheet3", QStringLiteral("Paušálna náhrada"));
    TabSheet15 = NewSheet("TabSheet15", QStringLiteral("Vodič"));
    TabSheet5 = NewSheet("TabSheet5", "Vzdialenosti miest");
    TabSheet9 = NewSheet("TabSheet9", QStringLiteral("Priemerná rýchlosť"));

    PhmTab = new TNameTab(TabSheet1,
                          {"phm",
                           CreateTablePHM,
                           {"ePHMid", "sgPHM", "BitBtn5", "bitPHM", "BitBtn7", "BitBtn6", "TabSheet11",
                            "Label62", "Label63", "Label64", "Label65"},
                           "ePHMnazov",
                           "Label66",
                           QStringLiteral("(Tabuľka \"PHM\" slúži na evidenciu druhov pohonných hmôt.)")});
    DvTab = new TNameTab(TabSheet8,
                         {"druhvoz",
                          CreateTableDruhvoz,
                          {"eDVid", "sgDV", "BitBtn21", "bitDV", "BitBtn25", "BitBtn24", "TabSheet16",
                           "Label74", "Label75", "Label76", "Label77"},
                          "eDVnazov",
                          "Label78",
                          QStringLiteral("(Tabuľka \"Druhy vozidiel\" slúži na zadávanie druhov vozidiel, "
                                         "ktoré chcete používať.)")});
    VodicTab = new TVodicTab(TabSheet15);
    CPHMTab = new TCPHMTab(TabSheet2);
    PNTab = new TPNTab(TabSheet3);
    VMTab = new TVMTab(TabSheet5);
    PriemRychlTab = new TPriemRychlTab(TabSheet9);

    connect(pgInfo, &QTabWidget::currentChanged, this, Guarded([this] { pgInfoChange(); }));
}

QWidget* TInfoPanel::NewSheet(const char* name, const QString& caption) {
    auto* sheet = new QWidget;
    sheet->setObjectName(name);
    sheet->resize(1014, 660);
    pgInfo_->addTab(sheet, caption);
    return sheet;
}

void TInfoPanel::Dolujcedaje1Click() {
    form_.ShowPanel(form_.pnlInfo);
    {
        const QSignalBlocker blocker(pgInfo_); // the change handler is the user's tab choice only
        pgInfo_->setCurrentIndex(0);
    }
    PhmTab->Show();
}

void TInfoPanel::pgInfoChange() {
    switch (pgInfo_->currentIndex()) {
    case 0:
        PhmTab->Show();
        break;
    case 1:
        CPHMTab->Show();
        break;
    case 2:
        DvTab->Show();
        break;
    case 3:
        PNTab->Show();
        break;
    case 4:
        VodicTab->Show();
        break;
    case 5:
        VMTab->Show();
        break;
    case 6:
        PriemRychlTab->Show();
        break;
    default:
        break;
    }
}
