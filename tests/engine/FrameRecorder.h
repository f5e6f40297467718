#pragma once

#include "engine/VideoFrameSink.h"

#include <QWidget>

namespace velmo::test {

/// A screen that keeps the last frame the video output hands over.
class FrameRecorder : public QWidget, public VideoFrameSink {
public:
    void ShowFrame(const VideoFrame &frame) override
    {
        last = frame;
        ++shown;
    }
    void ClearFrame() override { last = VideoFrame(); }
    qreal PixelRatio() const override { return ratio; }
    VideoFrame last;
    qreal ratio = 1;
    int shown = 0; ///< frames handed over so far
};

} // namespace velmo::test
