#pragma once

// Tests wait for an open as a user does: the call returns at once and the
// end comes from the event loop.

#include "engine/MediaGraph.h"

#include <QTest>

#include <optional>
#include <string>

namespace velmo::test {

/// Begins opening `path` on `graph` and waits up to `timeoutMs` for its end:
/// the open's result, the failure to begin, or VFW_E_TIMEOUT when no end
/// came (the open is then closed, so that no late end reaches this frame).
inline HResult OpenAndWait(MediaGraph &graph, QObject *owner, const std::string &path, QObject *notify = nullptr,
                           int timeoutMs = 20000)
{
    std::optional<HResult> end;
    const HResult begun = graph.BeginOpen(owner, path, notify, [&end](HResult result) { end = result; });
    if (Failed(begun))
        return begun;
    if (!QTest::qWaitFor([&end] { return end.has_value(); }, timeoutMs))
        graph.Close();
    return end.value_or(VFW_E_TIMEOUT);
}

} // namespace velmo::test
