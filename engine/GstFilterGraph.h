#pragma once

#include "engine/CaptionTracks.h"
#include "engine/EventQueue.h"
#include "engine/GstFacets.h"
#include "engine/GstFrameAccess.h"
#include "engine/GstMediumInfo.h"
#include "engine/GstSoundOutput.h"
#include "engine/GstHandles.h"
#include "engine/GstStreams.h"
#include "engine/GstVideoOutput.h"
#include "engine/MediaFacets.h"
#include "engine/PlaybinParts.h"
#include "engine/PlaybinSession.h"

#include <memory>
#include <string>
#include <vector>

namespace velmo {

/// The graph on one GStreamer playbin (a PlaybinSession): the picture goes to
/// the video output added as "Overlay Mixer", captions of added SAMI files
/// come from CaptionTracks, and the facets are adapters over the session and
/// the output. UI thread only.
class GstFilterGraph : public GraphBuilder, public std::enable_shared_from_this<GstFilterGraph> {
public:
    /// A graph whose BeginRenderMedia gives up after `openTimeoutMs`; null with
    /// *result set when playbin is missing.
    static std::shared_ptr<GstFilterGraph> Create(int openTimeoutMs, HResult *result);
    ~GstFilterGraph() override;

    GraphFacets Facets() override;
    HResult AddFilter(std::shared_ptr<BaseFilter> filter, const std::string &name) override;
    HResult BeginRenderMedia(const std::string &pathOrAddress, RenderDone done) override;
    HResult RenderFile(const std::string &pathOrAddress) override;
    HResult BeginRender(const std::string &pathOrAddress) override;
    HResult EnumFilterNames(std::vector<std::string> *names) override;
    std::shared_ptr<FilterPages> FindFilterPages(const std::string &name) override;

    /// The name of the graph's volume element (inside the audio filter).
    static constexpr const char *kVolumeName = kPlayerVolumeName;
    /// The playbin, for diagnostics and benchmarks.
    GstElement *Pipeline() const { return session_->Pipeline(); }
    /// The filters EnumFilterNames names, in its order: the stream's own in
    /// the order it flows (see FlowFilters), then one source per SAMI file.
    std::vector<GstElementPtr> Filters() const;
    /// The first of Filters() called `name`, or null.
    GstElementPtr FindFilter(const std::string &name) const;

private:
    GstFilterGraph();
    void OnVideoSize(const QSize &size);

    EventQueue events_;
    std::unique_ptr<PlaybinSession> session_;
    std::shared_ptr<GstVideoOutput> output_;
    CaptionTracks captions_;
    std::unique_ptr<GstMediaControl> control_;
    std::unique_ptr<GstMediaPosition> position_;
    std::unique_ptr<GstMediaSeeking> seeking_;
    std::unique_ptr<GstBasicAudio> audio_;
    std::unique_ptr<GstFrameAccess> frames_;
    std::unique_ptr<GstStreamChoice> streams_;
    GstMediumInfo medium_{events_};
    std::unique_ptr<GstSoundOutput> sound_;
    GstVideoFacets video_{output_};
};

} // namespace velmo
