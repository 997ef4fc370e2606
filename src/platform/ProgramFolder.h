#pragma once

#include <QString>

// The folder of the running program file, with a trailing '/'.
QString ProgramFolder();
// The full path of the running program file.
QString ProgramFilePath();
// Test seam: makes ProgramFolder() answer another folder (an empty text restores the real one).
void SetProgramFolderForTesting(const QString& folder);
