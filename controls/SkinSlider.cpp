#include "controls/SkinSlider.h"

#include "skin/SkinSet.h"

#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace velmo {

namespace {

// The track picture is three 5-pixel columns: left end, right end, middle.
constexpr int kColumn = 5;
constexpr int kLeftEndX = 0;
constexpr int kRightEndX = 5;
constexpr int kMiddleX = 10;

// A marked part of the track (the A-B repeat's range): a band under the
// line, so that the line and the thumb stay as the skin draws them.
const QColor kMarkedTint(255, 190, 0, 200);
constexpr int kBandGap = 1;
// A chapter's start: a tick from a few rows above the band to its end.
const QColor kTickColour(255, 255, 255, 230);
constexpr int kTickReach = 4;
constexpr int kBandHeight = 2;

// Thumb pictures are copied as they are; an alpha channel would let the
// track show through.
QImage opaque(const QImage &image)
{
    return image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_RGB32) : image;
}

struct BandRows {
    int top = 0;
    int height = 0;
};

// The band's rows in layout pixels of a track `height` tall: just under the
// line, the last run of rows of the track's middle column that differ from
// its top row (the middle row without a line), and within the track.
BandRows MarkedBandRows(const QImage &track, int height)
{
    // The line's last row, in layout pixels; the middle row when no line shows.
    int lineEnd = height / 2;
    if (!track.isNull()) {
        const qreal ratio = track.devicePixelRatio();
        const int x = std::min(track.width() - 1, int(std::lround((kMiddleX + kColumn / 2) * ratio)));
        const QRgb top = track.pixel(x, 0);
        for (int y = track.height() - 1; y > 0; --y) {
            if (track.pixel(x, y) != top) {
                lineEnd = int(std::ceil((y + 1) / ratio)) - 1;
                break;
            }
        }
    }
    const int band = std::min(kBandHeight, std::max(height, 0));
    return {std::clamp(lineEnd + 1 + kBandGap, 0, std::max(height - band, 0)), band};
}

} // namespace

int SliderThumbLeft(int minimum, int maximum, int value, int clientWidth, int margin, int thumbWidth)
{
    const int64_t range = int64_t(maximum) + 1 - minimum;
    const int64_t usable = int64_t(clientWidth) - 2 * int64_t(margin) - thumbWidth;
    if (range <= 0 || usable <= 0)
        return margin;
    const double step = double(usable) / double(range);
    return margin + int(std::trunc(value * step - minimum * step));
}

int SliderMarkX(double fraction, int clientWidth, int margin, int thumbWidth)
{
    const double usable = clientWidth - 2 * margin - thumbWidth;
    return margin + thumbWidth / 2 + int(std::clamp(fraction, 0.0, 1.0) * usable);
}

int SliderValueAt(int x, int minimum, int maximum, int clientWidth, int margin, int thumbWidth)
{
    const int64_t range = int64_t(maximum) + 1 - minimum;
    const int64_t usable = int64_t(clientWidth) - 2 * int64_t(margin) - thumbWidth;
    if (range <= 0 || usable <= 0)
        return minimum;
    const int64_t d = int64_t(x) - thumbWidth / 2 - margin;
    // Divided first, multiplied afterwards: the order decides the rounding.
    const double v = minimum + std::trunc(double(range) / double(usable) * double(d));
    if (v < minimum)
        return minimum;
    const double top = double(maximum) + 1;
    return int(std::min(v, top));
}

SkinSlider::SkinSlider(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void SkinSlider::SetBitmaps(const SkinSliderImages &images, int margin)
{
    track_ = images.track.image();
    trackHeight_ = LayoutSize(track_).height();
    thumb_ = opaque(images.thumb.image());
    thumbWidth_ = LayoutSize(thumb_).width();
    thumbHeight_ = LayoutSize(thumb_).height();
    heldThumb_ = opaque(images.heldThumb.image());
    margin_ = margin;
    thumbLeft_ = margin;
    // Computed once: a later resize leaves the thumb where it was vertically.
    thumbTop_ = height() / 2 - thumbHeight_ / 2;
    update();
}

void SkinSlider::SetRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
    SetPos(value_);
}

void SkinSlider::SetPos(int value)
{
    value_ = std::max(minimum_, std::min(value, maximum_));
    update();
}

void SkinSlider::SetTicks(std::vector<double> fractions)
{
    if (fractions == ticks_)
        return;
    ticks_ = std::move(fractions);
    update();
}

void SkinSlider::SetMarkedRange(double from, double to)
{
    from = std::clamp(from, 0.0, 1.0);
    to = std::clamp(to, 0.0, 1.0);
    if (from == markedFrom_ && to == markedTo_)
        return;
    markedFrom_ = from;
    markedTo_ = to;
    update();
}

void SkinSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int cw = width();
    if (!track_.isNull()) {
        painter.drawImage(QRect(0, 0, cw, height()), track_, ImagePixels(track_, QRect(kMiddleX, 0, kColumn, trackHeight_)));
        painter.drawImage(QPoint(0, 0), track_, ImagePixels(track_, QRect(kLeftEndX, 0, kColumn, trackHeight_)));
        painter.drawImage(QPoint(cw - kColumn, 0), track_, ImagePixels(track_, QRect(kRightEndX, 0, kColumn, trackHeight_)));
    }
    const BandRows band = MarkedBandRows(track_, trackHeight_ > 0 ? trackHeight_ : height());
    if (markedFrom_ < markedTo_) {
        // The tint spans the values the thumb's centre passes over.
        const int left = SliderMarkX(markedFrom_, cw, margin_, thumbWidth_);
        const int right = SliderMarkX(markedTo_, cw, margin_, thumbWidth_);
        painter.fillRect(QRect(left, band.top, std::max(1, right - left), band.height), kMarkedTint);
    }
    // The ticks cross the line and the band, a row beyond each.
    const int trackRows = trackHeight_ > 0 ? trackHeight_ : height();
    const int tickTop = std::max(0, band.top - kTickReach);
    const int tickBottom = std::min(trackRows, band.top + band.height + 1);
    for (double fraction : ticks_)
        if (fraction > 0.0 && fraction < 1.0)
            painter.fillRect(QRect(SliderMarkX(fraction, cw, margin_, thumbWidth_), tickTop, 1, tickBottom - tickTop),
                             kTickColour);
    thumbLeft_ = SliderThumbLeft(minimum_, maximum_, value_, cw, margin_, thumbWidth_);
    const QImage &thumb = dragging_ ? heldThumb_ : thumb_;
    if (!thumb.isNull())
        painter.drawImage(QPoint(thumbLeft_, thumbTop_), thumb, ImagePixels(thumb, QRect(0, 0, thumbWidth_, thumbHeight_)));
}

void SkinSlider::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || dragging_)
        return;
    dragging_ = true;
    moved_ = false;
    setFocus(Qt::MouseFocusReason);
    if (TrackPointer(event->position().toPoint().x())) {
        moved_ = true;
        Post(TB_THUMBTRACK);
    }
    RedrawNow();
}

void SkinSlider::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (!dragging_ || !TrackPointer(event->position().toPoint().x()))
        return;
    moved_ = true;
    Post(TB_THUMBTRACK);
    RedrawNow();
}

void SkinSlider::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !dragging_)
        return;
    dragging_ = false;
    if (TrackPointer(event->position().toPoint().x())) {
        Post(TB_THUMBTRACK);
        moved_ = true;
    }
    if (moved_) {
        Post(TB_THUMBPOSITION);
        moved_ = false;
    }
    RedrawNow();
}

void SkinSlider::keyPressEvent(QKeyEvent *event)
{
    // Values may go one past the maximum, as the pointer's can; SetPos keeps
    // what is stored within the range.
    const int64_t top = int64_t(maximum_) + 1;
    int64_t value = value_;
    int code = 0;
    switch (event->key()) {
    case Qt::Key_PageUp:
        value = std::max<int64_t>(minimum_, value - pageSize_);
        code = TB_PAGEUP;
        break;
    case Qt::Key_PageDown:
        value = std::min(top, value + pageSize_);
        code = TB_PAGEDOWN;
        break;
    case Qt::Key_End:
        value = top;
        code = TB_BOTTOM;
        break;
    case Qt::Key_Home:
        value = minimum_;
        code = TB_TOP;
        break;
    case Qt::Key_Left:
        value = std::max<int64_t>(minimum_, value - lineSize_);
        code = TB_LINEUP;
        break;
    case Qt::Key_Right:
        value = std::min(top, value + lineSize_);
        code = TB_LINEDOWN;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    SetPos(int(std::min<int64_t>(value, maximum_)));
    RedrawNow();
    Post(code);
}

void SkinSlider::keyReleaseEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right:
        event->accept();
        Post(TB_ENDTRACK);
        return;
    default:
        QWidget::keyReleaseEvent(event);
    }
}

bool SkinSlider::TrackPointer(int x)
{
    const int v = SliderValueAt(x, minimum_, maximum_, width(), margin_, thumbWidth_);
    if (v == value_)
        return false;
    // One past the maximum is stored as the maximum yet still reported as a
    // change, so a pointer held past the end keeps reporting.
    SetPos(v);
    return true;
}

void SkinSlider::Post(int code)
{
    if (!parentWidget())
        return;
    const int value = value_;
    QMetaObject::invokeMethod(this, [this, code, value] { emit Scroll(code, value); }, Qt::QueuedConnection);
}

void SkinSlider::RedrawNow()
{
    repaint();
}

} // namespace velmo
