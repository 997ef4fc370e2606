#pragma once

#include <QMainWindow>
#include <memory>

class QAction;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TCarsPage;
class TCustomerPage;
class TDatabase;
class TInfoPanel;
class TTripsPage;
class TMainScreen;
class TOpeningStatesPage;

// The main window: six page panels brought to the front one at a time, the main menu, start-up
// and shutdown.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1();
    ~TForm1() override;

    // Page panels, 1022 x 688 each, centred in the client area.
    QWidget* pnlMenu = nullptr;
    QWidget* pnlZakaznici = nullptr;
    QWidget* pnlJazdy = nullptr;
    QWidget* pnlAuta = nullptr;
    QWidget* pnlInfo = nullptr;
    QWidget* pnlPrevod = nullptr;
    QWidget* Panel6 = nullptr;
    QWidget* Panel10 = nullptr;
    QTabWidget* pgInfo = nullptr;
    QTabWidget* pgPrevod = nullptr;
    QPushButton* BitBtn4 = nullptr;

    // Pages.
    TMainScreen* MainScreen = nullptr;
    TCustomerPage* CustomerPage = nullptr;
    TInfoPanel* InfoPanel = nullptr;
    TTripsPage* TripsPage = nullptr;
    TCarsPage* CarsPage = nullptr;
    TOpeningStatesPage* OpeningStatesPage = nullptr;

    // Main menu items.
    QAction* Pridavybrazkaznka1 = nullptr;
    QAction* Nastavenia1 = nullptr;
    QAction* Zistiaktualizciu1 = nullptr;
    QAction* Koniec1 = nullptr;
    QAction* Hlavnobrazovka1 = nullptr;
    QAction* Evidenciajzd1 = nullptr;
    QAction* Evidenciaat1 = nullptr;
    QAction* Dolujcedaje1 = nullptr;
    QAction* dajepreprevodroka1 = nullptr;
    QAction* Pomocnk1 = nullptr;
    QAction* NavtvtestrnkuprogramuVozopis1 = nullptr;
    QAction* Oprograme1 = nullptr;

    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& canClose);
    void WMQueryEndSession();
    void CenterPanels();
    void LoadSettingsToAbout();

    void Koniec1Click();
    void Nastavenia1Click();
    void Oprograme1Click();
    void Pomocnk1Click();
    void NavtvtestrnkuprogramuVozopis1Click();

    // The four data menu items, usable only while a customer and year are selected.
    void SetDataMenuEnabled(bool enabled);
    // Brings a page panel to the front.
    void ShowPanel(QWidget* panel);
    // The panel now in front.
    QWidget* CurrentPanel() const { return currentPanel_; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPanels();
    void BuildMenu();
    QWidget* NewPanel(const char* name);
    bool MenuKeyOverride(QObject* watched, QKeyEvent* event);

    std::unique_ptr<TDatabase> database_;
    QWidget* currentPanel_ = nullptr;
};

extern TForm1* Form1;

// Sizes the message table to its 21 entries and fills in the built-in texts.
void InitMessageTable();
