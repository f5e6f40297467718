#include "engine/UserMessage.h"

#include <QLoggingCategory>

#include <utility>

namespace velmo {

Q_LOGGING_CATEGORY(lcMessage, "velmo.engine.message")

namespace {
UserMessageHook &Hook()
{
    static UserMessageHook hook;
    return hook;
}
} // namespace

UserMessageHook SetUserMessageHook(UserMessageHook hook)
{
    return std::exchange(Hook(), std::move(hook));
}

void ShowUserMessage(QObject *parent, const QString &text)
{
    if (Hook())
        Hook()(parent, text);
    else
        qCWarning(lcMessage, "%s", qUtf8Printable(text));
}

} // namespace velmo
