#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "Colors.h"
#include "Globals.h"
#include "InputBehaviour.h"
#include "MaskEdit.h"

namespace {
const QColor kMaroon(128, 0, 0);

// A page-like window; the tab order is the order of creation.
class InputBehaviourTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousBeep_ = SetKeyBeep([this] { ++beeps; });
        previousFocusColor_ = FocusColor;
        FocusColor = 0x00112233;
        window = std::make_unique<QWidget>();
        layout_ = new QVBoxLayout(window.get());
        eNazov = Add<QLineEdit>();
        AttachFocusColour(eNazov);
        eCena = Add<QLineEdit>();
        AttachFocusColour(eCena);
        AttachDecimalFilter(eCena); // after the navigation, which must still come first
        eDatum = Add<TMaskEdit>("!99.99.9999;1;_");
        AttachDateMask(eDatum);
        Add<QLabel>();
        Add<QPushButton>()->setEnabled(false);
        eID = Add<QLineEdit>();
        AttachNavigation(eID);
        chbPlatca = Add<QCheckBox>();
        AttachFocusColour(chbPlatca);
        eRok = Add<QLineEdit>(); // like ePocStavRok
        AttachFocusColour(eRok);
        AttachYearFilter(eRok);
        cbAuto = AddCombo();
        AttachEnterOpens(eRok, cbAuto);
        AttachComboEnter(cbAuto);
        ePrichod = Add<QLineEdit>(); // like eJazdyPrichod, its key-down given before the colour
        cbTrasa = AddCombo();
        AttachEnterOpens(ePrichod, cbTrasa);
        AttachFocusColour(ePrichod);
        AttachComboEnter(cbTrasa);
        chbSpiatocna = Add<QCheckBox>();
        AttachFocusColour(chbSpiatocna);
        cbDruh = AddCombo(); // like cbAutaDruh
        cbVlastnictvo = AddCombo();
        AttachEnterOpens(cbDruh, cbVlastnictvo);
        AttachComboEnter(cbVlastnictvo);
        bUlozit = Add<QPushButton>();
        AttachFocusColour(bUlozit);

        plainBase = eNazov->palette().color(QPalette::Base);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        FocusOn(eID); // the window gave the focus to its first field
    }

    void TearDown() override {
        window.reset();
        SetKeyBeep(previousBeep_);
        FocusColor = previousFocusColor_;
    }

    template <class T, class... Args> T* Add(Args... args) {
        auto* w = new T(args..., window.get());
        layout_->addWidget(w);
        return w;
    }
    QComboBox* AddCombo() {
        auto* combo = Add<QComboBox>();
        combo->addItems({"prvá", "druhá", "tretia"});
        return combo;
    }
    void FocusOn(QWidget* w) { w->setFocus(Qt::TabFocusReason); }
    QWidget* Focused() const { return window->focusWidget(); }
    void Press(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }
    static bool ListOpen(QComboBox* combo) { return combo->view()->isVisible(); }
    static QColor Base(QWidget* w) { return w->palette().color(QPalette::Base); }

    int beeps = 0;
    QColor plainBase;
    std::unique_ptr<QWidget> window;
    QLineEdit *eNazov, *eCena, *eID, *eRok, *ePrichod;
    TMaskEdit* eDatum;
    QCheckBox *chbPlatca, *chbSpiatocna;
    QComboBox *cbAuto, *cbTrasa, *cbDruh, *cbVlastnictvo;
    QPushButton* bUlozit;

private:
    QVBoxLayout* layout_ = nullptr;
    KeyBeepFunction previousBeep_;
    uint32_t previousFocusColor_ = 0;
};
} // namespace

TEST_F(InputBehaviourTest, DecimalFilterTypesOneDecimalComma) {
    FocusOn(eCena);
    QTest::keyClicks(eCena, "12.5");
    EXPECT_EQ(eCena->text(), "12,5");
    QTest::keyClick(eCena, ','); // caret at the end: the one comma moves there
    EXPECT_EQ(eCena->text(), "125,");

    eCena->setText("1,25"); // a comma before the caret moves the caret with the text
    eCena->setCursorPosition(3);
    QTest::keyClick(eCena, '.');
    EXPECT_EQ(eCena->text(), "12,5");
    EXPECT_EQ(eCena->cursorPosition(), 3);

    eCena->selectAll(); // the selection is dropped, not replaced
    QTest::keyClick(eCena, '.');
    EXPECT_EQ(eCena->text(), ",125");
    EXPECT_EQ(beeps, 0);

    QLineEdit pasted;
    pasted.setText("1,2,3,4");
    pasted.setCursorPosition(4);
    EXPECT_EQ(DecimalKeyFilter(&pasted, '.'), QChar(','));
    EXPECT_EQ(pasted.text(), "1234");
    EXPECT_EQ(pasted.cursorPosition(), 2);
}

TEST_F(InputBehaviourTest, NumberAndYearFiltersDropOtherCharactersWithABeep) {
    FocusOn(eCena);
    QTest::keyClicks(eCena, "-1a2 ");
    EXPECT_EQ(eCena->text(), "-12");
    EXPECT_EQ(beeps, 2);
    // Keys that type no character are not filtered.
    QTest::keyClick(eCena, Qt::Key_Backspace);
    QTest::keyClick(eCena, Qt::Key_Home);
    QTest::keyClick(eCena, Qt::Key_Delete);
    EXPECT_EQ(eCena->text(), "1");
    EXPECT_EQ(beeps, 2);

    FocusOn(eRok);
    QTest::keyClicks(eRok, "20x2,4.");
    QTest::keyClick(eRok, Qt::Key_Backspace);
    EXPECT_EQ(eRok->text(), "202");
    EXPECT_EQ(beeps, 5);
    EXPECT_TRUE(YearKeyFilter(eRok, '-').isNull());
}

TEST_F(InputBehaviourTest, EnterInANumberMovesOnAndItsCarriageReturnBeeps) {
    FocusOn(eCena);
    eCena->setText("5");
    Press(Qt::Key_Return);
    EXPECT_EQ(Focused(), eDatum);
    EXPECT_EQ(eCena->text(), "5");
    EXPECT_EQ(beeps, 1);
}

TEST_F(InputBehaviourTest, EnterAndDownMoveForwardUpBackOverTabStopsWrapping) {
    int returns = 0;
    QObject::connect(eNazov, &QLineEdit::returnPressed, [&] { ++returns; });
    FocusOn(eNazov);
    Press(Qt::Key_Return);
    EXPECT_EQ(Focused(), eCena);
    EXPECT_EQ(returns, 1); // the key still reaches the control
    Press(Qt::Key_Down);
    Press(Qt::Key_Enter); // the label and the disabled button are passed over
    EXPECT_EQ(Focused(), eID);
    Press(Qt::Key_Up);
    EXPECT_EQ(Focused(), eDatum);

    FocusOn(bUlozit);
    Press(Qt::Key_Down);
    EXPECT_EQ(Focused(), eNazov);
    Press(Qt::Key_Up);
    EXPECT_EQ(Focused(), bUlozit);

    // '(' and '&' share the codes 40 and 38 of Down and Up.
    FocusOn(eNazov);
    QTest::keyClicks(eNazov, "(&");
    EXPECT_EQ(Focused(), eNazov);
}

TEST_F(InputBehaviourTest, ArrowsOnAButtonOrCheckBoxMoveOnlyOnce) {
    FocusOn(chbPlatca);
    Press(Qt::Key_Down);
    EXPECT_EQ(Focused(), eRok);
    FocusOn(chbPlatca);
    Press(Qt::Key_Up);
    EXPECT_EQ(Focused(), eID);
    FocusOn(bUlozit);
    Press(Qt::Key_Up);
    EXPECT_EQ(Focused(), cbVlastnictvo);
}

TEST_F(InputBehaviourTest, ComboMovesOnWithEnterAndKeepsTheArrows) {
    FocusOn(cbAuto);
    Press(Qt::Key_Down);
    EXPECT_EQ(Focused(), cbAuto);
    EXPECT_EQ(cbAuto->currentIndex(), 1);
    Press(Qt::Key_Return);
    EXPECT_EQ(Focused(), ePrichod);
}

TEST_F(InputBehaviourTest, EnterInTheArrivalOpensTheRouteListAndEnterThereMovesOn) {
    FocusOn(ePrichod);
    Press(Qt::Key_Return);
    EXPECT_EQ(Focused(), cbTrasa);
    EXPECT_TRUE(ListOpen(cbTrasa));
    EXPECT_EQ(Base(ePrichod), plainBase); // the field left has had its exit

    // The open list takes the item under its cursor and closes, then the focus moves on.
    QTest::keyClick(cbTrasa->view(), Qt::Key_Down);
    QTest::keyClick(cbTrasa->view(), Qt::Key_Return);
    EXPECT_FALSE(ListOpen(cbTrasa));
    EXPECT_EQ(cbTrasa->currentIndex(), 1);
    EXPECT_EQ(Focused(), chbSpiatocna);
}

TEST_F(InputBehaviourTest, OnlyEnterOpensTheNextList) {
    FocusOn(ePrichod);
    Press(Qt::Key_Down);
    EXPECT_EQ(Focused(), cbTrasa);
    EXPECT_FALSE(ListOpen(cbTrasa));

    FocusOn(eRok); // navigation first, then the list
    Press(Qt::Key_Return);
    EXPECT_EQ(Focused(), cbAuto);
    EXPECT_TRUE(ListOpen(cbAuto));
    cbAuto->hidePopup();

    FocusOn(cbDruh); // a combo box: its arrows stay its own, Enter moves on, then the list opens
    Press(Qt::Key_Down);
    EXPECT_EQ(Focused(), cbDruh);
    Press(Qt::Key_Return);
    EXPECT_EQ(Focused(), cbVlastnictvo);
    EXPECT_TRUE(ListOpen(cbVlastnictvo));
}

TEST_F(InputBehaviourTest, FocusColourIsRestoredEvenWhenTheSettingChangedMeanwhile) {
    FocusOn(eNazov);
    EXPECT_EQ(Base(eNazov), QColor(0x33, 0x22, 0x11));
    EXPECT_EQ(ColorFromBgr(SavedColor), plainBase);
    FocusColor = 0x00445566;
    Press(Qt::Key_Return);
    EXPECT_EQ(Base(eNazov), plainBase);
    EXPECT_EQ(Base(eCena), QColor(0x66, 0x55, 0x44));

    FocusOn(eID); // a navigation-only field keeps its colour
    EXPECT_EQ(Base(eID), plainBase);
    EXPECT_EQ(Base(eCena), plainBase);
}

TEST_F(InputBehaviourTest, ButtonsAndCheckBoxesGetMaroonText) {
    const QColor buttonText = bUlozit->palette().color(QPalette::ButtonText);
    const QColor checkText = chbPlatca->palette().color(QPalette::WindowText);
    FocusOn(bUlozit);
    EXPECT_EQ(bUlozit->palette().color(QPalette::ButtonText), kMaroon);
    FocusOn(chbPlatca);
    EXPECT_EQ(bUlozit->palette().color(QPalette::ButtonText), buttonText);
    EXPECT_EQ(chbPlatca->palette().color(QPalette::WindowText), kMaroon);
    FocusOn(eNazov);
    EXPECT_EQ(chbPlatca->palette().color(QPalette::WindowText), checkText);
}

TEST_F(InputBehaviourTest, AnotherWindowOrAPopupIsNoExit) {
    FocusOn(eNazov);
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason), in(QEvent::FocusIn, reason);
        QCoreApplication::sendEvent(eNazov, &out);
        EXPECT_EQ(Base(eNazov), QColor(0x33, 0x22, 0x11));
        QCoreApplication::sendEvent(eNazov, &in); // no second enter: the own colour stays saved
    }
    Press(Qt::Key_Return);
    EXPECT_EQ(Base(eNazov), plainBase);

    // The focus moved while the window was inactive: entering the new field ends the old one.
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason),
        in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(eCena, &out);
    QCoreApplication::sendEvent(eRok, &in);
    EXPECT_EQ(Base(eCena), plainBase);
    EXPECT_EQ(Base(eRok), QColor(0x33, 0x22, 0x11));
}

TEST_F(InputBehaviourTest, DateMaskSelectsOneCharacterFromTheCaret) {
    eDatum->SetText("05.03.2024");
    FocusOn(eCena);
    Press(Qt::Key_Return);
    ASSERT_EQ(Focused(), eDatum);
    EXPECT_EQ(eDatum->SelStart(), 0);
    EXPECT_EQ(eDatum->SelLength(), 1);
    EXPECT_EQ(Base(eDatum), QColor(0x33, 0x22, 0x11));
    QTest::keyClicks(eDatum, "12");
    EXPECT_EQ(eDatum->Text(), "12.03.2024");

    eDatum->SetSelStart(4);
    HighlightControlEnter(eDatum, 2);
    EXPECT_EQ(eDatum->selectedText(), "3");
    HighlightControlExit(eDatum);
    eDatum->SetSelStart(4);
    HighlightControlEnter(eDatum, 1); // mode 1 selects nothing
    EXPECT_EQ(eDatum->SelLength(), 0);
    HighlightControlExit(eDatum);
}
