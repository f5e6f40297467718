#pragma once

#include "subtitles/ShownCaption.h"
#include "subtitles/SubtitleStyle.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

namespace velmo {

/// Draws a caption onto a transparent layer of the screen's size, ready to be
/// composited over the picture: shadow, outline and text passes in the
/// style's colours, word-wrapped and centred, the last line ending
/// `style.Position` pixels above the bottom. The layer is ARGB32-premultiplied
/// and only the caption's pixels are not fully transparent.
/// Returns a null QImage when nothing would be drawn: an empty screen size, or
/// a text that is empty or holds only white space ("", " ", "\r\n").
/// The caption drawn is `caption.text`; with `caption.markup` a caption whose
/// cleaned text is that text and that gives some run a look of its own, the
/// runs are drawn with their looks instead (DrawStyledCaption).
QImage DrawSubtitleLayer(const QSize &screenSize, const ShownCaption &caption, const SubtitleStyle &style);

/// The same, also giving the part of the layer that holds the caption's pixels
/// (a null rectangle when nothing is drawn; in the layer's own pixels), so
/// that compositing can skip the transparent rest. With a `ratio` other than
/// 1 the layer is for a screen whose coordinates are `ratio` device pixels
/// across: it holds screenSize × ratio pixels (its devicePixelRatio is
/// `ratio`) and the caption is laid out as at 1 but its glyphs are made at
/// the device's resolution.
QImage DrawSubtitleLayer(const QSize &screenSize, const ShownCaption &caption, const SubtitleStyle &style,
                         QRect *drawnArea, qreal ratio = 1);

/// A short message over the picture (a setting just changed), drawn like the
/// caption but at the screen's top left, at two thirds of the caption's line
/// height, one line per line of `text`. *drawnArea and `ratio` as above.
QImage DrawMessageLayer(const QSize &screenSize, const QString &text, const SubtitleStyle &style, QRect *drawnArea,
                        qreal ratio = 1);

} // namespace velmo
