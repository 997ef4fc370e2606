#include "BenchFolder.h"

#include <QDir>
#include <cstdio>

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
