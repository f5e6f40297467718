#pragma once

#include "engine/MediaFacets.h"

#include <QEvent>
#include <QPointer>

#include <deque>

namespace velmo {

/// The QEvent type a notify window receives once per queued event when it was
/// registered with SetNotifyWindow(window, WM_MEDIA_EVENT, 0):
/// QEvent::User + WM_MEDIA_EVENT. The event carries nothing; drain the queue
/// with GetEvent until it fails.
QEvent::Type MediaEventType();

/// The QEvent type for a registration with `message`: QEvent::User + message.
QEvent::Type NotifyEventType(int32_t message);

/// The event queue shared by the graph implementations: events wait here until
/// the notify window drains them. UI thread only.
class EventQueue : public MediaEventEx {
public:
    HResult SetNotifyWindow(QObject *window, int32_t message, intptr_t param) override;
    HResult GetEvent(int32_t *code, EventParam *param1, EventParam *param2, int32_t timeoutMs) override;
    HResult FreeEventParams(int32_t code, EventParam *param1, EventParam *param2) override;

    /// Appends an event and posts one notification to the notify window.
    void Queue(int32_t code, intptr_t param1, const QString &text = {});

private:
    struct Event {
        int32_t code = 0;
        EventParam param1;
        EventParam param2;
    };
    std::deque<Event> events_;
    QPointer<QObject> window_;
    int32_t message_ = 0;
};

} // namespace velmo
