#include "GeneralUnit.h"

void FinishUpdate(const QString& /*programTitle*/) {}
