#include "subtitles/ColorSwatch.h"

#include <QPainter>

namespace velmo {

ColorSwatch::ColorSwatch(QWidget *parent) : QWidget(parent) {}

void ColorSwatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF)));
}

} // namespace velmo
