#include "ProgramGlobals.h"

QString ProgramTitle;
QString VersionText;
QString ExeFileName;
QString AppDir;
QString DatabasePath;
