#pragma once

#include "engine/EventQueue.h"
#include "engine/MediaFacets.h"

#include <gst/gst.h>

#include <QEvent>
#include <QObject>
#include <QStandardPaths>
#include <QTest>

#include <initializer_list>
#include <string>

#include <functional>
#include <utility>
#include <vector>

namespace velmo::test {

/// Why a test cannot run on this machine: the first of `plugins` (element
/// factories) that GStreamer lacks, or of `tools` that is not on the PATH;
/// empty when everything is there.
inline std::string MissingForTest(std::initializer_list<const char *> plugins,
                                  std::initializer_list<const char *> tools = {})
{
    for (const char *plugin : plugins) {
        GstElementFactory *factory = gst_element_factory_find(plugin);
        if (!factory)
            return std::string("GStreamer element ") + plugin + " is not installed";
        gst_object_unref(factory);
    }
    for (const char *tool : tools)
        if (QStandardPaths::findExecutable(QString::fromUtf8(tool)).isEmpty())
            return std::string(tool) + " is not installed";
    return {};
}

/// Skips the running test, with the reason, when MissingForTest names something.
#define VELMO_SKIP_UNLESS_PRESENT(...)                                                                                \
    do {                                                                                                              \
        if (const std::string missing = ::velmo::test::MissingForTest(__VA_ARGS__); !missing.empty())                 \
            GTEST_SKIP() << missing;                                                                                  \
    } while (false)

/// Skips the running test unless the clips of tests/fixtures can be made and
/// played: their tools and the elements that play them.
#define VELMO_SKIP_UNLESS_PLAYBACK()                                                                                 \
    VELMO_SKIP_UNLESS_PRESENT({"playbin", "appsink", "videoconvert", "videoscale", "matroskademux", "avdec_h264",  \
                               "x264enc", "matroskamux"},                                                            \
                              {"ffmpeg", "gst-launch-1.0", "flock"})

/// Runs the event loop until `done` holds or `timeoutMs` passes.
inline bool WaitUntil(const std::function<bool()> &done, int timeoutMs = 10000)
{
    return QTest::qWaitFor(done, timeoutMs);
}

/// Counts the media-event notifications an object receives.
class NotifyCounter : public QObject {
public:
    explicit NotifyCounter(QObject *watched) { watched->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == MediaEventType())
            ++count;
        return false;
    }
};

/// One drained event: its code, its first parameter's number and the text of
/// its second parameter.
struct DrainedEvent {
    int32_t code = 0;
    intptr_t value = 0;
    QString text;
};

/// Takes every queued event, releasing each, as the main window does.
inline std::vector<DrainedEvent> Drain(MediaEventEx &events)
{
    std::vector<DrainedEvent> out;
    int32_t code = 0;
    EventParam p1, p2;
    while (Succeeded(events.GetEvent(&code, &p1, &p2, 0))) {
        out.push_back({code, p1.value, p2.text});
        events.FreeEventParams(code, &p1, &p2);
    }
    return out;
}

} // namespace velmo::test
