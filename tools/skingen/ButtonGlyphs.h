#pragma once

// The glyphs of the skin's buttons, each drawn in colour `c` around the
// button's centre (the painter's origin), in pixels.

#include <QColor>
#include <QPainter>
#include <QPainterPath>

namespace velmo::skingen {

/// A triangle pointing right, in the box at (left, top).
QPainterPath TriangleRight(qreal left, qreal top, qreal width, qreal height);
/// A triangle pointing left, in the box whose right edge is `right`.
QPainterPath TriangleLeft(qreal right, qreal top, qreal width, qreal height);
void StopGlyph(QPainter &p, const QColor &c);
void NextGlyph(QPainter &p, const QColor &c);
void PrevGlyph(QPainter &p, const QColor &c);
void OpenGlyph(QPainter &p, const QColor &c);
void FullScreenGlyph(QPainter &p, const QColor &c);
void MaximizeGlyph(QPainter &p, const QColor &c);
void CloseGlyph(QPainter &p, const QColor &c);
void MinimizeGlyph(QPainter &p, const QColor &c);
void SpeakerGlyph(QPainter &p, const QColor &c);

} // namespace velmo::skingen
