#include <gtest/gtest.h>

#include <QStringDecoder>
#include <QStringList>

#include "Encoding.h"

TEST(Encoding, TheFirstCharacterThatWindows1250CannotHoldIsFoundWhole) {
    EXPECT_EQ(FindNonAnsiChar(QStringLiteral("áäčďéíĺľňóôŕšťúýž ÁÄČĎÉÍĹĽŇÓÔŔŠŤÚÝŽ ěřů ĚŘŮ őűöü ŐŰÖÜ ąćęłńśźż "
                                             "ĄĆĘŁŃŚŹŻ ß € „“ ‚‘ ’ … – — § ° × ÷ \t")),
              -1);
    // An emoji is a surrogate pair: found at its first half and returned whole; 0xFF is the dot above.
    const QStringList texts{"Jørgen", "Trnava Москва", "Auto 🚗 ø", "Ľ ÿ"};
    QList<int> found;
    QStringList chars;
    for (const QString& text : texts) {
        found << FindNonAnsiChar(text);
        chars << CharAt(text, found.last());
    }
    EXPECT_EQ(found, QList<int>({1, 7, 5, 2}));
    EXPECT_EQ(chars, QStringList({"ø", "М", "🚗", "ÿ"}));
    EXPECT_EQ(CharAt("abc", 3), "");
}

TEST(Encoding, EveryByteDecodesAsTheCodePageDecoderDecodesIt) {
    QByteArray bytes;
    for (int byte = 1; byte < 256; ++byte)
        bytes += char(byte);
    EXPECT_EQ(FromAnsi(bytes), QString(QStringDecoder("windows-1250").decode(bytes)));
    EXPECT_EQ(FromAnsi("Ko\x9Aice", 3), QStringLiteral("Koš"));
}
