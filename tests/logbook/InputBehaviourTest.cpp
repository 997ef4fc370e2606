#include <QAbstractItemView>
#include <QClipboard>

#include "InputBehaviour.h"
#include "PriceTabs.h"
#include "ProgramFixture.h"
#include "RouteTabs.h"

namespace {
const QColor kMaroon(128, 0, 0), kFocus(0x33, 0x22, 0x11); // FocusColor 0x00112233

// A page-like window; the tab order is the order of creation.
class InputBehaviourTest : public ::testing::Test {
protected:
    void SetUp() override {
        FocusColor = 0x00112233;
        AttachFocusColour(eNazov = Add<QLineEdit>());
        AttachFocusColour(eCena = Add<QLineEdit>());
        AttachDecimalFilter(eCena); // after the navigation, which must still come first
        AttachDateMask(eDatum = Add<TMaskEdit>("!99.99.9999;1;_"));
        Add<QLabel>();
        Add<QPushButton>()->setEnabled(false);
        AttachNavigation(eID = Add<QLineEdit>());
        AttachFocusColour(chbPlatca = Add<QCheckBox>());
        AttachFocusColour(eRok = Add<QLineEdit>()); // like ePocStavRok
        AttachYearFilter(eRok);
        AttachEnterOpens(eRok, cbAuto = Add<QComboBox>());
        ePrichod = Add<QLineEdit>(); // like eJazdyPrichod, its key-down given before the colour
        AttachEnterOpens(ePrichod, cbTrasa = Add<QComboBox>());
        AttachFocusColour(ePrichod);
        AttachComboEnter(cbTrasa);
        cbDruh = Add<QComboBox>(); // like cbAutaDruh
        AttachEnterOpens(cbDruh, cbVlastnictvo = Add<QComboBox>());
        AttachFocusColour(bUlozit = Add<QPushButton>());
        for (QComboBox* combo : {cbAuto, cbTrasa, cbDruh, cbVlastnictvo})
            combo->addItems({"prvá", "druhá", "tretia"});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override { SetKeyBeep(previousBeep_); }

    template <class T, class... Args> T* Add(Args... args) { return new T(args..., window.get()); }
    static void FocusOn(QWidget* w) { w->setFocus(Qt::TabFocusReason); }
    QWidget* After(QWidget* from, int key) {
        FocusOn(from);
        QTest::keyClick(from, Qt::Key(key));
        return window->focusWidget();
    }
    static bool ListOpen(QComboBox* combo) { return combo->view()->isVisible(); }
    static QColor Base(QWidget* w) { return w->palette().color(QPalette::Base); }
    static void SendFocus(QWidget* w, QEvent::Type type, Qt::FocusReason reason) {
        QFocusEvent event(type, reason);
        QCoreApplication::sendEvent(w, &event);
    }

    int beeps = 0;
    const QColor plainBase = QApplication::palette().color(QPalette::Base);
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QLineEdit *eNazov, *eCena, *eID, *eRok, *ePrichod;
    TMaskEdit* eDatum;
    QCheckBox* chbPlatca;
    QComboBox *cbAuto, *cbTrasa, *cbDruh, *cbVlastnictvo;
    QPushButton* bUlozit;
    KeyBeepFunction previousBeep_ = SetKeyBeep([this] { ++beeps; });
};
} // namespace

TEST_F(InputBehaviourTest, NumberYearAndDateFieldsAndTheirClipboardKeys) {
    // The field, its text and caret (-1: all selected), the keys typed, the text then.
    const std::tuple<QLineEdit*, QString, int, QString, QString> typed[] = {
        {eCena, "", 0, "12.5", "12,5"},
        {eCena, "12,5", 4, ",", "125,"},     // the one comma moves to the caret
        {eCena, "1,2,3,4", 4, ".", "12,34"}, // the caret moves left for each comma before it
        {eCena, "12,34", -1, ".", ",1234"},  // the selection is dropped, not replaced
        {eCena, "", 0, "-1a2 ", "-12"},
        {eRok, "", 0, "20x2,4.-\b", "202"}};
    for (const auto& [field, before, caret, keys, after] : typed) {
        field->setText(before);
        caret < 0 ? field->selectAll() : field->setCursorPosition(caret);
        QTest::keyClicks(field, keys);
        EXPECT_EQ(field->text(), after) << keys.toStdString();
    }
    // Keys that type no character are not filtered.
    QTest::keyClick(eRok, Qt::Key_Home);
    QTest::keyClick(eRok, Qt::Key_Delete);
    EXPECT_EQ(eRok->text(), "02");
    // Enter moves on, into a date mask that selects one character from the caret; its CR is refused.
    eDatum->SetText("05.03.2024");
    EXPECT_EQ(After(eCena, Qt::Key_Return), eDatum);
    EXPECT_EQ(std::pair(eDatum->selectedText(), Base(eDatum)), std::pair(QString("0"), kFocus));

    // Ctrl keys are the fields' commands; a paste is filtered as typed.
    QClipboard* clipboard = QApplication::clipboard();
    for (QLineEdit* field : {eCena, eRok}) {
        field->setText("abc");
        FocusOn(field); // which selects the text
        QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(clipboard->text(), "abc");
        clipboard->setText("20\n25 x");
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(field->text(), "2025");
    }
    EXPECT_EQ(beeps, 9) << "a, space, x , . -, the carriage return, and one a paste";
}

TEST_F(InputBehaviourTest, EnterAndDownMoveOnUpBackEnterOpensTheNextListAndFocusColoursAreRestored) {
    // From where, the key, where the focus goes and whether its list is open.
    const std::tuple<QWidget*, int, QWidget*, bool> moves[] = {
        {eDatum, Qt::Key_Enter, eID, false}, // the label and the disabled button are passed over
        {eID, Qt::Key_Up, eDatum, false},
        {bUlozit, Qt::Key_Down, eNazov, false},
        {eNazov, Qt::Key_Up, bUlozit, false},
        {bUlozit, Qt::Key_Up, cbVlastnictvo, false}, // arrows on a button or a check box move only once
        {chbPlatca, Qt::Key_Down, eRok, false},
        {eNazov, Qt::Key_ParenLeft, eNazov, false}, // '(' and '&' share the codes 40 and 38 of Down and Up
        {eNazov, Qt::Key_Ampersand, eNazov, false},
        {ePrichod, Qt::Key_Down, cbTrasa, false},       // only Enter opens the list
        {eRok, Qt::Key_Return, cbAuto, true},           // navigation first, then the list
        {cbDruh, Qt::Key_Down, cbDruh, false},          // a combo box keeps its arrows
        {cbDruh, Qt::Key_Return, cbVlastnictvo, true}}; // a combo box field: Enter moves on, the list opens
    for (int i = 0; i < int(std::size(moves)); ++i) {
        const auto& [from, key, to, open] = moves[i];
        EXPECT_EQ(After(from, key), to) << "move " << i;
        auto* combo = qobject_cast<QComboBox*>(to);
        EXPECT_EQ(combo && ListOpen(combo), open) << "move " << i;
        if (combo)
            combo->hidePopup();
    }
    // The open list takes the item under its cursor and closes, then the focus moves on.
    EXPECT_EQ(After(ePrichod, Qt::Key_Return), cbTrasa);
    ASSERT_TRUE(ListOpen(cbTrasa));
    EXPECT_EQ(Base(ePrichod), plainBase); // the field left has had its exit
    QTest::keyClick(cbTrasa->view(), Qt::Key_Down);
    QTest::keyClick(cbTrasa->view(), Qt::Key_Return);
    EXPECT_EQ(std::tuple(ListOpen(cbTrasa), cbTrasa->currentIndex(), window->focusWidget()),
              std::tuple(false, 1, static_cast<QWidget*>(cbDruh)));

    // Buttons and check boxes get maroon text.
    for (QWidget* control : std::initializer_list<QWidget*>{bUlozit, chbPlatca}) {
        const QColor own = control->palette().color(control->foregroundRole());
        FocusOn(control);
        EXPECT_EQ(control->palette().color(control->foregroundRole()), kMaroon);
        FocusOn(eNazov);
        EXPECT_EQ(control->palette().color(control->foregroundRole()), own);
    }

    // Another window or a popup is no exit, nor a second enter: the own colour stays saved, and comes back
    // though the colour setting changed meanwhile.
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        SendFocus(eNazov, QEvent::FocusOut, reason);
        EXPECT_EQ(Base(eNazov), kFocus);
        SendFocus(eNazov, QEvent::FocusIn, reason);
    }
    FocusColor = 0x00445566;
    QTest::keyClick(eNazov, Qt::Key_Return);
    const QColor changed(0x66, 0x55, 0x44);
    EXPECT_EQ(std::pair(Base(eNazov), Base(eCena)), std::pair(plainBase, changed));
    // The focus moved while the window was inactive: entering the new field ends the old one.
    SendFocus(eCena, QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    SendFocus(eRok, QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    EXPECT_EQ(std::pair(Base(eCena), Base(eRok)), std::pair(plainBase, changed));
    FocusOn(eID); // a navigation-only field keeps its colour
    EXPECT_EQ(Base(eID), plainBase);
}

// A page's handler runs while its page and its control live: not for the focus-out that a focused
// control's destruction sends, whether its page went before it or goes after it, nor once the page
// is gone.
TEST_F(InputBehaviourTest, APagesHandlersRunOnlyWhileThePageAndItsControlLive) {
    QStringList calls;
    for (bool pageFirst : {true, false}) {
        auto* panel = new QWidget(window.get());
        QObject* page = pageFirst ? new QObject(panel) : nullptr;
        auto* combo = new QComboBox(panel);
        if (!page)
            page = new QObject(panel);
        panel->show();
        AttachExit(combo, page, [&calls] { calls << "exit"; });
        FocusOn(combo);
        FocusOn(eNazov);
        FocusOn(combo);
        ASSERT_TRUE(combo->hasFocus());
        delete panel;
        calls << "panel deleted";
    }
    auto page = std::make_unique<QObject>();
    AttachExit(eNazov, page.get(), [&calls] { calls << "exit"; });
    AttachKeyDown(eNazov, page.get(), [&calls](QWidget*, int) { calls << "key"; });
    FocusOn(eNazov);
    QTest::keyClick(eNazov, Qt::Key_X);
    page.reset();
    QTest::keyClick(eNazov, Qt::Key_Y);
    FocusOn(eCena);
    EXPECT_EQ(calls, QStringList({"exit", "panel deleted", "exit", "panel deleted", "key"}));
    EXPECT_EQ(eNazov->text(), "xy") << "the keys still reach the field";
}

namespace {
class PageShutdownTest : public ProgramTest {};
} // namespace

// The pages go before their fields when the window is destroyed: a focus-out or key that reaches a
// field of a page being destroyed calls nothing of it.
TEST_F(PageShutdownTest, AFieldEventDuringItsPagesDestructionCallsNothing) {
    CreateTripMasterData();
    TForm1* form = program.form.get();
    form->Hlavnobrazovka1->trigger();
    form->MainScreen->sgMain->SetRow(1);
    form->MainScreen->cbMainRok->clear();
    program.ShowInfoTab(1);
    program.ShowInfoTab(5);
    form->InfoPanel->VMTab->eVMmesto1->setText("Zvolen");
    form->Evidenciaat1->trigger();
    form->dajepreprevodroka1->trigger();
    TTripsPage* trips = program.OpenTrips();

    // The page, its field, the event sent to the field as the page goes, and the id label it would set.
    const std::tuple<QObject*, QWidget*, QEvent::Type, QLabel*> fields[] = {
        {form->MainScreen, form->MainScreen->cbMainRok, QEvent::FocusIn, nullptr},
        {form->InfoPanel->CPHMTab, form->InfoPanel->CPHMTab->cbCPHMtyp, QEvent::FocusOut,
         form->InfoPanel->CPHMTab->lblCPHMtyp},
        {form->InfoPanel->VMTab, form->InfoPanel->VMTab->eVMmesto1, QEvent::KeyPress, nullptr},
        {form->CarsPage, form->CarsPage->cbAutaPHM, QEvent::FocusOut, form->CarsPage->lblAutaPHM},
        {trips, trips->cbJazdyTrasa, QEvent::FocusOut, trips->lblJazdyTrasa},
        {trips, trips->cbJazdyVodic, QEvent::FocusOut, trips->lblJazdyVodic}};
    QStringList seen;
    for (const auto& [page, field, type, label] : fields) {
        QObject::connect(page, &QObject::destroyed,
                         [&seen, field = QPointer<QWidget>(field), type, label = QPointer<QLabel>(label)] {
                             if (!field)
                                 return;
                             if (label)
                                 label->setText("x");
                             if (type == QEvent::KeyPress) {
                                 QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier, "\r");
                                 QCoreApplication::sendEvent(field, &key);
                             } else {
                                 QFocusEvent focus(type, Qt::OtherFocusReason);
                                 QCoreApplication::sendEvent(field, &focus);
                             }
                             seen << field->objectName() + (label ? " " + label->text() : "");
                         });
    }
    program.Stop();
    seen.sort();
    EXPECT_EQ(seen, QStringList({"cbAutaPHM x", "cbCPHMtyp x", "cbJazdyTrasa x", "cbJazdyVodic x",
                                 "cbMainRok", "eVMmesto1"}));
    EXPECT_TRUE(boxes.Shown().empty()) << boxes.Texts().join("\n").toStdString();
    EXPECT_EQ(ReadSetting("Info", "mesto1", "none"), "none") << "the key reached no page";
}
