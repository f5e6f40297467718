#pragma once

#include "subtitles/CaptionSpans.h"
#include "subtitles/SubtitleStyle.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <vector>

namespace velmo {

/// Draws a caption's runs as DrawSubtitleLayer draws plain text (wrapped,
/// centred, fitted to the picture, the same shadow and outline passes in the
/// style's colours), each run in its own colour and weight, slant and
/// underline, a ruby's reading at half the line height centred over its
/// base. A line that holds a reading is that much taller. *drawnArea (may be
/// null) and `ratio` as for DrawSubtitleLayer.
QImage DrawStyledCaption(const QSize &screenSize, const std::vector<CaptionSpan> &spans, const SubtitleStyle &style,
                         QRect *drawnArea, qreal ratio = 1);

} // namespace velmo
