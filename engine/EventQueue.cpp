#include "engine/EventQueue.h"

#include "engine/GstSupport.h"
#include "resources/CommandIds.h"

#include <QCoreApplication>

namespace velmo {

QEvent::Type NotifyEventType(int32_t message)
{
    return static_cast<QEvent::Type>(QEvent::User + message);
}

QEvent::Type MediaEventType()
{
    return NotifyEventType(WM_MEDIA_EVENT);
}

HResult EventQueue::SetNotifyWindow(QObject *window, int32_t message, intptr_t)
{
    window_ = window;
    message_ = message;
    return S_OK;
}

HResult EventQueue::GetEvent(int32_t *code, EventParam *param1, EventParam *param2, int32_t)
{
    if (!code || !param1 || !param2)
        return E_POINTER;
    // Nothing arrives while the caller waits on the UI thread, so a time-out
    // other than 0 cannot help: an empty queue fails at once.
    if (events_.empty())
        return E_ABORT;
    Event e = std::move(events_.front());
    events_.pop_front();
    *code = e.code;
    *param1 = std::move(e.param1);
    *param2 = std::move(e.param2);
    return S_OK;
}

HResult EventQueue::FreeEventParams(int32_t, EventParam *param1, EventParam *param2)
{
    if (param1)
        *param1 = {};
    if (param2)
        *param2 = {};
    return S_OK;
}

void EventQueue::Queue(int32_t code, intptr_t param1, const QString &text)
{
    Q_ASSERT(OnUiThread());
    Event e;
    e.code = code;
    e.param1.value = param1;
    e.param2.text = text;
    events_.push_back(std::move(e));
    if (window_)
        QCoreApplication::postEvent(window_, new QEvent(NotifyEventType(message_)));
}

} // namespace velmo
