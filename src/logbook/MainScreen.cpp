#include "MainScreen.h"

#include <QAction>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ComboBox.h"
#include "DataPage.h"
#include "Globals.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "IniFile.h"
#include "InputBehaviour.h"
#include "ProgramGlobals.h"
#include "SQLunit.h"
#include "Schema.h"
#include "Settings.h"
#include "SqliteWrapper.h"
#include "StringGrid.h"
#include "TextUtils.h"
#include "Vozopis1.h"
#include "YearAndDriver.h"

namespace {
const char* const kDefaultQuery = "SELECT * FROM zakaznici ORDER BY nazov";

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setWordWrap(true);
    return label;
}

} // namespace

TMainScreen::TMainScreen(TForm1& form, QWidget* panel) : QObject(panel), form_(form) {
    NewLabel(panel, "Label17",
             QStringLiteral("Vyberte zákazníka (pomocou klávesy ENTER alebo pomocou dvojkliku myšou)."),
             {24, 16, 500, 18});
    sgMain = new TStringGrid(panel);
    sgMain->setObjectName("sgMain");
    sgMain->setGeometry(24, 40, 500, 560);
    QFont gridFont = sgMain->font();
    gridFont.setBold(true);
    gridFont.setPixelSize(12);
    sgMain->setFont(gridFont);

    NewLabel(panel, "Label18", QStringLiteral("Vyberte rok,v ktorom chcete pracovať"), {560, 40, 300, 18});
    cbMainRok = new TComboBox(panel);
    cbMainRok->setObjectName("cbMainRok");
    cbMainRok->setGeometry(560, 62, 120, 22);
    cbMainRok->setFocusPolicy(Qt::ClickFocus);

    NewLabel(panel, "Label19", QStringLiteral("alebo označte zákazníka a zadajte rok sem"),
             {560, 100, 300, 18});
    eMainRok = new QLineEdit(panel);
    eMainRok->setObjectName("eMainRok");
    eMainRok->setGeometry(560, 122, 120, 22);
    eMainRok->setMaxLength(8);
    AttachYearFilter(eMainRok);
    BitBtn2 = new QPushButton(QStringLiteral("Vytvoriť rok"), panel);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(690, 120, 120, 26);
    NewLabel(panel, "Label20",
             QStringLiteral(
                 "Ak chcete vytvoriť nový rok pre tohto zákazníka, stačí ak v sekcii \"Údaje pre prevod "
                 "roka\" (CTR+P) pridáte počiatočný stav pre niektoré auto"),
             {560, 156, 420, 36});

    NewLabel(panel, "Label21", QStringLiteral("Vybraný zákazník"), {560, 220, 300, 18});
    pVybZak = new QLabel(panel);
    pVybZak->setObjectName("pVybZak");
    pVybZak->setGeometry(560, 242, 420, 32);
    pVybZak->setFrameShape(QFrame::Panel);
    pVybZak->setFrameShadow(QFrame::Sunken);
    pVybZak->setAlignment(Qt::AlignCenter);
    pVybZak->setStyleSheet("QLabel { color: navy; font-weight: bold; }");

    NewLabel(panel, "Label22", QStringLiteral("(pomocou ALT+S zobrazíte menu \"Súbor\")"),
             {560, 560, 420, 18});
    NewLabel(panel, "Label23", QStringLiteral("(pomocou ALT+Z zobrazíte menu \"Zobraziť\")"),
             {560, 580, 420, 18});

    sgMain->SetColAlignment(0, 1);
    connect(sgMain, &TStringGrid::DblClick, this, Guarded([this] { sgMainDblClick(); }));
    connect(sgMain, &TStringGrid::KeyDown, this, Guarded([this](int key) { sgMainKeyDown(key); }));
    connect(cbMainRok, &TComboBox::CloseUp, this, Guarded([this] { cbMainRokCloseUp(); }));
    AttachEnter(cbMainRok, this, [this] { cbMainRokEnter(); });
    connect(BitBtn2, &QPushButton::clicked, this, Guarded([this] { BitBtn2Click(); }));
}

QString TMainScreen::HighlightedCell(int col) const {
    return sgMain->Cells(col, sgMain->Row());
}

void TMainScreen::InitGridMain() {
    sgMain->SetColCount(3);
    sgMain->SetCells(0, 0, "id");
    sgMain->SetCells(1, 0, QStringLiteral("názov firmy"));
    sgMain->SetCells(2, 0, QStringLiteral("IČO"));
}

void TMainScreen::LoadGridMain(const QString& sql) {
    FillGrid(Database(), "zakaznici", sql.isEmpty() ? kDefaultQuery : sql, sgMain);
}

void TMainScreen::ShowCustomerList() {
    InitGridMain();
    SetColWidths(sgMain, "30;310;134", false);
    LoadGridMain("");
}

void TMainScreen::LoadCustomerYears(const QString& name) {
    const QString id = FirstId(Database(), "SELECT id FROM zakaznici WHERE nazov = " + SqlQuoted(name) + ";");
    QStringList years;
    // A customer made before any year was registered: no table of years yet, so no years.
    if (IsWholeNumberText(id) && Database().TableExists("roky"))
        QueryToStrings(Database(),
                       "SELECT rok FROM roky WHERE (id_zakaznik = " + SqlId(id) + ") ORDER BY rok;", "rok",
                       years);
    cbMainRok->SetItems(years);
}

void TMainScreen::SelectCustomerYear(const QString& id, const QString& year) {
    // The id comes from the settings file or the grid; only a whole number is looked up.
    if (id.isEmpty() || year.isEmpty() || !IsWholeNumberText(id)) {
        ClearSelection();
        return;
    }
    CreateTableZakaznici();
    const auto customer = Database().Query("SELECT * FROM zakaznici WHERE id = " + SqlId(id));
    if (!customer->MoveFirst()) {
        ClearSelection();
        return;
    }
    SelectedCustomerId = id;
    SelectedCustomerName = FieldText(*customer, "nazov", "");
    SelectedYear = year;
    form_.setWindowTitle(ProgramTitle + " [" + VersionText + "]" + "     (" + SelectedCustomerName + " - " +
                         year + ")");
    ShowSelection();
    form_.SetDataMenuEnabled(true);

    TMemIniFile settings(SettingsFilePath());
    settings.WriteString("last", "vybzakid", id);
    settings.WriteString("last", "vybzakrok", year);
    settings.UpdateFile();

    QStringList ids;
    GridColumnToList(sgMain, 0, ids);
    const int row = IndexOfText(id, ids, false);
    if (row > 0)
        sgMain->SetRow(row);

    LoadCustomerYears(SelectedCustomerName);
    cbMainRok->setCurrentIndex(IndexOfItemText(year, cbMainRok, false));
}

void TMainScreen::ShowSelection() {
    if (!SelectedCustomerId.isEmpty())
        pVybZak->setText(SelectedCustomerName + " - " + SelectedYear);
}

void TMainScreen::ClearSelection() {
    SelectedCustomerId.clear();
    SelectedCustomerName.clear();
    SelectedYear.clear();
    pVybZak->setText(QStringLiteral("nie je vybraný žiadny zákazník"));
    form_.SetDataMenuEnabled(false);
    form_.setWindowTitle(ProgramTitle + " [" + VersionText + "]");
}

void TMainScreen::Hlavnobrazovka1Click() {
    form_.ShowPanel(form_.pnlMenu);
    ShowCustomerList();
    cbMainRok->clear();
    SelectCustomerYear(ReadSetting("last", "vybzakid", ""), ReadSetting("last", "vybzakrok", ""));
    sgMain->setFocus();
}

void TMainScreen::cbMainRokEnter() {
    const QString name = HighlightedCell(1);
    if (!name.isEmpty())
        LoadCustomerYears(name);
    if (cbMainRok->currentIndex() < 0 && cbMainRok->count() > 0)
        cbMainRok->setCurrentIndex(cbMainRok->count() - 1);
}

void TMainScreen::sgMainDblClick() {
    if (HighlightedCell(0).isEmpty())
        return;
    cbMainRok->setFocus(); // fills the list through cbMainRokEnter
    if (!cbMainRok->hasFocus())
        cbMainRokEnter(); // an inactive window gets no focus event
    if (cbMainRok->currentIndex() < 0 && cbMainRok->count() > 0)
        cbMainRok->setCurrentIndex(cbMainRok->count() - 1);
    cbMainRok->showPopup();
}

void TMainScreen::sgMainKeyDown(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        sgMainDblClick();
}

void TMainScreen::cbMainRokCloseUp() {
    SelectCustomerYear(HighlightedCell(0), cbMainRok->currentText());
    sgMain->setFocus();
}

void TMainScreen::BitBtn2Click() {
    const QString name = HighlightedCell(1);
    if (name.isEmpty())
        return;
    const QString id = FirstId(Database(), "SELECT id FROM zakaznici WHERE nazov = " + SqlQuoted(name) + ";");
    if (id.isEmpty())
        return;
    // The year is spliced as a number: only a four-digit year passes.
    if (!RequireYear(eMainRok))
        return;
    TTransaction transaction(Database());
    AddYearAndDriver(eMainRok->text(), name, id);
    transaction.Commit();
    eMainRok->clear();
}
