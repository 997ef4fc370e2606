#pragma once

#include <QString>

// Program-wide values that both windows read; set once by the main window's creation.
extern QString ProgramTitle; // "Vozopis": caption of the main window and of every message box
extern QString VersionText;  // "v " + the program file's long version text
extern QString ExeFileName;  // "Vozopis.exe", the name the update check knows the program by
extern QString AppDir;       // folder of the program file, with a trailing '/'
extern QString DatabasePath; // AppDir + "Data/data.mvk"
