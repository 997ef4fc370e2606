#include "DataPage.h"

#include <QLineEdit>
#include <algorithm>

#include "DateTime.h"
#include "Globals.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "MaskEdit.h"
#include "MessageBox.h"
#include "Messages.h"
#include "ProgramGlobals.h"
#include "SQLunit.h"
#include "SqliteWrapper.h"
#include "StringGrid.h"
#include "TextUtils.h"

int FindRecordById(const TStringGrid* grid, const QString& id) {
    return id.isEmpty() ? -1 : FindGridRecordRow(id, 0, grid);
}

TDataPage::TDataPage(QObject* parent, Definition definition) : QObject(parent), def_(std::move(definition)) {
    connect(def_.grid, &TStringGrid::DblClick, this, Guarded([this] { DblClick(); }));
    connect(def_.grid, &TStringGrid::KeyDown, this, Guarded([this](int key) { KeyDown(key); }));
}

void TDataPage::SaveRecord(const Definition& def) {
    if (def.checkRequired && !def.checkRequired())
        return;
    if (!RequireAnsiText(def.textFields))
        return;
    def.createTable();
    const int row = def.findRow ? def.findRow() : FindRecordById(def.grid, def.idField->text());
    if (row >= 0)
        def.idField->setText(def.grid->Cells(0, row));

    // Asked before the transaction: the write lock is not held while the question is open.
    const bool update =
        row >= 0 &&
        ShowMessageBox(def.updateQuestion ? def.updateQuestion(row)
                                          : QStringLiteral("Chcete upraviť a uložiť položku s (ID = %1) ?")
                                                .arg(def.grid->Cells(0, row)),
                       ProgramTitle, MB_YESNO_QUESTION) == ID_YES;
    // Built before the transaction: a value that cannot be spliced stops the save before any statement.
    QStringList lines;
    if (update)
        lines = def.updateLines() << "WHERE id = " + SqlId(def.idField->text()) + ";";
    else if (row < 0)
        lines = def.insertLines();

    TTransaction transaction(Database());
    if (def.beginWrite)
        def.beginWrite();
    if (!lines.isEmpty()) {
        SqlLines = lines;
        Db->Execute(SqlLinesText());
        if (update && Db->Changes() == 0) {
            // Another program deleted the record meanwhile: the typed fields stay for a new save.
            transaction.Rollback();
            ShowMessageBox(QStringLiteral("Položka s (ID = %1) už v databáze neexistuje, medzitým ju zmazal "
                                          "iný program. Zadané údaje zostali vo formulári, uložením ich "
                                          "pridáte ako novú položku.")
                               .arg(def.idField->text()),
                           ProgramTitle, MB_ICONWARNING);
            def.idField->clear();
            def.loadGrid();
            return;
        }
        if (def.afterWrite)
            def.afterWrite();
    }
    transaction.Commit();
    def.loadGrid();
    def.clear();
}

void TDataPage::DeleteRecords(const Definition& def) {
    const QString current = def.grid->Cells(0, def.grid->Row());
    if (current.isEmpty())
        return;
    def.createTable();
    const QStringList ids = def.deleteIds ? def.deleteIds() : QStringList{current};
    const QString question = def.deleteQuestion
                                 ? def.deleteQuestion(ids)
                                 : QStringLiteral("Naozaj chcete položku s ID=\"%1\" zmazať?").arg(current);
    if (ShowMessageBox(question, ProgramTitle, MB_YESNO_QUESTION) != ID_YES)
        return;
    QStringList statements;
    for (const QString& id : ids)
        statements << "DELETE FROM " + def.table + " WHERE (id = " + SqlId(id) + ");";
    TTransaction transaction(Database());
    for (const QString& statement : statements) {
        SqlText = statement;
        Db->Execute(SqlText);
    }
    transaction.Commit();
    def.loadGrid();
    def.grid->setFocus();
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

namespace {
bool Refuse(QWidget* field, const QString& message = QString()) {
    if (!message.isEmpty())
        ShowMessageBox(message, ProgramTitle, MB_ICONWARNING);
    field->setFocus();
    // Already focused, it had no focus-in to select its text.
    if (auto* edit = qobject_cast<QLineEdit*>(field); edit && !qobject_cast<TMaskEdit*>(edit))
        edit->selectAll();
    return false;
}
} // namespace

bool RequireText(QLineEdit* field) {
    return !field->text().isEmpty() || Refuse(field);
}

bool RequireNumber(QLineEdit* field, const QString& caption) {
    const QString text = field->text();
    if (text.isEmpty())
        return Refuse(field); // a missing entry
    // Spliced bare into the statement, so only what NumberToSql takes passes.
    if (!IsSqlNumberText(text))
        return Refuse(field, QStringLiteral("Pole \"%1\" neobsahuje platné číslo (zadané: %2). Zadajte číslo "
                                            "s desatinnou čiarkou, napríklad 12,5 alebo -3.")
                                 .arg(caption, text));
    if (!IsPlainNumber(NumberToSql(text).toDouble()))
        return Refuse(field,
                      QStringLiteral("Číslo \"%1\" v poli \"%2\" je mimo rozsahu, ktorý program dokáže "
                                     "zobraziť. Zadajte 0, číslo od 0,00001 do 999999999999999 alebo "
                                     "záporné číslo od -999999999999999 do -0,00001.")
                          .arg(text, caption));
    return true;
}

bool RequireDate(TMaskEdit* field, const QString& caption) {
    const QString text = field->Text();
    const bool withTime = field->EditMask().contains(':');
    if (withTime ? IsDateTimeText(text) : IsDateText(text))
        return true;
    QString message = withTime ? QStringLiteral("Pole \"%1\" neobsahuje platný dátum a čas v tvare "
                                                "dd.mm.rrrr hh:mm")
                               : QStringLiteral("Pole \"%1\" neobsahuje platný dátum v tvare dd.mm.rrrr");
    message = message.arg(caption);
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
        message += QStringLiteral(" (zadané: %1)").arg(text);
    return Refuse(field, message + '.');
}

bool RequireYear(QLineEdit* field) {
    if (IsYearText(field->text()))
        return true;
    if (field->text().isEmpty())
        return Refuse(field); // a missing entry
    return Refuse(field, QStringLiteral("Rok musí mať štyri číslice, napríklad 2024."));
}

bool RequireAnsiText(const QList<TTextField>& fields) {
    for (const TTextField& f : fields) {
        if (const TTextSpan refused = RefuseUnstorableChar(f.field->text(), f.caption)) {
            Refuse(f.field);
            f.field->setSelection(refused.at, refused.size);
            return false;
        }
    }
    return true;
}

QString StoredNumberText(const QString& table, const QString& column, const QString& id,
                         const QString& shown) {
    if (!Database().TableExists(table))
        return shown;
    const auto result = Database().Query("SELECT typeof(" + column + "), " + column + " FROM " + table +
                                         " WHERE id = " + SqlId(id));
    if (!result->MoveFirst())
        return shown;
    const QString type = result->FieldAsString(0);
    if (type != "real" && type != "integer")
        return shown;
    return FloatToEditText(result->FieldAsDouble(1));
}

void WipeTable(const QString& table, const std::function<void()>& createTable,
               const std::function<void()>& loadGrid) {
    if (ShowMessageBox(QStringLiteral("Naozaj chcete vymazať celú tabuľku a všetky údaje vo všetkých "
                                      "zákazníkoch v tejto tabuľke nenávratne stratiť?"),
                       ProgramTitle, MB_YESNO_QUESTION) != ID_YES ||
        ShowMessageBox(QStringLiteral("Pozor! Všetky údaje v tejto tabuľke sú pre všetkých zákazníkov "
                                      "spoločné aj keď sa nezobrazujú a budú stratené! Naozaj ich chcete "
                                      "odstrániť?"),
                       ProgramTitle, MB_YESNO_WARNING) != ID_YES)
        return;
    TTransaction transaction(Database());
    SqlText = "DROP TABLE " + table + ";";
    Db->Execute(SqlText);
    transaction.Commit();
    createTable();
    loadGrid();
}
