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

bool FocusAndOpen(TComboBox* combo) {
    combo->setFocus();
    combo->showPopup();
    return false;
}

bool Focus(QWidget* field) {
    field->setFocus();
    return false;
}

QString Flag(const QCheckBox* box) {
    return box->isChecked() ? "1" : "0";
}
} // namespace

namespace {
// The required entries and the checks of the values spliced bare, in the order they are asked for.
bool CheckTrip(TTripsPage& page) {
    if (page.CarId().isEmpty())
        return FocusAndOpen(page.cbJazdyAuto);
    if (page.eJazdyOdchod->Text() == kEmptyDateTime)
        return Focus(page.eJazdyOdchod);
    if (!RequireDate(page.eJazdyOdchod, "odchod"))
        return false;
    if (page.eJazdyPrichod->Text() == kEmptyDateTime)
        return Focus(page.eJazdyPrichod);
    if (!RequireDate(page.eJazdyPrichod, QStringLiteral("príchod")))
        return false;
    // Both texts are valid, so their statement forms compare in time order.
    if (DateTimeToSql(page.eJazdyPrichod->Text()) < DateTimeToSql(page.eJazdyOdchod->Text())) {
        ShowMessageBox(QStringLiteral("Príchod (%1) nemôže byť skôr ako odchod (%2).")
                           .arg(page.eJazdyPrichod->Text(), page.eJazdyOdchod->Text()),
                       ProgramTitle, MB_ICONWARNING);
        return Focus(page.eJazdyPrichod);
    }
    if (page.lblJazdyTrasa->text().isEmpty())
        return FocusAndOpen(page.cbJazdyTrasa);
    // The driver id and the fuel taken go into the statement bare.
    if (page.lblJazdyVodic->text().isEmpty())
        return FocusAndOpen(page.cbJazdyVodic);
    return RequireNumber(page.eJazdyCerpane, QStringLiteral("čerpané"));
}

// The trip's values in statement form, in the order of the insert's columns.
struct TripValues {
    explicit TripValues(const TTripsPage& page)
        : departure(SqlQuoted(DateTimeToSql(page.eJazdyOdchod->Text()))),
          arrival(SqlQuoted(DateTimeToSql(page.eJazdyPrichod->Text()))),
          route(SqlId(page.lblJazdyTrasa->text())), back(Flag(page.chbJazdySpiatocna)),
          fuel(NumberToSql(page.eJazdyCerpane->text())), excess(Flag(page.chbJazdyNadspotreba)),
          purpose(SqlQuoted(page.eJazdyUcel->text())), car(SqlId(page.CarId())),
          driver(SqlId(page.lblJazdyVodic->text())) {}
    QString departure, arrival, route, back, fuel, excess, purpose, car, driver;
};

TDataPage::Definition TripDefinition(TTripsPage& page) {
    TDataPage::Definition def;
    def.table = "jazdy";
    def.createTable = CreateTableJazdy;
    def.grid = page.sgJazdy;
    def.idField = page.eJazdyID;
    def.checkRequired = [&page] { return CheckTrip(page); };
    def.textFields = {{page.eJazdyUcel, QStringLiteral("účel")}};
    def.insertLines = [&page] {
        const TripValues v(page);
        return QStringList{"INSERT INTO jazdy (odchod, prichod, id_mesta, spat, cerpane, nadspotreba, ucel, "
                           "id_auto, id_vodic, id_zakaznik)",
                           "VALUES (",
                           v.departure + ",",
                           v.arrival + ",",
                           v.route + ",",
                           v.back + ",",
                           v.fuel + ",",
                           v.excess + ",",
                           v.purpose + ",",
                           v.car + ",",
                           v.driver + ",",
                           SqlId(SelectedCustomerId),
                           ");"};
    };
    // The customer of an existing trip is not changed.
    def.updateLines = [&page] {
        const TripValues v(page);
        return QStringList{"UPDATE jazdy SET",
                           "odchod=" + v.departure + ",",
                           "prichod=" + v.arrival + ",",
                           "id_mesta=" + v.route + ",",
                           "spat=" + v.back + ",",
                           "cerpane=" + v.fuel + ",",
                           "nadspotreba=" + v.excess + ",",
                           "ucel=" + v.purpose + ",",
                           "id_auto=" + v.car + ",",
                           "id_vodic=" + v.driver};
    };
    def.loadGrid = [&page] { page.LoadGridJazdy(""); };
    def.clear = [&page] { page.bitJazdyClick(); };
    // Every selected trip, from the top row of the selection to its bottom row.
    def.deleteIds = [&page] {
        const TGridRect selection = page.sgJazdy->Selection();
        QStringList ids;
        for (int row = selection.Top; row <= selection.Bottom; ++row) {
            const QString id = page.sgJazdy->Cells(0, row);
            if (!id.isEmpty())
                ids << id;
        }
        return ids;
    };
    def.deleteQuestion = [](const QStringList& ids) {
        return QStringLiteral("Naozaj chcete položky s nasledovnými ID zmazať?") + "\r\r" + ids.join(", ");
    };
    return def;
}
} // namespace

void TTripsPage::BitBtn23Click() {
    TDataPage::SaveRecord(TripDefinition(*this));
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
    const QString route =
        FirstId(Database(), "SELECT id_mesta AS id FROM jazdy WHERE id = " + SqlId(cell(0)) + ";");
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
    TDataPage::DeleteRecords(TripDefinition(*this));
}

void TTripsPage::sgJazdyKeyDown(int key) {
    if (key == Qt::Key_Delete)
        BitBtn28Click();
}

void TTripsPage::BitBtn30Click() {
    WipeTable("jazdy", CreateTableJazdy, [this] { LoadGridJazdy(""); });
}
