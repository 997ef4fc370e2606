#include "VersionBlock.h"

#include <QByteArray>
#include <QFile>
#include <QList>

namespace {
// Parses "a.b.c.d" followed by a zero byte at pos; false for anything else.
bool ParseVersion(const QByteArray& data, qsizetype pos, FileVersion& version) {
    QList<uint32_t> parts{0};
    bool digitSeen = false;
    for (; pos < data.size(); ++pos) {
        const char c = data.at(pos);
        if (c >= '0' && c <= '9') {
            parts.back() = parts.back() * 10 + uint32_t(c - '0');
            if (parts.back() > 0xFFFF)
                return false;
            digitSeen = true;
        } else if (c == '.' && digitSeen && parts.size() < 4) {
            parts.append(0);
            digitSeen = false;
        } else if (c == '\0' && digitSeen && parts.size() == 4) {
            version = {uint16_t(parts[0]), uint16_t(parts[1]), uint16_t(parts[2]), uint16_t(parts[3])};
            return true;
        } else {
            return false;
        }
    }
    return false;
}
} // namespace

bool ReadFileVersion(const QString& fileName, FileVersion& version) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    const QByteArray marker(VERSION_BLOCK_MARKER);
    for (qsizetype at = data.indexOf(marker); at >= 0; at = data.indexOf(marker, at + 1)) {
        if (ParseVersion(data, at + marker.size(), version))
            return true;
    }
    return false;
}
