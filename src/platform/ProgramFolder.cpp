#include "ProgramFolder.h"

#include <QCoreApplication>

namespace {
QString& Override() {
    static QString folder;
    return folder;
}
} // namespace

QString ProgramFilePath() {
    return QCoreApplication::applicationFilePath();
}

QString ProgramFolder() {
    QString folder = Override().isEmpty() ? QCoreApplication::applicationDirPath() : Override();
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

void SetProgramFolderForTesting(const QString& folder) {
    Override() = folder;
}
