#pragma once

#include <QString>

#include <functional>

class QObject;

namespace velmo {

/// How the engine shows the user a message (the codec message): the
/// application installs a function that shows it in a box, tests one that
/// records it. Called on the UI thread with the window the message belongs to.
using UserMessageHook = std::function<void(QObject *parent, const QString &text)>;

/// Installs `hook` (empty: none); returns the one it replaces.
UserMessageHook SetUserMessageHook(UserMessageHook hook);

/// Shows `text` over `parent` through the hook; with none installed it is
/// only logged.
void ShowUserMessage(QObject *parent, const QString &text);

} // namespace velmo
