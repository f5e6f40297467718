#pragma once

#include "engine/GstHandles.h"

#include <QObject>

#include <functional>
#include <memory>

namespace velmo {

/// Carries the messages of a GStreamer bus to the UI thread: a sync handler
/// queues each message to this object, which hands it to `handler` there.
/// Detach (or destroy the pipeline's threads) before destroying the bridge.
class GstBusBridge : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(GstMessage *)>;
    explicit GstBusBridge(Handler handler);
    ~GstBusBridge() override;

    /// Starts taking the messages of `bus` (once per bridge).
    void Attach(GstBus *bus);
    /// Stops taking messages; those already queued are dropped. Call it once
    /// the pipeline's threads have stopped (state NULL).
    void Detach();

private:
    static GstBusSyncReply SyncHandler(GstBus *bus, GstMessage *message, gpointer self);
    Handler handler_;
    GstBusPtr bus_;
    const std::shared_ptr<bool> alive_; ///< read on the UI thread only
};

} // namespace velmo
