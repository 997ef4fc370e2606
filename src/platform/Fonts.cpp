#include "Fonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>

int LoadDesignFonts(const QString& folder) {
    int loaded = 0;
    for (const char* file : {"tahoma.ttf", "tahomabd.ttf", "ms_sans_serif.ttf"}) {
        const QString path = folder + QLatin1String(file);
        if (QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0)
            ++loaded;
    }
    return loaded;
}

QFont BoldFont(QFont font) {
    if (QFontDatabase::families().contains(font.family()) && !QFontDatabase::isSmoothlyScalable(font.family()))
        font.setFamily(QStringLiteral("Tahoma"));
    font.setBold(true);
    return font;
}
