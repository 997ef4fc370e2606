#pragma once

#include <QString>

// Folder of the metric-compatible Tahoma and MS Sans Serif shipped by Debian's fonts-wine.
inline const QString DesignFontFolder = QStringLiteral("/usr/share/wine/fonts/");

// Makes the fonts the windows are designed for (Tahoma, Tahoma bold, MS Sans Serif) available to
// the program when their files are present in folder; a missing or unreadable file is skipped and
// the toolkit falls back to a similar font. Answers how many files were loaded. Needs the
// application object.
int LoadDesignFonts(const QString& folder = DesignFontFolder);

class QFont;
// The bold face of font. A bitmap-only family (the support window's MS Sans Serif) has no bold face
// and no sizes but its own, so its bold text is drawn in Tahoma, as the system substitutes it.
QFont BoldFont(QFont font);
