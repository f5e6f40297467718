#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace velmo {

/// Whether `event` is input that the top-level window also acts on (its
/// mouse handling moves and sizes the borderless window from anywhere).
inline bool IsForwardedInput(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

/// When `event` is such input, posts a copy of it to the top-level window of
/// `from`, accepts it and returns true. The copy keeps the pointer's screen
/// position, which is what the window reads.
inline bool ForwardInput(QWidget *from, QEvent *event)
{
    if (!IsForwardedInput(event))
        return false;
    QWidget *target = from->window();
    if (target && target != from)
        QCoreApplication::postEvent(target, event->clone());
    event->accept();
    return true;
}

} // namespace velmo
