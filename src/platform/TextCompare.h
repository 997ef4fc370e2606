#pragma once

#include <QString>

// Whole-text equality ignoring letter case, accented letters included (Č equals č).
bool SameTextIgnoreCase(const QString& a, const QString& b);
