#include "engine/GstSoundOutput.h"

#include "engine/GstBusBridge.h"
#include "engine/GstSupport.h"
#include "engine/PlaybinSession.h"

#include <QLoggingCategory>

namespace velmo {

Q_LOGGING_CATEGORY(lcSound, "velmo.engine.gst")

namespace {

bool HasProperty(gpointer object, const char *name)
{
    return g_object_class_find_property(G_OBJECT_GET_CLASS(object), name) != nullptr;
}

// The sink that plays: the audio sink itself, or the one an automatic sink
// chose inside it; null when it has no device to set.
GstElementPtr DeviceSink(GstElement *audioSink)
{
    if (!audioSink)
        return nullptr;
    if (!GST_IS_BIN(audioSink))
        return HasProperty(audioSink, "device") ? RefElement(audioSink) : nullptr;
    GstIteratorPtr it(gst_bin_iterate_sinks(GST_BIN(audioSink)));
    GValue item = G_VALUE_INIT;
    GstElementPtr found;
    while (!found && gst_iterator_next(it.get(), &item) == GST_ITERATOR_OK) {
        found = DeviceSink(GST_ELEMENT(g_value_get_object(&item)));
        g_value_reset(&item);
    }
    g_value_unset(&item);
    return found;
}

// The device property a device's own sink would be given: the output's id.
std::string DeviceId(GstDevice *device)
{
    GstElementPtr sink(gst_device_create_element(device, nullptr));
    if (sink)
        gst_object_ref_sink(sink.get());
    gchar *id = nullptr;
    if (sink && HasProperty(sink.get(), "device"))
        g_object_get(sink.get(), "device", &id, nullptr);
    GCharPtr owned(id);
    return id ? std::string(id) : std::string();
}

} // namespace

HResult GstSoundOutput::SetSoundDelay(int64_t delayMs)
{
    g_object_set(session_.Pipeline(), "av-offset", gint64(-delayMs * int64_t(GST_MSECOND)), nullptr);
    return S_OK;
}

HResult GstSoundOutput::SetSoundDevice(const std::string &deviceId)
{
    GstElement *audioSink = nullptr;
    g_object_get(session_.Pipeline(), "audio-sink", &audioSink, nullptr);
    GstElementPtr owned(audioSink);
    GstElementPtr sink = DeviceSink(audioSink);
    if (!sink)
        return E_NOTIMPL;
    // A playing stream is moved by name: without one the move fails, with an error.
    if (deviceId.empty())
        return S_FALSE;
    qCInfo(lcSound, "sound output: %s", deviceId.c_str());
    g_object_set(sink.get(), "device", deviceId.c_str(), nullptr);
    return S_OK;
}

GstSoundDevices::GstSoundDevices() = default;

GstSoundDevices::~GstSoundDevices()
{
    if (started_)
        gst_device_monitor_stop(monitor_.get());
    if (bridge_)
        bridge_->Detach();
}

std::vector<SoundDevice> GstSoundDevices::Devices()
{
    // Without a sound server the outputs would only be probed to find none.
    if (!HasSoundOutput())
        return {};
    if (!monitor_) {
        monitor_.reset(gst_device_monitor_new());
        gst_device_monitor_add_filter(monitor_.get(), "Audio/Sink", nullptr);
        bridge_ = std::make_unique<GstBusBridge>([this](GstMessage *m) { OnBusMessage(m); });
        GstBusPtr bus(gst_device_monitor_get_bus(monitor_.get()));
        bridge_->Attach(bus.get());
        started_ = gst_device_monitor_start(monitor_.get());
        if (!started_)
            qCInfo(lcSound, "the sound outputs cannot be watched");
    }
    std::vector<SoundDevice> devices;
    GList *list = started_ ? gst_device_monitor_get_devices(monitor_.get()) : nullptr;
    for (GList *l = list; l; l = l->next) {
        auto *device = static_cast<GstDevice *>(l->data);
        const std::string id = DeviceId(device);
        GCharPtr name(gst_device_get_display_name(device));
        GstStructure *properties = gst_device_get_properties(device);
        gboolean isDefault = FALSE;
        if (properties && !gst_structure_get_boolean(properties, "is-default", &isDefault))
            isDefault = FALSE;
        if (properties)
            gst_structure_free(properties);
        if (!id.empty())
            devices.push_back({id, QString::fromUtf8(name.get()), bool(isDefault)});
    }
    g_list_free_full(list, gst_object_unref);
    return devices;
}

void GstSoundDevices::OnBusMessage(GstMessage *message)
{
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if ((type == GST_MESSAGE_DEVICE_ADDED || type == GST_MESSAGE_DEVICE_REMOVED) && changed_)
        changed_();
}

} // namespace velmo
