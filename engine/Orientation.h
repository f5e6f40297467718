#pragma once

#include <QPoint>
#include <QSize>

namespace velmo {

/// How a picture is turned to be shown: a number of quarter turns clockwise,
/// then, when mirrored, a flip from left to right. These are the eight values
/// of GStreamer's image-orientation tag ("flip-rotate-90": a quarter turn,
/// then the flip), and the user's own turns and flips compose with them.
class Orientation {
public:
    constexpr Orientation() = default;
    /// `turns` quarter turns clockwise (any whole number), then the flip when `mirrored`.
    constexpr Orientation(int turns, bool mirrored) : turns_(((turns % 4) + 4) % 4), mirrored_(mirrored) {}

    /// The orientation an image-orientation tag names ("rotate-90",
    /// "flip-rotate-0", ...); upright for any other text, or null.
    static Orientation FromTag(const char *value);

    /// This orientation, then `next` applied to the picture it made.
    Orientation Then(Orientation next) const;

    bool Upright() const { return turns_ == 0 && !mirrored_; }
    /// Whether width and height trade places.
    bool SwapsSides() const { return turns_ % 2 != 0; }
    /// The size of a picture of `size` once turned.
    QSize Turned(const QSize &size) const { return SwapsSides() ? size.transposed() : size; }
    /// Where the pixel at `p` of a picture of `size` lands once turned.
    QPoint Map(const QPoint &p, const QSize &size) const;

    bool operator==(const Orientation &other) const = default;

private:
    int turns_ = 0;
    bool mirrored_ = false;
};

/// A quarter turn clockwise, and the two flips, as the user asks for them.
inline constexpr Orientation kQuarterTurn(1, false);
inline constexpr Orientation kMirrorLeftRight(0, true);
inline constexpr Orientation kMirrorTopBottom(2, true);

} // namespace velmo
