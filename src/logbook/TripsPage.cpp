#include "TripsPage.h"

#include <QCheckBox>
#include <QCollator>
#include <QFocusEvent>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
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
    QStringList sorted;
    for (const qsizetype i : order)
        sorted << labels[i];
    combo->SetItems(sorted);
    for (int item = 0; item < combo->count(); ++item)
        combo->setItemData(item, ids.value(order[item]));
    if (combo->count() > 0)
        combo->setCurrentIndex(0);
}

// The id kept with the combo's selected item, "" when none is selected.
QString SelectedId(const TComboBox* combo) {
    return combo->currentIndex() >= 0 ? combo->currentData().toString() : QString();
}

// Texts of a result's cells, the same as FieldAsString gives; a blob's bytes are decoded once
// per distinct value.
class TBlobTexts {
public:
    QString Get(const TQueryResult& table, int col) {
        if (table.ColumnType(col) != 4)
            return table.FieldAsString(col);
        const QByteArray* bytes = table.FieldAsBlob(col);
        if (!bytes)
            return QString(); // NULL or empty
        auto it = texts_.find(*bytes);
        if (it == texts_.end())
            it = texts_.insert(*bytes, table.FieldAsString(col));
        return *it;
    }

private:
    QHash<QByteArray, QString> texts_;
};

// The number cells of a trip load: value = TextToFloat(cell text) and shown =
// FormatNumber(value), each worked out once per distinct value.
class TNumberCells {
public:
    struct Cell {
        double value = 0;
        QString shown;
    };
    // The cell of the current row of table in column col.
    Cell Get(const TQueryResult& table, int col);
    Cell FromText(const QString& text);

private:
    QHash<quint64, Cell> byValue_;
    QHash<QString, Cell> byText_;
};

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

TNumberCells::Cell TNumberCells::FromText(const QString& text) {
    auto it = byText_.find(text);
    if (it == byText_.end()) {
        const double value = NumberTextValue(text);
        it = byText_.insert(text, {value, FormatNumber(value)});
    }
    return *it;
}

TNumberCells::Cell TNumberCells::Get(const TQueryResult& table, int col) {
    // In a float column every value but NULL is a double, and its text is a function of the
    // double alone. A NULL reads as 0 and as "", so 0 goes by its text.
    if (table.ColumnType(col) == 2) {
        const double value = table.FieldAsDouble(col);
        if (value != 0) {
            quint64 key;
            std::memcpy(&key, &value, sizeof key);
            auto it = byValue_.find(key);
            if (it == byValue_.end())
                it = byValue_.insert(key, FromText(table.FieldAsString(col)));
            return *it;
        }
    }
    return FromText(table.FieldAsString(col));
}
} // namespace

qint64 AddTenThousandths(qint64 sum, double value) {
    // In extended precision, rounded the default way: to the nearest, ties to even.
    return std::llrint(static_cast<long double>(sum) + static_cast<long double>(value) * 10000.0L);
}

qint64 SumTenThousandths(const QStringList& values) {
    qint64 sum = 0;
    for (const QString& value : values) {
        if (!value.isEmpty())
            sum = AddTenThousandths(sum, TextToFloat(value));
    }
    return sum;
}

double NumberTextValue(const QString& text) {
    // The texts the engine's numbers read as: [-]digits[,digits]. Parsed as TextToFloat parses
    // them (correctly rounded), without its clean-up; any other text goes to it.
    char buffer[64];
    const qsizetype size = text.size();
    if (size == 0 || size >= qsizetype(sizeof buffer))
        return TextToFloat(text);
    qsizetype i = text.at(0) == '-' ? 1 : 0;
    if (i)
        buffer[0] = '-';
    auto digits = [&] {
        const qsizetype start = i;
        for (; i < size && text.at(i) >= '0' && text.at(i) <= '9'; ++i)
            buffer[i] = char(text.at(i).unicode());
        return i > start;
    };
    bool plain = digits();
    if (plain && i < size && text.at(i) == ',') {
        buffer[i++] = '.';
        plain = digits();
    }
    if (plain && i == size) {
        double value = 0;
        const auto [end, error] = std::from_chars(buffer, buffer + size, value);
        if (error == std::errc() && end == buffer + size)
            return value;
    }
    return TextToFloat(text);
}

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
    AttachExit(cbJazdyAuto, [this] {
        QTimer::singleShot(0, this, [this] { RunGuarded([this] { cbJazdyAutoExit(); }); });
    });
    AttachExit(cbJazdyTrasa, [this] { cbJazdyTrasaExit(); });
    AttachExit(cbJazdyVodic, [this] { cbJazdyVodicExit(); });

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
    FillAutaLabels(list);
    SetSortedItems(cbJazdyAuto, list);
    lblJazdyAuto->setText(GetAutaId(SelectedText(cbJazdyAuto)));
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
        {CreateTableVodic, "SELECT * FROM vodic WHERE id_zakaznik = " + SelectedCustomerId,
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
    if (Db->Query("SELECT * FROM auta WHERE id_zakaznik = " + SelectedCustomerId)->RowCount() == 0) {
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
                                 SelectedCustomerId + ")";
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

QStringList TTripsPage::TripQueryLines() const {
    const QString car = CarId();
    // The fuel price and flat rate in force: the latest dated before the departure, as text.
    const QString price =
        "*(SELECT (cphm.cena) FROM cphm WHERE (cphm.id_phm = auta.id_phm) AND (cphm.datum < "
        "jazdy.odchod) ORDER BY cphm.datum DESC LIMIT 1))";
    const QString rate =
        "+((SELECT (pausnahr.suma) FROM pausnahr WHERE (pausnahr.datum < jazdy.odchod) ORDER "
        "BY pausnahr.datum DESC LIMIT 1) * auta.vlastnictvo)";
    const QString consumption = "(SELECT (((auta.n1+auta.n2+auta.n3)/3) * ((100+auta.nadspotreba)/100)) FROM "
                                "auta WHERE auta.id = " +
                                car + " LIMIT 1)/100)";
    return {
        "SELECT jazdy.id, jazdy.odchod, jazdy.prichod, (mesta.mesto1 || " + SqlQuoted(" - ") +
            " || mesta.mesto2) AS \"trasa\", jazdy.spat, (mesta.vzdialenost * (jazdy.spat + 1)) AS \"km\",",
        "(",
        "((" + consumption,
        price,
        rate,
        ") AS \"cena_km\",",
        "jazdy.cerpane, jazdy.nadspotreba, vodic.meno, jazdy.ucel,",
        "(",
        "(((" + consumption,
        price,
        rate,
        ") * (mesta.vzdialenost * (jazdy.spat + 1))) AS \"cena_celkom\" FROM jazdy",
        "INNER JOIN mesta ON (jazdy.id_mesta = mesta.id)",
        "INNER JOIN auta ON (jazdy.id_auto = auta.id)",
        "INNER JOIN vodic ON (jazdy.id_vodic = vodic.id)",
        "WHERE (jazdy.id_zakaznik = " + SelectedCustomerId + ")&(jazdy.id_auto = " + car +
            ") ORDER BY jazdy.odchod"};
}

void TTripsPage::LoadGridJazdy(const QString& sql) {
    SqlLines = TripQueryLines();
    const QString statement = sql.isEmpty() ? SqlLinesText() : sql;
    const std::unique_ptr<TQueryResult> table = Database().Query(statement);
    TQueryResult& t = *table;

    // The grid as FillGridFromTable fills it and FormatNumberColumns "5;6;7;11" and
    // DateTimeColumnsToText "1;2" then show it, in one pass with one view refresh; the totals of
    // the "km" and "cena_celkom" texts as the same pass reads them.
    const TGridUpdate update(sgJazdy);
    sgJazdy->SetRowCount(2);
    sgJazdy->SetRowCount(t.RowCount() + 2);
    const int filled = std::min(t.ColumnCount(), sgJazdy->ColCount());
    const int km = t.RowCount() > 0 ? ColumnIndexOf(t, "km") : -1;
    const int cost = t.RowCount() > 0 ? ColumnIndexOf(t, "cena_celkom") : -1;
    TNumberCells numbers;
    TBlobTexts flags; // the 0/1 columns
    qint64 kmSum = 0;
    qint64 costSum = 0;
    t.MoveFirst();
    for (int row = 1; !t.Eof(); ++row, t.Next()) {
        for (int col = 0; col < sgJazdy->ColCount(); ++col) {
            if (IsNumberColumn(col))
                sgJazdy->SetCells(col, row,
                                  col < filled ? numbers.Get(t, col).shown : numbers.FromText("").shown);
            else if (col == 1 || col == 2)
                sgJazdy->SetCells(col, row, SqlToDateTime(col < filled ? t.FieldAsString(col) : QString()));
            else if (col < filled)
                sgJazdy->SetCells(col, row, flags.Get(t, col));
        }
        if (km >= 0)
            kmSum = AddTenThousandths(kmSum, numbers.Get(t, km).value);
        if (cost >= 0)
            costSum = AddTenThousandths(costSum, numbers.Get(t, cost).value);
    }
    for (int col = 0; col < sgJazdy->ColCount(); ++col)
        sgJazdy->SetCells(col, sgJazdy->RowCount() - 1, QString());
    lblJazdyKM->setText(FormatNumber(double(kmSum) / 10000));
    lblJazdySuma->setText(FormatNumber(double(costSum) / 10000));
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
    lblJazdyAuto->setText(GetAutaId(SelectedText(cbJazdyAuto)));
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
