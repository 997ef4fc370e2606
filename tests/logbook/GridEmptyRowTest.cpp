#include <QComboBox>

#include "ProgramFixture.h"

namespace {
// A data page: how it is opened, its panel, its grid and its table.
struct TPageCase {
    const char* name;
    std::function<void(StartedProgram&)> open;
    const char* panel;
    const char* grid;
    const char* table;
};

void PrintTo(const TPageCase& page, std::ostream* os) {
    *os << page.name;
}

class GridEmptyRowTest : public ProgramTest, public ::testing::WithParamInterface<TPageCase> {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        CreateTripMasterData();
        InsertTrip("2024-03-01 08:00");
        GetParam().open(program);
        Settle();
        panel = program.form->findChild<QWidget*>(GetParam().panel);
        grid = program.form->findChild<TStringGrid*>(GetParam().grid);
        ASSERT_TRUE(panel && grid);
    }

    // Every entry field of the panel holding a text of its own, so that emptying one shows.
    void FillFields() {
        for (QLineEdit* edit : panel->findChildren<QLineEdit*>()) {
            if (auto* masked = qobject_cast<TMaskEdit*>(edit))
                masked->SetText("12.11.2023 10:20");
            else if (!qobject_cast<QComboBox*>(edit->parent()))
                edit->setText("Z" + edit->objectName());
        }
        for (QComboBox* combo : panel->findChildren<QComboBox*>())
            combo->setCurrentIndex(combo->count() - 1);
        Settle();
    }
    // What the fields, lists, check boxes and id labels of the panel show.
    QStringList Fields() const {
        QStringList shown;
        for (QLineEdit* edit : panel->findChildren<QLineEdit*>()) {
            auto* masked = qobject_cast<TMaskEdit*>(edit);
            shown << edit->objectName() + "=" + (masked ? masked->Text() : edit->text());
        }
        for (QComboBox* combo : panel->findChildren<QComboBox*>())
            shown << combo->objectName() + "=" + QString::number(combo->currentIndex());
        for (QAbstractButton* box : panel->findChildren<QAbstractButton*>())
            if (box->isCheckable())
                shown << box->objectName() + (box->isChecked() ? "=on" : "=off");
        for (QLabel* label : panel->findChildren<QLabel*>())
            shown << label->objectName() + "=" + label->text();
        return shown;
    }
    QString Rows() const {
        return Column(QStringLiteral("SELECT count(*) FROM ") + GetParam().table).join("");
    }

    QWidget* panel = nullptr;
    TStringGrid* grid = nullptr;
};
} // namespace

// Double-click and Del on the empty last row do nothing: no field changes, no box, nothing deleted,
// also with every record selected above it.
TEST_P(GridEmptyRowTest, DoubleClickAndDelOnTheEmptyLastRowDoNothing) {
    const int last = grid->RowCount() - 1;
    ASSERT_GE(last, 2) << "a record above the empty last row";
    ASSERT_TRUE(grid->Cells(0, last).isEmpty());
    FillFields();
    const QStringList fields = Fields();
    const QString rows = Rows();
    const qsizetype shown = boxes.Texts().size();
    for (int i = 0; i < 3; ++i)
        boxes.Answer(ID_YES);

    grid->SetRow(last);
    const QPoint centre = grid->visualRect(grid->currentIndex()).center();
    ASSERT_TRUE(grid->viewport()->rect().contains(centre));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);
    Settle();
    EXPECT_EQ(grid->Row(), last);
    EXPECT_EQ(Fields(), fields) << "double-click";

    grid->SetRow(last);
    grid->selectionModel()->select(
        QItemSelection(grid->model()->index(0, 0), grid->model()->index(last - 1, grid->ColCount() - 1)),
        QItemSelectionModel::Select);
    QTest::keyClick(grid, Qt::Key_Delete);
    Settle();
    EXPECT_EQ(Fields(), fields) << "Del";
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(boxes.Texts().mid(shown), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Pages, GridEmptyRowTest,
    ::testing::Values(
        TPageCase{"Customers", [](StartedProgram& p) { p.form->Pridavybrazkaznka1->trigger(); },
                  "pnlZakaznici", "sgZak", "zakaznici"},
        TPageCase{"Cars", [](StartedProgram& p) { p.form->Evidenciaat1->trigger(); }, "pnlAuta", "sgAuta",
                  "auta"},
        TPageCase{"FuelTypes", [](StartedProgram& p) { p.ShowInfoTab(0); }, "TabSheet1", "sgPHM", "phm"},
        TPageCase{"FuelPrices", [](StartedProgram& p) { p.ShowInfoTab(1); }, "TabSheet2", "sgCPHM", "cphm"},
        TPageCase{"VehicleKinds", [](StartedProgram& p) { p.ShowInfoTab(2); }, "TabSheet8", "sgDV",
                  "druhvoz"},
        TPageCase{"FlatRates", [](StartedProgram& p) { p.ShowInfoTab(3); }, "TabSheet3", "sgPN", "pausnahr"},
        TPageCase{"Drivers", [](StartedProgram& p) { p.ShowInfoTab(4); }, "TabSheet15", "sgVodic", "vodic"},
        TPageCase{"Routes", [](StartedProgram& p) { p.ShowInfoTab(5); }, "TabSheet5", "sgVM", "mesta"},
        TPageCase{"OpeningStates", [](StartedProgram& p) { p.form->dajepreprevodroka1->trigger(); },
                  "pnlPrevod", "sgPocStav", "pocstav"},
        TPageCase{"Trips", [](StartedProgram& p) { p.OpenTrips(); }, "pnlJazdy", "sgJazdy", "jazdy"}),
    [](const ::testing::TestParamInfo<TPageCase>& info) { return std::string(info.param.name); });
