// Keys typed as a user types them, on a real X server with the desktop's key bindings, menus and lists.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>

#include "ProgramFixture.h"
#include "VersionBlock.h"
#include "XServer.h"

DEFINE_VERSION_BLOCK(VOZOPIS_VERSION);

namespace {
// Types keys into the focused window as a user does, then lets them arrive; false when it failed.
bool TypeKeys(const QString& keys) {
    const bool done = QProcess::execute("xdotool", {"key", "--delay", "30", keys}) == 0;
    QTest::qWait(150);
    return done;
}

// Puts the focus into the panel's first editable field, with a text and the caret at its start.
QLineEdit* FocusField(QWidget* panel) {
    for (QLineEdit* field : panel->findChildren<QLineEdit*>())
        if (field->isVisible() && field->isEnabled() && !field->isReadOnly() &&
            !qobject_cast<TMaskEdit*>(field)) {
            field->setText("abc");
            field->setFocus();
            field->setCursorPosition(0);
            return QTest::qWaitFor([&] { return field->hasFocus(); }) ? field : nullptr;
        }
    return nullptr;
}
} // namespace

using KeyboardTest = ProgramTest;

// Menu keys and Alt menus work from a field and leave it alone; Esc closes an open menu or list only. The
// year list closed by Esc selects the highlighted customer and the shown year, as any close.
TEST_F(KeyboardTest, MenuKeysWorkFromAFieldAndEscClosesAnOpenMenuOrListOnly) {
    TForm1& form = *program.form;
    form.Pridavybrazkaznka1->trigger();
    const std::pair<const char*, QWidget*> steps[] = {
        {"ctrl+e", form.pnlAuta}, {"ctrl+d", form.pnlInfo},  {"ctrl+p", form.pnlPrevod},
        {"ctrl+h", form.pnlMenu}, {"F7", form.pnlZakaznici}, {"ctrl+e", form.pnlAuta},
    };
    for (const auto& [keys, panel] : steps) {
        QLineEdit* field = FocusField(form.CurrentPanel());
        ASSERT_TRUE(field && TypeKeys(keys)) << form.CurrentPanel()->objectName().toStdString();
        EXPECT_TRUE(QTest::qWaitFor([&] { return form.CurrentPanel() == panel; }, 2000))
            << keys << " from " << field->objectName().toStdString();
        EXPECT_EQ(std::pair(field->text(), field->cursorPosition()), std::pair(QString("abc"), 0))
            << keys << " reached " << field->objectName().toStdString();
    }
    // Alt+S and Alt+Z open the file and view menus from a field.
    ASSERT_NE(FocusField(form.CurrentPanel()), nullptr);
    for (const auto& [keys, index] : {std::pair{"alt+s", 0}, std::pair{"alt+z", 1}}) {
        ASSERT_TRUE(TypeKeys(keys));
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return QApplication::activePopupWidget() == form.menuBar()->actions()[index]->menu();
        })) << keys;
        ASSERT_TRUE(TypeKeys("Escape"));
        EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); })) << keys;
    }

    CreateTableRoky();
    Db->Execute(
        QStringLiteral("INSERT INTO zakaznici (id, nazov, ico) VALUES (2, 'Autodoprava Žilina', '2')"));
    Db->Execute("INSERT INTO roky (rok, id_zakaznik) VALUES (2025, 2), (2023, 2)");
    TMainScreen& screen = *form.MainScreen;
    form.Hlavnobrazovka1->trigger();
    screen.sgMain->SetRow(1); // customer 2 sorts first
    ASSERT_TRUE(TypeKeys("Return"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.cbMainRok->DroppedDown(); }));
    ASSERT_TRUE(TypeKeys("Escape"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !screen.cbMainRok->DroppedDown(); }));
    EXPECT_EQ(screen.pVybZak->text(), QStringLiteral("Autodoprava Žilina - 2025"));
    EXPECT_TRUE(screen.sgMain->hasFocus());
    EXPECT_TRUE(boxes.Shown().empty()) << boxes.Texts().join(" | ").toStdString();
}
