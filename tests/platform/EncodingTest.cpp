#include <gtest/gtest.h>

#include <QStringDecoder>

#include "Encoding.h"

TEST(Encoding, EveryLetterAndSignOfWindows1250IsStorable) {
    const QString letters = QStringLiteral("áäčďéíĺľňóôŕšťúýž ÁÄČĎÉÍĹĽŇÓÔŔŠŤÚÝŽ ěřů ĚŘŮ őűöü ŐŰÖÜ ąćęłńśźż "
                                           "ĄĆĘŁŃŚŹŻ ß € „“ ‚‘ ’ … – — § ° × ÷ \t");
    EXPECT_EQ(FindNonAnsiChar(letters), -1);
    EXPECT_EQ(FindNonAnsiChar(""), -1);
}

TEST(Encoding, TheFirstCharacterThatWindows1250CannotHoldIsFoundWhole) {
    EXPECT_EQ(FindNonAnsiChar(QStringLiteral("Jørgen")), 1);
    EXPECT_EQ(CharAt(QStringLiteral("Jørgen"), 1), QStringLiteral("ø"));
    EXPECT_EQ(FindNonAnsiChar(QStringLiteral("Trnava Москва")), 7);
    // An emoji is a surrogate pair: found at its first half and returned whole.
    const QString car = QStringLiteral("Auto 🚗 ø");
    ASSERT_EQ(FindNonAnsiChar(car), 5);
    EXPECT_EQ(CharAt(car, 5), QStringLiteral("🚗"));
    EXPECT_EQ(FindNonAnsiChar(QStringLiteral("Ľ ÿ")), 2) << "0xFF of Windows-1250 is the dot above";
    EXPECT_EQ(CharAt("abc", 3), "");
}

TEST(Encoding, EveryByteDecodesAsTheCodePageDecoderDecodesIt) {
    QByteArray bytes;
    for (int byte = 1; byte < 256; ++byte)
        bytes += char(byte);
    EXPECT_EQ(FromAnsi(bytes), QString(QStringDecoder("windows-1250").decode(bytes)));
    EXPECT_EQ(FromAnsi("Ko\x9Aice", 3), QStringLiteral("Koš"));
}
