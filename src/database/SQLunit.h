#pragma once

#include <QString>
#include <QStringList>

#include "SqliteWrapper.h"

class TStringGrid;

// Statement buffers shared by the statement builders of the main window.
extern QString SqlText;      // a whole one-line statement
extern QStringList SqlLines; // a statement assembled line by line

// Every line of SqlLines followed by CR LF, the last one included.
QString SqlLinesText();
// Empties SqlText and SqlLines.
void InitSqlUnit();

// A text value as a standard SQL string literal: 'value' with every ' doubled. Every text value
// goes into a statement through here.
QString SqlQuoted(const QString& value);

// A named field of the current row; Default on any failure (unknown field, no row). Never raise.
// NULL gives "" and 0.
QString FieldText(const TQueryResult& table, const QString& fieldName, const QString& defaultValue);
qint64 FieldInt(const TQueryResult& table, const QString& fieldName, qint64 defaultValue);

// Typed number (decimal comma, blanks as thousands separators) -> SQL number text, spliced bare:
// after the conversion a plain number ([-]digits[.digits], also "12." and ".5"), else EConvertError.
QString NumberToSql(const QString& text);
// Whether NumberToSql takes the text.
bool IsSqlNumberText(const QString& text);
// A record id spliced bare: a whole number ([-]digits), else EConvertError.
QString SqlId(const QString& id);
// A year spliced bare: four digits, else EConvertError.
QString SqlYear(const QString& year);
// dd.mm.yyyy [hh:nn] <-> yyyy-mm-dd [hh:nn], by character positions; nothing is validated and
// missing positions give empty pieces.
QString DateToSql(const QString& text);
QString DateTimeToSql(const QString& text);
QString SqlToDate(const QString& text);
QString SqlToDateTime(const QString& text);

// Grid rows 1..n get the n result rows (result column c into grid column c, as far as the grid
// has columns), one empty row follows; row 0, the header, is left alone. FillGrid runs the query
// only when the table exists; otherwise the grid keeps the header and one empty row.
void FillGrid(TDatabase& db, const QString& tableName, const QString& sql, TStringGrid* grid);
void FillGridFromTable(TQueryResult& table, TStringGrid* grid);
// Stored dates / date-times in the data rows of the listed columns ("1" or "1;2") to shown text.
// Throws EConvertError for an entry that is not a decimal integer.
void DateColumnsToText(TStringGrid* grid, const QString& columns);
void DateTimeColumnsToText(TStringGrid* grid, const QString& columns);

// One named field of every row.
void FieldToStrings(TQueryResult& table, const QString& fieldName, QStringList& strings);
void QueryToStrings(TDatabase& db, const QString& sql, const QString& fieldName, QStringList& strings);

// Creates the table when it is missing; answers whether it existed before.
bool EnsureTable(TDatabase& db, const QString& tableName, const QString& createSql);
// The "id" field of the query's first row; empty when there is none.
QString FirstId(TDatabase& db, const QString& sql);
