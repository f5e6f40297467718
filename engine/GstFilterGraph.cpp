#include "engine/GstFilterGraph.h"

#include "engine/GstFilterPages.h"
#include "engine/GstFlowFilters.h"
#include "engine/MediaUri.h"

namespace velmo {

namespace {

/// A facet that is a member of `graph`, sharing the graph's lifetime.
template <class Facet, class Graph>
std::shared_ptr<Facet> Share(const std::shared_ptr<Graph> &graph, Facet *facet)
{
    return std::shared_ptr<Facet>(graph, facet);
}

} // namespace

GstFilterGraph::GstFilterGraph()
    : captions_(CaptionTrack::Clock{
          [this](int64_t *ms) {
              int64_t ns = 0;
              if (!session_->PositionNs(&ns))
                  return false;
              *ms = ns / 1'000'000;
              return true;
          },
          [this] { return session_->Rate(); }, [this] { return session_->Playing(); },
          [this](const QString &text) { events_.Queue(EC_OLE_EVENT, 0, text); }})
{
}

std::shared_ptr<GstFilterGraph> GstFilterGraph::Create(int openTimeoutMs, HResult *result)
{
    std::shared_ptr<GstFilterGraph> graph(new GstFilterGraph());
    graph->session_ = PlaybinSession::Create(openTimeoutMs, graph->events_, result);
    if (!graph->session_)
        return nullptr;
    GstFilterGraph *self = graph.get();
    graph->session_->SetListener({[self](int64_t ns) { self->captions_.Seek(ns / 1'000'000); },
                                  [self] { self->captions_.Resync(); },
                                  [self] { self->frames_->StepDone(); },
                                  [self](GstMessage *m) { self->medium_.Take(m, self->session_->Loaded()); }});
    PlaybinSession &session = *graph->session_;
    graph->control_ = std::make_unique<GstMediaControl>(session);
    graph->position_ = std::make_unique<GstMediaPosition>(session);
    graph->seeking_ = std::make_unique<GstMediaSeeking>(session);
    graph->audio_ = std::make_unique<GstBasicAudio>(session);
    graph->streams_ = std::make_unique<GstStreamChoice>(session, graph->captions_);
    if (GstElement *textSink = graph->streams_->TextSink())
        session.SetTextSink(textSink);
    graph->sound_ = std::make_unique<GstSoundOutput>(session);
    graph->frames_ = std::make_unique<GstFrameAccess>(
        session, graph->output_, [self](int64_t ns) { self->captions_.ShowAt(ns / 1'000'000); });
    return graph;
}

GstFilterGraph::~GstFilterGraph()
{
    if (output_)
        output_->SetSizeListener({});
    // The tracks read the session's clock.
    captions_.Clear();
    session_.reset();
}

GraphFacets GstFilterGraph::Facets()
{
    const std::shared_ptr<GstFilterGraph> self = shared_from_this();
    return {Share<MediaControl>(self, control_.get()), Share<MediaPosition>(self, position_.get()),
            Share<MediaSeeking>(self, seeking_.get()),  Share<BasicAudio>(self, audio_.get()),
            Share<BasicVideo>(self, &video_),           Share<VideoWindow>(self, &video_),
            Share<MediaEventEx>(self, &events_),        Share<CaptionControl>(self, &captions_),
            Share<StreamChoice>(self, streams_.get()),
            Share<FrameAccess>(self, frames_.get()),   Share<MediumInfo>(self, &medium_),
            Share<SoundOutput>(self, sound_.get())};
}

HResult GstFilterGraph::AddFilter(std::shared_ptr<BaseFilter> filter, const std::string &name)
{
    auto output = std::dynamic_pointer_cast<GstVideoOutput>(filter);
    if (!output)
        return E_INVALIDARG;
    if (output_)
        return VFW_E_WRONG_STATE;
    gst_object_set_name(GST_OBJECT(output->Bin()), name.c_str());
    session_->SetVideoSink(output->Bin());
    output->SetSizeListener([this](const QSize &size) { OnVideoSize(size); });
    output_ = std::move(output);
    return S_OK;
}

HResult GstFilterGraph::BeginRenderMedia(const std::string &pathOrAddress, RenderDone done)
{
    if (!done)
        return E_POINTER;
    return session_->Render(MediaUri(pathOrAddress), std::move(done));
}

HResult GstFilterGraph::RenderFile(const std::string &pathOrAddress)
{
    if (!session_->HasMedium())
        return VFW_E_WRONG_STATE;
    int64_t ns = 0;
    session_->PositionNs(&ns);
    return captions_.Add(pathOrAddress, ns / 1'000'000);
}

HResult GstFilterGraph::BeginRender(const std::string &pathOrAddress)
{
    return session_->Begin(MediaUri(pathOrAddress));
}

// The size the open read may change later: a live stream, or a broadcast
// whose programme changes. The window fits itself again on the event.
void GstFilterGraph::OnVideoSize(const QSize &size)
{
    if (!session_->Loaded())
        return;
    events_.Queue(EC_VIDEO_SIZE_CHANGED, intptr_t(size.width() & 0xFFFF) | (intptr_t(size.height() & 0xFFFF) << 16));
}

std::vector<GstElementPtr> GstFilterGraph::Filters() const
{
    std::vector<GstElement *> units;
    if (output_)
        units.push_back(output_->Bin());
    std::vector<GstElementPtr> filters = FlowFilters(Pipeline(), units);
    for (const GstElementPtr &source : captions_.Sources())
        filters.push_back(RefElement(source.get()));
    return filters;
}

GstElementPtr GstFilterGraph::FindFilter(const std::string &name) const
{
    for (GstElementPtr &filter : Filters()) {
        GCharPtr filterName(gst_object_get_name(GST_OBJECT(filter.get())));
        if (filterName && name == filterName.get())
            return std::move(filter);
    }
    return nullptr;
}

HResult GstFilterGraph::EnumFilterNames(std::vector<std::string> *names)
{
    if (!names)
        return E_POINTER;
    names->clear();
    for (const GstElementPtr &filter : Filters()) {
        GCharPtr name(gst_object_get_name(GST_OBJECT(filter.get())));
        names->emplace_back(name ? name.get() : "");
    }
    return S_OK;
}

std::shared_ptr<FilterPages> GstFilterGraph::FindFilterPages(const std::string &name)
{
    GstElementPtr filter = FindFilter(name);
    return filter ? std::make_shared<GstFilterPages>(filter.get()) : nullptr;
}

} // namespace velmo
