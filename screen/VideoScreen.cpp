#include "screen/VideoScreen.h"

#include "screen/FullScreenBand.h"
#include "screen/InputCopy.h"
#include "screen/PictureWindow.h"
#include "skin/SkinSet.h"
#include "subtitles/SubtitleOverlay.h"
#include "subtitles/SubtitleStyle.h"

#include <QMouseEvent>
#include <QScreen>
#include <QPainter>
#include <QPaintEvent>
#include <QRegion>
#include <QThread>

namespace velmo {

namespace {

/// Everything that changes the caption's pixels.
QString LayerKey(const QSize &size, qreal ratio, const SubtitleStyle &s, const ShownCaption &caption)
{
    // The markup shows only when the option is on; off, it does not make a
    // caption with another markup but the same text draw again.
    QString key = QStringLiteral("%1x%2@%13|%3|%4|%5|%6|%7|%8%9%10%11|%12")
        .arg(size.width())
        .arg(size.height())
        .arg(s.font ? s.font->key() : QString())
        .arg(s.Color)
        .arg(s.Outline)
        .arg(s.Shadow)
        .arg(s.Position)
        .arg(int(s.Outline_Use))
        .arg(int(s.Outline_Deep))
        .arg(int(s.Shadow_Use))
        .arg(int(s.Shadow_Deep))
        .arg(caption.text)
        .arg(ratio);
    if (!caption.markup.isEmpty())
        key += QStringLiteral("|markup|") + caption.markup;
    return key;
}

/// The part `pixels` of `layer`, as plain device pixels (a ratio of 1), so
/// that it composes pixel for pixel.
QImage Crop(const QImage &layer, const QRect &pixels)
{
    QImage part = layer.copy(pixels);
    part.setDevicePixelRatio(1);
    return part;
}

/// Copies `image` with its own size at `x`, `height` rows at most; where the
/// image has no pixels the strip stays black.
void BlitStrip(QPainter &painter, int x, int width, int height, const SkinImage &image)
{
    if (width <= 0 || height <= 0)
        return;
    painter.fillRect(QRect(x, 0, width, height), Qt::black);
    if (!image.bitmap.isNull())
        painter.drawImage(QPoint(x, 0), image.bitmap.image(), ImagePixels(image.bitmap.image(), QRect(0, 0, width, height)));
}

} // namespace

VideoScreen::VideoScreen(SkinSet &skinSet, const SubtitleStyle &style, QWidget *parent)
    : QWidget(parent), skinSet_(skinSet), style_(style)
{
    // Everything is painted here; Qt need not clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // Made now, while the medium is still being opened, not on the way of the first frame.
    if (PictureWindow *window = PictureWindow::Create(this, [this] { OnPictureRefused(); }))
        output_ = window;
    messageTimer_.setSingleShot(true);
    connect(&messageTimer_, &QTimer::timeout, this, [this] {
        messageLayer_ = QImage();
        messagePixels_ = QRect();
        UpdateOverlay();
    });
}

void VideoScreen::OnPictureRefused()
{
    // The window is in the middle of its own call: it goes once that is over.
    output_->NativeWindow()->deleteLater();
    output_ = &painted_;
    update(frame_.area);
}

VideoScreen::~VideoScreen() = default;

void VideoScreen::SetMedium(bool open, bool picture)
{
    mediumOpen_ = open;
    mediumHasPicture_ = open && picture;
    if (!open) {
        typesetLayer_ = QImage();
        typesetPixels_ = QRect();
    }
    Invalidate(true);
}

void VideoScreen::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    clientRect = rect();
    emit AreaChanged(clientRect);
    Invalidate(true);
}

void VideoScreen::Invalidate(bool erase)
{
    if (erase)
        ClearSubtitleLayer();
    update();
}

void VideoScreen::RedrawErase()
{
    ClearSubtitleLayer();
    repaint();
}

void VideoScreen::ClearSubtitleLayer()
{
    subtitleLayer_ = QImage();
    subtitlePixels_ = QRect();
    subtitleRect_ = QRect();
    subtitleKey_.clear();
    UpdateOverlay();
}

void VideoScreen::ShowMessage(const QString &text, int durationMs)
{
    QRect drawn;
    const QImage layer = DrawMessageLayer(size(), text, style_, &drawn, devicePixelRatioF());
    messageLayer_ = drawn.isEmpty() ? QImage() : Crop(layer, drawn);
    messagePixels_ = messageLayer_.isNull() ? QRect() : drawn;
    messageTimer_.start(durationMs);
    UpdateOverlay();
}

// The outputs take one layer over the picture; while more than one shows
// (the caption or the typeset captions, and a message), it is their
// rectangles together.
void VideoScreen::UpdateOverlay(bool putNow)
{
    const QRect old = overlayPixels_;
    const std::pair<const QImage *, const QRect *> layers[] = {
        {&subtitleLayer_, &subtitlePixels_}, {&typesetLayer_, &typesetPixels_}, {&messageLayer_, &messagePixels_}};
    int shown = 0;
    overlay_ = QImage();
    overlayPixels_ = QRect();
    for (const auto &[layer, pixels] : layers) {
        if (layer->isNull())
            continue;
        ++shown;
        overlay_ = *layer;
        overlayPixels_ |= *pixels;
    }
    if (shown > 1) {
        overlay_ = QImage(overlayPixels_.size(), QImage::Format_ARGB32_Premultiplied);
        overlay_.fill(Qt::transparent);
        QPainter painter(&overlay_);
        for (const auto &[layer, pixels] : layers)
            if (!layer->isNull())
                painter.drawImage(pixels->topLeft() - overlayPixels_.topLeft(), *layer);
    }
    output_->SetCaption(overlay_, overlayPixels_, putNow);
    const QRect dirty = ToScreen(old.united(overlayPixels_));
    if (!dirty.isEmpty())
        update(dirty);
}

bool VideoScreen::TakeTypeset(const VideoFrame &frame)
{
    if (!typesetSource_ || frame.timeMs < 0 || frame.picture.isEmpty())
        return false;
    const qreal ratio = devicePixelRatioF();
    const QRect picture(QPointF(frame.picture.topLeft() * ratio).toPoint(), frame.picture.size() * ratio);
    TypesetLayer layer;
    if (!typesetSource_(frame.timeMs, picture.size(), &layer))
        return false;
    typesetLayer_ = layer.image;
    typesetPixels_ = layer.image.isNull() ? QRect() : QRect(picture.topLeft() + layer.at, layer.image.size());
    return true;
}

void VideoScreen::RefreshTypeset()
{
    if (mediumOpen_ && TakeTypeset(frame_))
        UpdateOverlay();
}

QRect VideoScreen::ToScreen(const QRect &pixels) const
{
    const qreal ratio = devicePixelRatioF();
    return QRectF(QPointF(pixels.topLeft()) / ratio, QSizeF(pixels.size()) / ratio).toAlignedRect();
}

void VideoScreen::DrawSubtitle(const ShownCaption &caption)
{
    if (!mediumOpen_)
        return;
    const qreal ratio = devicePixelRatioF();
    const QString key = LayerKey(size(), ratio, style_, caption);
    if (key == subtitleKey_)
        return;
    ClearSubtitleLayer();
    subtitleKey_ = key;
    QRect drawn;
    const QImage layer = DrawSubtitleLayer(size(), caption, style_, &drawn, ratio);
    // Keep only the part that holds the caption: each frame then blends that
    // small part, not a whole screen of transparent pixels.
    const QRect bounds = layer.isNull() ? QRect() : drawn.intersected(layer.rect());
    if (!bounds.isEmpty()) {
        subtitleLayer_ = Crop(layer, bounds);
        subtitlePixels_ = bounds;
        subtitleRect_ = ToScreen(bounds);
    }
    UpdateOverlay();
}

void VideoScreen::ShowFrame(const VideoFrame &frame)
{
    Q_ASSERT(thread() == QThread::currentThread());
    const QRect before = frame_.picture;
    const bool areaChanged = frame.area != frame_.area;
    frame_ = frame;
    // The typeset captions of this frame's time go with it, in one put.
    if (mediumOpen_ && TakeTypeset(frame))
        UpdateOverlay(false);
    output_->ShowFrame(frame);
    // A new area or picture rectangle uncovers more than the picture.
    if (areaChanged || before != frame.picture)
        update(frame.area.united(before));
}

void VideoScreen::ClearFrame()
{
    Q_ASSERT(thread() == QThread::currentThread());
    frame_ = VideoFrame();
    output_->ClearFrame();
    update();
}

void VideoScreen::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    PaintBackground(painter);
    PaintPicture(painter);
    // A caption left from a medium now closed is not painted; a message is.
    if (overlay_.isNull() || (!mediumOpen_ && !subtitleLayer_.isNull()))
        return;
    const qreal ratio = devicePixelRatioF();
    if (ratio == 1) {
        painter.drawImage(overlayPixels_.topLeft(), overlay_);
        return;
    }
    // Device pixel for device pixel: a target of the layer's own size in device pixels.
    painter.drawImage(QRectF(QPointF(overlayPixels_.topLeft()) / ratio, QSizeF(overlayPixels_.size()) / ratio), overlay_);
}

void VideoScreen::PaintBackground(QPainter &painter)
{
    const int width = this->width();
    const int h = height();
    const SkinImage &left = skinSet_.screenLeft;
    const SkinImage &right = skinSet_.screenRight;
    BlitStrip(painter, 0, left.width, h, left);
    BlitStrip(painter, width - right.width, right.width, h, right);

    const QRect middle(left.width, 0, width - left.width - right.width, h);
    if (mediumHasPicture_) {
        // The video window covers the rest; until it has a frame it is black.
        if (frame_.image.isNull())
            painter.fillRect(middle, Qt::black);
        return;
    }
    const SkinImage &back = skinSet_.screenBack;
    if (middle.width() > 0) {
        if (back.bitmap.isNull())
            painter.fillRect(middle, Qt::black);
        else
            painter.drawImage(middle, back.bitmap.image());
    }
    const SkinImage &logo = skinSet_.logo;
    if (!logo.bitmap.isNull())
        painter.drawImage(QPoint(width / 2 - logo.width / 2, h / 2 - logo.height / 2), logo.bitmap.image(),
                          ImagePixels(logo.bitmap.image(), QRect(0, 0, logo.width, logo.height)));
}

void VideoScreen::PaintPicture(QPainter &painter)
{
    if (frame_.image.isNull() || !mediumOpen_)
        return;
    const QRect &picture = frame_.picture;
    QRegion bars = QRegion(frame_.area).subtracted(QRegion(picture));
    for (const QRect &bar : bars)
        painter.fillRect(bar, Qt::black);
    output_->Paint(painter, frame_);
}

void VideoScreen::ShowFullScreenPanels(int y)
{
    if (!coversScreen_)
        return;
    const int displayWidth = screen() ? screen()->geometry().width() : width();
    const auto apply = [&](QWidget *panel, const PanelPlacement &placement, int panelHeight) {
        if (!panel || !placement.shown)
            return;
        const BandDecision d =
            FullScreenBand(placement.align, y, clientRect.height(), panelHeight, clientRect.width(), displayWidth);
        if (d.action == BandDecision::Show) {
            // A panel over the picture window must be a window too, or the picture hides it.
            if (output_->NativeWindow())
                panel->setAttribute(Qt::WA_NativeWindow);
            panel->setGeometry(d.geometry);
            panel->show();
            panel->raise();
        } else if (d.action == BandDecision::Hide) {
            panel->hide();
        }
    };
    // The title bar first, as a panel claiming the same edge must win.
    apply(fullScreenTitleBar, skinSet_.topPanelPlacement, skinSet_.topPanel.height);
    apply(fullScreenPanel, skinSet_.controlPanelPlacement, skinSet_.controlPanel.height);
}

bool VideoScreen::event(QEvent *event)
{
    if (event->type() == QEvent::MouseMove)
        ShowFullScreenPanels(static_cast<QMouseEvent *>(event)->position().toPoint().y());
    // Input over the picture acts as it does anywhere in the main window.
    return ForwardInput(this, event) || QWidget::event(event);
}

} // namespace velmo
