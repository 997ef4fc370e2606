#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

class QComboBox;
class QListWidget;

// Number text as typed or shown -> number: '.' counts as the decimal comma, every character
// but digits, ',' and '-' is dropped, an empty text or "-" is 0. Throws EConvertError
// ("'<text>' is not a valid floating point value") when the rest is no number. A number with an
// exponent, as the database layer ("6,6E-7") and the engine ("2.0e+15") write it, is read whole.
double TextToFloat(const QString& text);
// The same in extended precision, for texts with more digits than a double holds.
long double TextToExtended(const QString& text);
// The one display format of numbers: "###,###,##0.00" with a decimal comma and U+00A0
// as thousands separator, e.g. "-1 234 567,50". Rounded half away from zero on the value's 18
// significant digits; a value larger than they reach shows every digit of its integer part.
QString FormatNumber(long double value);
// A stored number as an edit field takes it: every digit needed to read the same value back, a
// decimal comma, no thousands separator and no exponent ("1,459", "1234,5", "-0,000001", "12").
QString FloatToEditText(double value);
// True when the database layer writes the value in plain digits, so that the grids can show and
// read it back: 0, or a magnitude from 0,00001 up to below 10^15 (at 15 significant digits).
bool IsPlainNumber(double value);
// For such a value, what TextToFloat reads back from that text: the value at 15 significant digits.
std::optional<double> PlainNumberValue(double value);

// Money sums: a count of ten-thousandths. Each step rounds sum + value x 10000 to the nearest
// integer, ties to even, in extended precision; an empty text adds nothing. The count is held in
// extended precision, exact up to 2^64, so a sum beyond the 64-bit range grows on instead of wrapping.
long double AddTenThousandths(long double sum, double value);
long double SumTenThousandths(const QStringList& values);
// TextToFloat(text), read directly when the text is a plain "[-]digits[,digits]".
double NumberTextValue(const QString& text);
// Drops every character but digits, ',' and '-'; '.' becomes ','.
QString KeepNumberChars(const QString& text);
QString ReplaceChar(const QString& text, QChar oldChar, QChar newChar);

// Plain ASCII for the Windows-1250 codes 0x80 to 0xFF, one entry per code (plus the final zero).
inline constexpr char DiacriticsTable[] = "@@,f\".@@^%S<STZZ"
                                          " ''\"\".__\"@s>stzz"
                                          " ^\"L A|@\"@S\"  @Z"
                                          "\"+,l'm .,as\"L\"lz"
                                          "RAAAALCCCEEEEIID"
                                          "DNNOOOOxRUUUUYT@"
                                          "raaaalccceeeeiid"
                                          "dnnoooo/ruuuuyt ";
static_assert(sizeof(DiacriticsTable) == 128 + 1);

// Accented letters to their base letters, other signs to look-alikes (through Windows-1250).
QString StripDiacritics(const QString& text);
// Replaces every byte of 0x80 and above by table[byte - 0x80].
void StripDiacriticsBuffer(char* buffer, int length, const char* table);

QStringList CreateStringList();
// The entries of a ';'-separated list ("30;310;134"), read as a string list reads lines: a
// trailing ';' adds no entry, ";;" gives an empty one, an empty text none.
QStringList ListEntries(const QString& text);
// A decimal integer: leading blanks, an optional sign, digits. Anything else raises EConvertError
// "'<text>' is not a valid integer value".
int StrToInt(const QString& text);

// Index of the first matching item, or -1. Partial: text occurs in the item (letter case
// matters, an empty text matches nothing); otherwise the whole item equals text ignoring case.
int IndexOfText(const QString& text, const QStringList& strings, bool partial);
int IndexOfText(const QString& text, const QComboBox* comboBox, bool partial);
int IndexOfText(const QString& text, const QListWidget* listWidget, bool partial);
int IndexOfItemText(const QString& text, const QStringList& strings, bool partial);
int IndexOfItemText(const QString& text, const QComboBox* comboBox, bool partial);
int IndexOfItemText(const QString& text, const QListWidget* listWidget, bool partial);

// The file's product version: "1.210 (build 3)" with the build, "1.210" without;
// empty when the file has no version block.
QString GetFileVersionText(const QString& fileName, bool withBuild);
