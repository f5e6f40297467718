#pragma once

#include <QImage>

namespace velmo {

/// The mark of TrueType faces in the font list (bitmap 179): two overlapping
/// capital T's on a transparent 15 x 12 image.
QImage TrueTypeMark();

} // namespace velmo
