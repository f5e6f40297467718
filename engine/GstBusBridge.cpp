#include "engine/GstBusBridge.h"

#include "engine/GstSupport.h"

namespace velmo {

GstBusBridge::GstBusBridge(Handler handler) : handler_(std::move(handler)), alive_(std::make_shared<bool>(true)) {}

GstBusBridge::~GstBusBridge()
{
    Detach();
}

void GstBusBridge::Attach(GstBus *bus)
{
    Detach();
    bus_ = RefObject(bus);
    gst_bus_set_sync_handler(bus, &GstBusBridge::SyncHandler, this, nullptr);
}

void GstBusBridge::Detach()
{
    if (!bus_)
        return;
    gst_bus_set_sync_handler(bus_.get(), nullptr, nullptr, nullptr);
    bus_.reset();
    // Messages queued before this point are dropped when they arrive.
    *alive_ = false;
}

// Whichever thread posts: a GStreamer thread, or the UI thread itself while it
// changes the pipeline's state.
GstBusSyncReply GstBusBridge::SyncHandler(GstBus *, GstMessage *message, gpointer self)
{
    auto *bridge = static_cast<GstBusBridge *>(self);
    // Returning DROP hands the message over: the queued call owns it, and a
    // message left unreleased keeps its source, and so the pipeline, alive.
    std::shared_ptr<GstMessage> held(message, GstMessageUnref());
    std::shared_ptr<bool> alive = bridge->alive_;
    QMetaObject::invokeMethod(
        bridge,
        [bridge, held, alive] {
            Q_ASSERT(OnUiThread());
            if (*alive && bridge->handler_)
                bridge->handler_(held.get());
        },
        Qt::QueuedConnection);
    return GST_BUS_DROP;
}

} // namespace velmo
