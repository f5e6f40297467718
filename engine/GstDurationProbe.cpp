#include "engine/GstDurationProbe.h"

#include "engine/MediaUri.h"

#include <QLoggingCategory>

#include <gst/pbutils/pbutils.h>

#include <algorithm>

namespace velmo {

Q_LOGGING_CATEGORY(lcDurations, "velmo.engine.durations")

namespace {

// Often enough that a list fills as fast as the discoverer works, rarely
// enough to cost nothing.
constexpr int kPumpMs = 10;
// A turn of the pump hands over at most this many events, so that a burst
// never holds the UI thread.
constexpr int kEventsPerPump = 32;

} // namespace

GstDurationProbe::GstDurationProbe()
{
    pump_.setInterval(kPumpMs);
    QObject::connect(&pump_, &QTimer::timeout, [this] { Pump(); });
}

GstDurationProbe::~GstDurationProbe()
{
    pump_.stop();
    answer_ = nullptr; // whoever listened may be gone already
    if (discoverer_) {
        g_signal_handlers_disconnect_by_data(discoverer_, this);
        gst_discoverer_stop(discoverer_);
        g_object_unref(discoverer_);
    }
    if (context_) {
        while (g_main_context_iteration(context_, FALSE)) {
        }
        g_main_context_unref(context_);
    }
}

bool GstDurationProbe::Start()
{
    if (discoverer_ || broken_)
        return discoverer_ != nullptr;
    GError *raw = nullptr;
    discoverer_ = gst_discoverer_new(GstClockTime(kTimeoutMs) * GST_MSECOND, &raw);
    if (!discoverer_) {
        qCWarning(lcDurations, "no discoverer: %s", raw ? raw->message : "no reason given");
        if (raw)
            g_error_free(raw);
        broken_ = true;
        return false;
    }
    g_signal_connect(discoverer_, "discovered", G_CALLBACK(&GstDurationProbe::OnDiscovered), this);
    // The discoverer reports on the context that is the thread's default when it starts.
    context_ = g_main_context_new();
    g_main_context_push_thread_default(context_);
    gst_discoverer_start(discoverer_);
    g_main_context_pop_thread_default(context_);
    return true;
}

void GstDurationProbe::Ask(const std::string &path)
{
    const std::string uri = MediaUri(path);
    if (uri.empty() || !Start() || !gst_discoverer_discover_uri_async(discoverer_, uri.c_str())) {
        // Answered later all the same, never from inside the ask.
        QTimer::singleShot(0, &pump_, [this, path] { Tell(path, -1); });
        return;
    }
    owed_.emplace_back(uri, path);
    if (!pump_.isActive())
        pump_.start();
}

void GstDurationProbe::Pump()
{
    for (int i = 0; i < kEventsPerPump && g_main_context_iteration(context_, FALSE); ++i) {
    }
    if (owed_.empty())
        pump_.stop();
}

void GstDurationProbe::Tell(const std::string &path, int64_t durationMs)
{
    if (answer_)
        answer_(path, durationMs);
}

// Runs in Pump, on the UI thread.
void GstDurationProbe::OnDiscovered(GstDiscoverer *, GstDiscovererInfo *info, GError *error, void *self)
{
    auto *probe = static_cast<GstDurationProbe *>(self);
    const char *uri = gst_discoverer_info_get_uri(info);
    const auto owed = std::find_if(probe->owed_.begin(), probe->owed_.end(),
                                   [&](const auto &entry) { return uri && entry.first == uri; });
    if (owed == probe->owed_.end())
        return;
    const std::string path = owed->second;
    probe->owed_.erase(owed);
    const GstClockTime duration = gst_discoverer_info_get_duration(info);
    const bool known = GST_CLOCK_TIME_IS_VALID(duration) && duration > 0;
    if (!known)
        qCInfo(lcDurations, "no duration for %s: %s", path.c_str(), error ? error->message : "none given");
    probe->Tell(path, known ? int64_t(duration / GST_MSECOND) : -1);
}

} // namespace velmo
