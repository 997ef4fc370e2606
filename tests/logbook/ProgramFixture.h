#pragma once

#include <QDir>
#include <QStringList>
#include <QTest>
#include <memory>

#include "AboutUnit.h"
#include "Globals.h"
#include "MainScreen.h"
#include "Schema.h"
#include "SqliteWrapper.h"
#include "TestSupport.h"
#include "Vozopis1.h"

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

    TempProgramFolder folder;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TAbout> about;
};

// The first column of every row of a query on the program's database.
inline QStringList Column(const QString& sql) {
    QStringList values;
    auto result = Db->Query(sql);
    for (bool more = result->MoveFirst(); more && !result->Eof(); result->Next())
        values << result->FieldAsString(0);
    return values;
}
