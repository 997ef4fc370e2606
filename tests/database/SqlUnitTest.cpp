#include <QDate>
#include <QDateTime>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "DateTime.h"
#include "SQLunit.h"
#include "StringGrid.h"
#include "TestSupport.h"
#include "TextUtils.h"

namespace {

// Three cars, and a grid shaped as the data pages shape theirs: four columns, the headers in row 0.
class SqlUnitTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.Execute("CREATE TABLE auta (id INTEGER PRIMARY KEY, nazov VARCHAR (30), km INTEGER, "
                   "datum VARCHAR (10), cas VARCHAR (16));");
        db.Execute("INSERT INTO auta VALUES (1, 'Octavia', 120000, '2024-03-05', '2024-03-05 14:30'), "
                   "(2, NULL, NULL, '2023-12-31', '2023-12-31 08:05'), (3, 'Fabia', 5, '2024-01-02', "
                   "'2024-01-02 00:00');");
        grid.SetColCount(4);
        for (int col = 0; col < 4; ++col)
            grid.SetCells(col, 0, "H" + QString::number(col));
    }
    // Every row, its cells joined by '|'.
    QStringList Rows() const {
        QStringList rows(grid.RowCount());
        for (int cell = 0; cell < grid.RowCount() * grid.ColCount(); ++cell)
            rows[cell / grid.ColCount()] += (cell % grid.ColCount() ? "|" : "") +
                                            grid.Cells(cell % grid.ColCount(), cell / grid.ColCount());
        return rows;
    }
    // Leaves "old" in every cell of seven rows, as a previous fill would.
    void Scribble() {
        grid.SetRowCount(8);
        for (int cell = 4; cell < 32; ++cell)
            grid.SetCells(cell % 4, cell / 4, "old");
    }
    void FillDates() { FillGrid(db, "auta", "SELECT id, datum, cas, datum FROM auta ORDER BY id", &grid); }

    TempProgramFolder folder;
    TDatabase db{folder.File("data.mvk")};
    TStringGrid grid;
};
} // namespace

TEST_F(SqlUnitTest, StatementBuffersAndQuotedTextValues) {
    SqlText = "SELECT 1";
    SqlLines = QStringList{"INSERT INTO auta (id)", "VALUES (7)", ""};
    EXPECT_EQ(SqlLinesText().toUtf8(), QByteArray("INSERT INTO auta (id)\r\nVALUES (7)\r\n\r\n"));
    InitSqlUnit();
    EXPECT_TRUE(SqlText.isEmpty() && SqlLines.isEmpty());

    // Stored unchanged and found as a text value: exactly its own row, never a column or every row.
    int id = 9;
    for (const QString value : {"O'Brien \"Auto\"", "nazov", "a''b", "' OR '1'='1"}) {
        db.Execute(QString("INSERT INTO auta (id, nazov) VALUES (%1, %2);").arg(id++).arg(SqlQuoted(value)));
        const auto found = db.Query("SELECT nazov FROM auta WHERE nazov = " + SqlQuoted(value));
        EXPECT_EQ(found->RowCount(), 1) << value.toStdString();
        EXPECT_EQ(found->FieldAsString(0), value);
    }
}

// Numbers, ids and years go into statements bare: each splice refuses anything but its plain form.
TEST_F(SqlUnitTest, BareSplicesTakePlainNumbersOnly) {
    QStringList sql;
    for (const QString typed : {"1 234,50", "-3", "12,", ",5", "1\u00a0234\u00a0567,5"}) {
        sql << NumberToSql(typed);
        EXPECT_TRUE(IsSqlNumberText(typed)) << typed.toStdString();
    }
    EXPECT_EQ(sql.join(' '), "1234.50 -3 12. .5 1234567.5");
    const char* const attack = "1; DROP TABLE auta";
    for (const QString bad : {"", "12a", "-", ",", "1,2,3", "--1", "+1", "1e5", "12\n", "\u0661", attack}) {
        EXPECT_THROW(NumberToSql(bad), EConvertError) << bad.toStdString();
        EXPECT_FALSE(IsSqlNumberText(bad)) << bad.toStdString();
    }
    EXPECT_EQ(SqlId("12") + SqlId("-4") + SqlYear("1000") + SqlYear("2024"), "12-410002024");
    for (const QString bad : {"", "1,5", " 1", "12\n", "\u0661", attack})
        EXPECT_THROW(SqlId(bad), EConvertError) << bad.toStdString();
    for (const QString bad : {"999", "20245", attack})
        EXPECT_THROW(SqlYear(bad), EConvertError) << bad.toStdString();
    // The refusal comes while the statement is built, before anything runs.
    EXPECT_THROW(db.Execute("DELETE FROM auta WHERE id = " + SqlId(attack)), EConvertError);
    EXPECT_EQ(db.Query("SELECT id FROM auta")->RowCount(), 3);
}

TEST_F(SqlUnitTest, FieldsByNameListsFirstIdAndEnsureTable) {
    const auto table = db.Query("SELECT id, nazov, km FROM auta ORDER BY id");
    // Case-blind names; a field not in the result, or text read as a number, gives the default.
    const auto fields = [&] {
        return QStringList{FieldText(*table, "NAZOV", "?"), FieldText(*table, "datum", "?"),
                           QString::number(FieldInt(*table, "km", 7)),
                           QString::number(FieldInt(*table, "nazov", 7))};
    };
    EXPECT_EQ(fields(), QStringList({"Octavia", "?", "120000", "7"}));
    table->Next();
    EXPECT_EQ(fields(), QStringList({"", "?", "0", "0"})) << "NULL is empty and 0, not the default";
    table->Next();
    table->Next(); // past the last row
    EXPECT_EQ(fields(), QStringList({"?", "?", "7", "7"}));

    // Lists from a query, and from an open result whose cursor has moved on: all rows, from the first.
    QStringList names = {"old"};
    QueryToStrings(db, "SELECT nazov FROM auta ORDER BY id", "nazov", names);
    EXPECT_EQ(names, QStringList({"Octavia", "", "Fabia"}));
    QueryToStrings(db, "SELECT nazov FROM auta WHERE id > 9", "nazov", names);
    EXPECT_TRUE(names.isEmpty());
    FieldToStrings(*table, "id", names);
    EXPECT_EQ(names, QStringList({"1", "2", "3"}));

    EXPECT_EQ(FirstId(db, "SELECT id, nazov FROM auta ORDER BY id DESC") + "|" +
                  FirstId(db, "SELECT id FROM auta WHERE id > 9") + "|" +
                  FirstId(db, "SELECT nazov FROM auta"),
              "3||");

    EXPECT_FALSE(EnsureTable(db, "servis", "CREATE TABLE servis (id INTEGER PRIMARY KEY)"));
    // An existing table runs nothing: a broken statement would raise.
    EXPECT_TRUE(EnsureTable(db, "SERVIS", "CREATE TABLE broken ("));
    EXPECT_THROW(EnsureTable(db, "broken", "CREATE TABLE broken ("), EDatabaseError);
}

// Nothing is validated; missing positions give empty pieces.
TEST(SqlTextConversion, DatesByCharacterPositions) {
    EXPECT_EQ(
        QStringList({DateToSql("05.03.2024"), DateToSql("  .  .    "), DateToSql("05.03"),
                     DateTimeToSql("05.03.2024 14:30"), SqlToDate("2024-03"), SqlToDateTime("2024-03-05")}),
        QStringList({"2024-03-05", "    -  -  ", "-03-05", "2024-03-05 14:30", ".03.2024", "05.03.2024 "}));
}

TEST_F(SqlUnitTest, FillGridWritesRowsAndOneEmptyRow) {
    Scribble();
    FillGrid(db, "auta", "SELECT id, nazov, km, datum FROM auta ORDER BY id", &grid);
    EXPECT_EQ(Rows(), QStringList({"H0|H1|H2|H3", "1|Octavia|120000|2024-03-05", "2|||2023-12-31",
                                   "3|Fabia|5|2024-01-02", "|||"}));

    // No rows, or a missing table (the query, which would fail, is not run): header and one empty row.
    for (const auto& [table, sql] : {std::pair{"auta", "SELECT id, nazov FROM auta WHERE id > 9"},
                                     std::pair{"chyba", "SELEC this would fail"}}) {
        Scribble();
        EXPECT_NO_THROW(FillGrid(db, table, sql, &grid));
        EXPECT_EQ(Rows(), QStringList({"H0|H1|H2|H3", "|||"}));
    }

    // From an open result at its end: all rows from the first; columns it lacks are not written.
    const auto table = db.Query("SELECT id, nazov FROM auta ORDER BY id DESC");
    while (table->Next()) {
    }
    Scribble();
    FillGridFromTable(*table, &grid);
    EXPECT_EQ(Rows().mid(1), QStringList({"3|Fabia|old|old", "2|||", "1|Octavia||", "|||"}));

    // Result columns beyond the grid's columns are left out; the column count stays.
    grid.SetColCount(2);
    FillGrid(db, "auta", "SELECT id, nazov, km, datum, cas FROM auta ORDER BY id", &grid);
    EXPECT_EQ(Rows(), QStringList({"H0|H1", "1|Octavia", "2|", "3|Fabia", "|"}));
}

// Numbers as a grid gets them from the engine: a float column in the general format (an exponent beyond 15
// digits and below 0,00001), an integer's digits, a float in a text column as the engine's own text. Typed
// through NumberToSql and read back from the cell, each is its value at 15 significant digits.
TEST_F(SqlUnitTest, NumbersAtTheEdgesReadBackFromTheGridAsTheirValues) {
    db.Execute("CREATE TABLE cisla (id INTEGER PRIMARY KEY, f FLOAT, i INTEGER, t VARCHAR (30))");
    const double largest = std::numeric_limits<double>::max();
    struct Case {
        int col;
        QString typed;
        const char* cell;
        double value;
        const char* shown;
    };
    const Case cases[] = {
        {1, "0,00001", "0,00001", 0.00001, "0,00"},
        {1, "0,0000099", "9,9E-6", 0.0000099, "0,00"},
        {1, "-0,0051", "-0,0051", -0.0051, "-0,01"},
        {1, "999 999 999 999 999", "999999999999999", 999999999999999.0, "999 999 999 999 999,00"},
        {1, "999999999999999,9", "1E15", 1e15, "1 000 000 000 000 000,00"},
        {1, "1999999999999998", "2E15", 2e15, "2 000 000 000 000 000,00"},
        {1, "9007199254740993", "9,00719925474099E15", 9007199254740990.0, "9 007 199 254 740 990,00"},
        {1, QString::asprintf("%.0f", largest), "1,79769313486232E308", largest, nullptr}, // every digit
        {2, "9007199254740993", "9007199254740993", 9007199254740992.0, "9 007 199 254 740 992,00"},
        {2, "-9223372036854775808", "-9223372036854775808", -9223372036854775808.0,
         "-9 223 372 036 854 775 808,00"},
        {3, "0,00000066", "6.6e-07", 6.6e-7, "0,00"},
        {3, "2000000000000000", "2.0e+15", 2e15, "2 000 000 000 000 000,00"},
    };
    const char* const columns[] = {"", "f", "i", "t"};
    for (const Case& c : cases) {
        // A number into a text column is stored as the engine's text of the number.
        const QString value = NumberToSql(c.typed);
        db.Execute(QString("INSERT INTO cisla (%1) VALUES (%2)")
                       .arg(columns[c.col], c.col == 3 ? "CAST(" + value + " AS REAL)" : value));
    }
    FillGrid(db, "cisla", "SELECT id, f, i, t FROM cisla ORDER BY id", &grid);
    for (int row = 1; row <= int(std::size(cases)); ++row) {
        const Case& c = cases[row - 1];
        const QString cell = grid.Cells(c.col, row);
        EXPECT_EQ(cell, c.cell) << c.typed.toStdString();
        EXPECT_EQ(TextToFloat(cell), c.value) << c.typed.toStdString();
        if (c.shown) {
            EXPECT_EQ(FormatNumber(TextToFloat(cell)), QString(c.shown).replace(' ', QChar(0xA0)))
                << c.typed.toStdString();
        }
    }
}

TEST_F(SqlUnitTest, DateColumnsToShownText) {
    FillDates();
    grid.SetCells(1, 4, "2024-01-01"); // the empty last row is left alone
    DateColumnsToText(&grid, "1");
    DateTimeColumnsToText(&grid, "2");
    EXPECT_EQ(Rows(), QStringList({"H0|H1|H2|H3", "1|05.03.2024|05.03.2024 14:30|2024-03-05",
                                   "2|31.12.2023|31.12.2023 08:05|2023-12-31",
                                   "3|02.01.2024|02.01.2024 00:00|2024-01-02", "|2024-01-01||"}));

    // An empty list and columns the grid does not have change nothing; several columns go in list
    // order, a final ';' and a leading blank are accepted.
    FillDates();
    for (const QString columns : {"", "4;-1", "3; 1;"})
        DateColumnsToText(&grid, columns);
    EXPECT_EQ(Rows().at(1), "1|05.03.2024|2024-03-05 14:30|05.03.2024");

    // Entries must be decimal integers; those before a bad one are converted already.
    FillDates();
    EXPECT_EQ(ErrorOf<EConvertError>([&] { DateColumnsToText(&grid, "1;x"); }),
              "'x' is not a valid integer value");
    EXPECT_EQ(Rows().at(1), "1|05.03.2024|2024-03-05 14:30|2024-03-05");
    for (const QString bad : {"1.5", "2 ", "1;;2", "99999999999"})
        EXPECT_THROW(DateTimeColumnsToText(&grid, bad), EConvertError) << bad.toStdString();
    EXPECT_EQ(ErrorOf<EConvertError>([&] { DateTimeColumnsToText(&grid, ";2"); }),
              "'' is not a valid integer value");
}

TEST(DateTimeText, FormatPatternsDayCountsAndRounding) {
    QStringList shown;
    for (const QString pattern :
         {"dd.mm.yyy", "d/m/yy", "HH:NN DD.MM.YYYY", "h.m dd.mm hh:nn:mm", "hhh nnn sss [x, t]"})
        shown << FormatDate(pattern, 45356 + 14.5 / 24); // 2024-03-05 14:30
    // 'm' after an hour is the minute, also across separators; after another letter the month. Runs longer
    // than two give two digits; other characters are copied.
    EXPECT_EQ(shown.join(" | "),
              "05.03.2024 | 5.3.24 | 14:30 05.03.2024 | 14.30 05.03 14:30:03 | 14 30 00 [x, t]");
    EXPECT_EQ(FormatDate("d.m.yy h:n:s", DateTimeToDays(QDateTime(QDate(2009, 1, 2), QTime(9, 5, 7)))),
              "2.1.09 9:5:7");
    EXPECT_DOUBLE_EQ(DateTimeToDays(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(FormatDate("dd.mm.yyyy hh:nn", -1.25), "29.12.1899 06:00");
    // The value is taken to the millisecond; seconds are not rounded up.
    EXPECT_EQ(FormatDate("hh:nn,ss", 45356.6041666) + FormatDate(" dd.mm.yyyy hh:nn:ss", 45356.999999999),
              "14:29,59 06.03.2024 00:00:00");
    for (const double bad : {std::nan(""), std::numeric_limits<double>::infinity(), 3e6, -7e5})
        EXPECT_THROW(FormatDate("yyyy", bad), EConvertError);
    EXPECT_EQ(YearText(DateTimeToDays(QDateTime(QDate(5, 7, 1), QTime(0, 0)))), "0005");
}
