#pragma once
// The size a picture is shown at inside a box: proportions kept, never enlarged. A non-positive box
// side leaves that side free. Shared by the scaled JPEG decoding and the exact fit after it, so both
// agree on the target to the pixel.

#include <QSize>
#include <algorithm>
#include <cmath>

namespace picture {

inline QSize fitWithin(QSize size, QSize box) {
    if (size.isEmpty()) return size;
    double scale = 1.0;
    if (box.width() > 0) scale = std::min(scale, double(box.width()) / size.width());
    if (box.height() > 0) scale = std::min(scale, double(box.height()) / size.height());
    if (scale >= 1.0) return size;
    return {std::max(1, int(std::lround(size.width() * scale))),
            std::max(1, int(std::lround(size.height() * scale)))};
}

} // namespace picture
