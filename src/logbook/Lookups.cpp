#include "Lookups.h"

#include <QComboBox>

#include "Globals.h"
#include "SQLunit.h"
#include "SqliteWrapper.h"

namespace {
// The "id" of the first row of the query, or "".
QString IdOf(const QString& sql) {
    const auto result = Database().Query(sql);
    return result->MoveFirst() ? FieldText(*result, "id", "") : QString();
}

// List := one field of every row; an empty result clears the list.
void FieldOfRows(const QString& sql, const QString& field, QStringList& list) {
    auto result = Database().Query(sql);
    list.clear();
    if (result->RowCount() > 0)
        FieldToStrings(*result, field, list);
}

// Appends a text per row, and with ids each row's id in step; an empty result clears the list.
template <class RowText>
void AppendRows(const QString& sql, QStringList& list, RowText rowText, QStringList* ids = nullptr) {
    if (ids)
        ids->clear();
    auto result = Database().Query(sql);
    if (!result->MoveFirst()) {
        list.clear();
        return;
    }
    for (; !result->Eof(); result->Next()) {
        list << rowText(*result);
        if (ids)
            *ids << FieldText(*result, "id", "");
    }
}
} // namespace

QString GetPHMId(const QString& name) {
    if (name.isEmpty())
        return {};
    return IdOf("SELECT * FROM phm WHERE nazov = " + SqlQuoted(name) + ";");
}

QString GetDruhvozId(const QString& name) {
    if (name.isEmpty())
        return {};
    return IdOf("SELECT * FROM druhvoz WHERE nazov = " + SqlQuoted(name) + ";");
}

QString GetVodicId(const QString& name) {
    if (name.isEmpty())
        return {};
    return IdOf("SELECT * FROM vodic WHERE (id_zakaznik = " + SqlId(SelectedCustomerId) +
                ")AND(meno = " + SqlQuoted(name) + ")");
}

QString GetAutaId(const QString& label) {
    if (label.isEmpty())
        return {};
    return IdOf("SELECT * FROM auta WHERE ((auta.nazov || ' - ' || auta.spz = " + SqlQuoted(label) +
                ")AND(id_zakaznik = " + SqlId(SelectedCustomerId) + "));");
}

QString GetMestaId(const QString& label) {
    if (label.isEmpty())
        return {};
    return IdOf("SELECT * FROM mesta WHERE (mesto1 || ' - ' || mesto2 = " + SqlQuoted(label) + ");");
}

void FillPHMNames(QStringList& list) {
    FieldOfRows("SELECT * FROM phm ORDER BY nazov;", "nazov", list);
}

void FillDruhvozNames(QStringList& list) {
    FieldOfRows("SELECT * FROM druhvoz ORDER BY nazov;", "nazov", list);
}

void FillDriverNames(QStringList& list) {
    AppendRows("SELECT * FROM vodic WHERE id_zakaznik = " + SqlId(SelectedCustomerId) + " ORDER BY meno;",
               list, [](const TQueryResult& row) { return FieldText(row, "meno", "?"); });
}

void FillMestaLabels(QStringList& list, QStringList* ids) {
    AppendRows(
        "SELECT * FROM mesta ORDER BY mesto1, mesto2;", list,
        [](const TQueryResult& row) {
            return FieldText(row, "mesto1", "?") + " - " + FieldText(row, "mesto2", "?");
        },
        ids);
}

void FillAutaLabels(QStringList& list, QStringList* ids) {
    AppendRows(
        "SELECT * FROM auta WHERE id_zakaznik = " + SqlId(SelectedCustomerId) + " ORDER BY nazov;", list,
        [](const TQueryResult& row) {
            return FieldText(row, "nazov", "?") + " - " + FieldText(row, "spz", "?");
        },
        ids);
}

void SetItemIds(QComboBox* combo, const QStringList& ids) {
    for (int item = 0; item < combo->count(); ++item)
        combo->setItemData(item, ids.value(item));
}

QString SelectedId(const QComboBox* combo) {
    return combo->currentIndex() >= 0 ? combo->currentData().toString() : QString();
}
