#include <QComboBox>
#include <QListWidget>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "TestSupport.h"
#include "TextUtils.h"
#include "VersionBlock.h"

TEST(TextToFloat, CleansTheTextAndRejectsWhatIsNoNumberAfterCleaning) {
    const QStringList texts = QString("|-|abc|-1,5|1 234,50|1\u00A0234,50|12.5 km|+(3)|,5|7,").split('|');
    const double values[] = {0, 0, 0, -1.5, 1234.5, 1234.5, 12.5, 3, 0.5, 7};
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(TextToFloat(texts[i]), values[i]) << texts[i].toStdString();
    for (const QString& pair : QString("1.234,5>1,234,5|1-2>1-2|5 ->5-|x,y>,|-,>-,").split('|'))
        EXPECT_EQ(ErrorOf<EConvertError>([&] { TextToFloat(pair.section('>', 0, 0)); }),
                  "'" + pair.section('>', 1) + "' is not a valid floating point value"); // text>cleaned
    EXPECT_EQ(KeepNumberChars("a1.2 3,4-b+\u00A0٣²"), "1,23,4-"); // only the digits 0 to 9
    EXPECT_DOUBLE_EQ(TextToFloat("0.89 (build 64)"), 0.8964);     // versions compare by their digits
}

// The database layer's general format and the engine's text carry an exponent beyond 15 digits and below
// 0,00001: read whole, never as the digits run together. Only a whole such text counts; beyond a double's
// range it stops at the largest one or at zero.
TEST(TextToFloat, NumbersWithAnExponentAndBeyondTheRange) {
    const double largest = std::numeric_limits<double>::max();
    const std::pair<QString, double> cases[] = {
        {"6,6E-7", 6.6e-7},
        {"6.6e-07", 6.6e-7},
        {"2.0e+15", 2e15},
        {"2E15", 2e15},
        {"-1,99999999999999E15", -1.99999999999999e15},
        {"1E28", 1e28},
        {"1,79769313486232E308", largest},
        {"-1,79769313486232E308", -largest},
        {"4,94065645841247E-324", std::numeric_limits<double>::denorm_min()},
        {"1E-400", 0},
        {"1" + QString(400, '0'), largest},
        {"-0," + QString(400, '0') + "1", 0},
        // Far from zero whatever the form of its digits.
        {"0,1E400", largest},
        {"-0,5e309", -largest},
        {"1" + QString(400, '0') + "E-10", largest},
        {"0,01E-400", 0},
        {"1,5 E3", 1.53}, // not one number: cleaned as ever
        {"1,5e3 km", 1.53},
        {"E5", 5},
        {"1E", 1},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(TextToFloat(text), value) << text.toStdString();
        EXPECT_EQ(NumberTextValue(text), value) << text.toStdString();
    }
    // Extended precision keeps the hundredths a double loses at 10^14.
    EXPECT_EQ(TextToExtended("100 000 000 000 000,01"), 100000000000000.01L);
    EXPECT_EQ(TextToFloat("100 000 000 000 000,01"), 100000000000000.015625);
    EXPECT_EQ(TextToExtended("6,6E-7"), 6.6e-7L);
    EXPECT_EQ(TextToExtended("-0,1E5000"), -std::numeric_limits<long double>::max());
}

// Two decimals rounded half away from zero on the held value's digits, comma, groups of three.
TEST(FormatNumber, TwoDecimalsCommaAndGroups) {
    // 0.015 is held as 0.0149999999999999994, 1.005 as 1.00499999999999989.
    const double values[] = {0,       0.5,    999.99, 1000,   -1234567.5, 123456789012.0,
                             0.125,   -0.125, 0.005,  0.015,  1.005,      2.675,
                             999.995, 99.996, 0.004,  -0.001, 1e20,       0.0051};
    const QStringList shown = QString("0,00|0,50|999,99|1 000,00|-1 234 567,50|123 456 789 012,00|0,13|-0,13|"
                                      "0,01|0,01|1,00|2,67|1 000,00|100,00|0,00|0,00|"
                                      "100 000 000 000 000 000 000,00|0,01")
                                  .split('|');
    for (int i = 0; i < shown.size(); ++i) // ' ' stands for the no-break space
        EXPECT_EQ(FormatNumber(values[i]), QString(shown[i]).replace(' ', QChar(0xA0))) << values[i];
    for (double value : {1234567.891, -98765.4321, 1e9 + 0.25})
        EXPECT_DOUBLE_EQ(TextToFloat(FormatNumber(value)), std::round(value * 100) / 100) << value;
}

// Either side of 2^53, of the 64-bit count of ten-thousandths (922 337 203 685 477,5807) and of 10^16, where
// the 18 digits end before the hundredths; tiny values and the largest double. Every digit is the value's.
TEST(FormatNumber, LargeAndTinyValuesShowTheirValue) {
    const std::pair<long double, const char*> cases[] = {
        {9007199254740991.0L, "9 007 199 254 740 991,00"},
        {9007199254740993.0L, "9 007 199 254 740 993,00"}, // held in extended precision
        {-9007199254740994.0, "-9 007 199 254 740 994,00"},
        {1999999999999998.0, "1 999 999 999 999 998,00"},
        {922337203685477.5807L, "922 337 203 685 477,58"},
        {922337203685477.5850L, "922 337 203 685 477,59"},
        {1000000000000000100.0L / 10000, "100 000 000 000 000,01"},
        {1600000000000000.0L, "1 600 000 000 000 000,00"},
        {9999999999999999.0L, "9 999 999 999 999 999,00"},
        {10000000000000000.125L, "10 000 000 000 000 000,13"}, // a tie, away from zero
        {-10000000000000000.375L, "-10 000 000 000 000 000,38"},
        {99999999999999999.9921875L, "99 999 999 999 999 999,99"},
        {9999999999999999.9951171875L, "10 000 000 000 000 000,00"}, // carried through every digit
        {9223372036854775808.0, "9 223 372 036 854 775 808,00"},
        {18446744073709551615.0L, "18 446 744 073 709 551 615,00"},
        {6.6e-7, "0,00"},
        {-6.6e-7, "0,00"},
        {-0.005, "-0,01"},
        {4.9e-324, "0,00"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatNumber(value), QString(text).replace(' ', QChar(0xA0))) << double(value);
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(FormatNumber(largest).remove(QChar(0xA0)), QString::asprintf("%.0f,00", largest));
    EXPECT_EQ(FormatNumber(-std::numeric_limits<long double>::max()).size(), 1 + 4933 + 1644 + 3)
        << "every digit";
}

// Each step rounds to the nearest ten-thousandth, ties to even; past the 64-bit range the count grows on.
TEST(MoneySums, TenThousandthsOfUnroundedValuesNeverWrap) {
    EXPECT_EQ(SumTenThousandths({"0,004", "", "0,004", "0,004"}), 120);
    EXPECT_EQ(SumTenThousandths({"1\u00A0234,5", "-0,00005", "0,00015"}), 12345002);
    EXPECT_EQ(SumTenThousandths(QStringList(20, "0,03125")), 6240) << "312,5 adds 312 every time, not 313";
    EXPECT_EQ(AddTenThousandths(7, 0.00036), 11);
    EXPECT_EQ(AddTenThousandths(9223372036854775807, 0.0001), 9223372036854775808.0L);
    EXPECT_EQ(AddTenThousandths(-9223372036854775807 - 1, -0.0001), -9223372036854775809.0L);
    EXPECT_EQ(AddTenThousandths(16000000000000000000.0L, 0.0001), 16000000000000000001.0L);
    EXPECT_EQ(SumTenThousandths({"800000000000000", "800000000000000"}), 16000000000000000000.0L);
    EXPECT_EQ(SumTenThousandths({"6,6E-7", "1999999999999998"}), 19999999999999980000.0L);
}

TEST(StripDiacritics, TransliteratesThroughWindows1250AndTheBufferChangesOnlyHighBytes) {
    EXPECT_EQ(StripDiacritics("Žilina – Košice|Plain text 0-9 ;[]{}~|ÁáÄäČčĎďÉéÍíĹĺĽľŇňÓóÔôŔŕŠšŤťÚúÝýŽž|"
                              "ŚćçłöőůűüĚěŘřŮ|ß×÷„úvod“ €5 §1 ‰"),
              "Zilina _ Kosice|Plain text 0-9 ;[]{}~|AaAaCcDdEeIiLlLlNnOoOoRrSsTtUuYyZz|SccloouuuEeRrU|"
              "@x/\"uvod\" @5 @1 %");
    char table[128];
    for (int i = 0; i < 128; ++i)
        table[i] = char('A' + i % 26);
    char buffer[] = "a\x80z\xFF\x7F\x9A";
    StripDiacriticsBuffer(buffer, 5, table); // the last byte lies outside the length
    EXPECT_EQ(QByteArray(buffer), QByteArray("aAzX\x7F\x9A"));
}

TEST(IndexOfText, WholeTextIgnoresCasePartialDoesNotInListsListBoxesAndComboBoxes) {
    const QStringList towns{"Bratislava", "", "čadca", "Čadca", "Nitra"};
    EXPECT_EQ(QList<int>({IndexOfText("ČADCA", towns, false), IndexOfText("ČADCA", towns, true),
                          IndexOfText("adc", towns, true), IndexOfText("Čad", towns, true),
                          IndexOfText("bratislava", towns, false), IndexOfText("slav", towns, false),
                          IndexOfText("", towns, false), IndexOfText("", towns, true),
                          IndexOfText("x", CreateStringList(), false)}),
              QList<int>({2, -1, 2, 3, 0, -1, 1, -1, -1}));
    const QStringList items{"Benzín", "Nafta", "nafta LPG"};
    QComboBox combo;
    combo.addItems(items);
    QListWidget list;
    list.addItems(items);
    EXPECT_EQ(QList<int>({IndexOfItemText("NAFTA", &combo, false), IndexOfItemText("nafta", &combo, true),
                          IndexOfText("BENZÍN", &combo, false), IndexOfItemText("benzín", &list, false),
                          IndexOfText("LPG", &list, true), IndexOfItemText("Plyn", &list, false),
                          IndexOfText("Nafta", static_cast<QComboBox*>(nullptr), false)}),
              QList<int>({1, 2, 0, 0, 2, -1, -1}));
}

TEST(GetFileVersionText, LongAndShortFormsFromTheVersionBlock) {
    QTemporaryDir dir;
    const QString file = dir.filePath("file.exe");
    QStringList shown;
    for (const QByteArray version :
         {VERSION_BLOCK_MARKER "0.8.9.64", VERSION_BLOCK_MARKER "1.2.10.3", "1.2.3.4"}) {
        WriteFileBytes(file, "\x01\x02 code " + version + '\0' + "\xFF more");
        shown << GetFileVersionText(file, true) + "|" + GetFileVersionText(file, false);
    }
    EXPECT_EQ(shown, QStringList({"0.89 (build 64)|0.89", "1.210 (build 3)|1.210", "|"}));
}

TEST(FloatToEditText, EveryDigitOfTheStoredValueWithADecimalCommaAndNoGrouping) {
    const double values[] = {1.459, 1234.5, 12, -0.183, 0.000001, 0.1 + 0.2, 999999999999999, -0.0};
    const QStringList texts =
        QString("1,459|1234,5|12|-0,183|0,000001|0,30000000000000004|999999999999999|0").split('|');
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(FloatToEditText(values[i]), texts[i]) << values[i];
        EXPECT_EQ(TextToFloat(texts[i]), values[i]) << values[i]; // reads back to the same double
    }
}

TEST(IsPlainNumber, WhatTheDatabaseLayerWritesWithoutAnExponentReadsBackAtFifteenDigits) {
    for (double value :
         {0.0, 0.00001, -0.00001, 1.459, 999999999999999.0, -999999999999999.0, 0.0000099999999999999995})
        EXPECT_TRUE(IsPlainNumber(value)) << value;
    for (double value : {0.000001, -0.0000099, 1e15, 999999999999999.9, -1e20, 1e300})
        EXPECT_FALSE(IsPlainNumber(value)) << value;
    EXPECT_EQ(PlainNumberValue(0.1 + 0.2), 0.3);
    EXPECT_EQ(PlainNumberValue(-1234.56789012345678), -1234.56789012346);
    EXPECT_EQ(PlainNumberValue(0.004999999999999999), 0.005);
}
