#include <gtest/gtest.h>

#include <QStringDecoder>
#include <QStringList>

#include "Encoding.h"

TEST(Encoding, TheFirstCharacterThatWindows1250CannotHoldIsFoundWhole) {
    EXPECT_EQ(
        FindUnwritableChar(QStringLiteral("áäčďéíĺľňóôŕšťúýž ÁÄČĎÉÍĹĽŇÓÔŔŠŤÚÝŽ ěřů ĚŘŮ őűöü ŐŰÖÜ ąćęłńśźż "
                                          "ĄĆĘŁŃŚŹŻ ß € „“ ‚‘ ’ … – — § ° × ÷ \t"),
                           TTextCode::Windows1250),
        -1);
    // An emoji is a surrogate pair: found at its first half and returned whole; 0xFF is the dot above.
    const QStringList texts{"Jørgen", "Trnava Москва", "Auto 🚗 ø", "Ľ ÿ"};
    QList<int> found;
    QStringList chars;
    for (const QString& text : texts) {
        found << FindUnwritableChar(text, TTextCode::Windows1250);
        chars << CharAt(text, found.last());
    }
    EXPECT_EQ(found, QList<int>({1, 7, 5, 2}));
    EXPECT_EQ(chars, QStringList({"ø", "М", "🚗", "ÿ"}));
    EXPECT_EQ(CharAt("abc", 3), "");
}

TEST(Encoding, WhatIsUnwritableDependsOnTheCodeAndOnWhetherTheTextIsOneLine) {
    const QString high(QChar(0xD800)), low(QChar(0xDC00));
    const struct {
        QString text;
        TTextCode code;
        TTextLines lines;
        int at;
    } cases[] = {
        {"a\tb\r\nc", TTextCode::Windows1250, TTextLines::Many, -1},
        {"a\tb\r\nc", TTextCode::Windows1250, TTextLines::One, 3},
        {QStringLiteral("x\0y"), TTextCode::Windows1250, TTextLines::One, 1},
        {QStringLiteral("Trnava\u2028"), TTextCode::Windows1250, TTextLines::One, 6},
        {QStringLiteral("Žilina – Nitra\t"), TTextCode::Windows1250, TTextLines::One, -1},
        {QStringLiteral("ab\nø"), TTextCode::Windows1250, TTextLines::One, 2},
        {QStringLiteral("aø\n"), TTextCode::Windows1250, TTextLines::One, 1},
        {"a" + high, TTextCode::Windows1250, TTextLines::Many, 1},
        {QStringLiteral("Київ ø 😀\n"), TTextCode::Utf8, TTextLines::Many, -1},
        {QStringLiteral("Київ\n"), TTextCode::Utf8, TTextLines::One, 4},
        {"x" + high, TTextCode::Utf8, TTextLines::Many, 1},
        {"xy" + low + "z", TTextCode::Utf8, TTextLines::Many, 2},
        {QStringLiteral("😀") + low, TTextCode::Utf8, TTextLines::Many, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindUnwritableChar(c.text, c.code, c.lines), c.at) << c.text.toStdString();
}

TEST(Encoding, EveryByteDecodesAsTheCodePageDecoderDecodesIt) {
    QByteArray bytes;
    for (int byte = 1; byte < 256; ++byte)
        bytes += char(byte);
    EXPECT_EQ(FromAnsi(bytes), QString(QStringDecoder("windows-1250").decode(bytes)));
    EXPECT_EQ(FromAnsi("Ko\x9Aice", 3), QStringLiteral("Koš"));
}

namespace {
struct TGuess {
    const char* name;
    QByteArray bytes;
    bool utf8;
};

QByteArray Utf8(const char* text) {
    return QString::fromUtf8(text).toUtf8();
}
} // namespace

TEST(Encoding, BytesAreUtf8TextOnlyWhenTheyDecodeToTheirLastByteAndReadAsText) {
    const TGuess guesses[] = {
        {"Slovak", Utf8("Ľubovňa, Košice, Žilina: dĺžka, päť, Ôsmy ťava, ŕ"), true},
        {"Czech", Utf8("Příliš žluťoučký kůň úpěl ďábelské ódy"), true},
        {"Hungarian", Utf8("Árvíztűrő tükörfúrógép ŐŰ"), true},
        {"Polish", Utf8("Zażółć gęślą jaźń ŁÓDŹ"), true},
        {"German", Utf8("Größe der Straße: „Ärger“ – 5 µm, 3 €"), true},
        {"CyrillicWord", Utf8("Иван s.r.o."), true},
        {"CyrillicWordBesideLatin", Utf8("ИванTrade"), true},
        {"GreekLetterBesideLatin", Utf8("Ωmega"), false},
        {"GreekAfterDigit", Utf8("12Ω"), true},
        {"TwoBytesAtEnd", Utf8("Nová"), true},
        {"ThreeBytesAtEnd", Utf8("5 €"), true},
        {"FourBytesAtEnd", Utf8("Auto 🚗"), true},
        {"NoBreakSpaceAfterC1", "x\xC2\xA0y", true},
        {"AsciiOnly", "Jana Nova", false},
        {"Ansi", ToAnsi("Jana Nová, Košice"), false},
        {"AnsiEndingInALead", ToAnsi("Jana Nová"), false},
        {"CutTwoBytes", "Nov\xC3", false},
        {"CutThreeBytesAfterTwo", "5 \xE2\x82", false},
        {"CutThreeBytesAfterOne", "5 \xE2", false},
        {"CutFourBytesAfterThree", "Auto \xF0\x9F\x9A", false},
        {"CutInTheMiddle", "a\xE2\x82 b", false},
        {"CombiningMark", ToAnsi("NÍŽINA"), false},
        {"ArabicBeforeLatin", ToAnsi("Úžitok"), false},
        {"CyrillicAfterLatin", ToAnsi("NÓŽ"), false},
        {"FirstC1", "x\xC2\x80y", false},
        {"LastC1", "x\xC2\x9Fy", false},
        {"PrivateUse", "x\xEE\x80\x80", false},
        {"Noncharacter", "x\xEF\xB7\x90", false},
    };
    for (const TGuess& guess : guesses)
        EXPECT_EQ(IsUtf8Text(guess.bytes), guess.utf8) << guess.name;
}
