#pragma once

// Turning 32-bit pictures (RGB32, BGRx) by an Orientation.

#include "engine/Orientation.h"

#include <QImage>

#include <cstdint>

namespace velmo {

/// Writes the 32-bit pixels of the picture at `from` (`size`, rows `fromStride`
/// bytes apart) turned by `turn` to `to` (turn.Turned(size), rows `toStride`
/// bytes apart). The two must not overlap.
void TurnPixels(const uint8_t *from, int fromStride, const QSize &size, uint8_t *to, int toStride,
                Orientation turn);

/// `image` (RGB32) turned by `turn`; `image` itself when upright.
QImage TurnedImage(const QImage &image, Orientation turn);

} // namespace velmo
