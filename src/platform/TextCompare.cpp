#include "TextCompare.h"

bool SameTextIgnoreCase(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}
