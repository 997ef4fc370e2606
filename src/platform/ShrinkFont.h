#pragma once

#include <QFont>
#include <functional>

// font made smaller until width(font) is at most room: its size (pixels for a font sized in pixels,
// else points) is scaled by room / width, a little less for rounding, and the text measured again,
// up to three times; the size never goes below minSize. font itself when it fits already or when
// room is not positive.
QFont ShrunkFont(const QFont& font, int room, const std::function<int(const QFont&)>& width,
                 qreal minSize = 0);
