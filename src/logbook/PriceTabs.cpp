#include "PriceTabs.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ComboBox.h"
#include "Globals.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "InputBehaviour.h"
#include "Lookups.h"
#include "MaskEdit.h"
#include "SQLunit.h"
#include "Schema.h"
#include "StringGrid.h"
#include "TextUtils.h"

namespace {
const QString kDateMask = QStringLiteral("!99.99.9999;1;_");

} // namespace

TCPHMTab::TCPHMTab(QWidget* sheet) : QObject(sheet) {
    widgets = BuildDataPage(sheet,
                            {"eCPHMid", "sgCPHM", "BitBtn9", "bitCPHM", "BitBtn12", "BitBtn11", "TabSheet12",
                             "Label67", "Label68", "Label69", "Label70"},
                            QStringLiteral("(Tabuľka \"Ceny PHM\" slúži na evidenciu cien pohonných hmôt.)"));
    eCPHMid = widgets.idField;
    eCPHMdatum =
        AddDateField(widgets.entryPage, "eCPHMdatum", {"Label71", QStringLiteral("dátum")}, 70, kDateMask);
    cbCPHMtyp = AddEntryCombo(widgets.entryPage, "cbCPHMtyp", {"Label72", "typ PHM"}, 170, 150);
    lblCPHMtyp = AddIdLabel(widgets.entryPage, "lblCPHMtyp", cbCPHMtyp);
    eCPHMcena = AddEntryField(widgets.entryPage, "eCPHMcena", {"Label73", "cena"}, 340, 120, 30);
    SetTabOrder({widgets.idField, eCPHMdatum, cbCPHMtyp, eCPHMcena, widgets.save});

    AttachEnterOpens(eCPHMdatum, cbCPHMtyp);
    AttachDateMask(eCPHMdatum);
    AttachComboEnter(cbCPHMtyp);
    AttachFocusColour(eCPHMcena);
    AttachDecimalFilter(eCPHMcena);
    connect(cbCPHMtyp, &TComboBox::CloseUp, this, Guarded([this] { cbCPHMtypCloseUp(); }));
    AttachExit(cbCPHMtyp, this, [this] { cbCPHMtypExit(); });

    widgets.grid->SetColAlignment(0, 1);
    widgets.grid->SetColAlignment(1, 2);
    widgets.grid->SetColAlignment(3, 1);

    TDataPage::Definition def;
    def.table = "cphm";
    def.createTable = CreateTableCPHM;
    def.grid = widgets.grid;
    def.idField = eCPHMid;
    def.checkRequired = [this] {
        if (lblCPHMtyp->text().isEmpty()) {
            cbCPHMtyp->setFocus();
            cbCPHMtyp->showPopup();
            return false;
        }
        return RequireDate(eCPHMdatum, QStringLiteral("dátum")) &&
               RequireNumber(eCPHMcena, QStringLiteral("cena"));
    };
    def.insertLines = [this] {
        return QStringList{"INSERT INTO cphm (datum, id_phm, cena)",
                           "VALUES (",
                           SqlQuoted(DateToSql(eCPHMdatum->Text())) + ",",
                           SqlId(lblCPHMtyp->text()) + ",",
                           NumberToSql(eCPHMcena->text()),
                           ");"};
    };
    def.updateLines = [this] {
        return QStringList{"UPDATE cphm SET", "datum=" + SqlQuoted(DateToSql(eCPHMdatum->Text())) + ",",
                           "id_phm=" + SqlId(lblCPHMtyp->text()) + ",",
                           "cena=" + NumberToSql(eCPHMcena->text())};
    };
    def.loadGrid = [this] { LoadGridCPHM(""); };
    def.clear = [this] { bitCPHMClick(); };
    def.rowToFields = [this](int row) { sgCPHMDblClick(row); };
    page = new TDataPage(this, def);
    ConnectDataPageButtons(this, widgets, page, [this] { bitCPHMClick(); });
}

void TCPHMTab::InitGridCPHM() {
    TStringGrid* grid = widgets.grid;
    grid->SetColCount(4);
    grid->SetCells(0, 0, "id");
    grid->SetCells(1, 0, QStringLiteral("dátum"));
    grid->SetCells(2, 0, "typ PHM");
    grid->SetCells(3, 0, "cena");
    SetColWidths(grid, "25;100;100;100", false);
}

void TCPHMTab::LoadGridCPHM(const QString& sql) {
    const QString query = "SELECT cphm.id, cphm.datum, phm.nazov, cphm.cena FROM cphm INNER JOIN phm ON "
                          "(phm.id = cphm.id_phm) ORDER BY cphm.datum";
    FillGrid(Database(), "cphm", sql.isEmpty() ? query : sql, widgets.grid);
    FormatNumberColumns(widgets.grid, "3");
    DateColumnsToText(widgets.grid, "1");
}

void TCPHMTab::Show() {
    CreateTablePHM();
    CreateTableCPHM();
    InitGridCPHM();
    LoadGridCPHM("");
    QStringList names = CreateStringList();
    FillPHMNames(names);
    cbCPHMtyp->SetItems(names);
    if (cbCPHMtyp->count() > 0)
        cbCPHMtyp->setCurrentIndex(0);
    UpdateTypeLabel();
    bitCPHMClick();
}

void TCPHMTab::bitCPHMClick() {
    eCPHMid->clear();
    eCPHMdatum->SetText("");
    eCPHMcena->setText("0");
    UpdateTypeLabel();
    eCPHMdatum->setFocus();
}

void TCPHMTab::sgCPHMDblClick(int row) {
    const TStringGrid* grid = widgets.grid;
    eCPHMid->setText(grid->Cells(0, row));
    eCPHMdatum->SetText(grid->Cells(1, row));
    cbCPHMtyp->setCurrentIndex(IndexOfItemText(grid->Cells(2, row), cbCPHMtyp, false));
    lblCPHMtyp->setText(GetPHMId(grid->Cells(2, row)));
    eCPHMcena->setText(StoredNumberText("cphm", "cena", grid->Cells(0, row), grid->Cells(3, row)));
    eCPHMdatum->setFocus();
}

void TCPHMTab::cbCPHMtypCloseUp() {
    UpdateTypeLabel();
}

void TCPHMTab::cbCPHMtypExit() {
    UpdateTypeLabel();
}

void TCPHMTab::UpdateTypeLabel() {
    // With no item shown the text is empty, and so is the id.
    lblCPHMtyp->setText(GetPHMId(cbCPHMtyp->currentIndex() >= 0 ? cbCPHMtyp->currentText() : QString()));
}

TPNTab::TPNTab(QWidget* sheet) : QObject(sheet) {
    widgets = BuildDataPage(
        sheet,
        {"ePNid", "sgPN", "BitBtn10", "bitPN", "BitBtn15", "BitBtn14", "TabSheet17", "Label79", "Label80",
         "Label81", "Label82"},
        QStringLiteral("(Tabuľka \"Základná náhrada\" slúži pri výpočte ciest súkromným autom.)"));
    ePNid = widgets.idField;
    ePNdatum =
        AddDateField(widgets.entryPage, "ePNdatum", {"Label83", QStringLiteral("dátum")}, 70, kDateMask);
    ePNsuma = AddEntryField(widgets.entryPage, "ePNsuma", {"Label84", "suma"}, 170, 120, 0);
    SetTabOrder({widgets.idField, ePNdatum, ePNsuma, widgets.save});

    AttachDateMask(ePNdatum);
    AttachFocusColour(ePNsuma);
    AttachDecimalFilter(ePNsuma);

    widgets.grid->SetColAlignment(0, 1);
    widgets.grid->SetColAlignment(1, 2);
    widgets.grid->SetColAlignment(2, 1);

    TDataPage::Definition def;
    def.table = "pausnahr";
    def.createTable = CreateTablePausnahr;
    def.grid = widgets.grid;
    def.idField = ePNid;
    def.checkRequired = [this] {
        return RequireDate(ePNdatum, QStringLiteral("dátum")) &&
               RequireNumber(ePNsuma, QStringLiteral("suma"));
    };
    def.insertLines = [this] {
        return QStringList{"INSERT INTO pausnahr (datum, suma)", "VALUES (",
                           SqlQuoted(DateToSql(ePNdatum->Text())) + ",", NumberToSql(ePNsuma->text()), ");"};
    };
    def.updateLines = [this] {
        return QStringList{"UPDATE pausnahr SET", "datum=" + SqlQuoted(DateToSql(ePNdatum->Text())) + ",",
                           "suma=" + NumberToSql(ePNsuma->text())};
    };
    def.loadGrid = [this] { LoadGridPN(""); };
    def.clear = [this] { bitPNClick(); };
    def.rowToFields = [this](int row) { sgPNDblClick(row); };
    page = new TDataPage(this, def);
    ConnectDataPageButtons(this, widgets, page, [this] { bitPNClick(); });
}

void TPNTab::InitGridPN() {
    TStringGrid* grid = widgets.grid;
    grid->SetColCount(3);
    grid->SetCells(0, 0, "id");
    grid->SetCells(1, 0, QStringLiteral("dátum"));
    grid->SetCells(2, 0, "suma");
    SetColWidths(grid, "25;100;100", false);
}

void TPNTab::LoadGridPN(const QString& sql) {
    FillGrid(Database(), "pausnahr",
             sql.isEmpty() ? "SELECT id, datum, suma FROM pausnahr ORDER BY datum" : sql, widgets.grid);
    FormatNumberColumns(widgets.grid, "2");
    DateColumnsToText(widgets.grid, "1");
}

void TPNTab::Show() {
    CreateTablePausnahr();
    InitGridPN();
    LoadGridPN("");
    bitPNClick();
}

void TPNTab::bitPNClick() {
    ePNid->clear();
    ePNdatum->SetText("");
    ePNsuma->setText("0");
    ePNdatum->setFocus();
}

void TPNTab::sgPNDblClick(int row) {
    const TStringGrid* grid = widgets.grid;
    ePNid->setText(grid->Cells(0, row));
    ePNdatum->SetText(grid->Cells(1, row));
    ePNsuma->setText(StoredNumberText("pausnahr", "suma", grid->Cells(0, row), grid->Cells(2, row)));
    ePNdatum->setFocus();
}
