#include "Fonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>

int LoadDesignFonts(const QString& folder) {
    int loaded = 0;
    // Not tahomabd.ttf: its bold face is drawn hardly heavier than the regular one, so bold text
    // would not look bold. Without it the toolkit emboldens Tahoma itself.
    for (const char* file : {"tahoma.ttf", "ms_sans_serif.ttf"}) {
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
