#include "VersionBlock.h"

#include <QByteArray>
#include <algorithm>

#include "BoundedFile.h"

namespace {
constexpr qsizetype MaxPartDigits = 5; // 65535
const QByteArray Marker(VERSION_BLOCK_MARKER);
// The longest block: the marker, four parts, three points and the zero byte.
const qsizetype MaxBlock = Marker.size() + 4 * MaxPartDigits + 3 + 1;

// Parses "a.b.c.d" followed by a zero byte at pos; false for anything else, a block cut short
// by the end of data included.
bool ParseVersion(const QByteArray& data, qsizetype pos, FileVersion& version) {
    uint32_t parts[4] = {};
    int part = 0;
    qsizetype digits = 0;
    for (; pos < data.size(); ++pos) {
        const char c = data.at(pos);
        if (c >= '0' && c <= '9') {
            parts[part] = parts[part] * 10 + uint32_t(c - '0');
            if (++digits > MaxPartDigits || parts[part] > 0xFFFF)
                return false;
        } else if (c == '.' && digits > 0 && part < 3) {
            ++part;
            digits = 0;
        } else if (c == '\0' && digits > 0 && part == 3) {
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
    // The file goes by in pieces; the tail of each piece that may hold the start of a block cut
    // by the piece's end is searched again with the next piece.
    QByteArray window;
    bool found = false;
    ScanBoundedFile(fileName, MaxProgramFileBytes, [&](QByteArrayView piece) {
        window.append(piece);
        for (qsizetype at = window.indexOf(Marker); at >= 0 && !found; at = window.indexOf(Marker, at + 1))
            found = ParseVersion(window, at + Marker.size(), version);
        window.remove(0, std::max<qsizetype>(0, window.size() - (MaxBlock - 1)));
        return !found;
    });
    return found;
}
