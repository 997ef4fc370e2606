// Keys typed as a user types them, on a real X server with the desktop's key bindings, menus and lists.
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <csignal>
#include <sys/prctl.h>

#include "Fonts.h"
#include "InputBehaviour.h"
#include "ProgramFixture.h"
#include "RouteTabs.h"
#include "VersionBlock.h"

DEFINE_VERSION_BLOCK(VOZOPIS_VERSION);

namespace {
// Types keys into the focused window as a user does, processing events meanwhile; false when it failed.
bool TypeKeys(const QString& keys) {
    QProcess xdotool;
    xdotool.start("xdotool", {"key", "--delay", "30", keys});
    const bool done = xdotool.waitForStarted(10000) &&
                      QTest::qWaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, 10000);
    QTest::qWait(150); // the server has taken the keys; let them arrive
    return done && xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

class KeyboardTest : public ProgramTest {
protected:
    // Puts the focus into a field with a text and the caret at its start.
    static void FocusField(QLineEdit* field) {
        field->setText("abc");
        field->setFocus();
        field->setCursorPosition(0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }));
    }
    static QLineEdit* FieldOf(QWidget* panel) {
        for (QLineEdit* edit : panel->findChildren<QLineEdit*>())
            if (edit->isVisible() && edit->isEnabled() && !edit->isReadOnly() &&
                !qobject_cast<TMaskEdit*>(edit))
                return edit;
        return nullptr;
    }
    static bool Dropped(TComboBox* combo) { return combo->view()->isVisible(); }
};
} // namespace

TEST_F(KeyboardTest, MenuKeysOpenTheirPagesAndMenusAlsoFromAFieldAndLeaveTheFieldAlone) {
    TForm1& form = *program.form;
    form.Pridavybrazkaznka1->trigger();
    const std::pair<const char*, QWidget*> steps[] = {
        {"ctrl+e", form.pnlAuta}, {"ctrl+d", form.pnlInfo},  {"ctrl+p", form.pnlPrevod},
        {"ctrl+h", form.pnlMenu}, {"F7", form.pnlZakaznici}, {"ctrl+e", form.pnlAuta},
    };
    for (const auto& [keys, panel] : steps) {
        QLineEdit* field = FieldOf(form.CurrentPanel());
        ASSERT_NE(field, nullptr) << form.CurrentPanel()->objectName().toStdString();
        FocusField(field);
        ASSERT_TRUE(TypeKeys(keys));
        (void)QTest::qWaitFor([&] { return form.CurrentPanel() == panel; }, 2000);
        EXPECT_EQ(form.CurrentPanel(), panel) << keys << " from " << field->objectName().toStdString();
        EXPECT_EQ(std::pair(field->text(), field->cursorPosition()), std::pair(QString("abc"), 0))
            << keys << " reached " << field->objectName().toStdString();
    }
    // Alt+S and Alt+Z open the file and view menus from a field; Esc closes just the menu.
    const QList<QAction*> menus = form.menuBar()->actions();
    FocusField(FieldOf(form.CurrentPanel()));
    for (const auto& [keys, index] : {std::pair{"alt+s", 0}, std::pair{"alt+z", 1}}) {
        ASSERT_TRUE(TypeKeys(keys));
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return QApplication::activePopupWidget() == menus[index]->menu();
        })) << keys;
        ASSERT_TRUE(TypeKeys("Escape"));
        EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); })) << keys;
    }
    EXPECT_TRUE(boxes.Shown().empty()) << boxes.Texts().join(" | ").toStdString();
}

TEST_F(KeyboardTest, EscClosesAnOpenListOnlyAndOtherwiseAsksToQuit) {
    CreateTripMasterData();
    TTripsPage& page = *program.form->TripsPage;
    auto escClosesOnly = [&](TComboBox* combo, const char* how) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return Dropped(combo); })) << how;
        ASSERT_TRUE(TypeKeys("Escape"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Dropped(combo); })) << how;
        EXPECT_TRUE(boxes.Shown().empty()) << how << ": " << boxes.Texts().join(" | ").toStdString();
    };

    program.form->Evidenciajzd1->trigger(); // the car list opens by itself
    escClosesOnly(page.cbJazdyAuto, "the car list of the trip page");

    // The year list closed by Esc selects the highlighted customer and the shown year, as any close.
    CreateTableRoky();
    Db->Execute(
        QStringLiteral("INSERT INTO zakaznici (id, nazov, ico) VALUES (2, 'Autodoprava Žilina', '2')"));
    Db->Execute("INSERT INTO roky (rok, id_zakaznik) VALUES (2025, 2), (2023, 2)");
    TMainScreen& screen = *program.form->MainScreen;
    program.form->Hlavnobrazovka1->trigger();
    screen.sgMain->SetRow(1); // customer 2 sorts first
    ASSERT_TRUE(TypeKeys("Return"));
    escClosesOnly(screen.cbMainRok, "the year list opened by Enter");
    EXPECT_EQ(screen.pVybZak->text(), QStringLiteral("Autodoprava Žilina - 2025"));
    EXPECT_TRUE(screen.sgMain->hasFocus());

    // With no list open, Esc is the menu's "Koniec".
    ASSERT_TRUE(TypeKeys("Escape"));
    (void)QTest::qWaitFor([&] { return !boxes.Shown().empty(); }, 2000);
    EXPECT_EQ(boxes.Texts(), QStringList(QStringLiteral("Naozaj chcete aplikáciu ukončiť?")));
}

TEST_F(KeyboardTest, ClipboardKeysWorkInNumberAndYearFieldsWhosePastedTextIsFiltered) {
    TForm1& form = *program.form;
    int beeps = 0;
    const KeyBeepFunction previous = SetKeyBeep([&] { ++beeps; });
    QClipboard* clipboard = QApplication::clipboard();
    const std::tuple<std::function<void()>, QLineEdit*, QString, QString> cases[] = {
        {[&] { program.ShowInfoTab(6); }, form.InfoPanel->PriemRychlTab->ePriemRychl,
         "50\n[Main]\ncolor=modra", "50"},
        {[&] { form.Hlavnobrazovka1->trigger(); }, form.MainScreen->eMainRok, "2025\r\n", "2025"}};
    for (const auto& [show, field, pasted, kept] : cases) {
        show();
        FocusField(field);
        ASSERT_TRUE(TypeKeys("ctrl+a") && TypeKeys("ctrl+c"));
        EXPECT_EQ(clipboard->text(), "abc") << field->objectName().toStdString();
        clipboard->setText(pasted);
        ASSERT_TRUE(TypeKeys("ctrl+a") && TypeKeys("ctrl+v"));
        EXPECT_EQ(field->text(), kept);
    }
    EXPECT_EQ(beeps, 2) << "the line breaks of the pasted texts";
    SetKeyBeep(previous);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // A private X server, which writes its free display's number once it is ready and dies with the tests.
    QProcess xvfb;
    xvfb.setStandardErrorFile(QProcess::nullDevice());
    xvfb.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    while (!xvfb.canReadLine() && xvfb.waitForReadyRead(30000)) {
    }
    const QByteArray display = xvfb.readLine().trimmed();
    if (display.isEmpty()) {
        fprintf(stderr, "Xvfb did not start (is the package xvfb installed?)\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("DISPLAY", ":" + display);
    int result = 1;
    {
        QApplication app(argc, argv);
        LoadDesignFonts();
        result = RUN_ALL_TESTS();
    }
    xvfb.terminate();
    xvfb.waitForFinished();
    return result;
}
