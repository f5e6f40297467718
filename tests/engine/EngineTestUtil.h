#pragma once

#include "engine/EventQueue.h"
#include "engine/MediaFacets.h"

#include <QEvent>
#include <QObject>
#include <QTest>

#include <functional>
#include <utility>
#include <vector>

namespace velmo::test {

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

/// One drained event: its code and the text of its second parameter.
struct DrainedEvent {
    int32_t code = 0;
    QString text;
};

/// Takes every queued event, releasing each, as the main window does.
inline std::vector<DrainedEvent> Drain(MediaEventEx &events)
{
    std::vector<DrainedEvent> out;
    int32_t code = 0;
    EventParam p1, p2;
    while (Succeeded(events.GetEvent(&code, &p1, &p2, 0))) {
        out.push_back({code, p2.text});
        events.FreeEventParams(code, &p1, &p2);
    }
    return out;
}

} // namespace velmo::test
