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

// The system colours, taken from the desktop's palette.
struct SystemColor {
    const char* name;
    QPalette::ColorRole role;
    QPalette::ColorGroup group = QPalette::Active;
};

const SystemColor kSystemColors[] = {
    {"clScrollBar", QPalette::Button},
    {"clBackground", QPalette::Dark},
    {"clActiveCaption", QPalette::Highlight},
    {"clInactiveCaption", QPalette::Highlight, QPalette::Inactive},
    {"clMenu", QPalette::Window},
    {"clWindow", QPalette::Base},
    {"clWindowFrame", QPalette::Shadow},
    {"clMenuText", QPalette::WindowText},
    {"clWindowText", QPalette::Text},
    {"clCaptionText", QPalette::HighlightedText},
    {"clActiveBorder", QPalette::Window},
    {"clInactiveBorder", QPalette::Window},
    {"clAppWorkSpace", QPalette::Dark},
    {"clHighlight", QPalette::Highlight},
    {"clHighlightText", QPalette::HighlightedText},
    {"clBtnFace", QPalette::Button},
    {"clBtnShadow", QPalette::Dark},
    {"clGrayText", QPalette::Text, QPalette::Disabled},
    {"clBtnText", QPalette::ButtonText},
    {"clInactiveCaptionText", QPalette::HighlightedText, QPalette::Inactive},
    {"clBtnHighlight", QPalette::Light},
    {"cl3DDkShadow", QPalette::Shadow},
    {"cl3DLight", QPalette::Midlight},
    {"clInfoText", QPalette::ToolTipText},
    {"clInfoBk", QPalette::ToolTipBase},
    {"clHotLight", QPalette::Link},
    {"clGradientActiveCaption", QPalette::Highlight},
    {"clGradientInactiveCaption", QPalette::Highlight, QPalette::Inactive},
    {"clMenuHighlight", QPalette::Highlight},
    {"clMenuBar", QPalette::Window},
    // No colour of its own: an edit field keeps its window colour.
    {"clNone", QPalette::Base},
    {"clDefault", QPalette::Base},
};

uint32_t ToBgr(const QColor& c) {
    return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}

bool SameName(const QString& text, const char* name) {
    return text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

bool ColorByName(const QString& text, uint32_t& bgr) {
    for (const NamedColor& c : kNamedColors) {
        if (SameName(text, c.name)) {
            bgr = c.bgr;
            return true;
        }
    }
    for (const SystemColor& c : kSystemColors) {
        if (SameName(text, c.name)) {
            bgr = ToBgr(QApplication::palette().color(c.group, c.role));
            return true;
        }
    }
    // The web colours: "clWeb" and a colour name of the web ("clWebAliceBlue").
    if (text.startsWith(QLatin1String("clWeb"), Qt::CaseInsensitive)) {
        const QString web = text.mid(5);
        bool letters = !web.isEmpty();
        for (QChar ch : web)
            letters = letters && ch.isLetter() && ch.unicode() < 128;
        if (letters && web.compare(QLatin1String("transparent"), Qt::CaseInsensitive) != 0 &&
            QColor::isValidColor(web)) {
            bgr = ToBgr(QColor::fromString(web));
            return true;
        }
    }
    return false;
}
} // namespace

uint32_t StringToColor(const QString& text) {
    uint32_t bgr = 0;
    if (ColorByName(text, bgr))
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
