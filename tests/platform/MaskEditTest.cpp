#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>

#include "MaskEdit.h"

namespace {
const QString kDateMask = "!99.99.9999;1;_";
const QString kDateTimeMask = "!99.99.9999 99:99;1;_";
} // namespace

TEST(MaskEdit, EmptyTypedAndSetTextsReadWithBlanksAndLiterals) {
    TMaskEdit date(kDateMask), dateTime(kDateTimeMask);
    EXPECT_EQ(QStringList({date.Text(), dateTime.Text(), dateTime.displayText()}),
              QStringList({"  .  .    ", "  .  .       :  ", "__.__.____ __:__"}));
    date.SetSelStart(0);
    QTest::keyClicks(&date, "0a5-0,3x2024"); // letters and signs are not taken
    EXPECT_EQ(date.Text(), "05.03.2024");
    dateTime.SetSelStart(0);
    QTest::keyClicks(&dateTime, "0503");
    const QString half = dateTime.Text();
    QTest::keyClicks(&dateTime, "20241430");
    EXPECT_EQ(half + "|" + dateTime.Text(), "05.03.       :  |05.03.2024 14:30");

    // SetText goes position by position.
    QStringList set;
    for (const QString text :
         {"05.03.2024 14:30", "  .  .       :  ", " 5.03.2024 1 :30", "", "05.03.2024"}) {
        dateTime.SetText(text);
        set << dateTime.Text();
    }
    EXPECT_EQ(set, QStringList({"05.03.2024 14:30", "  .  .       :  ", " 5.03.2024 1 :30",
                                "  .  .       :  ", "05.03.2024   :  "}));
    // A blank in a digit position is an empty position, not a jump to the blank literal.
    dateTime.SetText(" 5");
    EXPECT_EQ(dateTime.displayText(), "_5.__.____ __:__");
}

TEST(MaskEdit, TypingOverwritesAndBackspaceEmptiesWithoutShifting) {
    TMaskEdit date(kDateMask);
    date.SetText("05.03.2024");
    date.SetSelStart(3);
    QTest::keyClick(&date, '1');
    EXPECT_EQ(date.Text(), "05.13.2024");
    date.SetSelStart(4);
    date.SetSelLength(1);
    EXPECT_EQ(QString::number(date.SelStart()) + date.selectedText(), "43");
    QTest::keyClick(&date, '2');
    EXPECT_EQ(date.Text(), "05.12.2024");
    date.SetSelStart(3); // backspace passes over the literal
    QTest::keyClick(&date, Qt::Key_Backspace);
    EXPECT_EQ(date.Text() + QString::number(date.SelLength()), "0 .12.20240");
}

TEST(MaskEdit, ALetterOrALineBreakTypedOrPastedOverASelectedDigitErasesNothing) {
    TMaskEdit dateTime(kDateTimeMask);
    dateTime.SetText("01.03.2024 08:00");
    for (const QString& typed : QStringList{"x", "-", ",", "\n", QStringLiteral("ř")}) {
        for (const bool paste : {false, true}) {
            dateTime.SetSelStart(0);
            dateTime.SetSelLength(1);
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
            paste ? dateTime.PasteText(typed + "\r\n") : void(QCoreApplication::sendEvent(&dateTime, &key));
            EXPECT_EQ(dateTime.Text(), "01.03.2024 08:00") << typed.toStdString() << ", pasted " << paste;
        }
    }
    // A literal skips to after the next one of its kind; the selected digit stays.
    dateTime.SetSelStart(1);
    dateTime.SetSelLength(1);
    QTest::keyClick(&dateTime, '.');
    EXPECT_EQ(dateTime.Text() + QString(" %1").arg(dateTime.SelStart()), "01.03.2024 08:00 3");
    QTest::keyClick(&dateTime, '1');
    EXPECT_EQ(dateTime.Text(), "01.13.2024 08:00");
    // Pasted digits fill the positions from the caret, literals or not.
    dateTime.SetSelStart(0);
    dateTime.PasteText(" 29.02.2024\t");
    const QString date = dateTime.Text();
    dateTime.SetSelStart(11);
    dateTime.PasteText("1730");
    EXPECT_EQ(date + "|" + dateTime.Text(), "29.02.2024 08:00|29.02.2024 17:30");
}
