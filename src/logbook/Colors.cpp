#include "Colors.h"

#include <QApplication>
#include <QPalette>

#include "Exception.h"

namespace {
struct NamedColor {
    const char* name;
    uint32_t bgr;
};

// Fixed colours by name, in 0x00BBGGRR.
constexpr NamedColor kNamedColors[] = {
    {"clBlack", 0x000000},      {"clMaroon", 0x000080},  {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000},       {"clPurple", 0x800080},  {"clTeal", 0x808000},  {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},     {"clRed", 0x0000FF},     {"clLime", 0x00FF00},  {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},       {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},  {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
    {"clLtGray", 0xC0C0C0},     {"clDkGray", 0x808080},
};

uint32_t ToBgr(const QColor& c) {
    return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}

// Colours of the desktop's palette by their names.
bool PaletteColor(const QString& name, uint32_t& bgr) {
    static const struct {
        const char* name;
        QPalette::ColorRole role;
    } roles[] = {
        {"clWindow", QPalette::Base},         {"clWindowText", QPalette::Text},
        {"clBtnFace", QPalette::Button},      {"clBtnText", QPalette::ButtonText},
        {"clHighlight", QPalette::Highlight}, {"clHighlightText", QPalette::HighlightedText},
        {"clInfoBk", QPalette::ToolTipBase},  {"clInfoText", QPalette::ToolTipText},
    };
    for (const auto& r : roles) {
        if (name.compare(QLatin1String(r.name), Qt::CaseInsensitive) == 0) {
            bgr = ToBgr(QApplication::palette().color(r.role));
            return true;
        }
    }
    return false;
}
} // namespace

uint32_t StringToColor(const QString& text) {
    for (const NamedColor& c : kNamedColors) {
        if (text.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return c.bgr;
    }
    uint32_t bgr = 0;
    if (PaletteColor(text, bgr))
        return bgr;

    const QString trimmed = text.trimmed();
    bool ok = false;
    qint64 value = 0;
    if (trimmed.startsWith('$'))
        value = trimmed.mid(1).toLongLong(&ok, 16);
    else if (trimmed.startsWith("0x", Qt::CaseInsensitive))
        value = trimmed.mid(2).toLongLong(&ok, 16);
    else
        value = trimmed.toLongLong(&ok, 10);
    if (!ok || value < INT32_MIN || value > UINT32_MAX)
        throw EConvertError(QString("'%1' is not a valid integer value").arg(text));
    return uint32_t(value);
}

QColor ColorFromBgr(uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
