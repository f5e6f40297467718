#include "support/FakeFilterGraph.h"

#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace velmo {

namespace {
std::string Number(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

/// Pages that name their filter and hold nothing else.
class FakeFilterPages : public FilterPages {
public:
    explicit FakeFilterPages(std::string name) : name_(std::move(name)) {}
    QString Name() const override { return QString::fromStdString(name_); }
    std::vector<FilterProperty> Properties() const override { return {}; }
    QString Value(const QString &) const override { return {}; }
    QString PadsText() const override { return {}; }
    bool SetProperty(const QString &, const QString &) override { return false; }

private:
    std::string name_;
};
} // namespace

FakeFilterGraph::FakeFilterGraph(std::shared_ptr<FakeMediaScript> script) : script_(std::move(script))
{
    ++script_->graphsAlive;
}

FakeFilterGraph::~FakeFilterGraph()
{
    --script_->graphsAlive;
    Log("Release");
}

void FakeFilterGraph::Log(const std::string &call)
{
    script_->calls.push_back(call);
}

HResult FakeFilterGraph::AddFilter(std::shared_ptr<BaseFilter> filter, const std::string &name)
{
    Log("AddFilter(" + name + ")");
    return filter ? S_OK : E_POINTER;
}

HResult FakeFilterGraph::BeginRenderMedia(const std::string &pathOrAddress, RenderDone done)
{
    Log("RenderFile(" + pathOrAddress + ")");
    if (!done)
        return E_POINTER;
    if (!renderedPath.empty() || waitingRender_)
        return VFW_E_WRONG_STATE;
    waitingRender_ = std::move(done);
    waitingPath_ = pathOrAddress;
    const auto it = script_->media.find(pathOrAddress);
    if (it == script_->media.end() || it->second.answers)
        QTimer::singleShot(0, [graph = weak_from_this()] { AnswerRender(graph); });
    return S_OK;
}

FakeFilterGraph::RenderDone FakeFilterGraph::TakeRender(HResult *result)
{
    RenderDone done = std::exchange(waitingRender_, nullptr);
    if (!done)
        return nullptr;
    if (script_->onRender)
        script_->onRender();
    const auto it = script_->media.find(waitingPath_);
    *result = it == script_->media.end() ? VFW_E_NOT_FOUND : it->second.renderResult;
    if (Succeeded(*result)) {
        info = it->second;
        currentAudio = info.audio.empty() ? -1 : 0;
        renderedPath = waitingPath_;
        state = State_Paused;
    }
    return done;
}

bool FakeFilterGraph::AnswerRender(const std::weak_ptr<FakeFilterGraph> &graph)
{
    HResult result = S_OK;
    RenderDone done;
    if (const std::shared_ptr<FakeFilterGraph> held = graph.lock())
        done = held->TakeRender(&result);
    if (!done)
        return false;
    done(result);
    return true;
}

HResult FakeFilterGraph::RenderFile(const std::string &pathOrAddress)
{
    Log("RenderFile(" + pathOrAddress + ")");
    if (renderedPath.empty())
        return VFW_E_WRONG_STATE;
    auto sub = script_->subtitles.find(pathOrAddress);
    if (sub == script_->subtitles.end())
        return VFW_E_UNSUPPORTED_STREAM;
    if (Succeeded(sub->second))
        subtitleFiles.push_back(pathOrAddress);
    return sub->second;
}

HResult FakeFilterGraph::EnumFilterNames(std::vector<std::string> *names)
{
    if (!names)
        return E_POINTER;
    *names = script_->filterNames;
    return S_OK;
}

GraphFacets FakeFilterGraph::Facets()
{
    const std::shared_ptr<FakeFilterGraph> self = shared_from_this();
    const std::shared_ptr<StreamChoice> streams = script_->streamChoice ? self : nullptr;
    return {self, self, self, self, self, self, self, nullptr, streams, nullptr, self, self};
}

HResult FakeFilterGraph::SetCurrentAudioStream(int32_t index)
{
    Log("SetCurrentAudioStream(" + std::to_string(index) + ")");
    if (index < 0 || index >= int32_t(info.audio.size()))
        return E_INVALIDARG;
    currentAudio = index;
    return S_OK;
}

HResult FakeFilterGraph::ShowSubtitle(int32_t choice)
{
    Log("ShowSubtitle(" + std::to_string(choice) + ")");
    if (choice >= int32_t(info.texts.size()) || choice < kSubtitleFiles)
        return E_INVALIDARG;
    subtitleShown = choice;
    return S_OK;
}

HResult FakeFilterGraph::SetSoundDelay(int64_t delayMs)
{
    Log("SetSoundDelay(" + std::to_string(delayMs) + ")");
    soundDelayMs = delayMs;
    return S_OK;
}

HResult FakeFilterGraph::SetSoundDevice(const std::string &deviceId)
{
    Log("SetSoundDevice(" + deviceId + ")");
    soundDevice = deviceId;
    return S_OK;
}

std::shared_ptr<FilterPages> FakeFilterGraph::FindFilterPages(const std::string &name)
{
    const auto &names = script_->filterNames;
    const auto first = std::find(names.begin(), names.end(), name);
    if (first == names.end())
        return nullptr;
    script_->propertyFrames.push_back(name);
    script_->propertyFramePositions.push_back(static_cast<size_t>(first - names.begin()));
    return std::make_shared<FakeFilterPages>(name);
}

HResult FakeFilterGraph::Run()
{
    Log("Run");
    if (Failed(info.runResult))
        return info.runResult;
    state = State_Running;
    return S_OK;
}

HResult FakeFilterGraph::Pause()
{
    Log("Pause");
    state = State_Paused;
    return S_OK;
}

HResult FakeFilterGraph::Stop()
{
    Log("Stop");
    state = State_Stopped;
    return S_OK;
}

HResult FakeFilterGraph::GetState(int32_t, int32_t *s)
{
    if (!s)
        return E_POINTER;
    *s = state;
    return S_OK;
}

HResult FakeFilterGraph::get_Duration(double *seconds)
{
    if (!seconds)
        return E_POINTER;
    if (info.duration < 0)
        return E_FAIL;
    *seconds = info.duration;
    return S_OK;
}

HResult FakeFilterGraph::get_CurrentPosition(double *seconds)
{
    if (!seconds)
        return E_POINTER;
    *seconds = positionSeconds;
    return S_OK;
}

HResult FakeFilterGraph::put_CurrentPosition(double seconds)
{
    Log("put_CurrentPosition(" + Number(seconds) + ")");
    if (!info.seekable)
        return VFW_E_CANNOT_SEEK;
    positionSeconds = std::clamp(seconds, 0.0, std::max(info.duration, 0.0));
    return S_OK;
}

HResult FakeFilterGraph::CheckCapabilities(uint32_t *capabilities)
{
    if (!capabilities)
        return E_POINTER;
    const uint32_t all = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
                         AM_SEEKING_CanGetCurrentPos;
    const uint32_t have = info.seekable ? all : AM_SEEKING_CanGetCurrentPos;
    const uint32_t asked = *capabilities;
    *capabilities = asked & have;
    if (*capabilities == asked)
        return S_OK;
    return *capabilities ? S_FALSE : E_FAIL;
}

HResult FakeFilterGraph::GetCurrentPosition(int64_t *p)
{
    if (!p)
        return E_POINTER;
    *p = static_cast<int64_t>(positionSeconds * kUnitsPerSecond + 0.5);
    return S_OK;
}

HResult FakeFilterGraph::GetDuration(int64_t *d)
{
    if (!d)
        return E_POINTER;
    if (info.duration < 0)
        return E_FAIL;
    *d = static_cast<int64_t>(info.duration * kUnitsPerSecond + 0.5);
    return S_OK;
}

HResult FakeFilterGraph::SetPositions(int64_t *current, uint32_t currentFlags, int64_t *, uint32_t)
{
    if (!current)
        return E_POINTER;
    Log("SetPositions(" + std::to_string(*current) + ")");
    if (!info.seekable)
        return VFW_E_CANNOT_SEEK;
    if ((currentFlags & 0x3) == AM_SEEKING_AbsolutePositioning)
        positionSeconds = double(*current) / kUnitsPerSecond;
    else if ((currentFlags & 0x3) == AM_SEEKING_RelativePositioning)
        positionSeconds += double(*current) / kUnitsPerSecond;
    return S_OK;
}

HResult FakeFilterGraph::SetRate(double r)
{
    Log("SetRate(" + Number(r) + ")");
    if (r <= 0)
        return E_INVALIDARG;
    rate = r;
    return S_OK;
}

HResult FakeFilterGraph::GetRate(double *r)
{
    if (!r)
        return E_POINTER;
    *r = rate;
    return S_OK;
}

HResult FakeFilterGraph::put_Volume(int32_t v)
{
    Log("put_Volume(" + std::to_string(v) + ")");
    if (v < kVolumeSilent || v > kVolumeFull)
        return E_INVALIDARG;
    volume = v;
    return S_OK;
}

HResult FakeFilterGraph::get_Volume(int32_t *v)
{
    if (!v)
        return E_POINTER;
    *v = volume;
    return S_OK;
}

HResult FakeFilterGraph::GetVideoSize(int32_t *width, int32_t *height)
{
    if (!width || !height)
        return E_POINTER;
    if (info.width <= 0 || info.height <= 0)
        return VFW_E_NOT_CONNECTED;
    *width = info.width;
    *height = info.height;
    return S_OK;
}

HResult FakeFilterGraph::put_Owner(QObject *o)
{
    Log(std::string("put_Owner(") + (o ? "set" : "null") + ")");
    owner = o;
    return S_OK;
}

HResult FakeFilterGraph::put_MessageDrain(QObject *d)
{
    Log(std::string("put_MessageDrain(") + (d ? "set" : "null") + ")");
    drain = d;
    return S_OK;
}

HResult FakeFilterGraph::put_WindowStyle(int32_t style)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%08x", static_cast<unsigned>(style));
    Log(std::string("put_WindowStyle(") + buf + ")");
    return S_OK;
}

HResult FakeFilterGraph::put_Visible(bool v)
{
    Log(std::string("put_Visible(") + (v ? "1" : "0") + ")");
    visible = v;
    return S_OK;
}

HResult FakeFilterGraph::SetWindowPosition(int32_t x, int32_t y, int32_t width, int32_t height)
{
    Log("SetWindowPosition(" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(width) + "," +
        std::to_string(height) + ")");
    windowRect = QRect(x, y, width, height);
    return S_OK;
}

HResult FakeFilterGraph::SetNotifyWindow(QObject *window, int32_t message, intptr_t param)
{
    Log(std::string("SetNotifyWindow(") + (window ? "set" : "null") + ")");
    return eventQueue.SetNotifyWindow(window, message, param);
}

HResult FakeFilterGraph::GetEvent(int32_t *code, EventParam *param1, EventParam *param2, int32_t timeoutMs)
{
    return eventQueue.GetEvent(code, param1, param2, timeoutMs);
}

HResult FakeFilterGraph::FreeEventParams(int32_t code, EventParam *param1, EventParam *param2)
{
    return eventQueue.FreeEventParams(code, param1, param2);
}

void FakeFilterGraph::QueueEvent(int32_t code, intptr_t param1, const QString &text)
{
    eventQueue.Queue(code, param1, text);
}

void FakeFilterGraph::Complete()
{
    positionSeconds = std::max(info.duration, 0.0);
    QueueEvent(EC_COMPLETE);
}

} // namespace velmo
