#include "screen/PaintedPicture.h"

#include <QPainter>
#include <QWidget>

namespace velmo {

void PaintedPicture::ShowFrame(const VideoFrame &frame)
{
    // Only the picture changes from frame to frame.
    screen_.update(frame.picture);
}

void PaintedPicture::Paint(QPainter &painter, const VideoFrame &frame) const
{
    if (frame.image.size() == frame.picture.size())
        painter.drawImage(frame.picture.topLeft(), frame.image);
    else
        painter.drawImage(frame.picture, frame.image);
}

} // namespace velmo
