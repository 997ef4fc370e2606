#pragma once

#include <QString>

// Reports at start-up how an update made before this start ended. Updates are not installed by
// this build yet, so there is never anything to report.
void FinishUpdate(const QString& programTitle);
