// Times the settings file at 1,000, 10,000 and 100,000 sections and at the largest size the reader
// takes (8 MB): one setting read (the program reads the whole file for it), one setting written (read,
// changed, written whole) and a walk over every key of every section, as a language file is read; with
// the memory that one read and one write take at their peak, against the file's size.
#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <malloc.h>
#include <vector>

#include "BenchFolder.h"
#include "IniFile.h"
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

// What one run adds to the resident size at its peak, in bytes. The allocator first hands its free
// memory back, so that memory it reuses counts too.
double PeakBytes(void (*run)()) {
    malloc_trim(0);
    const long before = StatusKb("VmRSS");
    ResetPeak();
    run();
    return double(StatusKb("VmHWM") - before) * 1024;
}

// Sections of three keys each up to the given count or size, the [last] section at the end, where a
// lookup goes furthest.
QByteArray SettingsText(int sections, qint64 maxBytes) {
    const QByteArray last = "[last]\r\nvybzakid=1\r\nvybzakrok=2024\r\n\r\n";
    QByteArray text;
    text.reserve(qsizetype(std::min<qint64>(qint64(sections) * 48, maxBytes)));
    for (int i = 0; i < sections; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray section =
            "[section" + n + "]\r\nkey=" + n + "\r\nname=Mesto " + n + "\r\nflag=1\r\n\r\n";
        if (text.size() + section.size() + last.size() > maxBytes)
            break;
        text += section;
    }
    return text + last;
}

void ReadOne() {
    if (ReadSetting("last", "vybzakid", "") != "1")
        std::printf("  wrong value read\n");
}

void WriteOne() {
    WriteSetting("last", "vybzakrok", "2025");
}

void ReadEveryKey() {
    const TMemIniFile ini(SettingsFilePath());
    qsizetype found = 0;
    for (const QString& section : ini.ReadSections()) {
        for (const QString& key : ini.ReadSection(section))
            found += !ini.ReadString(section, key, QString()).isNull();
    }
    if (found == 0)
        std::printf("  no key read\n");
}
} // namespace

int RunSettingsBench() {
    const TBenchFolder folder;
    if (!folder.IsValid())
        return 1;

    std::printf("Settings file: medians of 3 runs (ms); peak memory of one run over the resident size "
                "before it (MB, and per byte of the file)\n");
    std::printf("  %9s %10s %9s %9s %10s %9s %6s %10s %6s\n", "sections", "bytes", "read", "write",
                "every key", "read MB", "x", "write MB", "x");
    for (const int sections : {1000, 10000, 100000, 1 << 30}) {
        const QByteArray text = SettingsText(sections, TMemIniFile::MaxFileBytes);
        QFile file(SettingsFilePath());
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(SettingsFilePath()));
            return 1;
        }
        file.close();
        const double read = MedianMs(3, ReadOne);
        const double write = MedianMs(3, WriteOne);
        const double walk = MedianMs(3, ReadEveryKey);
        const double readPeak = PeakBytes(ReadOne);
        const double writePeak = PeakBytes(WriteOne);
        const double size = double(text.size());
        std::printf("  %9lld %10lld %9.1f %9.1f %10.1f %9.1f %6.1f %10.1f %6.1f\n",
                    static_cast<long long>(text.count("\r\n[") + 1), static_cast<long long>(text.size()),
                    read, write, walk, readPeak / (1 << 20), readPeak / size, writePeak / (1 << 20),
                    writePeak / size);
        std::fflush(stdout);
    }
    return 0;
}
