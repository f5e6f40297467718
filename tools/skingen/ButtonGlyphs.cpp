#include "ButtonGlyphs.h"

#include <QPainterPath>

namespace velmo::skingen {

QPainterPath TriangleRight(qreal left, qreal top, qreal width, qreal height)
{
    QPainterPath path;
    path.moveTo(left, top);
    path.lineTo(left + width, top + height / 2);
    path.lineTo(left, top + height);
    path.closeSubpath();
    return path;
}

QPainterPath TriangleLeft(qreal right, qreal top, qreal width, qreal height)
{
    QPainterPath path;
    path.moveTo(right, top);
    path.lineTo(right - width, top + height / 2);
    path.lineTo(right, top + height);
    path.closeSubpath();
    return path;
}

void StopGlyph(QPainter &p, const QColor &c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(-5, -5, 10, 10), 1.5, 1.5);
}

void NextGlyph(QPainter &p, const QColor &c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(TriangleRight(-5, -5, 8, 10));
    p.fillRect(QRectF(4, -5, 2, 10), c);
}

void PrevGlyph(QPainter &p, const QColor &c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(TriangleLeft(5, -5, 8, 10));
    p.fillRect(QRectF(-6, -5, 2, 10), c);
}

void OpenGlyph(QPainter &p, const QColor &c)
{
    // A folder: the back with its tab, and the front flap cut off by a
    // one-pixel gap.
    QPainterPath back;
    back.moveTo(-7, -5);
    back.lineTo(-2, -5);
    back.lineTo(0, -3);
    back.lineTo(7, -3);
    back.lineTo(7, 5);
    back.lineTo(-7, 5);
    back.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(back);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillRect(QRectF(-7, -2, 14, 1), Qt::transparent);
}

void FullScreenGlyph(QPainter &p, const QColor &c)
{
    // Four corners pointing outwards, two pixels thick on whole pixels.
    const int e = 6, k = 4;
    for (const QPoint corner : {QPoint(-1, -1), QPoint(1, -1), QPoint(1, 1), QPoint(-1, 1)}) {
        const int x = corner.x() < 0 ? -e : e - 2;
        const int y = corner.y() < 0 ? -e : e - 2;
        p.fillRect(QRect(corner.x() < 0 ? -e : e - k, y, k, 2), c);
        p.fillRect(QRect(x, corner.y() < 0 ? -e : e - k, 2, k), c);
    }
}

void MaximizeGlyph(QPainter &p, const QColor &c)
{
    p.setPen(c);
    p.setBrush(Qt::NoBrush);
    p.drawRect(-5, -5, 10, 10);
    p.drawLine(-5, -4, 5, -4);
}

void CloseGlyph(QPainter &p, const QColor &c)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(c, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-4.5, -4.5), QPointF(5, 5));
    p.drawLine(QPointF(5, -4.5), QPointF(-4.5, 5));
}

void MinimizeGlyph(QPainter &p, const QColor &c)
{
    p.fillRect(-5, 0, 11, 1, c);
}

void SpeakerGlyph(QPainter &p, const QColor &c)
{
    QPainterPath body;
    body.moveTo(-7, -2.5);
    body.lineTo(-4.5, -2.5);
    body.lineTo(-1, -6);
    body.lineTo(-1, 6);
    body.lineTo(-4.5, 2.5);
    body.lineTo(-7, 2.5);
    body.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(body);
}

} // namespace velmo::skingen
