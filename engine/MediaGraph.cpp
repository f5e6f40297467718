#include "engine/MediaGraph.h"

#include "engine/GstSupport.h"
#include "resources/CommandIds.h"

#include <QLoggingCategory>

#include <utility>

namespace velmo {

Q_LOGGING_CATEGORY(lcGraph, "velmo.engine.graph")

const char *const kCodecMessage =
    "이 동영상을 지원하는 코덱이 설치되지 않았을 확률이 높습니다!\t\n"
    "해당 동영상 파일의 손상여부.올바르지 못한 경로지정\t\n"
    "관련 코덱설치 여부를 체크해보십시요!";

MediaGraph::MediaGraph(std::shared_ptr<MediaBackend> backend) : backend_(std::move(backend)) {}

MediaGraph::~MediaGraph() = default;

MediaBackend *MediaGraph::Backend()
{
    if (!backend_)
        backend_ = CreateGstMediaBackend();
    return backend_.get();
}

SoundDeviceWatch *MediaGraph::SoundDevices()
{
    if (!soundDevices_)
        soundDevices_ = Backend()->CreateSoundDeviceWatch();
    return soundDevices_.get();
}

DurationProbe *MediaGraph::Durations()
{
    if (!durations_)
        durations_ = Backend()->CreateDurationProbe();
    return durations_.get();
}

PrefetchedMedia PrefetchMedia(MediaBackend &backend, const std::string &path)
{
    HResult hr = S_OK;
    PrefetchedMedia media{path, backend.CreateFilterGraph(&hr), backend.CreateOverlayMixer(&hr)};
    if (!media.graph || !media.overlayMixer || Failed(media.graph->AddFilter(media.overlayMixer, "Overlay Mixer")) ||
        Failed(media.graph->BeginRender(path)))
        return {};
    return media;
}

// A graph begun early for this medium is taken as it stands; one begun for
// anything else goes.
HResult MediaGraph::BeginGraph(const std::shared_ptr<PendingOpen> &open, const std::string &path)
{
    PrefetchedMedia early = std::exchange(prefetched_, {});
    if (early.graph && early.path == path) {
        open->graph = std::move(early.graph);
        open->overlayMixer = std::move(early.overlayMixer);
    } else {
        early = {};
        HResult hr = S_OK;
        open->graph = Backend()->CreateFilterGraph(&hr);
        if (!open->graph)
            return Failed(hr) ? hr : E_FAIL;
        open->overlayMixer = Backend()->CreateOverlayMixer(&hr);
        if (!open->overlayMixer)
            return Failed(hr) ? hr : E_FAIL;
        open->graph->AddFilter(open->overlayMixer, "Overlay Mixer");
    }
    // The graph goes with its open, but one kept alive elsewhere may still
    // answer: only the open under way hears.
    return open->graph->BeginRenderMedia(path, [this, weak = std::weak_ptr<PendingOpen>(open)](HResult hr) {
        const std::shared_ptr<PendingOpen> answered = weak.lock();
        if (answered && answered == opening_)
            OnRendered(answered, hr);
    });
}

HResult MediaGraph::BeginOpen(QObject *owner, const std::string &path, QObject *notify, OpenDone done)
{
    Q_ASSERT(OnUiThread());
    Release();
    mediaPath = path;
    subtitleLoaded = false;
    opening_ = std::make_shared<PendingOpen>();
    opening_->owner = owner;
    opening_->notify = notify ? notify : owner;
    opening_->done = std::move(done);
    const HResult begun = BeginGraph(opening_, path);
    if (Failed(begun)) {
        qCWarning(lcGraph, "cannot begin opening %s: 0x%08x", path.c_str(), static_cast<unsigned>(begun));
        opening_.reset();
    }
    return begun;
}

void MediaGraph::OnRendered(const std::shared_ptr<PendingOpen> &open, HResult rendered)
{
    opening_.reset();
    OpenDone done = std::move(open->done);
    HResult result = rendered;
    if (Failed(rendered)) {
        qCWarning(lcGraph, "cannot open %s: 0x%08x", mediaPath.c_str(), static_cast<unsigned>(rendered));
        // Nothing of the failed open outlives it, not even during `done`.
        open->graph.reset();
        open->overlayMixer.reset();
    } else {
        result = StartPlaying(*open);
        if (Failed(result))
            Release();
    }
    done(result);
}

// What the end of an open does before the caller hears of it: the facets
// become visible, the picture and the events find their windows, and it plays.
HResult MediaGraph::StartPlaying(PendingOpen &open)
{
    graph = std::move(open.graph);
    overlayMixer = std::move(open.overlayMixer);
    GraphFacets facets = graph->Facets();
    control = std::move(facets.control);
    events = std::move(facets.events);
    videoWindow = std::move(facets.videoWindow);
    basicAudio = std::move(facets.basicAudio);
    basicVideo = std::move(facets.basicVideo);
    position = std::move(facets.position);
    seeking = std::move(facets.seeking);
    captions = std::move(facets.captions);
    audioStreams = std::move(facets.audioStreams);
    frames = std::move(facets.frames);
    medium = std::move(facets.medium);
    sound = std::move(facets.sound);
    mixerInputPin = overlayMixer->FindPin("Input0");
    if (mixerInputPin)
        mixerPinConfig = QueryFacet<MixerPinConfig>(mixerInputPin);

    if (basicVideo)
        basicVideo->GetVideoSize(&videoWidth, &videoHeight);
    if (videoWindow) {
        videoWindow->put_Owner(open.owner);
        videoWindow->put_MessageDrain(open.owner);
    }
    if (events)
        events->SetNotifyWindow(open.notify, WM_MEDIA_EVENT, 0);
    if (videoWindow)
        videoWindow->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    if (basicAudio)
        basicAudio->put_Volume(volumeLevel_ ? *volumeLevel_ : 0);
    if (!control) {
        qCWarning(lcGraph, "%s opened without transport", mediaPath.c_str());
        return E_NOINTERFACE;
    }
    return control->Run();
}

HResult MediaGraph::Close()
{
    prefetched_ = {};
    return Release();
}

// Cancels the open under way and closes the open media; a graph begun early
// stays for the open it was begun for.
HResult MediaGraph::Release()
{
    opening_.reset();
    HResult result = S_OK;
    if (videoWindow) {
        videoWindow->put_Visible(false);
        videoWindow->put_Owner(nullptr);
    }
    if (events)
        result = events->SetNotifyWindow(nullptr, 0, 0);

    control.reset();
    events.reset();
    videoWindow.reset();
    basicVideo.reset();
    basicAudio.reset();
    position.reset();
    seeking.reset();
    captions.reset();
    audioStreams.reset();
    frames.reset();
    medium.reset();
    sound.reset();
    mixerPinConfig.reset();
    mixerInputPin.reset();
    overlayMixer.reset();
    graph.reset();
    return result;
}

bool MediaGraph::RefreshVideoSize()
{
    int32_t width = videoWidth;
    int32_t height = videoHeight;
    if (!basicVideo || Failed(basicVideo->GetVideoSize(&width, &height)))
        return false;
    if (width == videoWidth && height == videoHeight)
        return false;
    videoWidth = width;
    videoHeight = height;
    return true;
}

void MediaGraph::SetVideoRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (videoWindow)
        videoWindow->SetWindowPosition(x, y, width, height);
}

HResult MediaGraph::SeekBy(uint64_t delta, bool forward)
{
    if (!seeking)
        return E_NOINTERFACE;
    // The delta comes from the commands (5 s, 30 s); anything beyond int64 is
    // as good as "to the end".
    const int64_t d = delta > uint64_t(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(delta);
    int64_t current = 0;
    HResult hr = seeking->GetCurrentPosition(&current);
    if (Failed(hr))
        return hr;
    int64_t target = 0;
    if (forward) {
        int64_t duration = 0;
        hr = seeking->GetDuration(&duration);
        if (Failed(hr))
            return hr;
        target = (current > duration - d) ? duration : current + d;
    } else {
        target = d > current ? 0 : current - d;
    }
    return seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame, nullptr,
                                 AM_SEEKING_NoPositioning);
}

HResult MediaGraph::AddSubtitleFile(const std::string &path)
{
    if (!graph)
        return E_NOINTERFACE;
    const HResult hr = graph->RenderFile(path);
    if (Failed(hr))
        return hr;
    subtitleLoaded = true;
    return S_OK;
}

HResult MediaGraph::CollectFilterNames()
{
    if (!graph)
        return E_NOINTERFACE;
    std::vector<std::string> names;
    const HResult hr = graph->EnumFilterNames(&names);
    if (Failed(hr))
        return hr;
    filterCount = 0;
    for (const std::string &name : names) {
        if (filterCount >= static_cast<int32_t>(filterNames.size()))
            break;
        filterNames[filterCount++] = name;
    }
    return S_OK;
}

std::shared_ptr<FilterPages> MediaGraph::FilterPagesOf(const std::string &name)
{
    return graph ? graph->FindFilterPages(name) : nullptr;
}

} // namespace velmo
