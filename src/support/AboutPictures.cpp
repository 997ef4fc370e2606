#include "AboutPictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace {
const QColor Navy(0x1f, 0x3a, 0x7a);
const QColor Green(0x2e, 0x7d, 0x32);
const QColor Orange(0xd8, 0x6a, 0x10);
const QColor Maroon(0x8b, 0x1a, 0x1a);
const QColor Teal(0x00, 0x79, 0x7a);
const QColor Grey(0x5f, 0x63, 0x68);

QPixmap Blank(int width, int height) {
    QPixmap picture(width, height);
    picture.fill(Qt::transparent);
    return picture;
}

// A coloured rounded square with a sign of one or two characters.
QPixmap Badge(int size, const QColor& color, const QString& sign) {
    QPixmap picture = Blank(size, size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(color.darker(130));
    p.setBrush(color);
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 5.0, size / 5.0);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(size * 11 / 16);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, sign);
    return picture;
}

// A coloured rounded square with a small envelope.
QPixmap Envelope(int size, const QColor& color) {
    QPixmap picture = Badge(size, color, QString());
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(size * 0.18, size * 0.28, size * 0.64, size * 0.44);
    p.setPen(QPen(color.darker(130), 1));
    p.setBrush(Qt::white);
    p.drawRect(body);
    QPainterPath flap;
    flap.moveTo(body.topLeft());
    flap.lineTo(body.center().x(), body.top() + body.height() * 0.6);
    flap.lineTo(body.topRight());
    p.setBrush(Qt::NoBrush);
    p.drawPath(flap);
    return picture;
}

// A white sheet with lines, for the changelog.
QPixmap Sheet(int size, const QColor& color) {
    QPixmap picture = Badge(size, color, QString());
    QPainter p(&picture);
    const QRect sheet(size / 4, size / 6, size / 2, size * 2 / 3);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setPen(color);
    for (int y = sheet.top() + 2; y < sheet.bottom() - 1; y += 3)
        p.drawLine(sheet.left() + 1, y, sheet.right() - 1, y);
    return picture;
}

// The picture of a language without a flag: a white field with a grey frame, crossed out.
QPixmap NoFlag() {
    QPixmap picture(22, 14);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setPen(Grey);
    p.drawRect(0, 0, 21, 13);
    p.setPen(QPen(Maroon, 1));
    p.drawLine(2, 11, 19, 2);
    return picture;
}
} // namespace

QList<QPixmap> AboutImageList() {
    return {
        Badge(16, Navy, QStringLiteral("?")),      // 0 help and licence
        Badge(16, Teal, QStringLiteral("i")),      // 1 about
        Badge(16, Grey, QStringLiteral("\u2699")), // 2 settings
        Envelope(16, Orange),                      // 3 bug report
        Badge(16, Maroon, QStringLiteral("!")),    // 4 warning
        Sheet(16, Green),                          // 5 changelog
        Badge(16, Navy, QStringLiteral("A")),      // 6 language
        NoFlag(),                                  // 7 no flag
    };
}

QPixmap AboutGlyphPicture(AboutGlyph glyph) {
    switch (glyph) {
    case AboutGlyph::Save:
        return Badge(16, Green, QStringLiteral("\u2713"));
    case AboutGlyph::Folder:
        return Badge(16, Orange, QStringLiteral("\u2026"));
    case AboutGlyph::Update:
        return Badge(16, Teal, QStringLiteral("\u21bb"));
    case AboutGlyph::Send:
        return Envelope(16, Orange);
    case AboutGlyph::Help:
        return Badge(16, Navy, QStringLiteral("?"));
    case AboutGlyph::Web:
        return Badge(16, Teal, QStringLiteral("W"));
    case AboutGlyph::Language:
        return Badge(16, Navy, QStringLiteral("A"));
    }
    return Blank(16, 16);
}

QPixmap ProgramIconPicture() {
    return Badge(48, Navy, QStringLiteral("V"));
}

QPixmap MailPicture() {
    return Envelope(24, Orange);
}

QPixmap InfoPicture() {
    return Badge(24, Teal, QStringLiteral("i"));
}
