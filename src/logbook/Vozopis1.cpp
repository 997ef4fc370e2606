#include "Vozopis1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include "AboutUnit.h"
#include "CarsPage.h"
#include "Colors.h"
#include "ComboBox.h"
#include "CustomerImport.h"
#include "CustomerPage.h"
#include "Download.h"
#include "Endpoints.h"
#include "GeneralUnit.h"
#include "Globals.h"
#include "GridHelpers.h"
#include "HandlerGuard.h"
#include "InfoPanel.h"
#include "IniFile.h"
#include "Language.h"
#include "MainScreen.h"
#include "MessageBox.h"
#include "Messages.h"
#include "OpeningStatesPage.h"
#include "ProgramFolder.h"
#include "ProgramGlobals.h"
#include "SQLunit.h"
#include "SessionEnd.h"
#include "Settings.h"
#include "Shell.h"
#include "SqliteWrapper.h"
#include "TextUtils.h"
#include "TripsPage.h"

TForm1* Form1 = nullptr;

void InitMessageTable() {
    MessageTable = QStringList(21, QString());
    InitDefaultMessages();
}

TForm1::TForm1() {
    setObjectName("Form1");
    QFont font("Tahoma");
    font.setPixelSize(11);
    setFont(font);

    setCentralWidget(new QWidget(this));
    centralWidget()->installEventFilter(this);
    qApp->installEventFilter(this); // the menu's keys come before the fields' editing keys
    BuildPanels();
    BuildMenu();
    OnSessionEndRequest([this] { WMQueryEndSession(); });

    RunGuarded([this] { FormCreate(); });
}

TForm1::~TForm1() {
    // Frees the connection; an open transaction is rolled back.
    Db = nullptr;
    database_.reset();
    if (Form1 == this)
        Form1 = nullptr;
}

QWidget* TForm1::NewPanel(const char* name) {
    auto* panel = new QWidget(centralWidget());
    panel->setObjectName(name);
    panel->setFixedSize(1022, 688);
    panel->setAutoFillBackground(true);
    return panel;
}

void TForm1::BuildPanels() {
    pnlMenu = NewPanel("pnlMenu");
    MainScreen = new TMainScreen(*this, pnlMenu);

    pnlZakaznici = NewPanel("pnlZakaznici");
    CustomerPage = new TCustomerPage(*this, pnlZakaznici);

    pnlJazdy = NewPanel("pnlJazdy");
    Panel10 = new QWidget(pnlJazdy);
    Panel10->setObjectName("Panel10");
    TripsPage = new TTripsPage(*this, Panel10);

    pnlAuta = NewPanel("pnlAuta");
    Panel6 = new QWidget(pnlAuta);
    Panel6->setObjectName("Panel6");
    CarsPage = new TCarsPage(*this, Panel6);

    pnlInfo = NewPanel("pnlInfo");
    pgInfo = new QTabWidget(pnlInfo);
    pgInfo->setObjectName("pgInfo");
    InfoPanel = new TInfoPanel(*this, pgInfo);

    pnlPrevod = NewPanel("pnlPrevod");
    pgPrevod = new QTabWidget(pnlPrevod);
    pgPrevod->setObjectName("pgPrevod");
    BitBtn4 = new QPushButton(pnlPrevod);
    BitBtn4->setObjectName("BitBtn4");
    BitBtn4->setEnabled(false);
    OpeningStatesPage = new TOpeningStatesPage(*this, pgPrevod);
}

void TForm1::BuildMenu() {
    QStyle* s = style();
    auto item = [this](QMenu* menu, QAction*& action, const char* name, const QString& caption,
                       const QKeySequence& shortcut = {}, const QIcon& icon = {}) {
        action = menu->addAction(icon, caption);
        action->setObjectName(name);
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action); // shortcuts work while the menu bar is closed
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("Súbor"));
    file->setObjectName("Sbor1");
    item(file, Pridavybrazkaznka1, "Pridavybrazkaznka1", QStringLiteral("&Pridať / upraviť zákazníka"),
         Qt::Key_F7);
    file->addSeparator();
    item(file, Nastavenia1, "Nastavenia1", QStringLiteral("&Nastavenia..."), QKeySequence("Ctrl+N"),
         s->standardIcon(QStyle::SP_FileDialogDetailedView));
    item(file, Zistiaktualizciu1, "Zistiaktualizciu1", QStringLiteral("Zistiť aktualizáciu"), {},
         s->standardIcon(QStyle::SP_BrowserReload));
    file->addSeparator();
    item(file, Koniec1, "Koniec1", QStringLiteral("&Koniec"), Qt::Key_Escape,
         s->standardIcon(QStyle::SP_DialogCloseButton));

    QMenu* view = menuBar()->addMenu(QStringLiteral("Zobraziť"));
    view->setObjectName("Zobrazi1");
    item(view, Hlavnobrazovka1, "Hlavnobrazovka1", QStringLiteral("&Hlavná obrazovka"),
         QKeySequence("Ctrl+H"));
    view->addSeparator();
    item(view, Evidenciajzd1, "Evidenciajzd1", QStringLiteral("Evidencia jázd"), QKeySequence("Ctrl+J"));
    item(view, Evidenciaat1, "Evidenciaat1", QStringLiteral("&Evidencia áut"), QKeySequence("Ctrl+E"));
    item(view, Dolujcedaje1, "Dolujcedaje1", QStringLiteral("&Doplňujúce údaje"), QKeySequence("Ctrl+D"));
    item(view, dajepreprevodroka1, "dajepreprevodroka1", QStringLiteral("Údaje pre prevod roka"),
         QKeySequence("Ctrl+P"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("Pomocník"));
    help->setObjectName("Pomocnk2");
    item(help, Pomocnk1, "Pomocnk1", QStringLiteral("Pomocník"), Qt::Key_F1,
         s->standardIcon(QStyle::SP_DialogHelpButton));
    item(help, NavtvtestrnkuprogramuVozopis1, "NavtvtestrnkuprogramuVozopis1",
         QStringLiteral("Navštívte stránku programu Vozopis"), {}, s->standardIcon(QStyle::SP_DriveNetIcon));
    help->addSeparator();
    item(help, Oprograme1, "Oprograme1", QStringLiteral("O programe..."), {},
         s->standardIcon(QStyle::SP_MessageBoxInformation));

    // The hint labels of the main screen promise Alt+S and Alt+Z for the two menus, whose captions
    // have no accelerator.
    for (const auto& [keys, menu] : {std::pair{"Alt+S", file}, std::pair{"Alt+Z", view}}) {
        auto* open = new QAction(this);
        open->setShortcut(QKeySequence(keys));
        addAction(open);
        connect(open, &QAction::triggered, this,
                [this, menu] { menuBar()->setActiveAction(menu->menuAction()); });
    }

    SetDataMenuEnabled(false);

    connect(Pridavybrazkaznka1, &QAction::triggered, this,
            Guarded([this] { CustomerPage->Pridavybrazkaznka1Click(); }));
    connect(Hlavnobrazovka1, &QAction::triggered, this,
            Guarded([this] { MainScreen->Hlavnobrazovka1Click(); }));
    connect(Evidenciajzd1, &QAction::triggered, this, Guarded([this] { TripsPage->Evidenciajzd1Click(); }));
    connect(Dolujcedaje1, &QAction::triggered, this, Guarded([this] { InfoPanel->Dolujcedaje1Click(); }));
    connect(Evidenciaat1, &QAction::triggered, this, Guarded([this] { CarsPage->Evidenciaat1Click(); }));
    connect(dajepreprevodroka1, &QAction::triggered, this,
            Guarded([this] { OpeningStatesPage->dajepreprevodroka1Click(); }));
    connect(Koniec1, &QAction::triggered, this, Guarded([this] { Koniec1Click(); }));
    connect(Nastavenia1, &QAction::triggered, this, Guarded([this] { Nastavenia1Click(); }));
    // The same update check as the support window's update buttons.
    connect(Zistiaktualizciu1, &QAction::triggered, this, Guarded([this] {
                SelectProduct(ProgramTitle);
                CheckForUpdate(true, ProgramFilePath(), ExeFileName, ProductFileName, ProgramTitle, this);
            }));
    connect(Oprograme1, &QAction::triggered, this, Guarded([this] { Oprograme1Click(); }));
    connect(Pomocnk1, &QAction::triggered, this, Guarded([this] { Pomocnk1Click(); }));
    connect(NavtvtestrnkuprogramuVozopis1, &QAction::triggered, this,
            Guarded([this] { NavtvtestrnkuprogramuVozopis1Click(); }));
}

void TForm1::FormCreate() {
    VersionText = "v " + GetFileVersionText(ProgramFilePath(), true);
    ProgramTitle = "Vozopis";
    ExeFileName = "Vozopis.exe";
    AppDir = ProgramFolder();
    setWindowTitle(ProgramTitle + " [" + VersionText + "]");
    FirstShow = true;
    CloseConfirmed = false;

    // A colour text that is no colour is reported; the program goes on with the default colour.
    FocusColor = 0x00FEE6CF;
    RunGuarded([] { FocusColor = StringToColor(ReadSetting("Main", "color", "$00FEE6CF")); });
    QDir().mkdir(AppDir + "Data");
    DatabasePath = AppDir + "Data/data.mvk";
    InitMessageTable();

    for (QWidget* parent : {pnlInfo, pnlPrevod, pnlAuta, pnlJazdy}) {
        auto* layout = new QVBoxLayout(parent);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    pnlInfo->layout()->addWidget(pgInfo);
    pnlPrevod->layout()->addWidget(pgPrevod);
    pnlAuta->layout()->addWidget(Panel6);
    pnlJazdy->layout()->addWidget(Panel10);
    MainScreen->eMainRok->clear();

    FinishUpdate(ProgramTitle);
    StoreScreenSize();
    InitSqlUnit();

    resize(1024, 728);
    setWindowState(windowState() | Qt::WindowMaximized);

    ShowPanel(pnlMenu);
    BitBtn4->setText(QStringLiteral("Vypočítať a uložiť údaje pre počiatočné stavy") + '\n' +
                     QStringLiteral("pre ďalší kalendárny tok automaticky"));

    database_ = std::make_unique<TDatabase>(DatabasePath);
    Db = database_.get();
    Db->SetBusyTimeout(3000);
}

bool TForm1::event(QEvent* event) {
    if (event->type() == LanguageAppliedEvent && MainScreen) // the file's panel text means no selection
        MainScreen->ShowSelection();
    return QMainWindow::event(event);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (FirstShow)
        RunGuarded([this] { FormShow(); });
}

void TForm1::FormShow() {
    if (!FirstShow)
        return;
    LoadLanguage("Vozopis", "SK", this);
    LoadSettingsToAbout();
    FirstShow = false;
    if (!Db)
        return; // start-up has reported why; the pages refuse their actions
    ImportCustomersFromAccounting();
    MainScreen->ShowCustomerList();
    MainScreen->cbMainRok->clear();
    MainScreen->SelectCustomerYear(ReadSetting("last", "vybzakid", ""), ReadSetting("last", "vybzakrok", ""));
}

void TForm1::SetDataMenuEnabled(bool enabled) {
    for (QAction* item : {Evidenciajzd1, Evidenciaat1, Dolujcedaje1, dajepreprevodroka1})
        item->setEnabled(enabled);
}

void TForm1::LoadSettingsToAbout() {
    if (!About)
        return;
    TMemIniFile ini(AppDir + "Data/settings.mvk");
    About->chbNasSpolKB->setChecked(ini.ReadBool("general", "SpolKB", About->chbNasSpolKB->isChecked()));
    About->chbNasSpolTR->setChecked(ini.ReadBool("general", "SpolTR", About->chbNasSpolTR->isChecked()));
    About->eNasSpolKB->setText(ini.ReadString("general", "SpolKBpath", ""));
    About->eNasSpolTR->setText(ini.ReadString("general", "SpolTRpath", ""));
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride)
        return MenuKeyOverride(watched, static_cast<QKeyEvent*>(event));
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        CenterPanels();
    return QMainWindow::eventFilter(watched, event);
}

// A field would take some menu keys as its own editing keys (Ctrl+E is "end of line" on X11): the
// event that asks it is withheld from the window's fields, so the menu item runs. An open list or
// menu keeps Esc for itself: it closes just that list.
bool TForm1::MenuKeyOverride(QObject* watched, QKeyEvent* event) {
    if (QApplication::activePopupWidget()) {
        if (event->key() != Qt::Key_Escape)
            return false;
        event->accept();
        return true;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    const QKeySequence pressed(
        QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
    for (const QAction* action : actions()) {
        if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed)
            return true;
    }
    return false;
}

void TForm1::CenterPanels() {
    const QSize client = centralWidget()->size();
    for (QObject* child : centralWidget()->children()) {
        auto* panel = qobject_cast<QWidget*>(child);
        if (panel && panel->objectName().startsWith("pnl"))
            panel->move((client.width() - panel->width()) / 2, (client.height() - panel->height()) / 2);
    }
}

void TForm1::ShowPanel(QWidget* panel) {
    panel->raise();
    currentPanel_ = panel;
}

void TForm1::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    RunGuarded([&] { FormCloseQuery(canClose); });
    if (canClose) {
        StopTransfers(); // a download under way ends, and hands nothing over
        event->accept();
    } else {
        event->ignore();
    }
}

void TForm1::FormCloseQuery(bool& canClose) {
    if (!CloseConfirmed)
        CloseConfirmed = ShowMessageBox(QStringLiteral("Naozaj chcete aplikáciu ukončiť?"), ProgramTitle,
                                        MB_YESNO_QUESTION) == ID_YES;
    canClose = CloseConfirmed;
}

void TForm1::WMQueryEndSession() {
    CloseConfirmed = true;
}

void TForm1::Koniec1Click() {
    close();
}

void TForm1::Nastavenia1Click() {
    LoadSettingsToAbout();
    if (About)
        About->ShowCenter("settings");
}

void TForm1::Oprograme1Click() {
    LoadSettingsToAbout();
    if (About)
        About->ShowCenter("about");
}

void TForm1::Pomocnk1Click() {
    ShellOpen(AppDir + "Vozopis-help.chm");
}

void TForm1::NavtvtestrnkuprogramuVozopis1Click() {
    ShellOpen(ProductWebPage("vzps"));
}
