#include "TextUtils.h"

#include <QComboBox>
#include <QListWidget>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// |value| * 100 rounded half away from zero, as decimal digits written to out (room for 400),
// taken from the value's 18 significant digits; answers their count.
int HundredthsDigits(double magnitude, char* out) {
    char buffer[64]; // d.ddddddddddddddddde+XX
    const char* end =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 17).ptr;
    char mantissa[18];
    mantissa[0] = buffer[0];
    std::memcpy(mantissa + 1, buffer + 2, 17);
    const int exponent = ExponentOf(buffer, end);
    const int keep = exponent + 1 + 2; // digits left of the point in value * 100
    if (keep >= 18) {
        std::memcpy(out, mantissa, 18);
        std::memset(out + 18, '0', size_t(keep - 18));
        return keep;
    }
    if (keep <= 0) {
        out[0] = keep == 0 && mantissa[0] >= '5' ? '1' : '0';
        return 1;
    }
    std::memcpy(out, mantissa, size_t(keep));
    if (mantissa[keep] < '5')
        return keep;
    for (int i = keep - 1; i >= 0; --i) {
        if (out[i] != '9') {
            ++out[i];
            return keep;
        }
        out[i] = '0';
    }
    std::memmove(out + 1, out, size_t(keep));
    out[0] = '1';
    return keep + 1;
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
    QString cleaned = KeepNumberChars(ReplaceChar(text, '.', ','));
    if (cleaned.isEmpty() || cleaned == QStringLiteral("-"))
        cleaned = QStringLiteral("0");
    bool ok = IsNumberText(cleaned);
    double value = 0;
    if (ok)
        value = QString(cleaned).replace(',', '.').toDouble(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(cleaned));
    return value;
}

QString FormatNumber(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    char digits[400];
    int count = HundredthsDigits(std::fabs(value), digits);
    if (count < 3) {
        std::memmove(digits + 3 - count, digits, size_t(count));
        std::memset(digits, '0', size_t(3 - count));
        count = 3;
    }
    const int integer = count - 2;
    int first = 0;
    while (first < integer - 1 && digits[first] == '0')
        ++first;
    // A value that rounds to zero shows no sign.
    const bool negative = value < 0 && std::any_of(digits, digits + count, [](char d) { return d != '0'; });

    char16_t text[600];
    int n = 0;
    if (negative)
        text[n++] = u'-';
    for (int i = first; i < integer; ++i) {
        if (i > first && (integer - i) % 3 == 0)
            text[n++] = u'\u00A0';
        text[n++] = char16_t(digits[i]);
    }
    text[n++] = u',';
    text[n++] = char16_t(digits[integer]);
    text[n++] = char16_t(digits[integer + 1]);
    return QString(reinterpret_cast<const QChar*>(text), n);
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

qint64 AddTenThousandths(qint64 sum, double value) {
    // In extended precision, rounded the default way: to the nearest, ties to even.
    return std::llrint(static_cast<long double>(sum) + static_cast<long double>(value) * 10000.0L);
}

qint64 SumTenThousandths(const QStringList& values) {
    qint64 sum = 0;
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
