#pragma once

// A sheet that shows every picture of a loaded skin and the window put
// together from it, for looking at the skin without running the player.

#include <QImage>

namespace velmo {
class SkinSet;
}

namespace velmo::skingen {

/// The whole sheet at 1x: two composed windows and every picture, labelled.
QImage DrawContactSheet(const SkinSet &skin);

} // namespace velmo::skingen
