#include <gtest/gtest.h>

#include "DateTime.h"

// Per check, the texts that pass, then after '#' the ones that do not, separated by '|'.
TEST(DateCheck, OnlyExistingFullyTypedDatesTimesOfDayAndFourDigitYearsPass) {
    const std::pair<bool (*)(const QString&), QString> cases[] = {
        {IsDateText,
         "01.01.2024|29.02.2024|29.02.2000|31.12.9999|31.01.0001#31.02.2024|29.02.2023|29.02.1900|"
         "00.01.2024|01.13.2024|31.04.2024|05.1 .2024|  .  .    |00.00.0000|01.01.0000|1.1.2024|"
         "01-01-2024|01.01.2024 ||0x.01.2024"},
        {IsDateTimeText,
         "29.02.2024 00:00|31.12.2024 23:59#01.03.2024 25:99|01.03.2024 24:00|01.03.2024 12:60|"
         "01.03.2024 1 :30|01.03.2024   :  |31.02.2024 08:00|01.03.2024|01.03.2024T08:00|"
         "01.03.2024 08.00"},
        {IsYearText, "1000|2024|9999#0|225|0999|0000|20245|202a| 2024||123456789012345678901234567890"}};
    for (const auto& [check, texts] : cases)
        for (const bool passes : {true, false})
            for (const QString& text : texts.section('#', passes ? 0 : 1, passes ? 0 : 1).split('|'))
                EXPECT_EQ(check(text), passes) << text.toStdString();
}
