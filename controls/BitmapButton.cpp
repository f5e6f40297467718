#include "controls/BitmapButton.h"

#include "skin/SkinSet.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

namespace velmo {

namespace {

// The skins paint their see-through pixels in this colour.
constexpr QRgb kTransparent = qRgb(255, 0, 255);

} // namespace

int ButtonFrameX(bool hovered, bool pressed, int stateWidth)
{
    if (!hovered)
        return 0;
    return pressed ? 2 * stateWidth : stateWidth;
}

BitmapButton::BitmapButton(QWidget *parent)
    : QWidget(parent)
{
    // Hover follows the pointer without a button held. The parent's panel
    // shows through the transparent pixels, so nothing fills the background.
    setMouseTracking(true);
    setAutoFillBackground(false);
}

void BitmapButton::SetImage(const SkinImage &image)
{
    SetImage(image.bitmap.image(), image.info);
}

void BitmapButton::SetImage(const QImage &image, const BitmapInfo &info)
{
    image_ = image;
    info_ = info;
    update();
}

void BitmapButton::SetTooltipText(const QString &text)
{
    setToolTip(text);
}

void BitmapButton::paintEvent(QPaintEvent *)
{
    const int stateWidth = StateWidth();
    if (image_.isNull() || stateWidth <= 0 || info_.height <= 0)
        return;
    if (masked_.isNull() || maskedKey_ != image_.cacheKey()) {
        // Alpha plays no part in a skin picture: only magenta is see-through.
        const QImage opaque = image_.convertToFormat(QImage::Format_RGB32);
        masked_ = QPixmap::fromImage(opaque);
        masked_.setMask(QBitmap::fromImage(opaque.createMaskFromColor(kTransparent, Qt::MaskInColor)));
        maskedKey_ = image_.cacheKey();
    }
    QPainter painter(this);
    const int x = ButtonFrameX(hovered_, pressed_, stateWidth);
    painter.drawPixmap(QPoint(0, 0), masked_, ImagePixels(image_, QRect(x, 0, stateWidth, info_.height)));
}

void BitmapButton::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    SetHovered(hovered_, true);
    emit clicked();
}

void BitmapButton::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    SetHovered(hovered_, false);
}

void BitmapButton::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    // While a button is held the moves keep coming after the pointer left;
    // outside counts as having left, which also drops the press.
    if (!rect().contains(event->position().toPoint())) {
        SetHovered(false, false);
        return;
    }
    if (!hovered_)
        SetHovered(true, pressed_);
}

void BitmapButton::leaveEvent(QEvent *event)
{
    SetHovered(false, false);
    QWidget::leaveEvent(event);
}

void BitmapButton::SetHovered(bool hovered, bool pressed)
{
    if (hovered == hovered_ && pressed == pressed_)
        return;
    hovered_ = hovered;
    pressed_ = pressed;
    repaint();
}

} // namespace velmo
