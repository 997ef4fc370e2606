#include "BenchFolder.h"

#include <QDir>
#include <cstdio>
#include <fstream>

#include "ProgramFolder.h"

TBenchFolder::TBenchFolder() {
    if (!dir_.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return;
    }
    SetProgramFolderForTesting(Path());
    QDir().mkpath(Path() + "Data");
    previousHook_ = SetMessageBoxHook([](const QString& text, const QString&, int) {
        std::printf("message: %s\n", text.toLocal8Bit().constData());
        return int(ID_OK);
    });
}

TBenchFolder::~TBenchFolder() {
    if (!dir_.isValid())
        return;
    SetMessageBoxHook(previousHook_);
    SetProgramFolderForTesting(QString());
}

long StatusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key + ":", 0) == 0)
            return std::stol(line.substr(key.size() + 1));
    return -1;
}

void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}
