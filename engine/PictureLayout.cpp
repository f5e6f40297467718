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

PicturePieces PlanPicturePieces(const QSize &window, const QSize &frame, const QRect &caption)
{
    PicturePieces pieces;
    const QRect whole(QPoint(0, 0), window);
    if (whole.isEmpty())
        return pieces;
    if (frame != window) {
        pieces.composed = whole;
        return pieces;
    }
    const QRect c = caption.intersected(whole);
    if (c.isEmpty()) {
        pieces.direct.push_back(whole);
        return pieces;
    }
    // The bands above and below the caption, then its left and right.
    const QRect bands[] = {
        QRect(0, 0, window.width(), c.top()),
        QRect(0, c.bottom() + 1, window.width(), window.height() - c.bottom() - 1),
        QRect(0, c.top(), c.left(), c.height()),
        QRect(c.right() + 1, c.top(), window.width() - c.right() - 1, c.height()),
    };
    for (const QRect &band : bands)
        if (!band.isEmpty())
            pieces.direct.push_back(band);
    pieces.composed = c;
    return pieces;
}

} // namespace velmo
