// The filter tab of the trip page: trips by departure date, driver, route and total cost.
#include <QLineEdit>

#include "ComboBox.h"
#include "DataPage.h"
#include "Globals.h"
#include "Lookups.h"
#include "MaskEdit.h"
#include "SQLunit.h"
#include "TextUtils.h"
#include "TripsPage.h"

namespace {
const QString kIgnoredDate = QStringLiteral("00.00.0000");
const QString kEmptyDate = QStringLiteral("  .  .    ");

// Appends a part of the condition in SqlText.
void AddCondition(const QString& part) {
    if (!SqlText.isEmpty())
        SqlText += " AND ";
    SqlText += part;
}

// The filter items: an empty item 0, then the entry combo's items; none selected.
void CopyItems(TComboBox* to, const TComboBox* from) {
    QStringList items{QString()};
    for (int i = 0; i < from->count(); ++i)
        items << from->itemText(i);
    to->SetItems(items);
    for (int i = 0; i < from->count(); ++i)
        to->setItemData(i + 1, from->itemData(i)); // the route's id, where the entry combo keeps one
}
} // namespace

void TTripsPage::ResetFilter() {
    CopyItems(cbJazdyTriedVodic, cbJazdyVodic);
    CopyItems(cbJazdyTriedTrasa, cbJazdyTrasa);
    eJazdyTriedDatumOD->SetText(kIgnoredDate);
    eJazdyTriedDatumDO->SetText(kIgnoredDate);
    eJazdyTriedCenaOD->setText(FormatNumber(0));
    eJazdyTriedCenaDO->setText(FormatNumber(0));
}

void TTripsPage::BitBtn127Click() {
    // A bound is a real date, "00.00.0000" (no bound) or an emptied field (its blanks compared).
    for (auto [field, caption] : {std::pair{eJazdyTriedDatumOD, QStringLiteral("Dátum od")},
                                  std::pair{eJazdyTriedDatumDO, QStringLiteral("Dátum do")}}) {
        const QString text = field->Text();
        if (text != kIgnoredDate && text != kEmptyDate && !RequireDate(field, caption))
            return;
    }
    SqlText.clear();
    // An emptied date is no "00.00.0000": its blanks are compared like any date.
    if (eJazdyTriedDatumOD->Text() != kIgnoredDate)
        AddCondition("(jazdy.odchod >= " + SqlQuoted(DateToSql(eJazdyTriedDatumOD->Text())) + ")");
    if (eJazdyTriedDatumDO->Text() != kIgnoredDate)
        AddCondition("(jazdy.odchod <= " + SqlQuoted(DateToSql(eJazdyTriedDatumDO->Text())) + ")");

    // Ids and numbers go in bare: a name no longer found or a cost that is no number is refused.
    if (cbJazdyTriedVodic->currentIndex() > 0) {
        const QString id = GetVodicId(cbJazdyTriedVodic->currentText());
        if (id.isEmpty())
            return cbJazdyTriedVodic->setFocus();
        AddCondition("(jazdy.id_vodic = " + SqlId(id) + ")");
    }
    if (cbJazdyTriedTrasa->currentIndex() > 0) {
        const QString id = cbJazdyTriedTrasa->currentData().toString();
        if (id.isEmpty())
            return cbJazdyTriedTrasa->setFocus();
        AddCondition("(jazdy.id_mesta = " + SqlId(id) + ")");
    }
    const std::tuple<QLineEdit*, const char*, const char*> bounds[] = {
        {eJazdyTriedCenaOD, " >= ", "suma celkom OD"}, {eJazdyTriedCenaDO, " <= ", "suma celkom DO"}};
    for (const auto& [field, comparison, caption] : bounds) {
        if (field->text().trimmed().isEmpty())
            continue; // reads as 0: no bound
        if (!RequireNumber(field, caption))
            return;
        if (TextToFloat(field->text()) > 0)
            AddCondition("(" + CostExpr() + comparison + NumberToSql(field->text()) + ")");
    }
    SqlLines = TripQueryLines(SqlText);
    LoadGridJazdy(SqlLinesText());
}
