#pragma once

// The fixture of the tests that play real media through a MediaGraph.

#include "app/MessageBox.h"
#include "engine/GstFilterGraph.h"
#include "engine/MediaGraph.h"
#include "EngineTestUtil.h"
#include "fixtures/MediaFixtures.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <optional>

namespace velmo::test {

/// A MediaGraph on GStreamer whose picture goes to `screen` (320×240, inside
/// `window`) and whose events go to `window`; message boxes are captured.
/// Skipped where the fixture clips cannot be made or played.
class RealGraphTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VELMO_SKIP_UNLESS_PLAYBACK();
        ASSERT_TRUE(EnsureFixtures());
        screen = new QWidget(&window);
        screen->resize(320, 240);
    }
    void TearDown() override { graph.Close(); }

    /// Opens `media` as the window does: BeginOpen, then the event loop until
    /// the open's end, which it returns (E_UNEXPECTED when none came in 20 s).
    HResult Open(const std::string &media)
    {
        std::optional<HResult> end;
        const HResult begun = graph.BeginOpen(screen, media, &window, [&end](HResult hr) { end = hr; });
        if (Failed(begun))
            return begun;
        if (!WaitUntil([&] { return end.has_value(); }, 20000)) {
            graph.Close(); // `end` goes with this call: the open must not outlive it
            return E_UNEXPECTED;
        }
        return *end;
    }
    GstFilterGraph &Gst() { return dynamic_cast<GstFilterGraph &>(*graph.graph); }
    GstElement *Pipeline() { return Gst().Pipeline(); }

    MediaGraph graph;
    QWidget window;
    QWidget *screen = nullptr;
    MessageBoxCapture boxes;
};

} // namespace velmo::test
