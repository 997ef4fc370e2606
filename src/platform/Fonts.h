#pragma once

#include <QString>

// Folder of the metric-compatible Tahoma and MS Sans Serif shipped by Debian's fonts-wine.
inline const QString DesignFontFolder = QStringLiteral("/usr/share/wine/fonts/");

// Makes the fonts the windows are designed for (Tahoma, Tahoma bold, MS Sans Serif) available to
// the program when their files are present in folder; a missing or unreadable file is skipped and
// the toolkit falls back to a similar font. Answers how many files were loaded. Needs the
// application object.
int LoadDesignFonts(const QString& folder = DesignFontFolder);

// The family to ask for text in family: family itself when the system draws it in a scalable face
// (its own or a substitute), else Tahoma. A bitmap-only family (the support window's MS Sans Serif)
// has no bold or italic face and no sizes but its own, so the system substitutes a scalable font
// for such text, and so does this. Needs the application object.
QString ScalableFamily(const QString& family);

class QFont;
// The bold face of font, drawn in a scalable family.
QFont BoldFont(QFont font);
