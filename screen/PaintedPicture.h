#pragma once

#include "screen/PictureOutput.h"

namespace velmo {

/// The picture painted into the video screen's own pixels: wherever no X
/// server takes our memory (another platform, a remote display, no shared
/// memory, VELMO_PAINTED_PICTURE set) or once it has refused it.
class PaintedPicture final : public PictureOutput {
public:
    /// `screen` is the video screen, which outlives this output.
    explicit PaintedPicture(QWidget &screen) : screen_(screen) {}

    void ShowFrame(const VideoFrame &frame) override;
    /// The screen paints the caption layer itself.
    void SetCaption(const QImage &, const QRect &, bool) override {}
    /// The screen repaints itself on its own clear.
    void ClearFrame() override {}
    void Paint(QPainter &painter, const VideoFrame &frame) const override;
    QWidget *NativeWindow() override { return nullptr; }

private:
    QWidget &screen_;
};

} // namespace velmo
