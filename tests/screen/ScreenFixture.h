#pragma once

// What the video screen's tests share: a screen in a top-level window on the
// fake graph, and a recorder of the input that reaches the window.

#include "engine/MediaGraph.h"
#include "screen/VideoScreen.h"
#include "skin/SkinSet.h"
#include "subtitles/SubtitleStyle.h"
#include "support/FakeMediaBackend.h"
#include "support/TempDir.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>
#include <QPointF>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace velmo::test {

/// A top-level window holding a video screen on the fake graph; the skin has
/// no pictures until a test gives it some.
struct ScreenOnFakeGraph {
    /// `painted`: the screen paints its pictures itself, as where no X server takes them.
    explicit ScreenOnFakeGraph(bool painted = false)
        : skin(dir.path("none/skin.ini")), style(dir.path("none.ini")), backend(std::make_shared<FakeMediaBackend>()),
          graph(backend)
    {
        if (painted)
            qputenv("VELMO_PAINTED_PICTURE", "1");
        screen = new VideoScreen(skin, graph, style, &window);
        qunsetenv("VELMO_PAINTED_PICTURE");
    }

    TempDir dir;
    SkinSet skin;
    SubtitleStyle style;
    std::shared_ptr<FakeMediaBackend> backend;
    MediaGraph graph;
    QWidget window;
    VideoScreen *screen = nullptr; ///< owned by `window`
};

/// Records the input a window receives: the type, and the position of a
/// mouse event or the key of a key event (as x).
struct InputRecorder : QObject {
    explicit InputRecorder(QObject *watched) { watched->installEventFilter(this); }

    std::vector<std::pair<QEvent::Type, QPointF>> events;

    long Count(QEvent::Type type) const
    {
        return std::count_if(events.begin(), events.end(), [type](const auto &e) { return e.first == type; });
    }
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (auto *m = dynamic_cast<QMouseEvent *>(e))
            events.emplace_back(e->type(), m->position());
        else if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease)
            events.emplace_back(e->type(), QPointF(static_cast<QKeyEvent *>(e)->key(), 0));
        return false;
    }
};

} // namespace velmo::test
