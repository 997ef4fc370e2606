#include "CustomerPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "DataPage.h"
#include "DataPageLayout.h"
#include "DateTime.h"
#include "Exception.h"
#include "Globals.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "InputBehaviour.h"
#include "MessageBox.h"
#include "Messages.h"
#include "ProgramGlobals.h"
#include "Reports.h"
#include "SQLunit.h"
#include "Schema.h"
#include "SqliteWrapper.h"
#include "StringGrid.h"
#include "Vozopis1.h"
#include "YearAndDriver.h"

namespace {
const char* const kDefaultQuery = "SELECT id, nazov, ico, dic, osoba, ulica, mesto, psc, stat, platca, fo, "
                                  "po FROM zakaznici ORDER BY nazov";

QLineEdit* NewEdit(QWidget* parent, const char* name, int maxLength, const QRect& geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    edit->setGeometry(geometry);
    return edit;
}

// Checks a radio button (clearing the others of its group) or unchecks it alone, so that a
// group may end with no button checked.
void SetRadioChecked(QRadioButton* button, bool checked) {
    if (checked) {
        button->setChecked(true);
        return;
    }
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

QString Flag(bool on) {
    return on ? "1" : "0";
}
} // namespace

TCustomerPage::TCustomerPage(TForm1& form, QWidget* panel) : QObject(panel), form_(form) {
    BuildForm(panel);

    TDataPage::Definition def;
    def.table = "zakaznici";
    def.createTable = CreateTableZakaznici;
    def.grid = sgZak;
    def.idField = eZakID;
    def.checkRequired = [this] { return RequireText(eZakNazov) && RequireText(eZakICO) && CheckStorable(); };
    // The IČO decides first; the id copied by a double-click only when the IČO is unknown.
    def.findRow = [this] {
        const int row = FindGridRecordRow(eZakICO->text(), 2, sgZak);
        return row >= 0 ? row : FindRecordById(sgZak, eZakID->text());
    };
    def.updateQuestion = [this](int row) {
        return QStringLiteral("Chcete upraviť a uložiť zákazníka s (ID = ") + sgZak->Cells(0, row) + ") a (" +
               QStringLiteral("IČO = ") + sgZak->Cells(2, row) + ") ?";
    };
    def.insertLines = [this] { return InsertLines(); };
    def.updateLines = [this] { return UpdateLines(); };
    def.afterWrite = [this] { AddCurrentYear(); };
    def.loadGrid = [this] { LoadGridZak(""); };
    def.clear = [this] { BitBtn1Click(); };
    def.rowToFields = [this](int row) { RowToFields(row); };
    def.deleteQuestion = [](const QStringList& ids) {
        return QStringLiteral("Naozaj chcete zákazníka s ID=\"") + ids.first() + QStringLiteral("\" zmazať?");
    };
    page = new TDataPage(this, def);

    connect(BitBtn22, &QPushButton::clicked, this, Guarded([this] { BitBtn22Click(); }));
    connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }));
    connect(BitBtn108, &QPushButton::clicked, this, Guarded([this] { BitBtn108Click(); }));
    connect(BitBtn110, &QPushButton::clicked, this, Guarded([this] { BitBtn110Click(*this); }));
    connect(chbZakPlatca, &QCheckBox::toggled, this, Guarded([this] { chbZakPlatcaClick(); }));
    // Typed letters in upper case. Replaced as an edit, not set anew: a text set anew would be
    // selected by the field's guard, and the next key would replace it.
    connect(eZakDIC1, &QLineEdit::textEdited, eZakDIC1, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int caret = eZakDIC1->cursorPosition();
        eZakDIC1->selectAll();
        eZakDIC1->insert(upper);
        eZakDIC1->setCursorPosition(caret);
    });
}

void TCustomerPage::BuildForm(QWidget* panel) {
    auto* group = new QGroupBox(QStringLiteral("Pridať dodávateľa / odberateľa: "), panel);
    group->setObjectName("GroupBox1");
    group->setGeometry(10, 8, 740, 200);
    NewCaptionLabel(group, {"Label24", QStringLiteral("Poradové číslo:")}, 10, 22);
    eZakID = NewEdit(group, "eZakID", 32767, {10, 40, 80, 21});
    eZakID->setReadOnly(true);
    eZakID->setStyleSheet("QLineEdit { background-color: palette(button); color: gray; }");
    NewCaptionLabel(group, {"Label25", QStringLiteral("Názov firmy: ")}, 100, 22);
    eZakNazov = NewEdit(group, "eZakNazov", 30, {100, 40, 250, 21});
    QFont bold = eZakNazov->font();
    bold.setBold(true);
    eZakNazov->setFont(bold);
    NewCaptionLabel(group, {"Label26", QStringLiteral("IČO: ")}, 360, 22);
    eZakICO = NewEdit(group, "eZakICO", 20, {360, 40, 110, 21});
    lblDIC = NewCaptionLabel(group, {"lblDIC", QStringLiteral("IČ DPH:")}, 480, 22);
    lblDIC->resize(100, lblDIC->sizeHint().height());
    eZakDIC1 = NewEdit(group, "eZakDIC1", 5, {480, 40, 36, 21});
    eZakDIC2 = NewEdit(group, "eZakDIC2", 20, {515, 40, 130, 21});
    chbZakPlatca = new QCheckBox(QStringLiteral("Platca DPH"), group);
    chbZakPlatca->setObjectName("chbZakPlatca");
    chbZakPlatca->setGeometry(655, 40, 80, 21);
    chbZakPlatca->setChecked(true);
    rbZakFO = new QRadioButton(QStringLiteral("Fyzická osoba"), group);
    rbZakFO->setObjectName("rbZakFO");
    rbZakFO->setGeometry(100, 70, 130, 21);
    rbZakFO->setChecked(true);
    rbZakPO = new QRadioButton(QStringLiteral("Právnická osoba"), group);
    rbZakPO->setObjectName("rbZakPO");
    rbZakPO->setGeometry(240, 70, 130, 21);

    auto* contact = new QGroupBox(QStringLiteral("Kontaktné údaje: "), group);
    contact->setObjectName("GroupBox2");
    contact->setGeometry(10, 100, 720, 90);
    NewCaptionLabel(contact, {"Label27", QStringLiteral("Osoba:")}, 10, 22);
    eZakOsoba = NewEdit(contact, "eZakOsoba", 30, {10, 40, 200, 21});
    NewCaptionLabel(contact, {"Label28", QStringLiteral("Ulica: ")}, 220, 22);
    eZakUlica = NewEdit(contact, "eZakUlica", 30, {220, 40, 180, 21});
    NewCaptionLabel(contact, {"Label29", QStringLiteral("Mesto:")}, 410, 22);
    eZakMesto = NewEdit(contact, "eZakMesto", 30, {410, 40, 120, 21});
    NewCaptionLabel(contact, {"Label30", QStringLiteral("PSČ: ")}, 540, 22);
    eZakPSC = NewEdit(contact, "eZakPSC", 15, {540, 40, 60, 21});
    NewCaptionLabel(contact, {"Label31", QStringLiteral("Štát: ")}, 610, 22);
    eZakStat = NewEdit(contact, "eZakStat", 30, {610, 40, 100, 21});

    BitBtn22 = AddButton(panel, "BitBtn22", QStringLiteral("Uložiť údaje"), {770, 40, 240, 32});
    BitBtn1 = AddButton(panel, "BitBtn1", QStringLiteral("Vyčistiť údaje / pridať nového zákazníka"),
                        {770, 90, 240, 32});

    sgZak = new TStringGrid(panel);
    sgZak->setObjectName("sgZak");
    sgZak->setGeometry(10, 220, 1000, 410);
    sgZak->SetColAlignment(0, 1);
    for (int col = 9; col <= 11; ++col)
        sgZak->SetColAlignment(col, 2);

    NewCaptionLabel(panel, {"Label32", QStringLiteral("Dvojklikom na zákazníka ho môžete upraviť.")}, 10,
                    646);
    BitBtn110 = AddButton(panel, "BitBtn110", QStringLiteral("Tlačiť zobrazené údaje"), {520, 640, 220, 30});
    BitBtn108 = AddButton(panel, "BitBtn108", QStringLiteral("Odstrániť označenú položku (del)"),
                          {760, 640, 250, 30});

    for (QWidget* field : std::initializer_list<QWidget*>{eZakNazov, eZakUlica, eZakMesto, eZakPSC, eZakStat,
                                                          eZakICO, eZakDIC1, eZakDIC2, eZakOsoba, rbZakFO,
                                                          rbZakPO, chbZakPlatca, BitBtn22, BitBtn1})
        AttachFocusColour(field);
    AttachNavigation(eZakID);
}

void TCustomerPage::InitGridZak() {
    sgZak->SetColCount(12);
    const QStringList headers = {"id",
                                 QStringLiteral("názov firmy"),
                                 QStringLiteral("IČO"),
                                 "DIČ / IČDPH",
                                 "osoba",
                                 "ulica",
                                 "mesto",
                                 QStringLiteral("PSČ"),
                                 QStringLiteral("štát"),
                                 "platca",
                                 "fyz.o.",
                                 QStringLiteral("práv.o.")};
    for (int col = 0; col < headers.size(); ++col)
        sgZak->SetCells(col, 0, headers[col]);
}

void TCustomerPage::LoadGridZak(const QString& sql) {
    FillGrid(Database(), "zakaznici", sql.isEmpty() ? kDefaultQuery : sql, sgZak);
}

void TCustomerPage::Pridavybrazkaznka1Click() {
    form_.ShowPanel(form_.pnlZakaznici);
    InitGridZak();
    SetColWidths(sgZak, "25;100;70;75;70;77;70;40;53;35;35;38", false);
    LoadGridZak("");
    BitBtn1Click();
}

void TCustomerPage::chbZakPlatcaClick() {
    if (chbZakPlatca->isChecked()) {
        eZakDIC1->show();
        eZakDIC2->move(eZakDIC1->x() + eZakDIC1->width() - 1, eZakDIC2->y());
        lblDIC->setText(QStringLiteral("IČ DPH:"));
    } else {
        eZakDIC1->clear();
        eZakDIC1->hide();
        eZakDIC2->move(eZakDIC1->x(), eZakDIC2->y());
        lblDIC->setText(QStringLiteral("DIČ:"));
    }
}

QString TCustomerPage::TaxNumber() const {
    return eZakDIC1->text() + eZakDIC2->text();
}

QStringList TCustomerPage::InsertLines() const {
    QStringList lines = {"INSERT INTO zakaznici (",
                         "nazov, ico, dic, osoba, ulica, mesto, psc, stat, platca, fo, po)", "VALUES ("};
    for (const QString& value : {eZakNazov->text(), eZakICO->text(), TaxNumber(), eZakOsoba->text(),
                                 eZakUlica->text(), eZakMesto->text(), eZakPSC->text(), eZakStat->text()})
        lines << SqlQuoted(value) + ",";
    lines << Flag(chbZakPlatca->isChecked()) + "," << Flag(rbZakFO->isChecked()) + ","
          << Flag(rbZakPO->isChecked()) << ");";
    return lines;
}

QStringList TCustomerPage::UpdateLines() const {
    QStringList lines = {"UPDATE zakaznici SET"};
    const QList<QPair<QString, QString>> columns = {
        {"nazov", eZakNazov->text()}, {"ico", eZakICO->text()},     {"dic", TaxNumber()},
        {"osoba", eZakOsoba->text()}, {"ulica", eZakUlica->text()}, {"mesto", eZakMesto->text()},
        {"psc", eZakPSC->text()},     {"stat", eZakStat->text()}};
    for (const auto& [column, value] : columns)
        lines << column + "=" + SqlQuoted(value) + ",";
    lines << "platca=" + Flag(chbZakPlatca->isChecked()) + ","
          << "fo=" + Flag(rbZakFO->isChecked()) + ","
          << "po=" + Flag(rbZakPO->isChecked());
    return lines;
}

bool TCustomerPage::CheckStorable() const {
    const QString taxCaption = lblDIC->text().chopped(1); // without its colon
    return RequireAnsiText({{eZakNazov, QStringLiteral("Názov firmy")},
                            {eZakICO, QStringLiteral("IČO")},
                            {eZakDIC1, taxCaption},
                            {eZakDIC2, taxCaption},
                            {eZakOsoba, QStringLiteral("Osoba")},
                            {eZakUlica, QStringLiteral("Ulica")},
                            {eZakMesto, QStringLiteral("Mesto")},
                            {eZakPSC, QStringLiteral("PSČ")},
                            {eZakStat, QStringLiteral("Štát")}});
}

void TCustomerPage::AddCurrentYear() {
    const QString id =
        FirstId(*Db, "SELECT id FROM zakaznici WHERE nazov = " + SqlQuoted(eZakNazov->text()) + ";");
    // The id goes into the statements bare: a customer not found again stores nothing.
    if (!IsWholeNumberText(id))
        throw Exception(QStringLiteral("Zákazníka \"%1\" sa po uložení nepodarilo nájsť v databáze, "
                                       "nič nebolo uložené.")
                            .arg(eZakNazov->text()));
    AddYearAndDriver(CurrentYearText(), eZakNazov->text(), id);
}

void TCustomerPage::BitBtn22Click() {
    page->Save();
}

void TCustomerPage::BitBtn108Click() {
    page->Delete();
}

void TCustomerPage::sgZakKeyDown(int key) {
    page->KeyDown(key);
}

void TCustomerPage::BitBtn1Click() {
    for (QLineEdit* field :
         {eZakID, eZakNazov, eZakICO, eZakDIC1, eZakDIC2, eZakOsoba, eZakUlica, eZakMesto, eZakPSC, eZakStat})
        field->clear();
    chbZakPlatca->setChecked(true);
    rbZakFO->setChecked(true);
    eZakNazov->setFocus();
}

void TCustomerPage::sgZakDblClick() {
    page->DblClick();
}

void TCustomerPage::RowToFields(int row) {
    const QString tax = sgZak->Cells(3, row);
    eZakID->setText(sgZak->Cells(0, row));
    eZakNazov->setText(sgZak->Cells(1, row));
    eZakICO->setText(sgZak->Cells(2, row));
    eZakDIC1->setText(tax.left(2));
    eZakDIC2->setText(tax.mid(2));
    eZakOsoba->setText(sgZak->Cells(4, row));
    eZakUlica->setText(sgZak->Cells(5, row));
    eZakMesto->setText(sgZak->Cells(6, row));
    eZakPSC->setText(sgZak->Cells(7, row));
    eZakStat->setText(sgZak->Cells(8, row));
    if (sgZak->Cells(9, row) == "1") {
        chbZakPlatca->setChecked(true);
    } else {
        chbZakPlatca->setChecked(false);
        chbZakPlatcaClick();
        eZakDIC2->setText(tax);
    }
    SetRadioChecked(rbZakFO, sgZak->Cells(10, row) == "1");
    SetRadioChecked(rbZakPO, sgZak->Cells(11, row) == "1");
    eZakNazov->setFocus();
}
