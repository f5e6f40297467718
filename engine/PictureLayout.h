#pragma once

#include <QRect>
#include <QSize>

#include <cstdint>

namespace velmo {

/// Where a picture of `displaySize` goes inside `area`: the whole area when
/// `aspectMode` is AM_ARMODE_STRETCHED or the size is unknown; otherwise the
/// largest centred rectangle of the picture's aspect ratio (letter box).
QRect FitPicture(const QRect &area, const QSize &displaySize, int32_t aspectMode);

/// The display size of a picture stored as `width` x `height` pixels whose
/// pixels are `parN`/`parD` as wide as high: the width is scaled, the height kept.
QSize DisplaySize(int32_t width, int32_t height, int32_t parN, int32_t parD);

} // namespace velmo
