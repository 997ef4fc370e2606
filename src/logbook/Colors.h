#pragma once

#include <QColor>
#include <QString>
#include <cstdint>

// A colour text of the settings file: a colour name ("clRed", "clSkyBlue", the system colours
// "clBtnFace", "clWindow", ... taken from the palette, "clNone" and "clDefault" as the window
// colour, "clWeb" + a web colour name), or an integer in decimal or in hexadecimal with a leading
// '$'. Anything else raises EConvertError "'<text>' is not a valid integer value".
uint32_t StringToColor(const QString& text);
// A 0x00BBGGRR colour as a Qt colour.
QColor ColorFromBgr(uint32_t bgr);
