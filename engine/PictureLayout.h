#pragma once

#include <QRect>
#include <QSize>

#include <cstdint>
#include <vector>

namespace velmo {

/// Where a picture of `displaySize` goes inside `area`: the whole area when
/// `aspectMode` is AM_ARMODE_STRETCHED or the size is unknown; otherwise the
/// largest centred rectangle of the picture's aspect ratio (letter box).
QRect FitPicture(const QRect &area, const QSize &displaySize, int32_t aspectMode);

/// The display size of a picture stored as `width` x `height` pixels whose
/// pixels are `parN`/`parD` as wide as high: the width is scaled, the height kept.
QSize DisplaySize(int32_t width, int32_t height, int32_t parN, int32_t parD);

/// How one frame reaches a picture window of `window` size, piece by piece,
/// without writing to the frame: the rectangles in `direct` go straight from
/// the frame (frame and window coordinates agree), and `composed` (window
/// coordinates; empty for none) from a picture made for the purpose: the
/// frame's pixels there with the caption drawn over them. A frame of another
/// size than the window is composed whole, scaled.
struct PicturePieces {
    std::vector<QRect> direct;
    QRect composed;
};
PicturePieces PlanPicturePieces(const QSize &window, const QSize &frame, const QRect &caption);

} // namespace velmo
