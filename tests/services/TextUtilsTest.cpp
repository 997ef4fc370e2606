#include <QComboBox>
#include <QListWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "Exception.h"
#include "TestSupport.h"
#include "TextUtils.h"
#include "VersionBlock.h"

namespace {

QString ConvertErrorText(const QString& text) {
    return ErrorOf<EConvertError>([&] { TextToFloat(text); });
}
} // namespace

TEST(TextToFloat, CleansTheText) {
    EXPECT_EQ(TextToFloat(""), 0);
    EXPECT_EQ(TextToFloat("-"), 0);
    EXPECT_EQ(TextToFloat("abc"), 0);
    EXPECT_EQ(TextToFloat("-1,5"), -1.5);
    EXPECT_EQ(TextToFloat("1 234,50"), 1234.5);
    EXPECT_EQ(TextToFloat("1\u00A0234,50"), 1234.5);
    EXPECT_EQ(TextToFloat("12.5 km"), 12.5);
    EXPECT_EQ(TextToFloat("+(3)"), 3);
    EXPECT_EQ(TextToFloat(",5"), 0.5);
    EXPECT_EQ(TextToFloat("7,"), 7);
}

TEST(TextToFloat, RejectsWhatIsNoNumberAfterCleaning) {
    const std::pair<QString, QString> cases[] = {
        {"1.234,5", "1,234,5"}, {"1-2", "1-2"}, {"5 -", "5-"}, {"x,y", ","}, {"-,", "-,"}};
    for (const auto& [text, cleaned] : cases)
        EXPECT_EQ(ConvertErrorText(text), "'" + cleaned + "' is not a valid floating point value");
}

TEST(TextToFloat, VersionTextsCompareByTheirDigits) {
    EXPECT_DOUBLE_EQ(TextToFloat("0.89 (build 64)"), 0.8964);
    EXPECT_LT(TextToFloat("0.89 (build 100)"), TextToFloat("0.89 (build 64)"));
    EXPECT_GT(TextToFloat("0.90 (build 1)"), TextToFloat("0.89 (build 64)"));
    EXPECT_GT(TextToFloat("0.90 (build 1)"), TextToFloat("0.89 (build 100)"));
}

TEST(KeepNumberChars, KeepsDigitsCommaAndMinus) {
    EXPECT_EQ(KeepNumberChars(""), "");
    EXPECT_EQ(KeepNumberChars("a1.2 3,4-b+"), "1,23,4-");
    EXPECT_EQ(KeepNumberChars("1\u00A0000 Kč"), "1000");
    EXPECT_EQ(KeepNumberChars("٣²"), ""); // only the digits 0 to 9
}

TEST(FormatNumber, TwoDecimalsCommaAndGroups) {
    EXPECT_EQ(FormatNumber(0), "0,00");
    EXPECT_EQ(FormatNumber(0.5), "0,50");
    EXPECT_EQ(FormatNumber(999.99), "999,99");
    EXPECT_EQ(FormatNumber(1000), "1\u00A0000,00");
    EXPECT_EQ(FormatNumber(-1234567.5), "-1\u00A0234\u00A0567,50");
    EXPECT_EQ(FormatNumber(123456789012.0), "123\u00A0456\u00A0789\u00A0012,00");
}

TEST(FormatNumber, RoundsHalfAwayFromZeroOnTheDecimalDigits) {
    EXPECT_EQ(FormatNumber(0.125), "0,13");
    EXPECT_EQ(FormatNumber(-0.125), "-0,13");
    EXPECT_EQ(FormatNumber(0.005), "0,01");
    EXPECT_EQ(FormatNumber(0.015), "0,01"); // held as 0.0149999999999999994, though x * 100 gives 1.5
    EXPECT_EQ(FormatNumber(1.005), "1,00"); // held as 1.00499999999999989
    EXPECT_EQ(FormatNumber(2.675), "2,67"); // held as 2.67499999999999982
    EXPECT_EQ(FormatNumber(999.995), "1\u00A0000,00");
    EXPECT_EQ(FormatNumber(99.996), "100,00");
    EXPECT_EQ(FormatNumber(0.004), "0,00");
    EXPECT_EQ(FormatNumber(-0.001), "0,00");
}

TEST(FormatNumber, ReadsBackRoundedToTwoDecimals) {
    const struct {
        double value;
        double shown;
    } cases[] = {
        {1234567.891, 1234567.89}, {-98765.4321, -98765.43}, {0.125, 0.13}, {-0.004, 0}, {12.5, 12.5},
        {1e9 + 0.25, 1e9 + 0.25}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(TextToFloat(FormatNumber(c.value)), c.shown) << c.value;
    }
}

TEST(StripDiacritics, TransliteratesThroughWindows1250) {
    EXPECT_EQ(StripDiacritics("Žilina – Košice"), "Zilina _ Kosice");
    EXPECT_EQ(StripDiacritics("Plain text 0-9 ;[]{}~"), "Plain text 0-9 ;[]{}~");
    EXPECT_EQ(StripDiacritics("ÁáÄäČčĎďÉéÍíĹĺĽľŇňÓóÔôŔŕŠšŤťÚúÝýŽž"), "AaAaCcDdEeIiLlLlNnOoOoRrSsTtUuYyZz");
    EXPECT_EQ(StripDiacritics("ŚćçłöőůűüĚěŘřŮ"), "SccloouuuEeRrU");
    EXPECT_EQ(StripDiacritics("ß×÷„úvod“ €5 §1 ‰"), "@x/\"uvod\" @5 @1 %");
}

TEST(StripDiacritics, BufferChangesOnlyHighBytes) {
    char table[128];
    for (int i = 0; i < 128; ++i)
        table[i] = char('A' + i % 26);
    char buffer[] = "a\x80z\xFF\x7F\x9A";
    StripDiacriticsBuffer(buffer, 5, table); // the last byte lies outside the length
    EXPECT_EQ(QByteArray(buffer), QByteArray("aAzX\x7F\x9A"));
}

TEST(IndexOfText, WholeTextIgnoresCasePartialDoesNot) {
    const QStringList towns{"Bratislava", "", "čadca", "Čadca", "Nitra"};
    EXPECT_EQ(IndexOfText("ČADCA", towns, false), 2);
    EXPECT_EQ(IndexOfText("ČADCA", towns, true), -1);
    EXPECT_EQ(IndexOfText("adc", towns, true), 2);
    EXPECT_EQ(IndexOfText("Čad", towns, true), 3);
    EXPECT_EQ(IndexOfText("bratislava", towns, false), 0);
    EXPECT_EQ(IndexOfText("slav", towns, false), -1);
    EXPECT_EQ(IndexOfText("", towns, false), 1);
    EXPECT_EQ(IndexOfText("", towns, true), -1);
    EXPECT_EQ(IndexOfText("x", CreateStringList(), false), -1);
}

TEST(IndexOfText, ListBoxAndComboBoxItems) {
    const QStringList items{"Benzín", "Nafta", "nafta LPG"};
    QComboBox combo;
    combo.addItems(items);
    QListWidget list;
    list.addItems(items);

    EXPECT_EQ(IndexOfItemText("NAFTA", &combo, false), 1);
    EXPECT_EQ(IndexOfItemText("nafta", &combo, true), 2);
    EXPECT_EQ(IndexOfText("BENZÍN", &combo, false), 0);
    EXPECT_EQ(IndexOfItemText("benzín", &list, false), 0);
    EXPECT_EQ(IndexOfText("LPG", &list, true), 2);
    EXPECT_EQ(IndexOfItemText("Plyn", &list, false), -1);
    EXPECT_EQ(IndexOfText("Nafta", static_cast<QComboBox*>(nullptr), false), -1);
}

TEST(GetFileVersionText, LongAndShortFormsFromTheVersionBlock) {
    QTemporaryDir dir;
    const auto makeFile = [&](const QString& name, const QByteArray& version) {
        WriteFileBytes(dir.filePath(name), "\x01\x02 code " + version + '\0' + "\xFF more");
        return dir.filePath(name);
    };
    const QString old = makeFile("old", VERSION_BLOCK_MARKER "0.8.9.64");
    const QString newer = makeFile("newer", VERSION_BLOCK_MARKER "1.2.10.3");
    const QString plain = makeFile("plain", "1.2.3.4");

    EXPECT_EQ(GetFileVersionText(old, true), "0.89 (build 64)");
    EXPECT_EQ(GetFileVersionText(old, false), "0.89");
    EXPECT_EQ(GetFileVersionText(newer, true), "1.210 (build 3)");
    EXPECT_EQ(GetFileVersionText(newer, false), "1.210");
    EXPECT_LT(TextToFloat(GetFileVersionText(old, true)), TextToFloat(GetFileVersionText(newer, true)));

    EXPECT_EQ(GetFileVersionText(plain, true), "");
    EXPECT_EQ(GetFileVersionText(plain, false), "");
    EXPECT_EQ(GetFileVersionText(dir.filePath("missing"), true), "");
}

TEST(FloatToEditText, EveryDigitOfTheStoredValueWithADecimalCommaAndNoGrouping) {
    EXPECT_EQ(FloatToEditText(1.459), "1,459");
    EXPECT_EQ(FloatToEditText(1234.5), "1234,5");
    EXPECT_EQ(FloatToEditText(12), "12");
    EXPECT_EQ(FloatToEditText(-0.183), "-0,183");
    EXPECT_EQ(FloatToEditText(0.000001), "0,000001");
    EXPECT_EQ(FloatToEditText(0.1 + 0.2), "0,30000000000000004") << "reads back to the same double";
    EXPECT_EQ(FloatToEditText(999999999999999), "999999999999999");
    EXPECT_EQ(FloatToEditText(-0.0), "0");
    for (double value : {1.459, 0.1 + 0.2, 123456.789, 1e-5})
        EXPECT_EQ(TextToFloat(FloatToEditText(value)), value);
}

TEST(IsPlainNumber, WhatTheDatabaseLayerWritesWithoutAnExponent) {
    for (double value :
         {0.0, 0.00001, -0.00001, 1.459, 999999999999999.0, -999999999999999.0, 0.0000099999999999999995})
        EXPECT_TRUE(IsPlainNumber(value)) << value;
    for (double value : {0.000001, -0.0000099, 1e15, 999999999999999.9, -1e20, 1e300})
        EXPECT_FALSE(IsPlainNumber(value)) << value;
}
