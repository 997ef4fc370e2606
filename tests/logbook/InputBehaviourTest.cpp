#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "Globals.h"
#include "InputBehaviour.h"
#include "MaskEdit.h"

namespace {
const QColor kMaroon(128, 0, 0);
const QColor kFocus(0x33, 0x22, 0x11); // FocusColor 0x00112233

// A page-like window; the tab order is the order of creation.
class InputBehaviourTest : public ::testing::Test {
protected:
    void SetUp() override {
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
        AttachComboEnter(cbAuto);
        ePrichod = Add<QLineEdit>(); // like eJazdyPrichod, its key-down given before the colour
        AttachEnterOpens(ePrichod, cbTrasa = Add<QComboBox>());
        AttachFocusColour(ePrichod);
        AttachComboEnter(cbTrasa);
        cbDruh = Add<QComboBox>(); // like cbAutaDruh
        AttachEnterOpens(cbDruh, cbVlastnictvo = Add<QComboBox>());
        AttachComboEnter(cbVlastnictvo);
        AttachFocusColour(bUlozit = Add<QPushButton>());
        for (QComboBox* combo : {cbAuto, cbTrasa, cbDruh, cbVlastnictvo})
            combo->addItems({"prvá", "druhá", "tretia"});

        plainBase = Base(eNazov);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        FocusOn(eID); // the window gave the focus to its first field
    }

    void TearDown() override {
        SetKeyBeep(previousBeep_);
        FocusColor = previousFocusColor_;
    }

    template <class T, class... Args> T* Add(Args... args) { return new T(args..., window.get()); }
    void FocusOn(QWidget* w) { w->setFocus(Qt::TabFocusReason); }
    QWidget* Focused() const { return window->focusWidget(); }
    void Press(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }
    QWidget* After(QWidget* from, int key) {
        FocusOn(from);
        Press(key);
        return Focused();
    }
    static bool ListOpen(QComboBox* combo) { return combo->view()->isVisible(); }
    static QColor Base(QWidget* w) { return w->palette().color(QPalette::Base); }
    static void SendFocus(QWidget* w, QEvent::Type type, Qt::FocusReason reason) {
        QFocusEvent event(type, reason);
        QCoreApplication::sendEvent(w, &event);
    }

    int beeps = 0;
    QColor plainBase;
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QLineEdit *eNazov, *eCena, *eID, *eRok, *ePrichod;
    TMaskEdit* eDatum;
    QCheckBox* chbPlatca;
    QComboBox *cbAuto, *cbTrasa, *cbDruh, *cbVlastnictvo;
    QPushButton* bUlozit;

private:
    KeyBeepFunction previousBeep_ = SetKeyBeep([this] { ++beeps; });
    uint32_t previousFocusColor_ = std::exchange(FocusColor, 0x00112233);
};
} // namespace

TEST_F(InputBehaviourTest, NumberYearAndDateFields) {
    FocusOn(eCena);
    QTest::keyClicks(eCena, "12.5");
    EXPECT_EQ(eCena->text(), "12,5");
    QTest::keyClick(eCena, ','); // caret at the end: the one comma moves there
    EXPECT_EQ(eCena->text(), "125,");
    eCena->setText("1,2,3,4"); // every comma goes, the caret moving left for each one before it
    eCena->setCursorPosition(4);
    QTest::keyClick(eCena, '.');
    EXPECT_EQ(eCena->text(), "12,34");
    eCena->selectAll(); // the selection is dropped, not replaced
    QTest::keyClick(eCena, '.');
    EXPECT_EQ(eCena->text(), ",1234");

    eCena->clear();
    QTest::keyClicks(eCena, "-1a2 ");
    EXPECT_EQ(eCena->text(), "-12");
    // Keys that type no character are not filtered.
    QTest::keyClick(eCena, Qt::Key_Home);
    QTest::keyClick(eCena, Qt::Key_Delete);
    EXPECT_EQ(eCena->text(), "12");
    // Enter moves on, into a date mask that selects one character from the caret; its CR is refused.
    eDatum->SetText("05.03.2024");
    EXPECT_EQ(After(eCena, Qt::Key_Return), eDatum);
    EXPECT_EQ(eDatum->selectedText(), "0");
    EXPECT_EQ(Base(eDatum), kFocus);
    QTest::keyClicks(eDatum, "12");
    EXPECT_EQ(eDatum->Text(), "12.03.2024");
    HighlightControlExit(eDatum);
    eDatum->SetSelStart(4);
    HighlightControlEnter(eDatum, 2);
    EXPECT_EQ(eDatum->selectedText(), "3");

    FocusOn(eRok);
    QTest::keyClicks(eRok, "20x2,4.-");
    QTest::keyClick(eRok, Qt::Key_Backspace);
    EXPECT_EQ(eRok->text(), "202");
    EXPECT_EQ(beeps, 7) << "a, space, the carriage return, then x , . and -";
}

TEST_F(InputBehaviourTest, EnterAndDownMoveForwardUpBackWrappingAndEnterOpensTheNextList) {
    EXPECT_EQ(After(eDatum, Qt::Key_Enter), eID); // the label and the disabled button are passed over
    EXPECT_EQ(After(eID, Qt::Key_Up), eDatum);
    EXPECT_EQ(After(bUlozit, Qt::Key_Down), eNazov);
    EXPECT_EQ(After(eNazov, Qt::Key_Up), bUlozit);
    // Arrows on a button or a check box move only once.
    EXPECT_EQ(After(bUlozit, Qt::Key_Up), cbVlastnictvo);
    EXPECT_EQ(After(chbPlatca, Qt::Key_Down), eRok);
    // '(' and '&' share the codes 40 and 38 of Down and Up.
    FocusOn(eNazov);
    QTest::keyClicks(eNazov, "(&");
    EXPECT_EQ(Focused(), eNazov);

    EXPECT_EQ(After(ePrichod, Qt::Key_Down), cbTrasa);
    EXPECT_FALSE(ListOpen(cbTrasa)); // only Enter opens it
    EXPECT_EQ(After(ePrichod, Qt::Key_Return), cbTrasa);
    EXPECT_TRUE(ListOpen(cbTrasa));
    EXPECT_EQ(Base(ePrichod), plainBase); // the field left has had its exit
    // The open list takes the item under its cursor and closes, then the focus moves on.
    QTest::keyClick(cbTrasa->view(), Qt::Key_Down);
    QTest::keyClick(cbTrasa->view(), Qt::Key_Return);
    EXPECT_FALSE(ListOpen(cbTrasa));
    EXPECT_EQ(cbTrasa->currentIndex(), 1);
    EXPECT_EQ(Focused(), cbDruh);

    EXPECT_EQ(After(eRok, Qt::Key_Return), cbAuto); // navigation first, then the list
    EXPECT_TRUE(ListOpen(cbAuto));
    cbAuto->hidePopup();
    EXPECT_EQ(After(cbAuto, Qt::Key_Down), cbAuto); // a combo box keeps its arrows
    EXPECT_EQ(cbAuto->currentIndex(), 1);
    // A combo box field: Enter moves on, then the list opens.
    EXPECT_EQ(After(cbDruh, Qt::Key_Down), cbDruh);
    EXPECT_EQ(After(cbDruh, Qt::Key_Return), cbVlastnictvo);
    EXPECT_TRUE(ListOpen(cbVlastnictvo));
}

TEST_F(InputBehaviourTest, FocusColoursAreRestoredEvenWhenTheSettingChangedMeanwhile) {
    // Buttons and check boxes get maroon text.
    const std::pair<QWidget*, QPalette::ColorRole> texts[] = {{bUlozit, QPalette::ButtonText},
                                                              {chbPlatca, QPalette::WindowText}};
    for (const auto& [control, role] : texts) {
        const QColor own = control->palette().color(role);
        FocusOn(control);
        EXPECT_EQ(control->palette().color(role), kMaroon);
        FocusOn(eNazov);
        EXPECT_EQ(control->palette().color(role), own);
    }

    // Another window or a popup is no exit, nor a second enter: the own colour stays saved.
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        SendFocus(eNazov, QEvent::FocusOut, reason);
        EXPECT_EQ(Base(eNazov), kFocus);
        SendFocus(eNazov, QEvent::FocusIn, reason);
    }
    Press(Qt::Key_Return);
    EXPECT_EQ(Base(eNazov), plainBase);
    // The focus moved while the window was inactive: entering the new field ends the old one.
    SendFocus(eCena, QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    SendFocus(eRok, QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    EXPECT_EQ(Base(eCena), plainBase);
    EXPECT_EQ(Base(eRok), kFocus);

    FocusOn(eNazov);
    FocusColor = 0x00445566;
    Press(Qt::Key_Return);
    EXPECT_EQ(Base(eNazov), plainBase);
    EXPECT_EQ(Base(eCena), QColor(0x66, 0x55, 0x44));
    FocusOn(eID); // a navigation-only field keeps its colour
    EXPECT_EQ(Base(eID), plainBase);
    EXPECT_EQ(Base(eCena), plainBase);
}
