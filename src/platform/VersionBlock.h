#pragma once

#include <QString>
#include <cstdint>

// A program file carries its product version as a block of text: the marker, then
// major.minor.release.build in decimal (at most five digits each), then a zero byte.
#define VERSION_BLOCK_MARKER "\x7fVZPS-PRODUCT-VERSION:"

// Embeds the block in the file that expands it (the executable's main source).
#define DEFINE_VERSION_BLOCK(version)                                                                        \
    [[gnu::used]] static const char kProgramVersionBlock[] = VERSION_BLOCK_MARKER version

struct FileVersion {
    uint16_t major = 0;
    uint16_t minor = 0;
    uint16_t release = 0;
    uint16_t build = 0;
};

// Finds the version block in any regular file up to the size of the largest program a download
// takes; false when the file has none, cannot be read or is no such file (a FIFO is never waited on).
bool ReadFileVersion(const QString& fileName, FileVersion& version);
