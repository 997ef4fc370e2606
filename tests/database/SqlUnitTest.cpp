#include <QDate>
#include <QDateTime>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "DateTime.h"
#include "SQLunit.h"
#include "StringGrid.h"
#include "TestSupport.h"

namespace {

class SqlUnitTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.Execute("CREATE TABLE auta (id INTEGER PRIMARY KEY, nazov VARCHAR (30), km INTEGER, "
                   "datum VARCHAR (10), cas VARCHAR (16));");
    }
    void AddCar(const QString& values) { db.Execute("INSERT INTO auta VALUES (" + values + ");"); }
    QString One(const QString& sql) { return db.Query(sql)->FieldAsString(0); }

    TempProgramFolder folder;
    TDatabase db{folder.File("data.mvk")};
};

// A grid as the Overview page sets it up: four columns and a header row.
class SqlGridTest : public SqlUnitTest {
protected:
    void SetUp() override {
        SqlUnitTest::SetUp();
        AddCar("1, 'Octavia', 120000, '2024-03-05', '2024-03-05 14:30'");
        AddCar("2, NULL, NULL, '2023-12-31', '2023-12-31 08:05'");
        AddCar("3, 'Fabia', 5, '2024-01-02', '2024-01-02 00:00'");
        grid.SetColCount(4);
        grid.SetRowCount(2);
        for (int col = 0; col < 4; ++col)
            grid.SetCells(col, 0, "H" + QString::number(col));
    }
    // Every cell of a row joined by '|'.
    QString Row(int row) const {
        QStringList cells;
        for (int col = 0; col < grid.ColCount(); ++col)
            cells << grid.Cells(col, row);
        return cells.join('|');
    }
    // Leaves old text in many rows, as a previous fill would.
    void Scribble() {
        grid.SetRowCount(8);
        for (int row = 1; row < 8; ++row)
            for (int col = 0; col < grid.ColCount(); ++col)
                grid.SetCells(col, row, "old");
    }

    TStringGrid grid;
};

// 2024-03-05 14:30:00 as a day count.
const double March5 = 45356 + 14.5 / 24;

} // namespace

// ---------------------------------------------------------------------------------------------
// Statement buffers and quoting

TEST_F(SqlUnitTest, StatementBuffers) {
    SqlText = "SELECT 1";
    SqlLines << "stale";
    InitSqlUnit();
    EXPECT_TRUE(SqlText.isEmpty());
    EXPECT_TRUE(SqlLines.isEmpty());
    EXPECT_EQ(SqlLinesText(), "");

    SqlLines << "INSERT INTO auta (id, nazov)"
             << "VALUES (7, 'Superb')"
             << "";
    EXPECT_EQ(SqlLinesText().toUtf8(),
              QByteArray("INSERT INTO auta (id, nazov)\r\nVALUES (7, 'Superb')\r\n\r\n"));
    db.Execute(SqlLinesText());
    EXPECT_EQ(One("SELECT nazov FROM auta WHERE id = 7"), "Superb");
    InitSqlUnit();
}

TEST_F(SqlUnitTest, QuotedTextValuesAreStoredAndFoundUnchanged) {
    EXPECT_EQ(SqlQuoted("O'Brien \"Auto\""), "'O''Brien \"Auto\"'");
    EXPECT_EQ(SqlQuoted("''"), "''''''");

    const QStringList values = {
        "O'Brien \"Auto\"",         "nazov",        "id",         "'", "\"", "", "a''b", "Škoda ľščťžýáíé",
        "x'); DROP TABLE auta; --", "\" OR 1=1 --", "' OR '1'='1"};
    for (int i = 0; i < values.size(); ++i)
        AddCar(QString::number(i + 1) + ", " + SqlQuoted(values[i]) + ", 0, '', ''");

    ASSERT_TRUE(db.TableExists("auta"));
    EXPECT_EQ(One("SELECT COUNT(*) FROM auta"), QString::number(values.size()));
    for (int i = 0; i < values.size(); ++i) {
        SCOPED_TRACE(values[i].toStdString());
        EXPECT_EQ(One("SELECT nazov FROM auta WHERE id = " + QString::number(i + 1)), values[i]);
        // Found as a text value: exactly its own row, never a column or every row.
        const auto found = db.Query("SELECT id FROM auta WHERE nazov = " + SqlQuoted(values[i]));
        ASSERT_EQ(found->RowCount(), 1);
        EXPECT_EQ(found->FieldAsInteger(0), i + 1);
    }
}

// ---------------------------------------------------------------------------------------------
// Fields by name

TEST_F(SqlUnitTest, FieldTextAndFieldIntDefaults) {
    AddCar("1, 'Octavia', NULL, '', ''");
    AddCar("2, NULL, 120000, '', ''");
    const auto table = db.Query("SELECT id, nazov, km FROM auta ORDER BY id");

    EXPECT_EQ(FieldText(*table, "nazov", "?"), "Octavia");
    EXPECT_EQ(FieldText(*table, "NAZOV", "?"), "Octavia");
    EXPECT_EQ(FieldText(*table, "id", "?"), "1");
    EXPECT_EQ(FieldText(*table, "datum", "?"), "?"); // not in the result
    EXPECT_EQ(FieldInt(*table, "id", 0), 1);
    EXPECT_EQ(FieldInt(*table, "km", 1), 0);      // NULL
    EXPECT_EQ(FieldInt(*table, "nazov", 1), 1);   // text
    EXPECT_EQ(FieldInt(*table, "chyba", -4), -4); // not in the result

    table->Next();
    EXPECT_EQ(FieldText(*table, "nazov", "?"), ""); // NULL is empty, not the default
    EXPECT_EQ(FieldInt(*table, "km", 0), 120000);

    table->Next(); // past the last row
    EXPECT_EQ(FieldText(*table, "nazov", "?"), "?");
    EXPECT_EQ(FieldInt(*table, "id", 7), 7);

    const auto empty = db.Query("SELECT id, nazov FROM auta WHERE id > 9");
    EXPECT_EQ(FieldText(*empty, "nazov", "0"), "0");
    EXPECT_EQ(FieldInt(*empty, "id", 1), 1);
}

TEST_F(SqlUnitTest, ListsFromQueries) {
    AddCar("1, 'Octavia', 0, '', ''");
    AddCar("2, NULL, 0, '', ''");
    AddCar("3, 'Fabia', 0, '', ''");

    QStringList names = {"old"};
    QueryToStrings(db, "SELECT nazov FROM auta ORDER BY id", "nazov", names);
    EXPECT_EQ(names, QStringList({"Octavia", "", "Fabia"}));
    QueryToStrings(db, "SELECT nazov FROM auta ORDER BY id", "km", names); // not in the result
    EXPECT_EQ(names, QStringList({"", "", ""}));
    QueryToStrings(db, "SELECT nazov FROM auta WHERE id > 9", "nazov", names);
    EXPECT_TRUE(names.isEmpty());

    // From an open result whose cursor has moved on: all rows, from the first.
    const auto table = db.Query("SELECT id FROM auta ORDER BY id DESC");
    table->Next();
    table->Next();
    FieldToStrings(*table, "id", names);
    EXPECT_EQ(names, QStringList({"3", "2", "1"}));

    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { QueryToStrings(db, "SELECT nazov FROM chyba", "nazov", names); }),
              "Error executing SQL \"SELECT nazov FROM chyba\" : no such table: chyba");
}

TEST_F(SqlUnitTest, EnsureTableAndFirstId) {
    const QString create = "CREATE TABLE servis (id INTEGER PRIMARY KEY, popis VARCHAR (50))";
    EXPECT_FALSE(EnsureTable(db, "servis", create));
    EXPECT_TRUE(db.TableExists("servis"));
    // An existing table runs nothing: a broken statement would raise.
    EXPECT_TRUE(EnsureTable(db, "servis", "CREATE TABLE broken ("));
    EXPECT_TRUE(EnsureTable(db, "SERVIS", "CREATE TABLE broken ("));
    EXPECT_THROW(EnsureTable(db, "broken", "CREATE TABLE broken ("), EDatabaseError);

    EXPECT_EQ(FirstId(db, "SELECT id FROM servis"), "");
    db.Execute("INSERT INTO servis VALUES (4, 'olej');");
    db.Execute("INSERT INTO servis VALUES (9, 'pneu');");
    EXPECT_EQ(FirstId(db, "SELECT id, popis FROM servis ORDER BY id DESC"), "9");
    EXPECT_EQ(FirstId(db, "SELECT popis FROM servis"), ""); // no id column
    EXPECT_THROW(FirstId(db, "SELECT id FROM chyba"), EDatabaseError);
}

// ---------------------------------------------------------------------------------------------
// Typed text to SQL text and back

TEST(SqlTextConversion, Numbers) {
    EXPECT_EQ(NumberToSql("1 234,50"), "1234.50");
    EXPECT_EQ(NumberToSql(QString("1") + QChar(0x00A0) + "234" + QChar(0x00A0) + "567,5"), "1234567.5");
    EXPECT_EQ(NumberToSql("12,5"), "12.5");
    EXPECT_EQ(NumberToSql("-3"), "-3");
    EXPECT_EQ(NumberToSql(" 1,5 "), "1.5");
    EXPECT_EQ(NumberToSql("12a"), "12a"); // not validated
    EXPECT_EQ(NumberToSql(""), "");
}

TEST(SqlTextConversion, DatesByCharacterPositions) {
    EXPECT_EQ(DateToSql("05.03.2024"), "2024-03-05");
    EXPECT_EQ(DateToSql("  .  .    "), "    -  -  ");
    EXPECT_EQ(DateToSql("05.03"), "-03-05");
    EXPECT_EQ(DateToSql("5"), "--5");
    EXPECT_EQ(DateToSql(""), "--");

    EXPECT_EQ(DateTimeToSql("05.03.2024 14:30"), "2024-03-05 14:30");
    EXPECT_EQ(DateTimeToSql("  .  .       :  "), "    -  -     :  ");
    EXPECT_EQ(DateTimeToSql("05.03.2024"), "2024-03-05 ");

    EXPECT_EQ(SqlToDate("2024-03-05"), "05.03.2024");
    EXPECT_EQ(SqlToDate("2024-03"), ".03.2024");
    EXPECT_EQ(SqlToDate(""), "..");
    EXPECT_EQ(SqlToDateTime("2024-03-05 14:30"), "05.03.2024 14:30");
    EXPECT_EQ(SqlToDateTime("2024-03-05"), "05.03.2024 ");
}

// ---------------------------------------------------------------------------------------------
// Grids

TEST_F(SqlGridTest, FillGridWritesRowsAndOneEmptyRow) {
    Scribble();
    FillGrid(db, "auta", "SELECT id, nazov, km, datum FROM auta ORDER BY id", &grid);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(Row(0), "H0|H1|H2|H3");
    EXPECT_EQ(Row(1), "1|Octavia|120000|2024-03-05");
    EXPECT_EQ(Row(2), "2|||2023-12-31");
    EXPECT_EQ(Row(3), "3|Fabia|5|2024-01-02");
    EXPECT_EQ(Row(4), "|||");

    // No rows, or a missing table (the query, which would fail, is not run): header and one empty row.
    Scribble();
    FillGrid(db, "auta", "SELECT id, nazov FROM auta WHERE id > 9", &grid);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(Row(1), "|||");
    Scribble();
    EXPECT_NO_THROW(FillGrid(db, "chyba", "SELEC this would fail", &grid));
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(Row(0), "H0|H1|H2|H3");
    EXPECT_EQ(Row(1), "|||");
    EXPECT_THROW(FillGrid(db, "auta", "SELEC id FROM auta", &grid), EDatabaseError);

    // Result columns beyond the grid's columns are left out; the column count stays.
    grid.SetColCount(2);
    FillGrid(db, "auta", "SELECT id, nazov, km, datum, cas FROM auta ORDER BY id", &grid);
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(Row(1), "1|Octavia");
    EXPECT_EQ(Row(4), "|");
}

TEST_F(SqlGridTest, FillGridFromOpenResult) {
    const auto table = db.Query("SELECT id, nazov FROM auta ORDER BY id DESC");
    while (table->Next()) {
    }
    Scribble();
    FillGridFromTable(*table, &grid);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(Row(1), "3|Fabia|old|old"); // columns the result lacks are not written
    EXPECT_EQ(Row(3).left(9), "1|Octavia");
    EXPECT_EQ(Row(4), "|||");
    table->MoveFirst(); // still open
    EXPECT_EQ(FieldText(*table, "nazov", "?"), "Fabia");

    FillGridFromTable(*db.Query("SELECT id FROM auta WHERE id > 9"), &grid);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(Row(1), "|||");
}

TEST_F(SqlGridTest, DateColumnsToShownText) {
    FillGrid(db, "auta", "SELECT id, datum, cas, datum FROM auta ORDER BY id", &grid);
    grid.SetCells(1, 4, "2024-01-01"); // the empty last row is left alone

    DateColumnsToText(&grid, "1");
    DateTimeColumnsToText(&grid, "2");
    EXPECT_EQ(Row(0), "H0|H1|H2|H3");
    EXPECT_EQ(Row(1), "1|05.03.2024|05.03.2024 14:30|2024-03-05");
    EXPECT_EQ(Row(2), "2|31.12.2023|31.12.2023 08:05|2023-12-31");
    EXPECT_EQ(Row(3), "3|02.01.2024|02.01.2024 00:00|2024-01-02");
    EXPECT_EQ(Row(4), "|2024-01-01||");

    // Several columns in list order, a final ';' and a leading blank are accepted.
    FillGrid(db, "auta", "SELECT id, datum, cas, datum FROM auta ORDER BY id", &grid);
    DateColumnsToText(&grid, "3; 1;");
    EXPECT_EQ(Row(1), "1|05.03.2024|2024-03-05 14:30|05.03.2024");

    // An empty list and columns the grid does not have change nothing.
    FillGrid(db, "auta", "SELECT id, datum, cas, datum FROM auta ORDER BY id", &grid);
    DateColumnsToText(&grid, "");
    DateColumnsToText(&grid, "4;-1");
    EXPECT_EQ(Row(1), "1|2024-03-05|2024-03-05 14:30|2024-03-05");
}

TEST_F(SqlGridTest, DateColumnsOnHeaderAndEmptyRowChangeNothing) {
    grid.SetCells(1, 1, "2024-03-05");
    DateColumnsToText(&grid, "1");
    DateTimeColumnsToText(&grid, "1;2");
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(Row(0), "H0|H1|H2|H3");
    EXPECT_EQ(Row(1), "|2024-03-05||");
}

TEST_F(SqlGridTest, ColumnListEntriesMustBeDecimalIntegers) {
    FillGrid(db, "auta", "SELECT id, datum, datum FROM auta ORDER BY id", &grid);
    // Entries before the bad one are converted already.
    EXPECT_EQ(ErrorOf<EConvertError>([&] { DateColumnsToText(&grid, "1;x"); }),
              "'x' is not a valid integer value");
    EXPECT_EQ(grid.Cells(1, 1), "05.03.2024");
    EXPECT_EQ(grid.Cells(2, 1), "2024-03-05");

    for (const QString bad : {"1.5", "$2", "2 ", ";", "1;;2", "99999999999", "+"})
        EXPECT_THROW(DateTimeColumnsToText(&grid, bad), EConvertError) << bad.toStdString();
    EXPECT_EQ(ErrorOf<EConvertError>([&] { DateTimeColumnsToText(&grid, ";2"); }),
              "'' is not a valid integer value");
    EXPECT_EQ(grid.Cells(2, 1), "2024-03-05");
}

// ---------------------------------------------------------------------------------------------
// Date-time text

TEST(DateTimeText, FormatPatterns) {
    EXPECT_EQ(FormatDate("dd.mm.yyyy", March5), "05.03.2024");
    EXPECT_EQ(FormatDate("dd.mm.yyy", March5), "05.03.2024");
    EXPECT_EQ(FormatDate("hh:nn,ss", March5), "14:30,00");
    EXPECT_EQ(FormatDate("yyyy", March5), "2024");
    EXPECT_EQ(FormatDate("d/m/yy", March5), "5.3.24");
    EXPECT_EQ(FormatDate("HH:NN DD.MM.YYYY", March5), "14:30 05.03.2024");
    // 'm' after an hour is the minute, also across separators; after another letter the month.
    EXPECT_EQ(FormatDate("hh:mm", March5), "14:30");
    EXPECT_EQ(FormatDate("h.m dd.mm", March5), "14.30 05.03");
    EXPECT_EQ(FormatDate("hh:nn:mm", March5), "14:30:03");
    // Runs longer than two give two digits; other characters are copied.
    EXPECT_EQ(FormatDate("hhh nnn sss", March5), "14 30 00");
    EXPECT_EQ(FormatDate("[dd] x, t", March5), "[05] x, t");

    const double morning = DateTimeToDays(QDateTime(QDate(2009, 1, 2), QTime(9, 5, 7)));
    EXPECT_EQ(FormatDate("d.m.yy h:n:s", morning), "2.1.09 9:5:7");
}

TEST(DateTimeText, DayCountsAndRounding) {
    EXPECT_DOUBLE_EQ(DateTimeToDays(QDateTime(QDate(2024, 3, 5), QTime(14, 30))), March5);
    EXPECT_DOUBLE_EQ(DateTimeToDays(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0);
    EXPECT_DOUBLE_EQ(DateTimeToDays(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(FormatDate("dd.mm.yyyy hh:nn", 0), "30.12.1899 00:00");
    EXPECT_EQ(FormatDate("dd.mm.yyyy hh:nn", -1.25), "29.12.1899 06:00");

    // The value is taken to the millisecond; seconds are not rounded up.
    EXPECT_EQ(FormatDate("hh:nn,ss", 45356.6041666), "14:29,59");
    EXPECT_EQ(FormatDate("dd.mm.yyyy hh:nn:ss", 45356.99999999), "05.03.2024 23:59:59");
    EXPECT_EQ(FormatDate("dd.mm.yyyy hh:nn:ss", 45356.999999999), "06.03.2024 00:00:00");

    EXPECT_EQ(YearText(March5), "2024");
    EXPECT_EQ(YearText(DateTimeToDays(QDateTime(QDate(5, 7, 1), QTime(0, 0)))), "0005");

    for (const double bad : {std::nan(""), std::numeric_limits<double>::infinity(), 3e6, -7e5})
        EXPECT_THROW(FormatDate("yyyy", bad), EConvertError);
}

TEST(DateTimeText, CurrentYear) {
    const int before = QDate::currentDate().year();
    const QString year = CurrentYearText();
    const int after = QDate::currentDate().year();
    EXPECT_TRUE(year == QString::number(before) || year == QString::number(after)) << year.toStdString();
}
