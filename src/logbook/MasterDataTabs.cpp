#include "MasterDataTabs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Globals.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "InputBehaviour.h"
#include "MessageBox.h"
#include "Messages.h"
#include "ProgramGlobals.h"
#include "SQLunit.h"
#include "Schema.h"
#include "SqliteWrapper.h"
#include "StringGrid.h"

TNameTab::TNameTab(QWidget* sheet, const Names& names) : QObject(sheet), names_(names) {
    widgets = BuildDataPage(sheet, names.page, names.hint);
    idField = widgets.idField;
    nameField = AddEntryField(widgets.entryPage, names.nameField,
                              {names.nameCaption, QStringLiteral("názov")}, 70, 250, 30);
    AttachFocusColour(nameField);
    SetTabOrder({idField, nameField, widgets.save});
    widgets.grid->SetColAlignment(0, 1);

    TDataPage::Definition def;
    def.table = names.table;
    def.createTable = names.createTable;
    def.grid = widgets.grid;
    def.idField = idField;
    def.checkRequired = [this] { return RequireText(nameField); };
    def.textFields = {{nameField, QStringLiteral("názov")}};
    def.insertLines = [this] {
        return QStringList{"INSERT OR IGNORE INTO " + names_.table + " (nazov)", "VALUES (",
                           SqlQuoted(nameField->text()), ");"};
    };
    def.updateLines = [this] {
        return QStringList{"UPDATE " + names_.table + " SET", "nazov=" + SqlQuoted(nameField->text())};
    };
    def.loadGrid = [this] { LoadGrid(""); };
    def.clear = [this] { ClearClick(); };
    def.rowToFields = [this](int row) { RowToFields(row); };
    page = new TDataPage(this, def);
    ConnectDataPageButtons(this, widgets, page, [this] { ClearClick(); });
}

void TNameTab::InitGrid() {
    widgets.grid->SetColCount(2);
    widgets.grid->SetCells(0, 0, "id");
    widgets.grid->SetCells(1, 0, QStringLiteral("názov"));
    SetColWidths(widgets.grid, "25;100", false);
}

void TNameTab::LoadGrid(const QString& sql) {
    const QString query = "SELECT id, nazov FROM " + names_.table + " ORDER BY nazov";
    FillGrid(Database(), names_.table, sql.isEmpty() ? query : sql, widgets.grid);
}

void TNameTab::Show() {
    names_.createTable();
    InitGrid();
    LoadGrid("");
    ClearClick();
}

void TNameTab::ClearClick() {
    idField->clear();
    nameField->clear();
    nameField->setFocus();
}

void TNameTab::RowToFields(int row) {
    idField->setText(widgets.grid->Cells(0, row));
    nameField->setText(widgets.grid->Cells(1, row));
    nameField->setFocus();
}

TVodicTab::TVodicTab(QWidget* sheet) : QObject(sheet) {
    widgets = BuildDataPage(sheet,
                            {"eVodicID", "sgVodic", "BitBtn31", "bitVodic", "BitBtn34", "BitBtn32",
                             "TabSheet18", "Label85", "Label86", "Label87", "Label88"},
                            QStringLiteral("(Tabuľka \"Vodič\" slúži na evidenciu vodičov.)"));
    eVodicID = widgets.idField;
    eVodicMeno = AddEntryField(widgets.entryPage, "eVodicMeno", {"Label89", "meno"}, 70, 300, 40);
    AttachFocusColour(eVodicMeno);
    SetTabOrder({eVodicID, eVodicMeno, widgets.save});
    widgets.grid->SetColAlignment(0, 1);
    BitBtn8 = new QPushButton(QStringLiteral("Zmazať celú tabuľku a vynulovať ID"), sheet);
    BitBtn8->setObjectName("BitBtn8");
    BitBtn8->setGeometry(widgets.clear->x(), widgets.clear->y() + 50, widgets.clear->width(), 30);
    BitBtn8->hide();
    connect(BitBtn8, &QPushButton::clicked, this, Guarded([this] { BitBtn8Click(); }));

    TDataPage::Definition def;
    def.table = "vodic";
    def.createTable = CreateTableVodic;
    def.grid = widgets.grid;
    def.idField = eVodicID;
    def.checkRequired = [this] { return RequireText(eVodicMeno); };
    def.textFields = {{eVodicMeno, QStringLiteral("meno")}};
    def.insertLines = [this] {
        return QStringList{"INSERT OR IGNORE INTO vodic (meno, id_zakaznik)", "VALUES (",
                           SqlQuoted(eVodicMeno->text()) + ", " + SqlId(SelectedCustomerId), ");"};
    };
    def.updateLines = [this] {
        return QStringList{"UPDATE vodic SET", "meno=" + SqlQuoted(eVodicMeno->text()) +
                                                   ", id_zakaznik=" + SqlId(SelectedCustomerId)};
    };
    def.loadGrid = [this] { LoadGridVodic(""); };
    def.clear = [this] { bitVodicClick(); };
    def.rowToFields = [this](int row) { sgVodicDblClick(row); };
    page = new TDataPage(this, def);
    ConnectDataPageButtons(this, widgets, page, [this] { bitVodicClick(); });
}

void TVodicTab::InitGridVodic() {
    widgets.grid->SetColCount(2);
    widgets.grid->SetCells(0, 0, "id");
    widgets.grid->SetCells(1, 0, "meno");
    SetColWidths(widgets.grid, "25;250", false);
}

void TVodicTab::LoadGridVodic(const QString& sql) {
    const QString query =
        sql.isEmpty()
            ? "SELECT id, meno FROM vodic WHERE id_zakaznik = " + SqlId(SelectedCustomerId) + " ORDER BY meno"
            : sql;
    if (Database().Query(query)->RowCount() == 0) {
        TTransaction transaction(*Db);
        SqlLines.clear();
        SqlLines << "INSERT INTO vodic (meno, id_zakaznik) VALUES (" + SqlQuoted(SelectedCustomerName) +
                        ", " + SqlId(SelectedCustomerId) + ");";
        Db->Execute(SqlLinesText());
        transaction.Commit();
        ShowAppMessageBox(QStringLiteral("V tabuľke sa nenachádzali žiadny vodiči.") + '\r' +
                              QStringLiteral("Automaticky bol pridaný vodič \"") + SelectedCustomerName +
                              "\".",
                          MB_ICONINFORMATION);
    }
    auto result = Db->Query(query);
    FillGridFromTable(*result, widgets.grid);
}

void TVodicTab::Show() {
    CreateTableVodic();
    InitGridVodic();
    LoadGridVodic("");
    bitVodicClick();
}

void TVodicTab::bitVodicClick() {
    eVodicID->clear();
    eVodicMeno->clear();
    eVodicMeno->setFocus();
}

void TVodicTab::sgVodicDblClick(int row) {
    eVodicID->setText(widgets.grid->Cells(0, row));
    eVodicMeno->setText(widgets.grid->Cells(1, row));
    eVodicMeno->setFocus();
}

void TVodicTab::BitBtn8Click() {
    WipeTable("vodic", CreateTableVodic, [this] { LoadGridVodic(""); });
}
