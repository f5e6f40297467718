#pragma once

#include "engine/VideoFrameSink.h"

#include <QImage>
#include <QRect>

class QPainter;
class QWidget;

namespace velmo {

/// How the frames the video screen is given reach its window: straight from
/// the X server (PictureWindow) or painted by the screen (PaintedPicture).
/// The screen picks one when it is made and swaps, once, to the painted one
/// when the server refuses a picture. Rectangles are in screen coordinates;
/// the screen itself paints the background, the black bars and the caption.
class PictureOutput {
public:
    virtual ~PictureOutput() = default;

    /// Shows `frame` over `frame.picture`; with an empty picture rectangle,
    /// shows none.
    virtual void ShowFrame(const VideoFrame &frame) = 0;
    /// The caption layer over the picture (a null image for none): device
    /// pixels, over `pixels`, the screen's rectangle in device pixels (its
    /// coordinates × its devicePixelRatio). With `putNow` false the layer
    /// waits for the next frame (which is on its way) instead of being put
    /// over the frame shown.
    virtual void SetCaption(const QImage &layer, const QRect &pixels, bool putNow = true) = 0;
    /// Shows no picture and lets go of the frame.
    virtual void ClearFrame() = 0;
    /// The screen's paint event: draws what of `frame` this output leaves to
    /// the screen's own pixels.
    virtual void Paint(QPainter &painter, const VideoFrame &frame) const = 0;
    /// The native window the picture is shown in; null when the screen paints
    /// it. A panel over such a window must be a native window too, or the
    /// picture hides it.
    virtual QWidget *NativeWindow() = 0;
};

} // namespace velmo
