#pragma once

#include "engine/EventQueue.h"

#include <QEvent>

#include <cstdint>

namespace velmo {

/// A private message of the main window (WM_PLAYER_VOLUME, ...) as a posted
/// event of type QEvent::User + message, with its two arguments.
class PlayerMessage : public QEvent {
public:
    PlayerMessage(int32_t message, intptr_t wParam, intptr_t lParam)
        : QEvent(NotifyEventType(message)), wParam(wParam), lParam(lParam)
    {
    }
    intptr_t wParam;
    intptr_t lParam;
};

} // namespace velmo
