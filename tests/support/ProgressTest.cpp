#include <QLabel>
#include <QProgressBar>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

#include "GeneralUnit.h"

namespace {
struct Progress : ::testing::Test {
    Progress() {
        form.resize(1000, 700);
        form.show(); // a hidden window gets its resize events only when shown
    }
    QWidget form;
};

TEST_F(Progress, PanelStaysCentredItsBarOrGaugeStepsAndTheWindowMayGoFirst) {
    TProgress progress(10, false, QString(), &form);
    const auto geometry = [&] {
        return QList<QRect>{progress.Panel->geometry(), progress.Bar->geometry(), progress.Text->geometry()};
    };
    EXPECT_EQ(geometry(), (QList<QRect>{{300, 300, 400, 100}, {15, 50, 370, 17}, {15, 10, 370, 34}}));
    EXPECT_EQ(progress.Text->text(), QStringLiteral("prosím čakajte..."));
    form.resize(1201, 900);
    // A taller panel keeps its bar at the bottom and gives the text the room.
    progress.Panel->resize(400, 120);
    EXPECT_EQ(geometry(), (QList<QRect>{{400, 400, 400, 120}, {15, 70, 370, 17}, {15, 10, 370, 54}}));

    // The gauge: StepIt raises the maximum, Position(0) only reads; the window may go first.
    TProgress gauge(2, true, "import", &form);
    EXPECT_EQ(gauge.Gauge->palette().color(QPalette::Highlight), QColor(0, 0, 0x80));
    for (const char* expected : {"1/2", "2/2", "3/3"}) {
        gauge.StepIt();
        EXPECT_EQ(QString("%1/%2").arg(gauge.Gauge->value()).arg(gauge.Gauge->maximum()), expected);
    }
    EXPECT_EQ(gauge.Position(0), 3);
    EXPECT_EQ(gauge.Position(1), 1);

    auto window = std::make_unique<QWidget>();
    TProgress* orphan = new TProgress(0, false, "x", window.get());
    window.reset();
    delete orphan;
}

// 5 samples of 51 200 bytes in 500 ms intervals make 100 KB/s.
TEST_F(Progress, WithinTheIntervalOnlyTheBarMovesThenTheTextTellsAmountSpeedAndTimeLeft) {
    const std::unique_ptr<TProgress> shown(
        CurrentProgress = new TProgress(0, false, QStringLiteral("začína sťahovanie..."), &form));
    TDownload download{500, 1000, 1024000 - 51200, {51200, 51200, 51200, 51200}};
    int calls = 0;
    const auto TextAfter = [&](uint64_t progress, uint64_t total) {
        download.Progress(progress, total, "adresa", 1501 + 1000 * calls++);
        return CurrentProgress->Text->text();
    };
    download.Progress(5000, 10000, "adresa", 1500);
    EXPECT_EQ(CurrentProgress->Text->text(), QStringLiteral("začína sťahovanie..."));
    EXPECT_EQ(QString("%1/%2").arg(CurrentProgress->Bar->value()).arg(CurrentProgress->Bar->maximum()),
              "5000/10000");
    // 12 288 000 bytes left at 100 KB/s: 120 s.
    EXPECT_EQ(TextAfter(1024000, 1024000 + 12288000),
              QStringLiteral("adresa\n\nStav: 1\u00A0000,00 KB  /  13\u00A0000,00 KB    (7,69%)\n"
                             "Rýchlosť: 100,00 KB/s    (zostáva 120 s)"));
    EXPECT_EQ(CurrentProgress->Text->textFormat(), Qt::PlainText); // each CR a line, whatever the address
    // The time left turns to minutes above 120 s, rounding halves to even.
    const std::pair<double, QString> cases[] = {
        {120, "120 s"}, {121, "2 m"}, {150, "2 m"}, {210, "4 m"}, {0.5, "0 s"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(TimeLeftText(seconds), text) << seconds;

    // Without a total or a speed no time is shown; the last 19 samples count.
    download.Samples.clear();
    EXPECT_EQ(TextAfter(0, 0), QStringLiteral("adresa\n\n\nRýchlosť: 0,00 KB/s"));
    EXPECT_EQ(TextAfter(204800, 0), QStringLiteral("adresa\n\n\nRýchlosť: 200,00 KB/s"));
    for (int i = 1; i <= 30; ++i)
        TextAfter(204800 + 1024 * i, 0);
    EXPECT_EQ(download.Samples.size(), 19);
    EXPECT_EQ(download.Samples.front(), 1024u);
    EXPECT_DOUBLE_EQ(download.DownloadSpeed(), 2.0);
}
} // namespace
