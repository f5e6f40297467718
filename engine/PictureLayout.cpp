#include "engine/PictureLayout.h"

#include "engine/MediaResult.h"

#include <cmath>

namespace velmo {

QRect FitPicture(const QRect &area, const QSize &displaySize, int32_t aspectMode)
{
    if (aspectMode == AM_ARMODE_STRETCHED || displaySize.width() <= 0 || displaySize.height() <= 0 ||
        area.width() <= 0 || area.height() <= 0)
        return area;
    const double dw = displaySize.width(), dh = displaySize.height();
    int w = area.width();
    int h = static_cast<int>(std::lround(w * dh / dw));
    if (h > area.height()) {
        h = area.height();
        w = static_cast<int>(std::lround(h * dw / dh));
    }
    w = std::max(w, 1);
    h = std::max(h, 1);
    return QRect(area.x() + (area.width() - w) / 2, area.y() + (area.height() - h) / 2, w, h);
}

QSize DisplaySize(int32_t width, int32_t height, int32_t parN, int32_t parD)
{
    if (parN <= 0 || parD <= 0 || parN == parD)
        return QSize(width, height);
    return QSize(static_cast<int>(std::lround(double(width) * parN / parD)), height);
}

} // namespace velmo
