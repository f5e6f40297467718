#pragma once

#include "engine/MediaFacets.h"

#include <QTimer>

#include <deque>
#include <string>
#include <utility>

typedef struct _GMainContext GMainContext;
typedef struct _GstDiscoverer GstDiscoverer;
typedef struct _GstDiscovererInfo GstDiscovererInfo;
typedef struct _GError GError;

namespace velmo {

/// GStreamer's discoverer in its asynchronous mode: it finds one medium's
/// duration after another on its own threads and reports on a main context
/// of ours, which a timer on the UI thread turns while answers are owed (so
/// it works whatever Qt's event dispatcher is). UI thread only.
class GstDurationProbe : public DurationProbe {
public:
    GstDurationProbe();
    ~GstDurationProbe() override;
    GstDurationProbe(const GstDurationProbe &) = delete;
    GstDurationProbe &operator=(const GstDurationProbe &) = delete;

    void SetListener(Answer answer) override { answer_ = std::move(answer); }
    void Ask(const std::string &path) override;

    /// How long one medium may take before its answer is "unknown".
    static constexpr int kTimeoutMs = 5000;

private:
    bool Start();
    void Pump();
    void Tell(const std::string &path, int64_t durationMs);
    static void OnDiscovered(GstDiscoverer *discoverer, GstDiscovererInfo *info, GError *error, void *self);

    GMainContext *context_ = nullptr;
    GstDiscoverer *discoverer_ = nullptr;
    bool broken_ = false;                                  ///< the discoverer could not be made
    std::deque<std::pair<std::string, std::string>> owed_; ///< (URI, path) asked and not yet answered
    QTimer pump_;
    Answer answer_;
};

} // namespace velmo
