// The entry tab of the trip page: save, double-click, delete and the wipe.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "ComboBox.h"
#include "DataPage.h"
#include "Globals.h"
#include "Lookups.h"
#include "MaskEdit.h"
#include "MessageBox.h"
#include "Messages.h"
#include "ProgramGlobals.h"
#include "SQLunit.h"
#include "Schema.h"
#include "SqliteWrapper.h"
#include "StringGrid.h"
#include "TextUtils.h"
#include "TripsPage.h"

namespace {
// A date-time mask with no digit typed.
const QString kEmptyDateTime = QStringLiteral("  .  .       :  ");

void FocusAndOpen(TComboBox* combo) {
    combo->setFocus();
    combo->showPopup();
}

QString Flag(const QCheckBox* box) {
    return box->isChecked() ? "1" : "0";
}
} // namespace

void TTripsPage::BitBtn23Click() {
    if (CarId().isEmpty())
        return FocusAndOpen(cbJazdyAuto);
    if (eJazdyOdchod->Text() == kEmptyDateTime) {
        eJazdyOdchod->setFocus();
        return;
    }
    if (!RequireDate(eJazdyOdchod, "odchod"))
        return;
    if (eJazdyPrichod->Text() == kEmptyDateTime) {
        eJazdyPrichod->setFocus();
        return;
    }
    if (!RequireDate(eJazdyPrichod, QStringLiteral("príchod")))
        return;
    // Both texts are valid, so their statement forms compare in time order.
    if (DateTimeToSql(eJazdyPrichod->Text()) < DateTimeToSql(eJazdyOdchod->Text())) {
        ShowMessageBox(QStringLiteral("Príchod (%1) nemôže byť skôr ako odchod (%2).")
                           .arg(eJazdyPrichod->Text(), eJazdyOdchod->Text()),
                       ProgramTitle, MB_ICONWARNING);
        eJazdyPrichod->setFocus();
        return;
    }
    if (lblJazdyTrasa->text().isEmpty())
        return FocusAndOpen(cbJazdyTrasa);
    // The driver id and the fuel taken go into the statement bare.
    if (lblJazdyVodic->text().isEmpty())
        return FocusAndOpen(cbJazdyVodic);
    if (!RequireNumber(eJazdyCerpane))
        return;
    if (!RequireAnsiText({{eJazdyUcel, QStringLiteral("účel")}}))
        return;

    CreateTableJazdy();
    const int row = FindRecordById(sgJazdy, eJazdyID->text());
    if (row >= 0)
        eJazdyID->setText(sgJazdy->Cells(0, row));

    const QString departure = SqlQuoted(DateTimeToSql(eJazdyOdchod->Text()));
    const QString arrival = SqlQuoted(DateTimeToSql(eJazdyPrichod->Text()));
    const QString fuel = NumberToSql(eJazdyCerpane->text());
    const QString purpose = SqlQuoted(eJazdyUcel->text());

    // A failed statement rolls back before its error is shown; the fields keep what was typed.
    // The question comes before the transaction: the write lock is not held while it is open.
    const bool update =
        row >= 0 &&
        ShowMessageBox(
            QStringLiteral("Chcete upraviť a uložiť položku s (ID = %1) ?").arg(sgJazdy->Cells(0, row)),
            ProgramTitle, MB_YESNO_QUESTION) == ID_YES;
    TTransaction transaction(Database());
    if (row >= 0) {
        if (update) {
            SqlLines = QStringList{"UPDATE jazdy SET",
                                   "odchod=" + departure + ",",
                                   "prichod=" + arrival + ",",
                                   "id_mesta=" + lblJazdyTrasa->text() + ",",
                                   "spat=" + Flag(chbJazdySpiatocna) + ",",
                                   "cerpane=" + fuel + ",",
                                   "nadspotreba=" + Flag(chbJazdyNadspotreba) + ",",
                                   "ucel=" + purpose + ",",
                                   "id_auto=" + CarId() + ",",
                                   "id_vodic=" + lblJazdyVodic->text(),
                                   "WHERE id = " + eJazdyID->text() + ";"};
            if (!UpdateRecord(transaction, SqlLinesText(), eJazdyID->text())) {
                eJazdyID->clear();
                LoadGridJazdy("");
                return;
            }
        }
    } else {
        SqlLines =
            QStringList{"INSERT INTO jazdy (odchod, prichod, id_mesta, spat, cerpane, nadspotreba, ucel, "
                        "id_auto, id_vodic, id_zakaznik)",
                        "VALUES (",
                        departure + ",",
                        arrival + ",",
                        lblJazdyTrasa->text() + ",",
                        Flag(chbJazdySpiatocna) + ",",
                        fuel + ",",
                        Flag(chbJazdyNadspotreba) + ",",
                        purpose + ",",
                        CarId() + ",",
                        lblJazdyVodic->text() + ",",
                        SelectedCustomerId,
                        ");"};
        Db->Execute(SqlLinesText());
    }
    transaction.Commit();
    LoadGridJazdy("");
    bitJazdyClick();
}

void TTripsPage::sgJazdyDblClick() {
    const int row = sgJazdy->Row();
    if (row < 1 || sgJazdy->Cells(0, row).isEmpty())
        return;
    auto cell = [&](int col) { return sgJazdy->Cells(col, row); };
    eJazdyID->setText(cell(0));
    eJazdyOdchod->SetText(cell(1));
    eJazdyPrichod->SetText(cell(2));
    // The route by the trip's stored id: two routes may share the label the grid shows. A route
    // missing from the list (added since the list was filled) leaves no item chosen, its id kept.
    const QString route = FirstId(Database(), "SELECT id_mesta AS id FROM jazdy WHERE id = " + cell(0) + ";");
    cbJazdyTrasa->setCurrentIndex(route.isEmpty() ? -1 : cbJazdyTrasa->findData(route));
    lblJazdyTrasa->setText(route);
    chbJazdySpiatocna->setChecked(cell(4) == "1");
    eJazdyCerpane->setText(StoredNumberText("jazdy", "cerpane", cell(0), cell(7)));
    chbJazdyNadspotreba->setChecked(cell(8) == "1");
    eJazdyUcel->setText(cell(10));
    cbJazdyVodic->setCurrentIndex(IndexOfItemText(cell(9), cbJazdyVodic, false));
    lblJazdyVodic->setText(GetVodicId(cell(9)));
    eJazdyOdchod->setFocus(); // on the filter tab the hidden field cannot take it
}

void TTripsPage::BitBtn28Click() {
    if (sgJazdy->Cells(0, sgJazdy->Row()).isEmpty())
        return;
    CreateTableJazdy();
    const TGridRect selection = sgJazdy->Selection();
    QStringList ids;
    for (int row = selection.Top; row <= selection.Bottom; ++row) {
        const QString id = sgJazdy->Cells(0, row);
        if (!id.isEmpty())
            ids << id;
    }
    const QString question =
        QStringLiteral("Naozaj chcete položky s nasledovnými ID zmazať?") + "\r\r" + ids.join(", ");
    if (ShowMessageBox(question, ProgramTitle, MB_YESNO_QUESTION) != ID_YES)
        return;
    TTransaction transaction(Database());
    for (const QString& id : ids) {
        SqlText = "DELETE FROM jazdy WHERE (id = " + id + ");";
        Db->Execute(SqlText);
    }
    transaction.Commit();
    LoadGridJazdy("");
    sgJazdy->setFocus();
}

void TTripsPage::sgJazdyKeyDown(int key) {
    if (key == Qt::Key_Delete)
        BitBtn28Click();
}

void TTripsPage::BitBtn30Click() {
    if (!ConfirmTableWipe())
        return;
    TTransaction transaction(Database());
    SqlText = "DROP TABLE jazdy;";
    Db->Execute(SqlText);
    transaction.Commit();
    CreateTableJazdy();
    LoadGridJazdy("");
}
