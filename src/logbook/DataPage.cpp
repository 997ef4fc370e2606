#include "DataPage.h"

#include <QLineEdit>
#include <QRegularExpression>

#include "Exception.h"
#include "Globals.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "MessageBox.h"
#include "Messages.h"
#include "ProgramGlobals.h"
#include "SQLunit.h"
#include "SqliteWrapper.h"
#include "StringGrid.h"
#include "YearAndDriver.h"

int FindRecordById(const TStringGrid* grid, const QString& id) {
    return id.isEmpty() ? -1 : FindGridRecordRow(id, 0, grid);
}

TDataPage::TDataPage(QObject* parent, Definition definition) : QObject(parent), def_(std::move(definition)) {
    connect(def_.grid, &TStringGrid::DblClick, this, Guarded([this] { DblClick(); }));
    connect(def_.grid, &TStringGrid::KeyDown, this, Guarded([this](int key) { KeyDown(key); }));
}

void TDataPage::Save() {
    if (def_.checkRequired && !def_.checkRequired())
        return;
    def_.createTable();
    const int row = def_.findRow ? def_.findRow() : FindRecordById(def_.grid, def_.idField->text());
    if (row >= 0)
        def_.idField->setText(def_.grid->Cells(0, row));
    const QString id = def_.idField->text();

    // Asked before the transaction: the write lock is not held while the question is open.
    const bool update =
        row >= 0 &&
        ShowMessageBox(
            QStringLiteral("Chcete upraviť a uložiť položku s (ID = %1) ?").arg(def_.grid->Cells(0, row)),
            ProgramTitle, MB_YESNO_QUESTION) == ID_YES;
    TTransaction transaction(Database());
    if (def_.beginWrite)
        def_.beginWrite();
    if (update) {
        SqlLines = def_.updateLines();
        SqlLines << "WHERE id = " + id + ";";
        if (!UpdateRecord(transaction, SqlLinesText(), id)) {
            def_.idField->clear();
            def_.loadGrid();
            return;
        }
    } else if (row < 0) {
        SqlLines = def_.insertLines();
        Db->Execute(SqlLinesText());
    }
    transaction.Commit();
    def_.loadGrid();
    def_.clear();
}

void TDataPage::Delete() {
    const QString id = def_.grid->Cells(0, def_.grid->Row());
    if (id.isEmpty())
        return;
    def_.createTable();
    const QString question = QStringLiteral("Naozaj chcete položku s ID=\"%1\" zmazať?").arg(id);
    if (ShowMessageBox(question, ProgramTitle, MB_YESNO_QUESTION) != ID_YES)
        return;
    TTransaction transaction(Database());
    SqlText = "DELETE FROM " + def_.table + " WHERE (id = " + id + ");";
    Db->Execute(SqlText);
    transaction.Commit();
    def_.loadGrid();
    def_.grid->setFocus();
}

void TDataPage::DblClick() {
    const int row = def_.grid->Row();
    if (row < 1 || def_.grid->Cells(0, row).isEmpty())
        return;
    def_.rowToFields(row);
}

void TDataPage::KeyDown(int key) {
    if (key == Qt::Key_Delete)
        Delete();
}

bool UpdateRecord(TTransaction& transaction, const QString& sql, const QString& id) {
    if (!IsWholeNumberText(id))
        throw Exception(QStringLiteral("Položku nie je možné upraviť: chýba jej ID."));
    Db->Execute(sql);
    if (Db->Changes() > 0)
        return true;
    transaction.Rollback();
    ShowMessageBox(QStringLiteral("Položka s (ID = %1) už v databáze neexistuje, medzitým ju zmazal iný "
                                  "program. Zadané údaje zostali vo formulári, uložením ich pridáte ako "
                                  "novú položku.")
                       .arg(id),
                   ProgramTitle, MB_ICONWARNING);
    return false;
}

bool RequireText(QLineEdit* field) {
    if (!field->text().isEmpty())
        return true;
    field->setFocus();
    return false;
}

bool RequireNumber(QLineEdit* field) {
    // Spliced bare into the statement, so only a plain decimal number passes.
    static const QRegularExpression number("^-?(\\d+\\.?\\d*|\\.\\d+)$");
    if (number.match(NumberToSql(field->text())).hasMatch())
        return true;
    field->setFocus();
    return false;
}

bool ConfirmTableWipe() {
    return ShowMessageBox(
               QStringLiteral("Naozaj chcete vymazať celú tabuľku a všetky údaje vo všetkých zákazníkoch "
                              "v tejto tabuľke nenávratne stratiť?"),
               ProgramTitle, MB_YESNO_QUESTION) == ID_YES &&
           ShowMessageBox(
               QStringLiteral("Pozor! Všetky údaje v tejto tabuľke sú pre všetkých zákazníkov spoločné "
                              "aj keď sa nezobrazujú a budú stratené! Naozaj ich chcete odstrániť?"),
               ProgramTitle, MB_YESNO_WARNING) == ID_YES;
}
