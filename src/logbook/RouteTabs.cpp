#include "RouteTabs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Encoding.h"
#include "Globals.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "InputBehaviour.h"
#include "SQLunit.h"
#include "Schema.h"
#include "Settings.h"
#include "StringGrid.h"

TVMTab::TVMTab(QWidget* sheet) : QObject(sheet) {
    widgets = BuildDataPage(sheet,
                            {"eVMid", "sgVM", "BitBtn13", "bitVM", "BitBtn18", "BitBtn17", "TabSheet19",
                             "Label90", "Label91", "Label92", "Label93"},
                            QStringLiteral("(Tabuľka \"Vzdialenosť miest\" slúži na evidenciu vzdialeností "
                                           "medzi jednotlivými mestami.)"));
    eVMid = widgets.idField;
    eVMmesto1 = AddEntryField(widgets.entryPage, "eVMmesto1", {"Label94", QStringLiteral("štartovné mesto")},
                              70, 150, 30);
    eVMmesto2 = AddEntryField(widgets.entryPage, "eVMmesto2", {"Label95", QStringLiteral("cieľové mesto")},
                              230, 150, 30);
    eVMkm = AddEntryField(widgets.entryPage, "eVMkm", {"Label96", QStringLiteral("vzdialenosť (km)")}, 390,
                          100, 0);
    SetTabOrder({eVMid, eVMmesto1, eVMmesto2, eVMkm, widgets.save});

    AttachKeyDown(eVMmesto1, this, [this](QWidget* sender, int key) { eVMmesto1KeyDown(sender, key); });
    for (QLineEdit* field : {eVMmesto1, eVMmesto2, eVMkm})
        AttachFocusColour(field);
    AttachDecimalFilter(eVMkm);
    widgets.grid->SetColAlignment(0, 1);
    widgets.grid->SetColAlignment(3, 1);

    TDataPage::Definition def;
    def.table = "mesta";
    def.createTable = CreateTableMesta;
    def.grid = widgets.grid;
    def.idField = eVMid;
    def.checkRequired = [this] { return RequireNumber(eVMkm, QStringLiteral("vzdialenosť (km)")); };
    def.textFields = {{eVMmesto1, QStringLiteral("štartovné mesto")},
                      {eVMmesto2, QStringLiteral("cieľové mesto")}};
    def.insertLines = [this] {
        return QStringList{"INSERT INTO mesta (mesto1, mesto2, vzdialenost)",
                           "VALUES (",
                           SqlQuoted(eVMmesto1->text()) + ",",
                           SqlQuoted(eVMmesto2->text()) + ",",
                           NumberToSql(eVMkm->text()),
                           ");"};
    };
    def.updateLines = [this] {
        return QStringList{"UPDATE mesta SET", "mesto1=" + SqlQuoted(eVMmesto1->text()) + ",",
                           "mesto2=" + SqlQuoted(eVMmesto2->text()) + ",",
                           "vzdialenost=" + NumberToSql(eVMkm->text())};
    };
    def.loadGrid = [this] { LoadGridVM(""); };
    def.clear = [this] { bitVMClick(); };
    def.rowToFields = [this](int row) { sgVMDblClick(row); };
    page = new TDataPage(this, def);
    ConnectDataPageButtons(this, widgets, page, [this] { bitVMClick(); });
}

void TVMTab::InitGridVM() {
    TStringGrid* grid = widgets.grid;
    grid->SetColCount(4);
    grid->SetCells(0, 0, "id");
    grid->SetCells(1, 0, QStringLiteral("štartovné mesto"));
    grid->SetCells(2, 0, QStringLiteral("cieľové mesto"));
    grid->SetCells(3, 0, QStringLiteral("vzdialenosť"));
    SetColWidths(grid, "25;150;150;100", false);
}

void TVMTab::LoadGridVM(const QString& sql) {
    FillGrid(Database(), "mesta",
             sql.isEmpty() ? "SELECT id, mesto1, mesto2, vzdialenost FROM mesta ORDER BY mesto1" : sql,
             widgets.grid);
    FormatNumberColumns(widgets.grid, "3");
}

void TVMTab::Show() {
    CreateTableMesta();
    InitGridVM();
    LoadGridVM("");
    bitVMClick();
}

void TVMTab::bitVMClick() {
    eVMid->clear();
    eVMmesto1->setText(ReadSetting("Info", "mesto1", ""));
    eVMmesto2->clear();
    eVMkm->setText("0");
    eVMmesto1->setFocus();
}

void TVMTab::sgVMDblClick(int row) {
    const TStringGrid* grid = widgets.grid;
    eVMid->setText(grid->Cells(0, row));
    eVMmesto1->setText(grid->Cells(1, row));
    eVMmesto2->setText(grid->Cells(2, row));
    eVMkm->setText(StoredNumberText("mesta", "vzdialenost", grid->Cells(0, row), grid->Cells(3, row)));
    eVMmesto1->setFocus();
}

void TVMTab::eVMmesto1KeyDown(QWidget* sender, int key) {
    // Runs before the key reaches the field, so the text is the one before this key. A text that
    // the settings file cannot hold is refused by the route's save, and not kept here.
    if (FindUnwritableChar(eVMmesto1->text(), TTextCode::Windows1250) < 0)
        WriteSetting("Info", "mesto1", eVMmesto1->text());
    NavigationKey(sender, key);
}

TPriemRychlTab::TPriemRychlTab(QWidget* sheet) : QObject(sheet) {
    auto* caption = new QLabel(QStringLiteral("priemerná rýchlosť"), sheet);
    caption->setObjectName("Label97");
    caption->move(16, 16);
    ePriemRychl = new QLineEdit(sheet);
    ePriemRychl->setObjectName("ePriemRychl");
    ePriemRychl->setGeometry(16, 34, 150, 21);
    ePriemRychl->setMaxLength(30);
    BitBtn16 = new QPushButton(QStringLiteral("Uložiť položku"), sheet);
    BitBtn16->setObjectName("BitBtn16");
    BitBtn16->setGeometry(180, 28, 130, 34);

    AttachFocusColour(ePriemRychl);
    AttachDecimalFilter(ePriemRychl);
    AttachFocusColour(BitBtn16);
    connect(BitBtn16, &QPushButton::clicked, this, Guarded([this] { BitBtn16Click(); }));
}

void TPriemRychlTab::Show() {
    ePriemRychl->setText(ReadSetting("Info", "PriemRychl", "0"));
    ePriemRychl->setFocus();
}

void TPriemRychlTab::BitBtn16Click() {
    if (!RequireAnsiText({{ePriemRychl, QStringLiteral("priemerná rýchlosť")}}))
        return;
    WriteSetting("Info", "PriemRychl", ePriemRychl->text());
}
