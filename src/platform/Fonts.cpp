#include "Fonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

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

QString ScalableFamily(const QString& family) {
    // The face the system picks for the family, a substitute's when it lacks the family.
    const QString drawn = QFontInfo(QFont(family)).family();
    return QFontDatabase::isSmoothlyScalable(drawn) ? family : QStringLiteral("Tahoma");
}

QFont BoldFont(QFont font) {
    font.setFamily(ScalableFamily(font.family()));
    font.setBold(true);
    return font;
}
