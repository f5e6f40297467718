#pragma once

// What the caption's two drawings share, the plain text and the runs of a
// caption's markup: the shadow, outline and text passes, the bounds they
// reach, and the shrinking of a caption too tall for a small picture.

#include "subtitles/SubtitleStyle.h"

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace velmo {

/// The smallest line height the settings let a caption have: a caption is not
/// shrunk below it to fit a small picture.
inline constexpr int kSmallestLineHeight = 10;

/// A colour of the settings file (0x00BBGGRR) as Qt's.
QColor ToQColor(Colour c);

/// One shaped run, placed with its left edge and baseline in layer coordinates.
struct PlacedRun {
    QPointF origin;
    QGlyphRun run;
    std::optional<QColor> colour; ///< the text pass's colour for this run; none: the style's
};

/// A transparent layer for a screen of `screenSize` whose pixels are `ratio`
/// device pixels across: it holds screenSize × ratio pixels and is drawn on
/// in the screen's coordinates, so that glyphs are made at the device's own
/// resolution; a null image for an empty size.
QImage NewLayer(const QSize &screenSize, qreal ratio);

/// Every pass of the style over the runs: shadows, outlines, then the text.
void DrawPasses(QImage &layer, const std::vector<PlacedRun> &runs, const SubtitleStyle &style);

/// The part of the layer the passes can touch around `ink` (screen
/// coordinates), in the layer's own pixels.
QRect PassBounds(const QRectF &ink, const QImage &layer);

/// Wraps a caption with `wrap(font)` and, when it is taller than `room`
/// pixels, with the largest smaller line height (halving down to
/// kSmallestLineHeight) at which it fits; when even that is too tall, keeps
/// the last lines that fit, since those are the ones that just began.
/// `Wrapped` has `lineHeight`, `Height()` and `KeepLast(room)`.
template <class Wrapped, class Wrap>
Wrapped FitToRoom(const QFont &font, const Wrap &wrap, int64_t room)
{
    const auto atLineHeight = [&](int lineHeight) {
        QFont smaller = font;
        SetCellHeight(smaller, lineHeight);
        return wrap(smaller);
    };
    Wrapped best = wrap(font);
    if (best.Height() <= room)
        return best;
    // A smaller font never needs more lines, so the largest height that fits
    // is found by halving.
    int low = kSmallestLineHeight;
    int high = room < kSmallestLineHeight ? 0 : int(std::min<int64_t>(best.lineHeight - 1, room));
    std::optional<Wrapped> found;
    while (low <= high) {
        const int mid = low + (high - low) / 2;
        Wrapped probe = atLineHeight(mid);
        if (probe.Height() <= room) {
            found = std::move(probe);
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    if (found)
        return std::move(*found);
    if (best.lineHeight > kSmallestLineHeight)
        best = atLineHeight(kSmallestLineHeight);
    best.KeepLast(room);
    return best;
}

} // namespace velmo
