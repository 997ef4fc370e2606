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

QString TTripsPage::CostExpr() const {
    return "(((((SELECT (((auta.n1+auta.n2+auta.n3)/3) * ((100+auta.nadspotreba)/100)) FROM auta WHERE "
           "auta.id = " +
           CarId() +
           " LIMIT 1)/100)"
           "*(SELECT (cphm.cena) FROM cphm WHERE (cphm.id_phm = auta.id_phm) AND (cphm.datum < jazdy.odchod) "
           "ORDER BY cphm.datum DESC LIMIT 1))"
           "+((SELECT (pausnahr.suma) FROM pausnahr WHERE (pausnahr.datum < jazdy.odchod) ORDER BY "
           "pausnahr.datum DESC LIMIT 1) * auta.vlastnictvo)"
           ") * (mesta.vzdialenost * (jazdy.spat + 1)))";
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
        AddCondition("(jazdy.id_vodic = " + id + ")");
    }
    if (cbJazdyTriedTrasa->currentIndex() > 0) {
        const QString id = cbJazdyTriedTrasa->currentData().toString();
        if (id.isEmpty())
            return cbJazdyTriedTrasa->setFocus();
        AddCondition("(jazdy.id_mesta = " + id + ")");
    }
    const std::pair<QLineEdit*, const char*> bounds[] = {{eJazdyTriedCenaOD, " >= "},
                                                         {eJazdyTriedCenaDO, " <= "}};
    for (const auto& [field, comparison] : bounds) {
        if (field->text().trimmed().isEmpty())
            continue; // reads as 0: no bound
        if (!RequireNumber(field))
            return;
        if (TextToFloat(field->text()) > 0)
            AddCondition("(" + CostExpr() + comparison + NumberToSql(field->text()) + ")");
    }
    const QString condition = SqlText;

    const QString car = CarId();
    const QString price =
        "*(SELECT (cphm.cena) FROM cphm WHERE (cphm.id_phm = auta.id_phm) AND (cphm.datum < "
        "jazdy.odchod) ORDER BY cphm.datum DESC LIMIT 1))";
    SqlLines = QStringList{
        "SELECT jazdy.id, jazdy.odchod, jazdy.prichod, (mesta.mesto1 || " + SqlQuoted(" - ") +
            " || mesta.mesto2) AS \"trasa\", jazdy.spat, (mesta.vzdialenost * (jazdy.spat + 1)) AS \"km\",",
        "(",
        "(((SELECT (((auta.n1+auta.n2+auta.n3)/3) * ((100+auta.nadspotreba)/100)) FROM auta WHERE auta.id "
        "= " +
            car + " LIMIT 1)/100)",
        price,
        "+((SELECT (pausnahr.suma) FROM pausnahr WHERE (pausnahr.datum < jazdy.odchod) ORDER BY "
        "pausnahr.datum DESC "
        "LIMIT 1) * auta.vlastnictvo)",
        ") AS \"cena_km\",",
        "jazdy.cerpane, jazdy.nadspotreba, vodic.meno, jazdy.ucel,",
        CostExpr() + " AS \"cena_celkom\" FROM jazdy",
        "INNER JOIN mesta ON (jazdy.id_mesta = mesta.id)",
        "INNER JOIN auta ON (jazdy.id_auto = auta.id)",
        "INNER JOIN vodic ON (jazdy.id_vodic = vodic.id)",
        "WHERE (jazdy.id_zakaznik = " + SelectedCustomerId + ") AND (jazdy.id_auto = " + car + ")"};
    const QString order = " ORDER BY jazdy.odchod";
    LoadGridJazdy(SqlLinesText() + (condition.isEmpty() ? order : " AND (" + condition + ")" + order));
}
