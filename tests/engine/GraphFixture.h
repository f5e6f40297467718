#pragma once

// The fixture of the tests that play real media through a MediaGraph.

#include "engine/GstFilterGraph.h"
#include "engine/MediaGraph.h"
#include "EngineTestUtil.h"
#include "fixtures/MediaFixtures.h"
#include "support/OpenAndWait.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace velmo::test {

/// A MediaGraph on GStreamer whose picture goes to `screen` (320×240, inside
/// `window`) and whose events go to `window`. Skipped where the fixture clips
/// cannot be made or played.
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

    /// Opens `media` as the player does and waits for the open's end, which it returns.
    HResult Open(const std::string &media) { return OpenAndWait(graph, screen, media, &window); }
    GstFilterGraph &Gst() { return dynamic_cast<GstFilterGraph &>(*graph.graph); }
    GstElement *Pipeline() { return Gst().Pipeline(); }

    MediaGraph graph;
    QWidget window;
    QWidget *screen = nullptr;
};

} // namespace velmo::test
