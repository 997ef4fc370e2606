#include "DataPage.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <algorithm>

#include "DateTime.h"
#include "Encoding.h"
#include "Exception.h"
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
    if (!RequireAnsiText(def_.textFields))
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

bool RequireNumber(QLineEdit* field) {
    // Spliced bare into the statement, so only a plain decimal number passes.
    static const QRegularExpression number("^-?(\\d+\\.?\\d*|\\.\\d+)$");
    const QString text = NumberToSql(field->text());
    if (!number.match(text).hasMatch())
        return Refuse(field);
    if (!IsPlainNumber(text.toDouble()))
        return Refuse(field, QStringLiteral("Číslo \"%1\" je mimo rozsahu, ktorý program dokáže zobraziť. "
                                            "Zadajte 0 alebo číslo od 0,00001 do 999999999999999.")
                                 .arg(field->text()));
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
        const QString text = f.field->text();
        const qsizetype at = FindNonAnsiChar(text);
        if (at < 0)
            continue;
        const QString character = CharAt(text, at);
        Refuse(f.field, UnstorableCharText(f.caption, character));
        f.field->setSelection(int(at), int(character.size()));
        return false;
    }
    return true;
}

QString StoredNumberText(const QString& table, const QString& column, const QString& id,
                         const QString& shown) {
    if (!IsWholeNumberText(id) || !Database().TableExists(table))
        return shown;
    const auto result =
        Database().Query("SELECT typeof(" + column + "), " + column + " FROM " + table + " WHERE id = " + id);
    if (!result->MoveFirst())
        return shown;
    const QString type = result->FieldAsString(0);
    if (type != "real" && type != "integer")
        return shown;
    return FloatToEditText(result->FieldAsDouble(1));
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
