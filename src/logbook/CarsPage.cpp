#include "CarsPage.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ComboBox.h"
#include "DataPage.h"
#include "Exception.h"
#include "Globals.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "InputBehaviour.h"
#include "Lookups.h"
#include "Reports.h"
#include "SQLunit.h"
#include "Schema.h"
#include "SqliteWrapper.h"
#include "StringGrid.h"
#include "TextUtils.h"
#include "Vozopis1.h"

namespace {
constexpr int kGridHeight = 474;
constexpr int kEntryHeight = 162;

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(x, y, 100, 15);
    return label;
}

QLineEdit* NewEdit(QWidget* parent, const char* name, int x, int y, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(x, y, width, 20);
    edit->setMaxLength(30);
    return edit;
}

QRadioButton* NewRadio(QWidget* parent, const char* name, const QString& caption, int y) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(name);
    radio->setGeometry(8, y, 60, 18);
    return radio;
}

} // namespace

TCarsPage::TCarsPage(TForm1& form, QWidget* panel) : QObject(panel), form_(form) {
    BuildForm(panel);
    WireInput();

    TDataPage::Definition def;
    def.table = "auta";
    def.createTable = CreateTableAuta;
    def.grid = sgAuta;
    def.idField = eAutaID;
    def.checkRequired = [this] { return CheckRequired(); };
    def.textFields = {{eAutaNazov, QStringLiteral("názov")}, {eAutaSPZ, QStringLiteral("ŠPZ")}};
    def.findRow = [this] {
        int row = FindRecordById(sgAuta, eAutaID->text());
        if (row < 0 && !eAutaSPZ->text().isEmpty())
            row = FindGridRecordRow(eAutaSPZ->text(), 2, sgAuta);
        return row;
    };
    def.insertLines = [this] { return InsertLines(); };
    def.updateLines = [this] { return UpdateLines(); };
    def.loadGrid = [this] { LoadGridAuta(""); };
    def.clear = [this] { bitAutaClick(); };
    def.rowToFields = [this](int row) { sgAutaDblClick(row); };
    page = new TDataPage(this, def);

    connect(BitBtn3, &QPushButton::clicked, this, Guarded([this] { BitBtn3Click(); }));
    connect(BitBtn20, &QPushButton::clicked, this, Guarded([this] { BitBtn20Click(); }));
    connect(BitBtn19, &QPushButton::clicked, this, Guarded([this] { BitBtn19Click(*this); }));
    connect(bitAuta, &QPushButton::clicked, this, Guarded([this] { bitAutaClick(); }));
    connect(cbAutaDruh, &TComboBox::CloseUp, this, Guarded([this] { cbAutaDruhCloseUp(); }));
    connect(cbAutaPHM, &TComboBox::CloseUp, this, Guarded([this] { cbAutaPHMCloseUp(); }));
    AttachExit(cbAutaDruh, this, [this] { cbAutaDruhCloseUp(); });
    AttachExit(cbAutaPHM, this, [this] { cbAutaPHMCloseUp(); });
    // A radio's click behaviour runs whenever it becomes checked, by the user or the double-click.
    connect(chbAutaEHK, &QRadioButton::toggled, this, Guarded([this](bool on) {
                if (on)
                    chbAutaEHKClick();
            }));
    connect(chbAutaES, &QRadioButton::toggled, this, Guarded([this](bool on) {
                if (on)
                    chbAutaESClick();
            }));
    connect(chbAutaSTN, &QRadioButton::toggled, this, Guarded([this](bool on) {
                if (on)
                    chbAutaSTNClick();
            }));
}

void TCarsPage::BuildForm(QWidget* panel) {
    panel->resize(1022, 688);
    widgets_ = BuildDataPage(
        panel,
        {"eAutaID", "sgAuta", "BitBtn3", "bitAuta", "BitBtn20", "BitBtn19", "TabSheet10", "Label51",
         "Label52", "Label53", "Label54"},
        QStringLiteral("(Tabuľka \"Evidencia áut\" slúži na evidenciu vozidiel vybraného zákazníka.)"),
        kGridHeight, kEntryHeight);
    eAutaID = widgets_.idField;
    BitBtn3 = widgets_.save;
    bitAuta = widgets_.clear;
    BitBtn20 = widgets_.remove;
    BitBtn19 = widgets_.print;
    BitBtn19->show();
    sgAuta = widgets_.grid;
    for (int col : {0, 5, 6, 7, 8, 10})
        sgAuta->SetColAlignment(col, 1);
    sgAuta->SetColAlignment(4, 2);

    QWidget* entry = widgets_.entryPage;
    eAutaNazov = AddEntryField(entry, "eAutaNazov", {"Label55", QStringLiteral("názov")}, 70, 160, 30);
    eAutaSPZ = AddEntryField(entry, "eAutaSPZ", {"Label56", QStringLiteral("ŠPZ")}, 240, 100, 20);
    cbAutaDruh = AddEntryCombo(entry, "cbAutaDruh", {"Label57", "druh"}, 350, 120);
    lblAutaDruh = AddIdLabel(entry, "lblAutaDruh", cbAutaDruh);
    lblAutaDruh->setText("_");
    cbAutaVlastnictvo =
        AddEntryCombo(entry, "cbAutaVlastnictvo", {"Label58", QStringLiteral("vlastníctvo")}, 480, 120);
    cbAutaVlastnictvo->addItems({QStringLiteral("0 - firemné"), QStringLiteral("1 - súkromné")});
    cbAutaVlastnictvo->setCurrentIndex(0);

    chbAutaEHK = NewRadio(entry, "chbAutaEHK", "EHK", 56);
    chbAutaES = NewRadio(entry, "chbAutaES", "ES", 74);
    chbAutaSTN = NewRadio(entry, "chbAutaSTN", "STN", 92);
    chbAutaEHK->setChecked(true);

    auto* group = new QGroupBox(QStringLiteral("Spotreba (L/100km): "), entry);
    group->setObjectName("GroupBox3");
    group->setGeometry(80, 52, 440, 58);
    lblAutaN1 = NewLabel(group, "lblAutaN1", QStringLiteral("mesto"), 10, 16);
    eAutaN1 = NewEdit(group, "eAutaN1", 10, 32, 95);
    lblAutaN2 = NewLabel(group, "lblAutaN2", QStringLiteral("90 km/h"), 115, 16);
    eAutaN2 = NewEdit(group, "eAutaN2", 115, 32, 95);
    lblAutaN3 = NewLabel(group, "lblAutaN3", QStringLiteral("120 km/h"), 220, 16);
    eAutaN3 = NewEdit(group, "eAutaN3", 220, 32, 95);
    NewLabel(group, "Label59", QStringLiteral("nadspotreba (%)"), 325, 16);
    eAutaNadspotreba = NewEdit(group, "eAutaNadspotreba", 325, 32, 95);

    NewLabel(entry, "Label60", "Typ PHM", 530, 52);
    cbAutaPHM = new TComboBox(entry);
    cbAutaPHM->setObjectName("cbAutaPHM");
    cbAutaPHM->setGeometry(530, 70, 150, 22);
    lblAutaPHM = AddIdLabel(entry, "lblAutaPHM", cbAutaPHM);
    lblAutaPHM->setText("_");
    widgets_.tableHint->move(8, 114);

    auto* hint = new QLabel(QStringLiteral("Počiatočný stav PHM a počiatočný stav tachometra prosím zadajte "
                                           "v sekcii \"Údaje pre prevod roka\" (CTRL+P)."),
                            panel);
    hint->setObjectName("Label61");
    hint->setGeometry(bitAuta->x(), 80, bitAuta->width(), 70);
    hint->setWordWrap(true);

    // Tab order: the entry fields in reading order, then save and clear.
    const QList<QWidget*> order = {eAutaID,    eAutaNazov,       eAutaSPZ,   cbAutaDruh, cbAutaVlastnictvo,
                                   chbAutaEHK, chbAutaES,        chbAutaSTN, eAutaN1,    eAutaN2,
                                   eAutaN3,    eAutaNadspotreba, cbAutaPHM,  BitBtn3,    bitAuta};
    SetTabOrder(order);
}

void TCarsPage::WireInput() {
    for (QWidget* field :
         std::initializer_list<QWidget*>{eAutaNazov, eAutaSPZ, chbAutaEHK, chbAutaES, chbAutaSTN, eAutaN1,
                                         eAutaN2, eAutaN3, eAutaNadspotreba, BitBtn3, bitAuta})
        AttachFocusColour(field);
    for (QLineEdit* field : {eAutaN1, eAutaN2, eAutaN3, eAutaNadspotreba})
        AttachDecimalFilter(field);
    AttachEnterOpens(eAutaSPZ, cbAutaDruh);
    AttachEnterOpens(cbAutaDruh, cbAutaVlastnictvo);
    AttachEnterOpens(eAutaNadspotreba, cbAutaPHM);
    AttachComboEnter(cbAutaVlastnictvo);
    AttachComboEnter(cbAutaPHM);
}

void TCarsPage::Evidenciaat1Click() {
    form_.ShowPanel(form_.pnlAuta);
    CreateTablePHM();
    CreateTableDruhvoz();
    CreateTableAuta();
    InitGridAuta();
    LoadGridAuta("");

    QStringList names;
    FillPHMNames(names);
    cbAutaPHM->SetItems(names);
    if (cbAutaPHM->count() > 0)
        cbAutaPHM->setCurrentIndex(0);
    cbAutaPHMCloseUp();

    names.clear();
    FillDruhvozNames(names);
    cbAutaDruh->SetItems(names);
    if (cbAutaDruh->count() > 0)
        cbAutaDruh->setCurrentIndex(0);
    cbAutaDruhCloseUp();

    bitAutaClick();
}

void TCarsPage::InitGridAuta() {
    sgAuta->SetColCount(11);
    const QStringList headers = {"id",
                                 QStringLiteral("názov"),
                                 QStringLiteral("ŠPZ"),
                                 "druh",
                                 "vlastn.",
                                 "norma1",
                                 "norma2",
                                 "norma3",
                                 "nadspotr.",
                                 "typ PHM",
                                 "priem.spotr."};
    for (int col = 0; col < headers.size(); ++col)
        sgAuta->SetCells(col, 0, headers[col]);
    SetColWidths(sgAuta, "25;100;90;100;80;70;70;70;70;100;80", false);
}

void TCarsPage::LoadGridAuta(const QString& sql) {
    SqlLines.clear();
    SqlLines << "SELECT auta.id, auta.nazov, auta.spz, druhvoz.nazov, auta.vlastnictvo, auta.n1, auta.n2, "
                "auta.n3, auta.nadspotreba, phm.nazov, (((auta.n1 + auta.n2 + auta.n3) / 3) * "
                "((100+auta.nadspotreba) / 100)) AS \"priemspot\" FROM auta";
    SqlLines << "INNER JOIN druhvoz ON (auta.id_dv = druhvoz.id) INNER JOIN phm ON (auta.id_phm = phm.id) "
                "WHERE auta.id_zakaznik = " +
                    SqlId(SelectedCustomerId) + " ORDER BY auta.nazov";
    FillGrid(Database(), "auta", sql.isEmpty() ? SqlLinesText() : sql, sgAuta);
    FormatNumberColumns(sgAuta, "5;6;7;8;10");
}

void TCarsPage::BitBtn3Click() {
    page->Save();
}

void TCarsPage::BitBtn20Click() {
    page->Delete();
}

bool TCarsPage::CheckRequired() {
    if (!RequireText(eAutaNazov))
        return false;
    for (auto [label, combo] : {std::pair{lblAutaPHM, cbAutaPHM}, std::pair{lblAutaDruh, cbAutaDruh}}) {
        if (label->text().isEmpty()) {
            combo->setFocus();
            combo->showPopup();
            return false;
        }
    }
    // The numbers go into the statement bare; the hidden STN fields get the first value.
    const bool stn = chbAutaSTN->isChecked();
    const auto norm = [](QLabel* caption) { return QStringLiteral("spotreba ") + caption->text(); };
    return RequireNumber(eAutaN1, norm(lblAutaN1)) && (stn || RequireNumber(eAutaN2, norm(lblAutaN2))) &&
           (stn || RequireNumber(eAutaN3, norm(lblAutaN3))) &&
           RequireNumber(eAutaNadspotreba, QStringLiteral("nadspotreba (%)"));
}

QString TCarsPage::NormValue() const {
    if (chbAutaES->isChecked())
        return "2";
    if (chbAutaSTN->isChecked())
        return "3";
    return "1";
}

void TCarsPage::CopyStnValue() {
    if (chbAutaSTN->isChecked()) {
        eAutaN2->setText(eAutaN1->text());
        eAutaN3->setText(eAutaN1->text());
    }
}

QStringList TCarsPage::InsertLines() {
    CopyStnValue();
    return {"INSERT INTO auta (nazov, spz, id_dv, vlastnictvo, norma, n1, n2, n3, nadspotreba, id_phm, "
            "id_zakaznik)",
            "VALUES (",
            SqlQuoted(eAutaNazov->text()) + ",",
            SqlQuoted(eAutaSPZ->text()) + ",",
            SqlId(lblAutaDruh->text()) + ",",
            QString::number(cbAutaVlastnictvo->currentIndex()) + ",",
            NormValue() + ",",
            NumberToSql(eAutaN1->text()) + ",",
            NumberToSql(eAutaN2->text()) + ",",
            NumberToSql(eAutaN3->text()) + ",",
            NumberToSql(eAutaNadspotreba->text()) + ",",
            SqlId(lblAutaPHM->text()) + ",",
            SqlId(SelectedCustomerId),
            ");"};
}

QStringList TCarsPage::UpdateLines() {
    CopyStnValue();
    return {"UPDATE auta SET",
            "nazov=" + SqlQuoted(eAutaNazov->text()) + ",",
            "spz=" + SqlQuoted(eAutaSPZ->text()) + ",",
            "id_dv=" + SqlId(lblAutaDruh->text()) + ",",
            "vlastnictvo=" + QString::number(cbAutaVlastnictvo->currentIndex()) + ",",
            "norma=" + NormValue() + ",",
            "n1=" + NumberToSql(eAutaN1->text()) + ",",
            "n2=" + NumberToSql(eAutaN2->text()) + ",",
            "n3=" + NumberToSql(eAutaN3->text()) + ",",
            "nadspotreba=" + NumberToSql(eAutaNadspotreba->text()) + ",",
            "id_phm=" + SqlId(lblAutaPHM->text())};
}

void TCarsPage::bitAutaClick() {
    eAutaID->clear();
    eAutaNazov->clear();
    eAutaSPZ->clear();
    for (QLineEdit* field : {eAutaN1, eAutaN2, eAutaN3, eAutaNadspotreba})
        field->setText("0");
    cbAutaPHMCloseUp();
    if (cbAutaVlastnictvo->currentIndex() >= 0)
        cbAutaVlastnictvo->setCurrentIndex(0);
    cbAutaDruhCloseUp();
    eAutaNazov->setFocus();
}

void TCarsPage::sgAutaDblClick(int row) {
    const auto cell = [this, row](int col) { return sgAuta->Cells(col, row); };
    eAutaID->setText(cell(0));
    eAutaNazov->setText(cell(1));
    eAutaSPZ->setText(cell(2));
    cbAutaDruh->setCurrentIndex(IndexOfItemText(cell(3), cbAutaDruh, false));
    lblAutaDruh->setText(GetDruhvozId(cell(3)));
    cbAutaVlastnictvo->setCurrentIndex(StrToInt(cell(4)));
    eAutaN1->setText(StoredNumberText("auta", "n1", cell(0), cell(5)));
    eAutaN2->setText(StoredNumberText("auta", "n2", cell(0), cell(6)));
    eAutaN3->setText(StoredNumberText("auta", "n3", cell(0), cell(7)));
    eAutaNadspotreba->setText(StoredNumberText("auta", "nadspotreba", cell(0), cell(8)));
    cbAutaPHM->setCurrentIndex(IndexOfItemText(cell(9), cbAutaPHM, false));
    lblAutaPHM->setText(GetPHMId(cell(9)));

    const auto car = Database().Query("SELECT * FROM auta WHERE id = " + SqlId(eAutaID->text()));
    car->MoveFirst();
    switch (FieldInt(*car, "norma", 1)) {
    case 1:
        chbAutaEHK->setChecked(true);
        break;
    case 2:
        chbAutaES->setChecked(true);
        break;
    case 3:
        chbAutaSTN->setChecked(true);
        break;
    default:
        break;
    }
    eAutaNazov->setFocus();
}

void TCarsPage::cbAutaDruhCloseUp() {
    lblAutaDruh->setText(GetDruhvozId(cbAutaDruh->currentIndex() >= 0 ? cbAutaDruh->currentText() : ""));
}

void TCarsPage::cbAutaPHMCloseUp() {
    lblAutaPHM->setText(GetPHMId(cbAutaPHM->currentIndex() >= 0 ? cbAutaPHM->currentText() : ""));
}

void TCarsPage::SetNormFields(const QString& n1, const QString& n2, const QString& n3, bool showAll) {
    lblAutaN1->setText(n1);
    lblAutaN2->setText(n2);
    lblAutaN3->setText(n3);
    for (QWidget* widget : std::initializer_list<QWidget*>{lblAutaN2, lblAutaN3, eAutaN2, eAutaN3})
        widget->setVisible(showAll);
}

void TCarsPage::chbAutaEHKClick() {
    SetNormFields("mesto", "90 km/h", "120 km/h", true);
}

void TCarsPage::chbAutaESClick() {
    SetNormFields("mesto", "mimo mesta", QStringLiteral("kombinovaná"), true);
}

void TCarsPage::chbAutaSTNClick() {
    SetNormFields("norma STN", "", "", false);
    eAutaN2->setText("0");
    eAutaN3->setText("0");
}
