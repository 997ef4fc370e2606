#include "SQLunit.h"

#include <QRegularExpression>

#include <algorithm>

#include "DateTime.h"
#include "Exception.h"
#include "StringGrid.h"
#include "TextUtils.h"

QString SqlText;
QStringList SqlLines;

namespace {

constexpr QChar NoBreakSpace = QChar(0x00A0);

// Rows 1..n from the result, then the row after them cleared. Result columns past the grid's
// columns have nowhere to go and are left out.
void FillRows(TQueryResult& table, TStringGrid* grid) {
    table.MoveFirst();
    grid->SetRowCount(table.RowCount() + 2);
    const int columns = std::min(table.ColumnCount(), grid->ColCount());
    for (int row = 1; !table.Eof(); ++row, table.Next()) {
        QVector<QString> cells(columns);
        for (int col = 0; col < columns; ++col)
            cells[col] = table.FieldAsString(col);
        grid->SetRowCells(row, std::move(cells));
    }
}

void ClearLastRow(TStringGrid* grid) {
    const int last = grid->RowCount() - 1;
    for (int col = 0; col < grid->ColCount(); ++col)
        grid->SetCells(col, last, QString());
}

void ColumnsToText(TStringGrid* grid, const QString& columns, QString (*convert)(const QString&)) {
    const QStringList entries = ListEntries(columns);
    if (entries.isEmpty())
        return;
    const TGridUpdate update(grid);
    for (const QString& entry : entries) {
        const int col = StrToInt(entry);
        // A column the grid does not have holds nothing to convert.
        if (col < 0 || col >= grid->ColCount())
            continue;
        for (int row = 1; row <= grid->RowCount() - 2; ++row)
            grid->SetCells(col, row, convert(grid->Cells(col, row)));
    }
}

} // namespace

QString SqlLinesText() {
    QString text;
    for (const QString& line : SqlLines)
        text += line + "\r\n";
    return text;
}

void InitSqlUnit() {
    SqlText.clear();
    SqlLines.clear();
}

QString SqlQuoted(const QString& value) {
    return '\'' + QString(value).replace('\'', "''") + '\'';
}

QString FieldText(const TQueryResult& table, const QString& fieldName, const QString& defaultValue) {
    try {
        return table.FieldAsString(table.FieldIndexOf(fieldName));
    } catch (...) {
        return defaultValue;
    }
}

qint64 FieldInt(const TQueryResult& table, const QString& fieldName, qint64 defaultValue) {
    try {
        return table.FieldAsInteger(table.FieldIndexOf(fieldName));
    } catch (...) {
        return defaultValue;
    }
}

namespace {
bool IsWholeNumber(const QString& text) {
    static const QRegularExpression whole(QRegularExpression::anchoredPattern(QStringLiteral("-?[0-9]+")));
    return whole.match(text).hasMatch();
}

QString ConvertNumber(const QString& text) {
    QString result = ReplaceChar(text, ',', '.');
    result.remove(' ');
    result.remove(NoBreakSpace);
    return result;
}

bool IsSqlNumber(const QString& converted) {
    static const QRegularExpression number(
        QRegularExpression::anchoredPattern(QStringLiteral("-?([0-9]+\\.?[0-9]*|\\.[0-9]+)")));
    return number.match(converted).hasMatch();
}
} // namespace

QString NumberToSql(const QString& text) {
    const QString result = ConvertNumber(text);
    if (!IsSqlNumber(result))
        throw EConvertError(QString("'%1' is not a valid floating point value").arg(text));
    return result;
}

bool IsSqlNumberText(const QString& text) {
    return IsSqlNumber(ConvertNumber(text));
}

QString SqlId(const QString& id) {
    if (!IsWholeNumber(id))
        throw EConvertError(QString("'%1' is not a valid record id").arg(id));
    return id;
}

QString SqlYear(const QString& year) {
    if (!IsYearText(year))
        throw EConvertError(QString("'%1' is not a valid year").arg(year));
    return year;
}

QString DateToSql(const QString& text) {
    return text.mid(6, 4) + '-' + text.mid(3, 2) + '-' + text.mid(0, 2);
}

QString DateTimeToSql(const QString& text) {
    return DateToSql(text) + ' ' + text.mid(11, 5);
}

// The shown date, and the time when withTime, built in one allocation.
QString ShownDate(QStringView text, bool withTime) {
    QString shown;
    shown.reserve(16);
    shown.append(text.mid(8, 2)).append('.').append(text.mid(5, 2)).append('.').append(text.mid(0, 4));
    if (withTime)
        shown.append(' ').append(text.mid(11, 5));
    return shown;
}

QString SqlToDate(const QString& text) {
    return ShownDate(text, false);
}

QString SqlToDateTime(const QString& text) {
    return ShownDate(text, true);
}

void FillGrid(TDatabase& db, const QString& tableName, const QString& sql, TStringGrid* grid) {
    const TGridUpdate update(grid);
    grid->SetRowCount(2);
    if (db.TableExists(tableName)) {
        const std::unique_ptr<TQueryResult> table = db.Query(sql);
        FillRows(*table, grid);
    }
    ClearLastRow(grid);
}

void FillGridFromTable(TQueryResult& table, TStringGrid* grid) {
    const TGridUpdate update(grid);
    grid->SetRowCount(2);
    FillRows(table, grid);
    ClearLastRow(grid);
}

void DateColumnsToText(TStringGrid* grid, const QString& columns) {
    ColumnsToText(grid, columns, SqlToDate);
}

void DateTimeColumnsToText(TStringGrid* grid, const QString& columns) {
    ColumnsToText(grid, columns, SqlToDateTime);
}

void FieldToStrings(TQueryResult& table, const QString& fieldName, QStringList& strings) {
    strings.clear();
    table.MoveFirst();
    while (!table.Eof()) {
        strings << FieldText(table, fieldName, QString());
        table.Next();
    }
}

void QueryToStrings(TDatabase& db, const QString& sql, const QString& fieldName, QStringList& strings) {
    const std::unique_ptr<TQueryResult> table = db.Query(sql);
    FieldToStrings(*table, fieldName, strings);
}

bool EnsureTable(TDatabase& db, const QString& tableName, const QString& createSql) {
    const bool existed = db.TableExists(tableName);
    if (!existed)
        db.Execute(createSql);
    return existed;
}

QString FirstId(TDatabase& db, const QString& sql) {
    const std::unique_ptr<TQueryResult> table = db.Query(sql);
    table->MoveFirst();
    return table->RowCount() > 0 ? FieldText(*table, "id", QString()) : QString();
}
