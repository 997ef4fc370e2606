#include "TripsPage.h"

#include <QCheckBox>
#include <QCollator>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <numeric>

#include "ComboBox.h"
#include "DataPageLayout.h"
#include "Globals.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "InputBehaviour.h"
#include "Lookups.h"
#include "MaskEdit.h"
#include "MessageBox.h"
#include "Messages.h"
#include "ProgramGlobals.h"
#include "Reports.h"
#include "SQLunit.h"
#include "Schema.h"
#include "Settings.h"
#include "SqliteWrapper.h"
#include "StringGrid.h"
#include "TextUtils.h"
#include "Vozopis1.h"

namespace {
constexpr int kEntryHeight = 150; // the page control above the grid
constexpr int kGridHeight = 474;
const char* const kDateTimeMask = "!99.99.9999 99:99;1;_";
const char* const kDateMask = "!99.99.9999;1;_";
// The field rows of the entry tab and of the filter tab.
constexpr TFieldRow kEntryTop{24, 7};
constexpr TFieldRow kEntryBottom{72, 55};
constexpr TFieldRow kFilterRow{36, 19};

QLabel* HiddenLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->hide();
    return label;
}

// The text of the combo's selected item, "" when none is selected.
QString SelectedText(const TComboBox* combo) {
    return combo->currentIndex() >= 0 ? combo->currentText() : QString();
}

// The list sorted ignoring case, in the user's locale, into the combo; item 0 selected when
// there is one.
void SetSortedItems(TComboBox* combo, QStringList list) {
    QCollator collator(QLocale::system());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(list.begin(), list.end(), collator);
    combo->SetItems(list);
    if (combo->count() > 0)
        combo->setCurrentIndex(0);
}

// The same with each item's id kept as its data; items of one label keep the order of ids.
void SetSortedItems(TComboBox* combo, const QStringList& labels, const QStringList& ids) {
    std::vector<qsizetype> order(labels.size());
    std::iota(order.begin(), order.end(), 0);
    QCollator collator(QLocale::system());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(order.begin(), order.end(),
                     [&](qsizetype a, qsizetype b) { return collator.compare(labels[a], labels[b]) < 0; });
    QStringList sortedLabels;
    QStringList sortedIds;
    for (const qsizetype i : order) {
        sortedLabels << labels[i];
        sortedIds << ids.value(i);
    }
    combo->SetItems(sortedLabels);
    SetItemIds(combo, sortedIds);
    if (combo->count() > 0)
        combo->setCurrentIndex(0);
}

bool IsNumberColumn(int col) {
    return col == 5 || col == 6 || col == 7 || col == 11;
}

// The result column of that name, -1 when there is none (its texts then read as empty).
int ColumnIndexOf(const TQueryResult& table, const QString& name) {
    try {
        return table.FieldIndexOf(name);
    } catch (const EDatabaseError&) {
        return -1;
    }
}

// TextToFloat of the cell's text, read from the number itself where the cell holds one: at the
// text's 15 digits where that has no exponent, else whole, so that no digit is lost.
double CellNumber(const TQueryResult& table, int col) {
    switch (table.CellType(col)) {
    case 1:
        return table.FieldAsDouble(col);
    case 2: {
        const double value = table.FieldAsDouble(col);
        return PlainNumberValue(value).value_or(value);
    }
    case 5:
        return 0; // NULL reads as ""
    default:
        break;
    }
    return NumberTextValue(table.FieldAsString(col));
}

// The cell's text as FieldAsString gives it; the 0/1 marks without decoding.
QString CellText(const TQueryResult& table, int col) {
    if (table.CellType(col) == 4) {
        static const QString zero = QStringLiteral("0");
        static const QString one = QStringLiteral("1");
        const QByteArray& bytes = *table.FieldAsBlob(col);
        if (bytes.size() == 1 && (bytes[0] == '0' || bytes[0] == '1'))
            return bytes[0] == '1' ? one : zero;
    }
    return table.FieldAsString(col);
}
} // namespace

TTripsPage::TTripsPage(TForm1& form, QWidget* panel10) : QObject(panel10), form_(form) {
    BuildFrame(panel10);
    BuildEntryTab();
    BuildFilterTab();
    ConnectHandlers();
}

void TTripsPage::BuildFrame(QWidget* panel10) {
    panel10->resize(1022, 688);
    const TDataPageWidgets w =
        BuildDataPage(panel10,
                      {"eJazdyID", "sgJazdy", "BitBtn23", "bitJazdy", "BitBtn28", "BitBtn27", "TabSheet13",
                       "Label33", "Label34", "Label35", "Label36"},
                      QStringLiteral("(označíte pomocou SPACE)"), kGridHeight, kEntryHeight);
    PageControl7 = w.entryTabs;
    PageControl7->setObjectName("PageControl7");
    TabSheet13 = w.entryPage;
    TabSheet14 = new QWidget;
    TabSheet14->setObjectName("TabSheet14");
    PageControl7->addTab(TabSheet14, QStringLiteral("Možnosti triedenia"));
    eJazdyID = w.idField;
    BitBtn23 = w.save;
    bitJazdy = w.clear;
    BitBtn28 = w.remove;
    BitBtn27 = w.print;
    BitBtn27->show();
    sgJazdy = w.grid;
    Panel11 = w.bottomPanel;
    Panel11->setObjectName("Panel11");

    w.tableHint->setGeometry(560, 46, 190, 16);
    BitBtn23->setGeometry(620, 62, 130, 34);

    const int right = bitJazdy->x();
    cbJazdyAuto = new TComboBox(panel10);
    cbJazdyAuto->setObjectName("cbJazdyAuto");
    cbJazdyAuto->setGeometry(right, 84, bitJazdy->width(), 22);
    lblJazdyAuto = HiddenLabel(panel10, "lblJazdyAuto");
    lblJazdyTrasa = HiddenLabel(panel10, "lblJazdyTrasa");
    lblJazdyVodic = HiddenLabel(panel10, "lblJazdyVodic");
    lblJazdyKM = HiddenLabel(Panel11, "lblJazdyKM");
    lblJazdySuma = HiddenLabel(Panel11, "lblJazdySuma");
    BitBtn30 = AddButton(Panel11, "BitBtn30", QStringLiteral("Zmazať celú tabuľku a vynulovať ID"),
                         {BitBtn27->x() - 260, 2, 250, 30}, false);
    BitBtn30->hide();

    sgJazdy->SetRangeSelect(true);
    for (int col : {0, 5, 6, 7, 11})
        sgJazdy->SetColAlignment(col, 1);
    for (int col : {1, 2, 4, 8})
        sgJazdy->SetColAlignment(col, 2);
}

void TTripsPage::BuildEntryTab() {
    QWidget* page = TabSheet13;
    eJazdyOdchod = AddDateField(page, "eJazdyOdchod", {"Label37", "odchod"}, 66, kDateTimeMask, kEntryTop);
    eJazdyPrichod = AddDateField(page, "eJazdyPrichod", {"Label38", QStringLiteral("príchod")}, 194,
                                 kDateTimeMask, kEntryTop);
    cbJazdyTrasa = AddEntryCombo(page, "cbJazdyTrasa", {"Label39", "trasa"}, 322, 226, kEntryTop);
    cbJazdyTrasa->setMaxVisibleItems(15);
    chbJazdySpiatocna = new QCheckBox(QStringLiteral("aj spiatočná"), page);
    chbJazdySpiatocna->setObjectName("chbJazdySpiatocna");
    chbJazdySpiatocna->setGeometry(560, 6, 150, 18);
    chbJazdyNadspotreba = new QCheckBox("nadspotreba", page);
    chbJazdyNadspotreba->setObjectName("chbJazdyNadspotreba");
    chbJazdyNadspotreba->setGeometry(560, 26, 150, 18);

    cbJazdyVodic =
        AddEntryCombo(page, "cbJazdyVodic", {"Label40", QStringLiteral("vodič")}, 8, 200, kEntryBottom);
    cbJazdyVodic->setMaxVisibleItems(15);
    eJazdyCerpane = AddEntryField(page, "eJazdyCerpane", {"Label41", QStringLiteral("čerpané")}, 216, 80, 30,
                                  kEntryBottom);
    eJazdyUcel =
        AddEntryField(page, "eJazdyUcel", {"Label42", QStringLiteral("účel")}, 304, 250, 40, kEntryBottom);
    BitBtn26 = AddButton(page, "BitBtn26", "Import z programu Zivena - Kelbor...", {8, 98, 240, 22}, true);
    BitBtn29 = AddButton(page, "BitBtn29", "Import z programu Zivena - Tamrik...", {256, 98, 240, 22}, true);
    BitBtn29->setEnabled(false);

    SetTabOrder({eJazdyID, eJazdyOdchod, eJazdyPrichod, cbJazdyTrasa, chbJazdySpiatocna, chbJazdyNadspotreba,
                 cbJazdyVodic, eJazdyCerpane, eJazdyUcel, BitBtn23, BitBtn26, BitBtn29});

    // Enter in the arrival opens the route list; in the excess mark, the driver list.
    AttachEnterOpens(eJazdyPrichod, cbJazdyTrasa);
    AttachEnterOpens(chbJazdyNadspotreba, cbJazdyVodic);
    for (QWidget* w : std::initializer_list<QWidget*>{chbJazdySpiatocna, chbJazdyNadspotreba, eJazdyCerpane,
                                                      eJazdyUcel, BitBtn23, BitBtn26, BitBtn29, bitJazdy})
        AttachFocusColour(w);
    AttachDateMask(eJazdyOdchod);
    AttachDateMask(eJazdyPrichod);
    AttachDecimalFilter(eJazdyCerpane);
    for (TComboBox* combo : {cbJazdyTrasa, cbJazdyVodic, cbJazdyAuto})
        AttachComboEnter(combo);
}

void TTripsPage::BuildFilterTab() {
    QWidget* page = TabSheet14;
    auto* heading = NewCaptionLabel(page, {"Label43", "Odchod"}, 8, 2);
    QFont font = heading->font();
    font.setUnderline(true);
    heading->setFont(font);
    eJazdyTriedDatumOD = AddDateField(page, "eJazdyTriedDatumOD", {"Label44", QStringLiteral("Dátum od")}, 8,
                                      kDateMask, kFilterRow);
    eJazdyTriedDatumDO = AddDateField(page, "eJazdyTriedDatumDO", {"Label45", QStringLiteral("Dátum do")}, 96,
                                      kDateMask, kFilterRow);
    auto* hint =
        new QLabel(QStringLiteral("(ak zadáte dátum s hodnotou 00.00.0000 , tak sa dátum ignoruje)"), page);
    hint->setObjectName("Label46");
    hint->setGeometry(8, 62, 380, 16);
    eJazdyTriedCenaOD =
        AddEntryField(page, "eJazdyTriedCenaOD", {"Label47", "suma celkom OD"}, 200, 100, 30, kFilterRow);
    eJazdyTriedCenaDO =
        AddEntryField(page, "eJazdyTriedCenaDO", {"Label48", "suma celkom DO"}, 308, 100, 30, kFilterRow);
    cbJazdyTriedVodic =
        AddEntryCombo(page, "cbJazdyTriedVodic", {"Label49", QStringLiteral("vodič")}, 420, 160, kFilterRow);
    cbJazdyTriedTrasa = AddEntryCombo(page, "cbJazdyTriedTrasa", {"Label50", "trasa"}, 588, 160, kFilterRow);
    BitBtn127 = AddButton(page, "BitBtn127", QStringLiteral("Zobraziť údaje"), {588, 70, 160, 28}, false);

    SetTabOrder({eJazdyTriedDatumOD, eJazdyTriedDatumDO, eJazdyTriedCenaOD, eJazdyTriedCenaDO,
                 cbJazdyTriedVodic, cbJazdyTriedTrasa, BitBtn127});

    AttachFocusColour(eJazdyTriedCenaOD);
    AttachFocusColour(eJazdyTriedCenaDO);
    AttachDateMask(eJazdyTriedDatumOD);
    AttachDateMask(eJazdyTriedDatumDO);
    AttachDecimalFilter(eJazdyTriedCenaOD);
    AttachDecimalFilter(eJazdyTriedCenaDO);
    AttachComboEnter(cbJazdyTriedVodic);
    AttachComboEnter(cbJazdyTriedTrasa);
}

void TTripsPage::ConnectHandlers() {
    connect(cbJazdyAuto, &TComboBox::CloseUp, this, Guarded([this] { cbJazdyAutoCloseUp(); }));
    connect(cbJazdyTrasa, &TComboBox::CloseUp, this, Guarded([this] { cbJazdyTrasaCloseUp(); }));
    connect(cbJazdyVodic, &TComboBox::CloseUp, this, Guarded([this] { cbJazdyVodicCloseUp(); }));
    // The car's exit moves the focus itself, so it runs after the focus change has ended.
    AttachExit(cbJazdyAuto, this, [this] {
        QTimer::singleShot(0, this, [this] { RunGuarded([this] { cbJazdyAutoExit(); }); });
    });
    AttachExit(cbJazdyTrasa, this, [this] { cbJazdyTrasaExit(); });
    AttachExit(cbJazdyVodic, this, [this] { cbJazdyVodicExit(); });

    connect(PageControl7, &QTabWidget::currentChanged, this, Guarded([this] { PageControl7Change(); }));
    connect(bitJazdy, &QPushButton::clicked, this, Guarded([this] { bitJazdyClick(); }));
    connect(BitBtn23, &QPushButton::clicked, this, Guarded([this] { BitBtn23Click(); }));
    connect(BitBtn28, &QPushButton::clicked, this, Guarded([this] { BitBtn28Click(); }));
    connect(BitBtn26, &QPushButton::clicked, this, Guarded([this] { BitBtn26Click(); }));
    connect(BitBtn27, &QPushButton::clicked, this, Guarded([this] { BitBtn27Click(*this); }));
    connect(BitBtn30, &QPushButton::clicked, this, Guarded([this] { BitBtn30Click(); }));
    connect(BitBtn127, &QPushButton::clicked, this, Guarded([this] { BitBtn127Click(); }));
    connect(sgJazdy, &TStringGrid::DblClick, this, Guarded([this] { sgJazdyDblClick(); }));
    connect(sgJazdy, &TStringGrid::KeyDown, this, Guarded([this](int key) { sgJazdyKeyDown(key); }));
}

QString TTripsPage::CarId() const {
    return lblJazdyAuto->text();
}

void TTripsPage::Evidenciajzd1Click() {
    if (!CheckTripPrerequisites())
        return;
    form_.ShowPanel(form_.pnlJazdy);
    CreateTablePHM();
    CreateTableCPHM();
    CreateTableMesta();
    CreateTableAuta();
    CreateTableJazdy();
    CreateTableVodic();
    InitGridJazdy();

    QStringList list;
    QStringList routeIds;
    FillMestaLabels(list, &routeIds);
    SetSortedItems(cbJazdyTrasa, list, routeIds);
    lblJazdyTrasa->setText(SelectedId(cbJazdyTrasa));
    list.clear();
    QStringList carIds;
    FillAutaLabels(list, &carIds);
    SetSortedItems(cbJazdyAuto, list, carIds);
    lblJazdyAuto->setText(SelectedId(cbJazdyAuto));
    list.clear();
    FillDriverNames(list);
    SetSortedItems(cbJazdyVodic, list);
    lblJazdyVodic->setText(GetVodicId(SelectedText(cbJazdyVodic)));

    if (!CarId().isEmpty()) {
        LoadGridJazdy("");
    } else {
        ClearTripRows(); // no trips of a car shown before stay on show
        ShowMessageBox(
            QStringLiteral("V databáze nebolo nájdené u tohto zákazníka žiadne vozidlo. Nie je možné "
                           "pridávať jazdy."),
            ProgramTitle, MB_ICONWARNING);
    }
    bitJazdyClick();
    ResetFilter();
    BitBtn26->setVisible(ReadSettingBool("general", "SpolKB", false));
    BitBtn29->setVisible(ReadSettingBool("general", "SpolTR", false));
    if (!CarId().isEmpty()) {
        cbJazdyAuto->setFocus();
        cbJazdyAuto->showPopup();
    }
}

bool TTripsPage::CheckTripPrerequisites() {
    struct Step {
        void (*createTable)();
        QString query;
        QString name;
    };
    const Step steps[] = {
        {CreateTablePHM, "SELECT * FROM phm", "PHM"},
        {CreateTableVodic, "SELECT * FROM vodic WHERE id_zakaznik = " + SqlId(SelectedCustomerId),
         QStringLiteral("Vodič")},
        {CreateTableCPHM, "SELECT * FROM cphm", "Ceny PHM"},
        {CreateTableDruhvoz, "SELECT * FROM druhvoz", "Druhy vozidiel"},
        {CreateTablePausnahr, "SELECT * FROM pausnahr", QStringLiteral("Paušálna náhrada")},
        {CreateTableMesta, "SELECT * FROM mesta ORDER BY mesto1", "Vzdialenosti miest"},
    };
    for (const Step& step : steps) {
        step.createTable();
        if (Database().Query(step.query)->RowCount() == 0) {
            ShowAppMessageBox(
                QStringLiteral("V tabuľke \"%1\" (v sekcii \"Doplňujúce údaje\") sa nenachádzajú "
                               "žiadne údaje. Tabuľku \"Evidencia jázd\" nie je možné zobraziť.")
                        .arg(step.name) +
                    "\r\r" + QStringLiteral("Prosím doplňte potrebné údaje do tejto tabuľky."),
                MB_ICONWARNING);
            return false;
        }
    }

    CreateTableAuta();
    if (Db->Query("SELECT * FROM auta WHERE id_zakaznik = " + SqlId(SelectedCustomerId))->RowCount() == 0) {
        ShowAppMessageBox(QStringLiteral("V tabuľke \"%1\" sa nenachádzajú žiadne údaje. Tabuľku \"Evidencia "
                                         "jázd\" nie je možné zobraziť.")
                                  .arg(QStringLiteral("Evidencia áut")) +
                              "\r\r" + QStringLiteral("Prosím doplňte potrebné údaje do tejto tabuľky."),
                          MB_ICONWARNING);
        return false;
    }

    CreateTablePocstav();
    const QString withoutState = "SELECT * FROM auta WHERE (NOT EXISTS (SELECT * FROM pocstav WHERE "
                                 "(pocstav.id_auto = auta.id)))&(auta.id_zakaznik = " +
                                 SqlId(SelectedCustomerId) + ")";
    if (Db->Query(withoutState)->RowCount() > 0)
        ShowAppMessageBox(
            QStringLiteral("V tabuľke \"%1\" (v sekcii \"Údaje pre prevod roka\") sa pre niektoré "
                           "vozidlá nenachádzajú žiadne údaje.")
                    .arg(QStringLiteral("Počiatočné stavy")) +
                "\r\r" + QStringLiteral("Prosím doplňte tieto údaje do tejto tabuľky."),
            MB_ICONWARNING);
    return true;
}

void TTripsPage::InitGridJazdy() {
    sgJazdy->SetColCount(12);
    const QStringList headers = {"id",
                                 "odchod",
                                 QStringLiteral("príchod"),
                                 "trasa",
                                 QStringLiteral("späť"),
                                 "km",
                                 "cena/km",
                                 QStringLiteral("čerpané"),
                                 "nads.",
                                 QStringLiteral("vodič"),
                                 QStringLiteral("účel"),
                                 "suma celkom"};
    for (int col = 0; col < headers.size(); ++col)
        sgJazdy->SetCells(col, 0, headers[col]);
    SetColWidths(sgJazdy, "39;100;100;150;32;70;70;70;32;114;114;80", false);
}

namespace {
// The five lines of a trip's cost per km, or of its total cost (the cost per km times the
// kilometres), from the car's consumption, the fuel price and the flat rate in force: the latest
// dated before the departure, compared as text.
QStringList CostLines(const QString& car, bool total) {
    const QString consumption = "(SELECT (((auta.n1+auta.n2+auta.n3)/3) * ((100+auta.nadspotreba)/100)) FROM "
                                "auta WHERE auta.id = " +
                                SqlId(car) + " LIMIT 1)/100)";
    return {"(", (total ? "(((" : "((") + consumption,
            "*(SELECT (cphm.cena) FROM cphm WHERE (cphm.id_phm = auta.id_phm) AND (cphm.datum < "
            "jazdy.odchod) ORDER BY cphm.datum DESC LIMIT 1))",
            "+((SELECT (pausnahr.suma) FROM pausnahr WHERE (pausnahr.datum < jazdy.odchod) ORDER "
            "BY pausnahr.datum DESC LIMIT 1) * auta.vlastnictvo)",
            total ? ") * (mesta.vzdialenost * (jazdy.spat + 1)))" : ")"};
}
} // namespace

QString TTripsPage::CostExpr() const {
    return CostLines(CarId(), true).join("");
}

QStringList TTripsPage::TripQueryLines(const QString& condition) const {
    const QString car = SqlId(CarId());
    QStringList lines{"SELECT jazdy.id, jazdy.odchod, jazdy.prichod, (mesta.mesto1 || " + SqlQuoted(" - ") +
                      " || mesta.mesto2) AS \"trasa\", jazdy.spat, (mesta.vzdialenost * (jazdy.spat + 1)) AS "
                      "\"km\","};
    lines << CostLines(car, false);
    lines.last() += " AS \"cena_km\",";
    lines << "jazdy.cerpane, jazdy.nadspotreba, vodic.meno, jazdy.ucel,";
    lines << CostLines(car, true);
    lines.last() += " AS \"cena_celkom\" FROM jazdy";
    lines << "INNER JOIN mesta ON (jazdy.id_mesta = mesta.id)"
          << "INNER JOIN auta ON (jazdy.id_auto = auta.id)"
          << "INNER JOIN vodic ON (jazdy.id_vodic = vodic.id)"
          << "WHERE (jazdy.id_zakaznik = " + SqlId(SelectedCustomerId) + ")&(jazdy.id_auto = " + car + ")" +
                 (condition.isEmpty() ? QString() : " AND (" + condition + ")") + " ORDER BY jazdy.odchod";
    return lines;
}

void TTripsPage::LoadGridJazdy(const QString& sql) {
    SqlLines = TripQueryLines();
    const QString statement = sql.isEmpty() ? SqlLinesText() : sql;
    const std::unique_ptr<TQueryResult> table = Database().Query(statement);
    TQueryResult& t = *table;

    // The grid as FillGridFromTable fills it and FormatNumberColumns "5;6;7;11" and
    // DateTimeColumnsToText "1;2" then show it, each cell built once and the rows taken over by the
    // grid; the totals of the "km" and "cena_celkom" texts as the same pass reads them.
    const TGridUpdate update(sgJazdy);
    sgJazdy->SetRowCount(2);
    sgJazdy->SetRowCount(t.RowCount() + 2);
    const int columns = sgJazdy->ColCount();
    const int filled = std::min(t.ColumnCount(), columns);
    const int km = t.RowCount() > 0 ? ColumnIndexOf(t, "km") : -1;
    const int cost = t.RowCount() > 0 ? ColumnIndexOf(t, "cena_celkom") : -1;
    long double kmSum = 0;
    long double costSum = 0;
    t.MoveFirst();
    for (int row = 1; !t.Eof(); ++row, t.Next()) {
        QVector<QString> cells(columns);
        for (int col = 0; col < columns; ++col) {
            if (IsNumberColumn(col))
                cells[col] = FormatNumber(col < filled ? CellNumber(t, col) : 0);
            else if (col == 1 || col == 2)
                cells[col] = SqlToDateTime(col < filled ? t.FieldAsString(col) : QString());
            else if (col < filled)
                cells[col] = CellText(t, col);
        }
        sgJazdy->SetRowCells(row, std::move(cells));
        if (km >= 0)
            kmSum = AddTenThousandths(kmSum, CellNumber(t, km));
        if (cost >= 0)
            costSum = AddTenThousandths(costSum, CellNumber(t, cost));
    }
    for (int col = 0; col < columns; ++col)
        sgJazdy->SetCells(col, sgJazdy->RowCount() - 1, QString());
    lblJazdyKM->setText(FormatNumber(kmSum / 10000));
    lblJazdySuma->setText(FormatNumber(costSum / 10000));
}

void TTripsPage::ClearTripRows() {
    sgJazdy->SetRowCount(2);
    for (int col = 0; col < sgJazdy->ColCount(); ++col)
        sgJazdy->SetCells(col, 1, QString());
    lblJazdyKM->setText(FormatNumber(0));
    lblJazdySuma->setText(FormatNumber(0));
}

void TTripsPage::bitJazdyClick() {
    {
        const QSignalBlocker blocker(PageControl7); // the change handler is the user's tab choice only
        PageControl7->setCurrentIndex(0);
    }
    eJazdyID->clear();
    eJazdyOdchod->SetText("__.__.____ __:__");
    eJazdyPrichod->SetText("__.__.____ __:__");
    eJazdyCerpane->setText("0");
    eJazdyUcel->setText(QStringLiteral("služobná cesta"));
    lblJazdyTrasa->setText(SelectedId(cbJazdyTrasa));
    lblJazdyVodic->setText(GetVodicId(SelectedText(cbJazdyVodic)));
    chbJazdySpiatocna->setChecked(true);
    chbJazdyNadspotreba->setChecked(false);
    eJazdyOdchod->setFocus();
}

void TTripsPage::PageControl7Change() {
    if (PageControl7->currentIndex() == 0)
        eJazdyOdchod->setFocus();
    else
        eJazdyTriedDatumOD->setFocus();
}

void TTripsPage::cbJazdyAutoCloseUp() {
    lblJazdyAuto->setText(SelectedId(cbJazdyAuto)); // the label may be another car's too
    LoadGridJazdy("");
    bitJazdyClick();
}

void TTripsPage::cbJazdyAutoExit() {
    cbJazdyAutoCloseUp();
}

void TTripsPage::cbJazdyTrasaCloseUp() {
    lblJazdyTrasa->setText(SelectedId(cbJazdyTrasa)); // the label may be another route's too
}

void TTripsPage::cbJazdyTrasaExit() {
    cbJazdyTrasaCloseUp();
}

void TTripsPage::cbJazdyVodicCloseUp() {
    lblJazdyVodic->setText(GetVodicId(SelectedText(cbJazdyVodic)));
}

void TTripsPage::cbJazdyVodicExit() {
    cbJazdyVodicCloseUp();
}
