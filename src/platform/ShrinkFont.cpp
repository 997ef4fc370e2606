#include "ShrinkFont.h"

#include <algorithm>
#include <cmath>

QFont ShrunkFont(const QFont& font, int room, const std::function<int(const QFont&)>& width, qreal minSize) {
    QFont shrunk = font;
    const bool pixels = font.pixelSize() > 0;
    for (int tries = 0; tries < 3 && room > 0; ++tries) {
        const int needed = width(shrunk);
        const qreal size = pixels ? shrunk.pixelSize() : shrunk.pointSizeF();
        if (needed <= room || size <= minSize)
            break;
        const qreal scaled = size * room / needed;
        if (pixels) // whole pixels: at least one smaller each time
            shrunk.setPixelSize(std::max({std::min(int(scaled), int(size) - 1), int(std::ceil(minSize)), 1}));
        else
            shrunk.setPointSizeF(std::max(scaled * 0.98, minSize));
    }
    return shrunk;
}
