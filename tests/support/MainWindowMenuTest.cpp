#include <QTimer>

#include "../logbook/ProgramFixture.h"
#include "LANUnit.h"

namespace {
// Triggers a menu item and reports the support window's pages and cooperation path while it is shown.
QString OpenThroughMenu(QAction* item) {
    QString seen = "not shown";
    QTimer::singleShot(0, About, [&] {
        seen = QString("%1 %2 %3 %4")
                   .arg(About->isVisible())
                   .arg(About->PgCtrlDorvane->currentIndex())
                   .arg(About->PgCtrlSettings->currentIndex())
                   .arg(About->eNasSpolKB->text());
        About->reject();
    });
    item->trigger();
    return seen;
}
} // namespace

TEST(MainWindowMenu, SettingsAndAboutOpenTheSupportWindowWithTheSavedCooperationAndUpdateItemsCheck) {
    StartedProgram program("[general]\r\nSpolKB=1\r\nSpolKBpath=/opt/kelbor\r\n");
    EXPECT_EQ(OpenThroughMenu(program.form->Nastavenia1), "1 0 0 /opt/kelbor");
    About->eNasSpolKB->setText("typed, not saved");
    EXPECT_EQ(OpenThroughMenu(program.form->Oprograme1), "1 4 0 /opt/kelbor")
        << "each opening reloads the saved settings";

    // The menu item, which picks the product itself, and both update buttons run the update check.
    ProductFileName.clear();
    SetConnectedHook([] { return false; });
    MessageBoxRecorder boxes;
    program.form->Zistiaktualizciu1->trigger();
    EXPECT_EQ(ProductFileName, "vozopis");
    About->BitBtn1->click();
    About->BitBtn8->click();
    SetConnectedHook({});
    EXPECT_EQ(boxes.Texts(), QStringList(3, boxes.Texts().value(0)));
    EXPECT_TRUE(boxes.Texts().value(0).startsWith(
        QStringLiteral("Pre zistenie novej verzie programu \"Vozopis\" musíte")));
}
