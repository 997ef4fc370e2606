#include <QComboBox>
#include <QListWidget>
#include <QTemporaryDir>
#include <cmath>
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

TEST(TextToFloat, CleansTheTextAndRejectsWhatIsNoNumberAfterCleaning) {
    const QStringList texts{"",        "-",    "abc", "-1,5", "1 234,50", "1\u00A0234,50",
                            "12.5 km", "+(3)", ",5",  "7,"};
    const double values[] = {0, 0, 0, -1.5, 1234.5, 1234.5, 12.5, 3, 0.5, 7};
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(TextToFloat(texts[i]), values[i]) << texts[i].toStdString();
    const std::pair<QString, QString> cases[] = {
        {"1.234,5", "1,234,5"}, {"1-2", "1-2"}, {"5 -", "5-"}, {"x,y", ","}, {"-,", "-,"}};
    for (const auto& [text, cleaned] : cases)
        EXPECT_EQ(ConvertErrorText(text), "'" + cleaned + "' is not a valid floating point value");
    EXPECT_EQ(KeepNumberChars("a1.2 3,4-b+\u00A0٣²"), "1,23,4-"); // only the digits 0 to 9
    // Versions compare by their digits.
    EXPECT_DOUBLE_EQ(TextToFloat("0.89 (build 64)"), 0.8964);
    EXPECT_LT(TextToFloat("0.89 (build 100)"), TextToFloat("0.89 (build 64)"));
    EXPECT_GT(TextToFloat("0.90 (build 1)"), TextToFloat("0.89 (build 64)"));
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

TEST(MoneySums, TenThousandthsOfUnroundedValues) {
    EXPECT_EQ(SumTenThousandths({"0,004", "", "0,004", "0,004"}), 120);
    EXPECT_EQ(SumTenThousandths({"1\u00A0234,5", "-0,00005", "0,00015"}), 12345002);
    EXPECT_EQ(AddTenThousandths(7, 0.00036), 11);
    for (const QString text : {"0", "-0,5", "12,345678901234", "0,00001", "123456789012345",
                               "9,9000000000000004", "1,5E-5", "5,", "-,5", "1 234,5", "-", "1,2,3"}) {
        const QString read = ErrorOf([&] { TextToFloat(text); });
        EXPECT_EQ(ErrorOf([&] { NumberTextValue(text); }), read) << text.toStdString();
        if (read == "<no error>") {
            EXPECT_EQ(NumberTextValue(text), TextToFloat(text)) << text.toStdString();
        }
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
