#include "OpeningStatesPage.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

#include "CarsPage.h"
#include "ComboBox.h"
#include "DataPage.h"
#include "Globals.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "InputBehaviour.h"
#include "Lookups.h"
#include "SQLunit.h"
#include "Schema.h"
#include "StringGrid.h"
#include "TextUtils.h"
#include "Vozopis1.h"
#include "YearAndDriver.h"

TOpeningStatesPage::TOpeningStatesPage(TForm1& form, QTabWidget* pgPrevod)
    : QObject(pgPrevod), form_(form), pgPrevod_(pgPrevod) {
    pgPrevod->resize(1022, 688);
    sheet = new QWidget;
    sheet->setObjectName("TabSheet20");
    sheet->resize(1014, 660);
    pgPrevod->addTab(sheet, QStringLiteral("Počiatočné stavy"));

    widgets_ = BuildDataPage(sheet,
                             {"ePocStavID", "sgPocStav", "BitBtn40", "bitPocStav", "BitBtn43", "BitBtn41",
                              "TabSheet21", "Label98", "Label99", "Label100", "Label101"},
                             QStringLiteral("(Tabuľka \"Počiatočné stavy\" slúži na spravovanie počiatočných "
                                            "stavov pre jednotlivé vozidlá pre daný kalendárny rok.)"));
    ePocStavID = widgets_.idField;
    BitBtn40 = widgets_.save;
    bitPocStav = widgets_.clear;
    BitBtn43 = widgets_.remove;
    sgPocStav = widgets_.grid;
    // The disabled two-line button stands in the bottom row, where this page's print button hides.
    form.BitBtn4->setParent(widgets_.bottomPanel);
    form.BitBtn4->setGeometry(BitBtn43->x() - 308, 0, 300, 36);
    for (int col : {0, 4, 5})
        sgPocStav->SetColAlignment(col, 1);
    sgPocStav->SetColAlignment(1, 2);

    QWidget* entry = widgets_.entryPage;
    ePocStavRok = AddEntryField(entry, "ePocStavRok", {"Label102", "rok"}, 70, 60, 30);
    cbPocStavAuto = AddEntryCombo(entry, "cbPocStavAuto", {"Label103", "auto"}, 140, 200);
    lblPocStavAuto = AddIdLabel(entry, "lblPocStavAuto", cbPocStavAuto);
    lblPocStavAuto->setText("_");
    ePocStavPHM = AddEntryField(entry, "ePocStavPHM", {"Label104", "stav PHM"}, 350, 100, 0);
    ePocStavTachometer =
        AddEntryField(entry, "ePocStavTachometer", {"Label105", "stav tachometra"}, 460, 120, 0);
    const QList<QWidget*> order = {ePocStavID,         ePocStavRok, cbPocStavAuto, ePocStavPHM,
                                   ePocStavTachometer, BitBtn40,    bitPocStav};
    SetTabOrder(order);

    for (QWidget* field : std::initializer_list<QWidget*>{ePocStavRok, ePocStavPHM, ePocStavTachometer,
                                                          BitBtn40, form.BitBtn4, bitPocStav})
        AttachFocusColour(field);
    AttachDecimalFilter(ePocStavPHM);
    AttachDecimalFilter(ePocStavTachometer);
    AttachYearFilter(ePocStavRok);
    AttachEnterOpens(ePocStavRok, cbPocStavAuto);
    AttachComboEnter(cbPocStavAuto);

    TDataPage::Definition def;
    def.table = "pocstav";
    def.createTable = CreateTablePocstav;
    def.grid = sgPocStav;
    def.idField = ePocStavID;
    def.checkRequired = [this] { return CheckRequired(); };
    def.beginWrite = [this] {
        AddYearAndDriver(ePocStavRok->text(), SelectedCustomerName, SelectedCustomerId);
    };
    def.insertLines = [this] {
        return QStringList{"INSERT OR REPLACE INTO pocstav (rok, id_auto, stavphm, stavtach, id_zakaznik)",
                           "VALUES (",
                           SqlYear(ePocStavRok->text()) + ",",
                           SqlId(lblPocStavAuto->text()) + ",",
                           NumberToSql(ePocStavPHM->text()) + ",",
                           NumberToSql(ePocStavTachometer->text()) + ",",
                           SqlId(SelectedCustomerId),
                           ");"};
    };
    def.updateLines = [this] {
        return QStringList{"UPDATE pocstav SET", "rok=" + SqlYear(ePocStavRok->text()) + ",",
                           "id_auto=" + SqlId(lblPocStavAuto->text()) + ",",
                           "stavphm=" + NumberToSql(ePocStavPHM->text()) + ",",
                           "stavtach=" + NumberToSql(ePocStavTachometer->text())};
    };
    def.loadGrid = [this] { LoadGridPocStav(""); };
    def.clear = [this] { bitPocStavClick(); };
    def.rowToFields = [this](int row) { sgPocStavDblClick(row); };
    page = new TDataPage(this, def);

    connect(BitBtn40, &QPushButton::clicked, this, Guarded([this] { BitBtn40Click(); }));
    connect(BitBtn43, &QPushButton::clicked, this, Guarded([this] { BitBtn43Click(); }));
    connect(bitPocStav, &QPushButton::clicked, this, Guarded([this] { bitPocStavClick(); }));
    connect(cbPocStavAuto, &TComboBox::CloseUp, this, Guarded([this] { cbPocStavAutoCloseUp(); }));
    AttachExit(cbPocStavAuto, this, [this] { cbPocStavAutoCloseUp(); });
    // Connected after the tab exists: adding it is no change of the user's.
    connect(pgPrevod, &QTabWidget::currentChanged, this, Guarded([this] { pgPrevodChange(); }));
}

void TOpeningStatesPage::dajepreprevodroka1Click() {
    form_.ShowPanel(form_.pnlPrevod);
    {
        const QSignalBlocker blocker(pgPrevod_);
        pgPrevod_->setCurrentIndex(0);
    }
    CreateTablePocstav();
    CreateTableAuta();
    Refresh();
}

void TOpeningStatesPage::pgPrevodChange() {
    if (pgPrevod_->currentIndex() != 0)
        return;
    CreateTablePocstav();
    Refresh();
}

void TOpeningStatesPage::Refresh() {
    InitGridPocStav();
    LoadGridPocStav("");
    QStringList labels;
    QStringList ids;
    FillAutaLabels(labels, &ids);
    cbPocStavAuto->SetItems(labels);
    SetItemIds(cbPocStavAuto, ids);
    if (cbPocStavAuto->count() > 0)
        cbPocStavAuto->setCurrentIndex(0);
    cbPocStavAutoCloseUp();
    bitPocStavClick();
}

void TOpeningStatesPage::InitGridPocStav() {
    sgPocStav->SetColCount(6);
    const QStringList headers = {"id", "rok", "auto", QStringLiteral("ŠPZ"), "stav PHM", "stav tacho."};
    for (int col = 0; col < headers.size(); ++col)
        sgPocStav->SetCells(col, 0, headers[col]);
    SetColWidths(sgPocStav, "25;80;120;100;100;100", false);
}

void TOpeningStatesPage::LoadGridPocStav(const QString& sql) {
    SqlLines.clear();
    SqlLines << "SELECT pocstav.id, pocstav.rok, auta.nazov, auta.spz, pocstav.stavphm, pocstav.stavtach "
                "FROM pocstav";
    SqlLines << "INNER JOIN auta ON (pocstav.id_auto = auta.id) WHERE pocstav.id_zakaznik = " +
                    SqlId(SelectedCustomerId) + " ORDER BY pocstav.rok, auta.nazov";
    FillGrid(Database(), "pocstav", sql.isEmpty() ? SqlLinesText() : sql, sgPocStav);
    FormatNumberColumns(sgPocStav, "4;5");
}

void TOpeningStatesPage::BitBtn40Click() {
    page->Save();
}

void TOpeningStatesPage::BitBtn43Click() {
    page->Delete();
}

bool TOpeningStatesPage::CheckRequired() {
    if (lblPocStavAuto->text().isEmpty()) {
        cbPocStavAuto->setFocus();
        cbPocStavAuto->showPopup();
        return false;
    }
    // The year goes into the statements bare, and so do the numbers.
    return RequireYear(ePocStavRok) && RequireNumber(ePocStavPHM, QStringLiteral("stav PHM")) &&
           RequireNumber(ePocStavTachometer, QStringLiteral("stav tachometra"));
}

void TOpeningStatesPage::bitPocStavClick() {
    ePocStavID->clear();
    ePocStavRok->setText(SelectedYear);
    cbPocStavAutoCloseUp();
    ePocStavPHM->setText("0");
    ePocStavTachometer->setText("0");
    ePocStavRok->setFocus();
}

void TOpeningStatesPage::sgPocStavDblClick(int row) {
    ePocStavID->setText(sgPocStav->Cells(0, row));
    ePocStavRok->setText(sgPocStav->Cells(1, row));
    // The car by the stored id: two cars may share the label the grid shows.
    const QString id = sgPocStav->Cells(0, row);
    const QString car =
        FirstId(Database(), "SELECT id_auto AS id FROM pocstav WHERE id = " + SqlId(id) + ";");
    cbPocStavAuto->setCurrentIndex(car.isEmpty() ? -1 : cbPocStavAuto->findData(car));
    lblPocStavAuto->setText(car);
    ePocStavPHM->setText(StoredNumberText("pocstav", "stavphm", id, sgPocStav->Cells(4, row)));
    ePocStavTachometer->setText(StoredNumberText("pocstav", "stavtach", id, sgPocStav->Cells(5, row)));
    ePocStavRok->setFocus();
}

void TOpeningStatesPage::cbPocStavAutoCloseUp() {
    lblPocStavAuto->setText(SelectedId(cbPocStavAuto));
}
