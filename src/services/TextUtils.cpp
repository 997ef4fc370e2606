#include "TextUtils.h"

#include <QComboBox>
#include <QListWidget>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

// Adds one to a string of decimal digits.
void IncrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// |value| * 100 rounded half away from zero, as decimal digits, taken from the value's
// 18 significant digits.
std::string HundredthsDigits(double magnitude) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17e", magnitude);
    // "d.ddddddddddddddddde+XX"
    std::string mantissa;
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            mantissa += *p;
    }
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    const int keep = exponent + 1 + 2; // digits left of the point in value * 100
    const int count = int(mantissa.size());
    if (keep >= count)
        return mantissa + std::string(keep - count, '0');
    if (keep < 0)
        return "0";
    std::string digits = keep > 0 ? mantissa.substr(0, keep) : std::string("0");
    if (mantissa[keep] >= '5')
        IncrementDigits(digits);
    return digits;
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

    std::string digits = HundredthsDigits(std::fabs(value));
    if (digits.size() < 3)
        digits.insert(0, 3 - digits.size(), '0');
    const std::string integer = digits.substr(0, digits.size() - 2);
    const std::string fraction = digits.substr(digits.size() - 2);

    QString result;
    const size_t first = integer.find_first_not_of('0');
    const std::string significant = first == std::string::npos ? std::string("0") : integer.substr(first);
    for (size_t i = 0; i < significant.size(); ++i) {
        if (i > 0 && (significant.size() - i) % 3 == 0)
            result += QChar(0x00A0);
        result += QChar(significant[i]);
    }
    result += ',' + QString::fromLatin1(fraction.c_str());
    // A value that rounds to zero shows no sign.
    if (value < 0 && digits.find_first_not_of('0') != std::string::npos)
        result.prepend('-');
    return result;
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

bool IsPlainNumber(double value) {
    if (value == 0)
        return true;
    if (!std::isfinite(value))
        return false;
    // The exponent of the value rounded to 15 significant digits, as the database layer rounds it.
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14)
            .ptr;
    const std::string text(buffer, end);
    const int exponent = std::atoi(text.c_str() + text.find('e') + 1);
    return exponent >= -5 && exponent < 15;
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

QString UnstorableCharText(const QString& caption, const QString& character) {
    return QStringLiteral("Pole \"%1\" obsahuje znak \"%2\", ktorý nie je možné uložiť. "
                          "Nahraďte ho prosím iným znakom.")
        .arg(caption, character);
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
