#pragma once

// The shared services in one include.
#include "Endpoints.h"
#include "IniFile.h"
#include "Messages.h"
#include "ProgramGlobals.h"
#include "Settings.h"
#include "TextUtils.h"
