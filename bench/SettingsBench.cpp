// Times the settings file at 1,000, 10,000 and 100,000 sections: one setting read (the program
// reads the whole file for it) and one setting written (read, changed, written whole).
#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "BenchFolder.h"
#include "Settings.h"

namespace {
double MedianMs(int repetitions, void (*run)()) {
    std::vector<double> ms;
    for (int r = 0; r < repetitions; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        run();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// Sections of three keys each, the [last] section at the end, where a lookup goes furthest.
QByteArray SettingsText(int sections) {
    QByteArray text;
    text.reserve(qsizetype(sections) * 48);
    for (int i = 0; i < sections; ++i) {
        const QByteArray n = QByteArray::number(i);
        text += "[section" + n + "]\r\nkey=" + n + "\r\nname=Mesto " + n + "\r\nflag=1\r\n\r\n";
    }
    text += "[last]\r\nvybzakid=1\r\nvybzakrok=2024\r\n\r\n";
    return text;
}
} // namespace

int RunSettingsBench() {
    const TBenchFolder folder;
    if (!folder.IsValid())
        return 1;

    std::printf("Settings file, medians of 3 runs (ms)\n");
    std::printf("  %9s %10s %14s %16s\n", "sections", "bytes", "one read", "one write");
    for (const int sections : {1000, 10000, 100000}) {
        const QByteArray text = SettingsText(sections);
        QFile file(SettingsFilePath());
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(SettingsFilePath()));
            return 1;
        }
        file.close();
        const double read = MedianMs(3, [] {
            if (ReadSetting("last", "vybzakid", "") != "1")
                std::printf("  wrong value read\n");
        });
        const double write = MedianMs(3, [] { WriteSetting("last", "vybzakrok", "2025"); });
        std::printf("  %9d %10lld %14.1f %16.1f\n", sections, static_cast<long long>(text.size()), read,
                    write);
        std::fflush(stdout);
    }
    return 0;
}
