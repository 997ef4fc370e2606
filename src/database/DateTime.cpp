#include "DateTime.h"

#include <QDate>
#include <QTime>
#include <cmath>
#include <cstdlib>

#include "Exception.h"

namespace {

constexpr qint64 MSecsPerDay = 86400000;
constexpr QChar DateSeparator = '.';
constexpr QChar TimeSeparator = ':';
// 0001-01-01 and 9999-12-31 as day counts.
constexpr double MinDays = -693593;
constexpr double MaxDays = 2958466;

QDate DayZero() {
    return QDate(1899, 12, 30);
}

struct DecodedDateTime {
    QDate date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The value rounded to milliseconds first, then split into day and time of day.
DecodedDateTime Decode(double dateTime) {
    if (!std::isfinite(dateTime) || dateTime <= MinDays - 1 || dateTime >= MaxDays)
        throw EConvertError(QString("'%1' is not a valid date and time").arg(dateTime));
    const qint64 msecs = qint64(std::nearbyint(dateTime * double(MSecsPerDay)));
    const qint64 timeOfDay = std::llabs(msecs) % MSecsPerDay;
    DecodedDateTime result;
    result.date = DayZero().addDays(msecs / MSecsPerDay);
    result.hour = int(timeOfDay / 3600000);
    result.minute = int(timeOfDay / 60000 % 60);
    result.second = int(timeOfDay / 1000 % 60);
    return result;
}

QString Number(int value, int digits) {
    return QString::number(value).rightJustified(digits, '0');
}

QChar Upper(QChar c) {
    return (c >= 'a' && c <= 'z') ? QChar(c.unicode() - ('a' - 'A')) : c;
}

} // namespace

double Now() {
    return DateTimeToDays(QDateTime::currentDateTime());
}

double DateTimeToDays(const QDateTime& dateTime) {
    const double days = double(DayZero().daysTo(dateTime.date()));
    const double time = double(dateTime.time().msecsSinceStartOfDay()) / double(MSecsPerDay);
    return days >= 0 ? days + time : days - time;
}

QString FormatDate(const QString& pattern, double dateTime) {
    const DecodedDateTime value = Decode(dateTime);
    QString text;
    QChar lastToken;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern.at(i);
        QChar token = Upper(c);
        if (token < 'A' || token > 'Z') {
            text += c == '/' ? DateSeparator : c == ':' ? TimeSeparator : c;
            ++i;
            continue;
        }
        // 'm' after an hour means minutes.
        if (token == 'M' && lastToken == 'H')
            token = 'N';
        lastToken = token;

        qsizetype count = 1;
        while (i + count < pattern.size() && Upper(pattern.at(i + count)) == Upper(c))
            ++count;
        const int digits = count >= 2 ? 2 : 1;
        switch (token.unicode()) {
        case 'D':
            text += Number(value.date.day(), digits);
            break;
        case 'M':
            text += Number(value.date.month(), digits);
            break;
        case 'Y':
            text += count <= 2 ? Number(value.date.year() % 100, 2) : Number(value.date.year(), 4);
            break;
        case 'H':
            text += Number(value.hour, digits);
            break;
        case 'N':
            text += Number(value.minute, digits);
            break;
        case 'S':
            text += Number(value.second, digits);
            break;
        default:
            text += pattern.mid(i, count);
            break;
        }
        i += count;
    }
    return text;
}

QString YearText(double dateTime) {
    return FormatDate("yyyy", dateTime);
}

QString CurrentYearText() {
    return YearText(Now());
}

namespace {
// The number that the digits text[from, from + count) make, or -1 when one is no ASCII digit.
int DigitsAt(const QString& text, int from, int count) {
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        if (i >= text.size() || text.at(i) < '0' || text.at(i) > '9')
            return -1;
        value = value * 10 + (text.at(i).unicode() - '0');
    }
    return value;
}
} // namespace

bool IsDateText(const QString& text) {
    if (text.size() != 10 || text.at(2) != '.' || text.at(5) != '.')
        return false;
    const int year = DigitsAt(text, 6, 4);
    return year >= 1 && QDate::isValid(year, DigitsAt(text, 3, 2), DigitsAt(text, 0, 2));
}

bool IsDateTimeText(const QString& text) {
    if (text.size() != 16 || !IsDateText(text.left(10)) || text.at(10) != ' ' || text.at(13) != ':')
        return false;
    const int hour = DigitsAt(text, 11, 2);
    const int minute = DigitsAt(text, 14, 2);
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60;
}

bool IsYearText(const QString& text) {
    return text.size() == 4 && DigitsAt(text, 0, 4) >= 1000;
}
