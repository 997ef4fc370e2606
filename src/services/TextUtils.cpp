#include "TextUtils.h"

#include <QComboBox>
#include <QListWidget>
#include <QVarLengthArray>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "Encoding.h"
#include "Exception.h"
#include "TextCompare.h"
#include "VersionBlock.h"

namespace {
bool IsDigit(QChar c) {
    return c >= '0' && c <= '9';
}

// -digits[,digits] or -,digits, the '-' optional.
bool IsNumberText(const QString& text) {
    qsizetype i = text.startsWith('-') ? 1 : 0;
    qsizetype intDigits = 0;
    while (i < text.size() && IsDigit(text.at(i))) {
        ++i;
        ++intDigits;
    }
    qsizetype fracDigits = 0;
    if (i < text.size() && text.at(i) == ',') {
        ++i;
        while (i < text.size() && IsDigit(text.at(i))) {
            ++i;
            ++fracDigits;
        }
    }
    return i == text.size() && intDigits + fracDigits > 0;
}

// The exponent of a scientific text "d.ddde+XX".
int ExponentOf(const char* begin, const char* end) {
    const char* e = std::find(begin, end, 'e');
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);
    return exponent;
}

using Digits = QVarLengthArray<char, 64>;

// The significant digits of magnitude to precision places after the first; answers the exponent.
int ScientificDigits(long double magnitude, int precision, Digits& digits) {
    QVarLengthArray<char, 64> buffer(precision + 16); // d.ddd...e+XXXX
    const double narrow = double(magnitude);
    // A double's digits come quicker from the double.
    const char* end =
        narrow == magnitude
            ? std::to_chars(buffer.begin(), buffer.end(), narrow, std::chars_format::scientific, precision)
                  .ptr
            : std::to_chars(buffer.begin(), buffer.end(), magnitude, std::chars_format::scientific, precision)
                  .ptr;
    digits.resize(precision + 1);
    digits[0] = buffer[0];
    std::memcpy(digits.data() + 1, buffer.data() + 2, size_t(precision));
    return ExponentOf(buffer.data(), end);
}

// |value| * 100 rounded half away from zero, as decimal digits into out, from the value's 18
// significant digits; from 10^16 up, where these end before the hundredths, from all of its digits.
void HundredthsDigits(long double magnitude, Digits& out) {
    Digits mantissa;
    int exponent = ScientificDigits(magnitude, 17, mantissa);
    // Beyond 2^53 a value has at most digits - 54 binary places, each one decimal place: all exact.
    if (exponent >= 16)
        exponent =
            ScientificDigits(magnitude, exponent + std::numeric_limits<long double>::digits - 50, mantissa);
    const qsizetype keep = exponent + 1 + 2; // digits left of the point in value * 100
    const qsizetype held = mantissa.size();
    out.clear();
    if (keep <= 0) {
        out.append(keep == 0 && mantissa[0] >= '5' ? '1' : '0');
        return;
    }
    out.append(mantissa.constData(), std::min(keep, held));
    if (keep >= held) {
        out.insert(out.end(), keep - held, '0');
        return;
    }
    if (mantissa[keep] < '5')
        return;
    for (qsizetype i = keep - 1; i >= 0; --i) {
        if (out[i] != '9') {
            ++out[i];
            return;
        }
        out[i] = '0';
    }
    out.insert(out.begin(), '1');
}

// [-]digits[(,|.)digits](e|E)[+|-]digits: a number with an exponent, as the database layer
// ("6,6E-7") and the engine ("2.0e+15") write one.
bool IsExponentText(const QString& text) {
    qsizetype i = text.startsWith('-') ? 1 : 0;
    auto digits = [&] {
        const qsizetype start = i;
        while (i < text.size() && IsDigit(text.at(i)))
            ++i;
        return i > start;
    };
    if (!digits())
        return false;
    if (i < text.size() && (text.at(i) == ',' || text.at(i) == '.')) {
        ++i;
        digits();
    }
    if (i == text.size() || (text.at(i) != 'e' && text.at(i) != 'E'))
        return false;
    ++i;
    if (i < text.size() && (text.at(i) == '+' || text.at(i) == '-'))
        ++i;
    return digits() && i == text.size();
}

// The power of ten of the first significant digit of "digits[.digits][e[+|-]digits]", saturated far
// beyond any type's range.
qint64 DecimalPower(const char* number) {
    const size_t integer = std::strspn(number, "0123456789");
    const size_t zeros = std::min(std::strspn(number, "0"), integer);
    qint64 power = qint64(integer - zeros) - 1;
    const char* rest = number + integer;
    if (*rest == '.') {
        ++rest;
        const size_t fraction = std::strspn(rest, "0123456789");
        if (zeros == integer)
            power = -qint64(std::strspn(rest, "0")) - 1;
        rest += fraction;
    }
    if (*rest++ != 'e')
        return power;
    const bool negative = *rest == '-';
    if (*rest == '-' || *rest == '+')
        ++rest;
    qint64 exponent = 0;
    for (; *rest >= '0' && *rest <= '9'; ++rest)
        exponent = std::min<qint64>(exponent * 10 + (*rest - '0'), qint64(1) << 40);
    return power + (negative ? -exponent : exponent);
}

// A number text in the form of IsNumberText or IsExponentText, correctly rounded. One the type
// cannot hold (the 15 digits of the largest double round up beyond it) stops at the largest finite
// value when it is far from zero, at zero when it is near it.
template <class Float> Float ParseNumber(const QString& text) {
    QByteArray ascii = text.toLatin1().replace(',', '.').toLower();
    Float value = 0;
    const char* begin = ascii.constData();
    if (std::from_chars(begin, begin + ascii.size(), value).ec == std::errc::result_out_of_range) {
        const char* integer = begin + (ascii.startsWith('-') ? 1 : 0);
        const bool large = DecimalPower(integer) >= 0;
        value = large ? std::numeric_limits<Float>::max() : Float(0);
        if (integer != begin)
            value = -value;
    }
    return value;
}

// TextToFloat in the given precision.
template <class Float> Float TextToNumber(const QString& text) {
    if (IsExponentText(text))
        return ParseNumber<Float>(text);
    QString cleaned = KeepNumberChars(ReplaceChar(text, '.', ','));
    if (cleaned.isEmpty() || cleaned == QStringLiteral("-"))
        cleaned = QStringLiteral("0");
    if (!IsNumberText(cleaned))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(cleaned));
    return ParseNumber<Float>(cleaned);
}

int FindText(const QString& text, const QStringList& items, bool partial) {
    if (partial && text.isEmpty())
        return -1;
    for (int i = 0; i < int(items.size()); ++i) {
        const QString& item = items.at(i);
        if (partial ? item.contains(text, Qt::CaseSensitive) : SameTextIgnoreCase(item, text))
            return i;
    }
    return -1;
}

QStringList ComboTexts(const QComboBox* comboBox) {
    QStringList texts;
    if (comboBox) {
        for (int i = 0; i < comboBox->count(); ++i)
            texts << comboBox->itemText(i);
    }
    return texts;
}

QStringList ListTexts(const QListWidget* listWidget) {
    QStringList texts;
    if (listWidget) {
        for (int i = 0; i < listWidget->count(); ++i)
            texts << listWidget->item(i)->text();
    }
    return texts;
}
} // namespace

double TextToFloat(const QString& text) {
    return TextToNumber<double>(text);
}

long double TextToExtended(const QString& text) {
    return TextToNumber<long double>(text);
}

QString FormatNumber(long double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    Digits digits;
    HundredthsDigits(std::fabs(value), digits);
    if (digits.size() < 3)
        digits.insert(digits.begin(), 3 - digits.size(), '0');
    const qsizetype integer = digits.size() - 2;
    qsizetype first = 0;
    while (first < integer - 1 && digits[first] == '0')
        ++first;
    // A value that rounds to zero shows no sign.
    const bool negative =
        value < 0 && std::any_of(digits.begin(), digits.end(), [](char d) { return d != '0'; });

    QVarLengthArray<char16_t, 96> text;
    text.reserve(digits.size() + digits.size() / 3 + 2);
    if (negative)
        text.append(u'-');
    for (qsizetype i = first; i < integer; ++i) {
        if (i > first && (integer - i) % 3 == 0)
            text.append(u'\u00A0');
        text.append(char16_t(digits[i]));
    }
    text.append(u',');
    text.append(char16_t(digits[integer]));
    text.append(char16_t(digits[integer + 1]));
    return QString(reinterpret_cast<const QChar*>(text.constData()), text.size());
}

QString FloatToEditText(double value) {
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");
    char buffer[512]; // the longest, the smallest subnormal, takes about 330 characters
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buffer, end - buffer).replace('.', ',');
}

std::optional<double> PlainNumberValue(double value) {
    if (value == 0)
        return 0.0;
    if (!std::isfinite(value))
        return std::nullopt;
    // Rounded to 15 significant digits, as the database layer writes it.
    char buffer[64];
    const char* end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14)
            .ptr;
    const int exponent = ExponentOf(buffer, end);
    if (exponent < -5 || exponent >= 15)
        return std::nullopt;
    double rounded = 0;
    std::from_chars(buffer, end, rounded);
    return value < 0 ? -rounded : rounded;
}

bool IsPlainNumber(double value) {
    return PlainNumberValue(value).has_value();
}

// Sums within the 64-bit range then round exactly as a 64-bit count would.
static_assert(std::numeric_limits<long double>::digits >= 64);

long double AddTenThousandths(long double sum, double value) {
    // Rounded the default way: to the nearest, ties to even.
    return std::rint(sum + static_cast<long double>(value) * 10000.0L);
}

long double SumTenThousandths(const QStringList& values) {
    long double sum = 0;
    for (const QString& value : values) {
        if (!value.isEmpty())
            sum = AddTenThousandths(sum, NumberTextValue(value));
    }
    return sum;
}

double NumberTextValue(const QString& text) {
    // The texts the engine's numbers read as: [-]digits[,digits]. Parsed as TextToFloat parses
    // them (correctly rounded), without its clean-up; any other text goes to it.
    char buffer[64];
    const qsizetype size = text.size();
    if (size == 0 || size >= qsizetype(sizeof buffer))
        return TextToFloat(text);
    qsizetype i = text.at(0) == '-' ? 1 : 0;
    if (i)
        buffer[0] = '-';
    auto digits = [&] {
        const qsizetype start = i;
        for (; i < size && IsDigit(text.at(i)); ++i)
            buffer[i] = char(text.at(i).unicode());
        return i > start;
    };
    bool plain = digits();
    if (plain && i < size && text.at(i) == ',') {
        buffer[i++] = '.';
        plain = digits();
    }
    if (plain && i == size) {
        double value = 0;
        const auto [end, error] = std::from_chars(buffer, buffer + size, value);
        if (error == std::errc() && end == buffer + size)
            return value;
    }
    return TextToFloat(text);
}

QString KeepNumberChars(const QString& text) {
    QString result = text;
    for (qsizetype i = result.size() - 1; i >= 0; --i) {
        const QChar c = result.at(i);
        if (c == '.')
            result[i] = ',';
        else if (!IsDigit(c) && c != ',' && c != '-')
            result.remove(i, 1);
    }
    return result;
}

QString ReplaceChar(const QString& text, QChar oldChar, QChar newChar) {
    return QString(text).replace(oldChar, newChar);
}

QString StripDiacritics(const QString& text) {
    QByteArray bytes = ToAnsi(text);
    StripDiacriticsBuffer(bytes.data(), int(bytes.size()), DiacriticsTable);
    return FromAnsi(bytes);
}

void StripDiacriticsBuffer(char* buffer, int length, const char* table) {
    for (int i = 0; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(buffer[i]);
        if (byte >= 0x80)
            buffer[i] = table[byte - 0x80];
    }
}

QStringList CreateStringList() {
    return QStringList();
}

QStringList ListEntries(const QString& text) {
    QStringList entries = ReplaceChar(text, ';', '\n').split('\n');
    if (entries.last().isEmpty())
        entries.removeLast();
    return entries;
}

int StrToInt(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == ' ')
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text.at(i) == '-' || text.at(i) == '+'))
        ++i;
    bool ok = i < text.size();
    for (; ok && i < text.size(); ++i)
        ok = text.at(i) >= '0' && text.at(i) <= '9';
    const int value = ok ? text.mid(start).toInt(&ok, 10) : 0;
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

int IndexOfText(const QString& text, const QStringList& strings, bool partial) {
    return FindText(text, strings, partial);
}

int IndexOfText(const QString& text, const QComboBox* comboBox, bool partial) {
    return FindText(text, ComboTexts(comboBox), partial);
}

int IndexOfText(const QString& text, const QListWidget* listWidget, bool partial) {
    return FindText(text, ListTexts(listWidget), partial);
}

int IndexOfItemText(const QString& text, const QStringList& strings, bool partial) {
    return IndexOfText(text, strings, partial);
}

int IndexOfItemText(const QString& text, const QComboBox* comboBox, bool partial) {
    return IndexOfText(text, comboBox, partial);
}

int IndexOfItemText(const QString& text, const QListWidget* listWidget, bool partial) {
    return IndexOfText(text, listWidget, partial);
}

QString GetFileVersionText(const QString& fileName, bool withBuild) {
    FileVersion version;
    if (!ReadFileVersion(fileName, version))
        return QString();
    if (withBuild)
        return QString::asprintf("%d.%01d%01d (build %01d)", int(version.major), int(version.minor),
                                 int(version.release), int(version.build));
    return QString::asprintf("%d.%01d%01d", int(version.major), int(version.minor), int(version.release));
}
