#include "resources/ProgramIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace velmo {

// A rounded tile in deep blue with a white play triangle.
QImage DrawProgramIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(0.5, 0.5, size - 1.0, size - 1.0);
    QLinearGradient gradient(tile.topLeft(), tile.bottomRight());
    gradient.setColorAt(0.0, QColor(70, 130, 220));
    gradient.setColorAt(1.0, QColor(20, 40, 110));
    painter.setPen(QPen(QColor(10, 20, 60), 1.0));
    painter.setBrush(gradient);
    painter.drawRoundedRect(tile, size / 5.0, size / 5.0);
    QPainterPath triangle;
    triangle.moveTo(size * 0.36, size * 0.26);
    triangle.lineTo(size * 0.76, size * 0.50);
    triangle.lineTo(size * 0.36, size * 0.74);
    triangle.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(triangle);
    painter.end();
    return image;
}

QIcon ProgramIcon()
{
    static const QIcon icon = [] {
        QIcon made;
        for (int size : {16, 32, 48})
            made.addPixmap(QPixmap::fromImage(DrawProgramIcon(size)));
        return made;
    }();
    return icon;
}

} // namespace velmo
