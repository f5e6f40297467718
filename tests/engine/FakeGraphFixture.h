#pragma once

// A media graph on the fake backend, its picture owner a child of a window,
// with a volume source of its own: the setting of the graph's fake tests.

#include "engine/MediaGraph.h"
#include "support/FakeMediaBackend.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace velmo::test {

class FakeGraphTest : public ::testing::Test {
protected:
    explicit FakeGraphTest(int32_t level) : backend(std::make_shared<FakeMediaBackend>()), graph(backend),
                                            volumeLevel(level)
    {
        graph.SetVolumeLevelSource(&volumeLevel);
        screen = new QWidget(&window);
    }
    std::vector<std::string> &calls() { return backend->script->calls; }

    std::shared_ptr<FakeMediaBackend> backend;
    MediaGraph graph;
    int32_t volumeLevel;
    QWidget window;
    QWidget *screen;
};

} // namespace velmo::test
