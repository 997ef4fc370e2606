// The trip grid and its totals, as the page showed them before its load was made faster, for a
// database of the earlier program and for a logbook of the trip timing's generator.
#include <QCryptographicHash>
#include <QFile>
#include <QStringList>

#include "ProgramFixture.h"
#include "SQLunit.h"
#include "TripLogbook.h"

namespace {
QStringList Shown(TTripsPage* page) {
    QStringList shown{page->lblJazdyKM->text(), page->lblJazdySuma->text()};
    for (int row = 0; row < page->sgJazdy->RowCount(); ++row)
        shown << GridRow(page->sgJazdy, row).join('|');
    return shown;
}

QString Digest(const QStringList& shown) {
    return QCryptographicHash::hash(shown.join('\n').toUtf8(), QCryptographicHash::Sha1).toHex();
}
} // namespace

TEST(TripGridUnchanged, EarlierProgramDatabase) {
    MessageBoxRecorder boxes;
    StartedProgram program;
    program.Stop();
    const QString data = program.folder.File("Data/data.mvk");
    QFile::remove(data);
    ASSERT_TRUE(QFile::copy(VOZOPIS_FIXTURES "/earlier-program.mvk", data));
    QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner);
    program.Start();
    ASSERT_TRUE(program.ShowActive());
    CreateTripMasterData("");
    // The fixture's route 1 is Žilina - Košice, 242,5 km; the earlier program's 0/1 columns hold
    // numbers or texts, and a flag may be missing.
    Db->Execute("INSERT INTO mesta (mesto1, mesto2, vzdialenost) VALUES ('Nitra', 'Bratislava', 1234.5678)");
    Db->Execute("UPDATE vodic SET meno = " + SqlQuoted(QStringLiteral("Ľubomír Šťastný")));
    Db->Execute("UPDATE auta SET vlastnictvo = 1, n1 = 5.4, n2 = 7.15, n3 = 6.3");
    Db->Execute("INSERT INTO cphm (datum, id_phm, cena) VALUES ('2024-03-01', 1, 1.689)");
    Db->Execute("INSERT INTO pausnahr (datum, suma) VALUES ('2024-06-30', 0.213)");
    Db->Execute(QStringLiteral(
        "INSERT INTO jazdy (odchod, prichod, id_mesta, spat, cerpane, nadspotreba, ucel, id_auto, id_vodic, "
        "id_zakaznik) VALUES "
        "('2024-06-30 07:45', '2024-06-30 18:05', 1, 1, 45.25, 0, 'služobná cesta', 1, 1, 1), "
        "('2023-12-31 23:59', '2024-01-01 00:10', 2, 0, 0, 1, 'nákup', 1, 1, 1), "
        "('2024-03-01 06:00', '2024-03-01 09:30', 2, '1', 12, '1', 'Košice – školenie', 1, 1, 1), "
        "('2024-02-29 12:00', '2024-02-29 13:00', 1, 0, 1234567.891, NULL, '', 1, 1, 1)"));
    program.form->MainScreen->SelectCustomerYear("1", "2024");
    EXPECT_EQ(
        Shown(program.OpenTrips()),
        QStringList(
            {"4\u00A0431,20", "1\u00A0015,63",
             "id|odchod|príchod|trasa|späť|km|cena/km|čerpané|nads.|vodič|účel|suma celkom",
             "2|31.12.2023 23:59|01.01.2024 00:10|Nitra - Bratislava|0|1\u00A0234,57|0,00|0,00|1|"
             "Ľubomír Šťastný|nákup|0,00",
             "4|29.02.2024 12:00|29.02.2024 13:00|Žilina - Košice|0|242,50|0,30|1\u00A0234\u00A0567,89||"
             "Ľubomír Šťastný||73,64",
             "3|01.03.2024 06:00|01.03.2024 09:30|Nitra - Bratislava|1|2\u00A0469,14|0,32|12,00|1|"
             "Ľubomír Šťastný|Košice – školenie|782,07",
             "1|30.06.2024 07:45|30.06.2024 18:05|Žilina - Košice|1|485,00|0,33|45,25|0|"
             "Ľubomír Šťastný|služobná cesta|159,92",
             "|||||||||||"}));
    EXPECT_TRUE(boxes.Shown().empty());
}

// Three cars of 400 trips each: the private first car and the company second one, each digested
// whole with its totals (no flat rate yet, so no cost).
TEST(TripGridUnchanged, GeneratedLogbook) {
    MessageBoxRecorder boxes;
    StartedProgram program;
    ASSERT_TRUE(program.ShowActive());
    BuildLogbook(*Db, {3, 400, 3000, 100, 50});
    program.form->MainScreen->SelectCustomerYear("1", "2024");
    TTripsPage* page = program.OpenTrips();
    QStringList shown = Shown(page);
    EXPECT_EQ(shown.mid(0, 2) << Digest(shown),
              QStringList({"59\u00A0300,00", "20\u00A0512,02", "8b826155e142b31b26104f4b89fb2ff99267ceb7"}));
    page->cbJazdyAuto->setCurrentIndex(1);
    page->cbJazdyAutoCloseUp();
    shown = Shown(page);
    EXPECT_EQ(shown.mid(0, 2) << Digest(shown),
              QStringList({"59\u00A0300,00", "7\u00A0143,95", "c8e5d83ada00a0ba1f702222334a9193d11b8a74"}));
    EXPECT_TRUE(boxes.Shown().empty());
}
