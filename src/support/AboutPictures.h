#pragma once

#include <QList>
#include <QPixmap>

// The support window's own pictures, drawn in code in one style: a coloured rounded square with
// a white sign.

// ImageList1: tab pictures 0 to 6 (16 x 16); picture 7 is the no-flag picture (22 x 14).
QList<QPixmap> AboutImageList();
constexpr int NoFlagPicture = 7;

// Button glyphs (16 x 16).
enum class AboutGlyph { Save, Folder, Update, Send, Help, Web, Language };
QPixmap AboutGlyphPicture(AboutGlyph glyph);

// The program icon of the about page (48 x 48) and the small pictures above the groups (24 x 24).
QPixmap ProgramIconPicture();
QPixmap MailPicture();
QPixmap InfoPicture();
