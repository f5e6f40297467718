#include "subtitles/TrueTypeMark.h"

#include <QPainter>

namespace velmo {

namespace {

// A T of 9 x 9 pixels: a 2-pixel bar and a 3-pixel stem.
void drawT(QPainter &painter, int left, int top, const QColor &colour)
{
    painter.fillRect(left, top, 9, 2, colour);
    painter.fillRect(left + 3, top, 3, 9, colour);
}

} // namespace

QImage TrueTypeMark()
{
    QImage mark(15, 12, QImage::Format_ARGB32_Premultiplied);
    mark.fill(Qt::transparent);
    QPainter painter(&mark);
    drawT(painter, 0, 0, QColor(128, 128, 128));
    drawT(painter, 5, 3, QColor(0, 0, 0));
    return mark;
}

} // namespace velmo
