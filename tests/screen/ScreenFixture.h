#pragma once

// What the video screen's tests share: a screen in a top-level window beside
// a media graph (the fake one or GStreamer), and a recorder of the input that
// reaches the window.

#include "engine/MediaGraph.h"
#include "screen/VideoScreen.h"
#include "skin/SkinSet.h"
#include "subtitles/SubtitleStyle.h"
#include "support/FakeMediaBackend.h"
#include "support/OpenAndWait.h"
#include "support/TempDir.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>
#include <QPointF>
#include <QRect>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace velmo::test {

/// A top-level window holding a video screen whose picture a MediaGraph
/// fills, joined as the main window and the player join them: the screen's
/// area goes to the graph, and an open is shown as the window shows `opened`.
/// The skin has no pictures until a test gives it some.
struct ScreenOnGraph {
    /// `backend`: null for GStreamer. `painted`: the screen paints its
    /// pictures itself, as where no X server takes them.
    explicit ScreenOnGraph(std::shared_ptr<MediaBackend> backend, bool painted = false)
        : skin(dir.path("none/skin.ini")), style(dir.path("none.ini")), graph(std::move(backend))
    {
        if (painted)
            qputenv("VELMO_PAINTED_PICTURE", "1");
        screen = new VideoScreen(skin, style, &window);
        qunsetenv("VELMO_PAINTED_PICTURE");
        QObject::connect(screen, &VideoScreen::AreaChanged, screen,
                         [this](const QRect &r) { graph.SetVideoRect(r.x(), r.y(), r.width(), r.height()); });
    }

    /// Opens `path` with the picture in the screen; once open, the screen
    /// shows the medium and the picture fills the screen's area.
    HResult Open(const std::string &path)
    {
        const HResult result = OpenAndWait(graph, screen, path, &window);
        if (Succeeded(result)) {
            screen->SetMedium(true, graph.videoWidth > 0);
            const QRect area = screen->rect();
            graph.SetVideoRect(area.x(), area.y(), area.width(), area.height());
        }
        return result;
    }
    /// Closes the medium, and the screen shows none.
    void Close()
    {
        graph.Close();
        screen->SetMedium(false, false);
    }

    TempDir dir;
    SkinSet skin;
    SubtitleStyle style;
    MediaGraph graph;
    QWidget window;
    VideoScreen *screen = nullptr; ///< owned by `window`
};

/// The screen on the fake graph.
struct ScreenOnFakeGraph : ScreenOnGraph {
    explicit ScreenOnFakeGraph(bool painted = false) : ScreenOnFakeGraph(std::make_shared<FakeMediaBackend>(), painted) {}
    ScreenOnFakeGraph(std::shared_ptr<FakeMediaBackend> fake, bool painted)
        : ScreenOnGraph(fake, painted), backend(std::move(fake))
    {
    }

    std::shared_ptr<FakeMediaBackend> backend;
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
