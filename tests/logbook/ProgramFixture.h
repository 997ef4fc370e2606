#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "AboutUnit.h"
#include "CarsPage.h"
#include "ComboBox.h"
#include "CustomerPage.h"
#include "DataPage.h"
#include "Globals.h"
#include "InfoPanel.h"
#include "MainScreen.h"
#include "MaskEdit.h"
#include "OpeningStatesPage.h"
#include "Schema.h"
#include "Settings.h"
#include "SqliteWrapper.h"
#include "StringGrid.h"
#include "TestSupport.h"
#include "TripsPage.h"
#include "Vozopis1.h"

// Lets queued events run: what a list closed or a page shown sets off.
inline void Settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// The program started in a fresh program folder: the main window with the support window beside
// it, created as the main routine creates them.
struct StartedProgram {
    explicit StartedProgram(const QByteArray& settings = {}) {
        if (!settings.isEmpty()) {
            QDir().mkdir(folder.File("Data"));
            WriteFileBytes(folder.File("Data/settings.mvk"), settings);
        }
        Start();
    }
    ~StartedProgram() { Stop(); }

    void Start() {
        form = std::make_unique<TForm1>();
        Form1 = form.get();
        about = std::make_unique<TAbout>(form.get());
        About = about.get();
    }
    void Stop() {
        CloseConfirmed = true; // no question while tearing down
        About = nullptr;
        about.reset();
        Form1 = nullptr;
        form.reset();
    }
    // Shows the window as the active one, so that the focus moves as it does for a user.
    bool ShowActive() {
        form->show();
        form->activateWindow();
        return QTest::qWaitForWindowActive(form.get());
    }
    // A customer (id 1) stored and selected with a year, as the pages that need one expect.
    void SelectCustomer(const QString& name, const QString& year = "2024") {
        CreateTableZakaznici();
        Db->Execute("INSERT INTO zakaznici (nazov, ico) VALUES ('" + name + "', '1')");
        form->MainScreen->SelectCustomerYear("1", year);
    }
    // Ends the program and starts it again in the same folder, shown once.
    void Restart() {
        Stop();
        Start();
        form->show();
    }
    // The trip page by its menu item, its car list closed as the user would.
    TTripsPage* OpenTrips() {
        form->Evidenciajzd1->trigger();
        form->TripsPage->cbJazdyAuto->hidePopup();
        form->activateWindow(); // the offscreen platform leaves no window active after a list
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        Settle();
        return form->TripsPage;
    }
    // A tab of the master-data panel, shown afresh.
    void ShowInfoTab(int index) {
        form->InfoPanel->Dolujcedaje1Click();
        form->pgInfo->setCurrentIndex(index);
    }

    TempProgramFolder folder;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TAbout> about;
};

// A test on the program shown as the active window, every box answered and recorded, with the
// customer (id 1) selected unless the name is empty.
class ProgramTest : public ::testing::Test {
protected:
    explicit ProgramTest(QString customer = "Doprava Nitra") : customer_(std::move(customer)) {}
    void SetUp() override {
        ASSERT_TRUE(program.ShowActive());
        if (!customer_.isEmpty())
            program.SelectCustomer(customer_);
    }
    const ShownBox& Box(size_t i) const { return boxes.Shown().at(i); }

    MessageBoxRecorder boxes;
    StartedProgram program;

private:
    QString customer_;
};

// The first column of every row of a query on the program's database.
inline QStringList Column(const QString& sql) {
    QStringList values;
    auto result = Db->Query(sql);
    for (bool more = result->MoveFirst(); more && !result->Eof(); result->Next())
        values << result->FieldAsString(0);
    return values;
}

// A grid column's cells between the header and the empty last row.
inline QStringList GridColumn(TStringGrid* grid, int col) {
    QStringList cells;
    for (int row = 1; row < grid->RowCount() - 1; ++row)
        cells << grid->Cells(col, row);
    return cells;
}
inline QStringList GridRow(TStringGrid* grid, int row) {
    QStringList cells;
    for (int col = 0; col < grid->ColCount(); ++col)
        cells << grid->Cells(col, row);
    return cells;
}
// A double-click on a row of a data page's grid, which fills its fields.
inline void DoubleClickRow(TDataPage* page, int row) {
    page->Def().grid->SetRow(row);
    page->DblClick();
}

// What the trip page needs for customer 1: the driver Ján Novák, the routes given, the car
// Octavia - NR123AB (6/6/6 l, 10 % excess, company car, Nafta) with its opening state of 2024, a price
// of 1,5 and a flat rate of 0,2 from `since`.
inline void CreateTripMasterData(const QString& routes = "('Nitra', 'Trnava', 50)",
                                 const QString& since = "2024-01-01") {
    for (auto create :
         {CreateTablePHM, CreateTableVodic, CreateTableCPHM, CreateTableDruhvoz, CreateTablePausnahr,
          CreateTableMesta, CreateTableAuta, CreateTablePocstav, CreateTableJazdy})
        create();
    Db->Execute(QStringLiteral("INSERT INTO vodic (meno, id_zakaznik) VALUES ('Ján Novák', 1)"));
    if (!routes.isEmpty())
        Db->Execute("INSERT INTO mesta (mesto1, mesto2, vzdialenost) VALUES " + routes);
    Db->Execute("INSERT INTO auta (nazov, spz, id_dv, vlastnictvo, norma, n1, n2, n3, nadspotreba, id_phm, "
                "id_zakaznik) VALUES ('Octavia', 'NR123AB', 1, 0, 1, 6, 6, 6, 10, 1, 1)");
    Db->Execute("INSERT INTO pocstav (rok, id_auto, id_zakaznik) VALUES (2024, 1, 1)");
    Db->Execute("INSERT INTO cphm (datum, id_phm, cena) VALUES ('" + since + "', 1, 1.5)");
    Db->Execute("INSERT INTO pausnahr (datum, suma) VALUES ('" + since + "', 0.2)");
}
// A trip of car 1 with driver 1 for customer 1, arriving when it departs.
inline void InsertTrip(const QString& departure, int back = 1, int route = 1, const QString& id = "NULL",
                       const QString& purpose = "cesta") {
    Db->Execute(
        "INSERT INTO jazdy (id, odchod, prichod, id_mesta, spat, cerpane, nadspotreba, ucel, id_auto, "
        "id_vodic, id_zakaznik) VALUES (" +
        id + ", '" + departure + "', '" + departure + "', " + QString::number(route) + ", " +
        QString::number(back) + ", 0, 0, '" + purpose + "', 1, 1, 1)");
}
