#include <gtest/gtest.h>

#include "DateTime.h"

TEST(DateCheck, OnlyExistingFullyTypedDatesPass) {
    for (const char* date : {"01.01.2024", "29.02.2024", "29.02.2000", "31.12.9999", "31.01.0001"})
        EXPECT_TRUE(IsDateText(date)) << date;
    for (const char* date : {"31.02.2024", "29.02.2023", "29.02.1900", "00.01.2024", "01.13.2024",
                             "31.04.2024", "05.1 .2024", "  .  .    ", "00.00.0000", "01.01.0000", "1.1.2024",
                             "01-01-2024", "01.01.2024 ", "", "0x.01.2024"})
        EXPECT_FALSE(IsDateText(date)) << date;
}

TEST(DateCheck, DateTimesNeedAValidTimeOfDayToo) {
    for (const char* dateTime : {"29.02.2024 00:00", "31.12.2024 23:59"})
        EXPECT_TRUE(IsDateTimeText(dateTime)) << dateTime;
    for (const char* dateTime :
         {"01.03.2024 25:99", "01.03.2024 24:00", "01.03.2024 12:60", "01.03.2024 1 :30",
          "01.03.2024   :  ", "31.02.2024 08:00", "01.03.2024", "01.03.2024T08:00", "01.03.2024 08.00"})
        EXPECT_FALSE(IsDateTimeText(dateTime)) << dateTime;
}

TEST(DateCheck, YearsHaveFourDigits) {
    for (const char* year : {"1000", "2024", "9999"})
        EXPECT_TRUE(IsYearText(year)) << year;
    for (const char* year :
         {"0", "225", "0999", "0000", "20245", "202a", " 2024", "", "123456789012345678901234567890"})
        EXPECT_FALSE(IsYearText(year)) << year;
}
