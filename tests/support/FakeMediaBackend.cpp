#include "support/FakeMediaBackend.h"

#include <QObject>
#include <QTimer>

#include <cmath>

namespace velmo {

namespace {

class FakeDurationProbe : public DurationProbe {
public:
    explicit FakeDurationProbe(std::shared_ptr<FakeMediaScript> script) : script_(std::move(script)) {}
    void SetListener(Answer answer) override { answer_ = std::move(answer); }
    void Ask(const std::string &path) override
    {
        script_->durationsAsked.push_back(path);
        const auto medium = script_->media.find(path);
        const int64_t ms = medium == script_->media.end() || medium->second.duration < 0
                               ? -1
                               : std::llround(medium->second.duration * 1000.0);
        QTimer::singleShot(0, &context_, [this, path, ms] {
            if (answer_)
                answer_(path, ms);
        });
    }

private:
    std::shared_ptr<FakeMediaScript> script_;
    Answer answer_;
    QObject context_; ///< answers still queued go with the probe
};

} // namespace

HResult FakeMixerPin::SetAspectRatioMode(int32_t m)
{
    script_->calls.push_back("SetAspectRatioMode(" + std::to_string(m) + ")");
    if (m != AM_ARMODE_STRETCHED && m != AM_ARMODE_LETTER_BOX)
        return E_INVALIDARG;
    mode = m;
    return S_OK;
}

HResult FakeMixerPin::GetAspectRatioMode(int32_t *m)
{
    if (!m)
        return E_POINTER;
    *m = mode;
    return S_OK;
}

FakeOverlayMixer::FakeOverlayMixer(std::shared_ptr<FakeMediaScript> script)
    : pin(std::make_shared<FakeMixerPin>(std::move(script)))
{
}

std::shared_ptr<MediaPin> FakeOverlayMixer::FindPin(const std::string &name)
{
    if (!pin || name != pin->Name())
        return nullptr;
    return pin;
}

FakeMediaBackend::FakeMediaBackend() : script(std::make_shared<FakeMediaScript>()) {}

std::unique_ptr<DurationProbe> FakeMediaBackend::CreateDurationProbe()
{
    return std::make_unique<FakeDurationProbe>(script);
}

std::shared_ptr<GraphBuilder> FakeMediaBackend::CreateFilterGraph(HResult *result)
{
    if (Failed(createGraphResult)) {
        if (result)
            *result = createGraphResult;
        return nullptr;
    }
    auto graph = std::make_shared<FakeFilterGraph>(script);
    lastGraph_ = graph;
    if (result)
        *result = S_OK;
    return graph;
}

std::shared_ptr<BaseFilter> FakeMediaBackend::CreateOverlayMixer(HResult *result)
{
    if (Failed(createMixerResult)) {
        if (result)
            *result = createMixerResult;
        return nullptr;
    }
    auto mixer = std::make_shared<FakeOverlayMixer>(script);
    if (!mixerHasPin)
        mixer->pin.reset();
    lastMixer_ = mixer;
    if (result)
        *result = S_OK;
    return mixer;
}

void FakeMediaBackend::AddMedia(const std::string &path, const FakeMediaInfo &info)
{
    script->media[path] = info;
}

void FakeMediaBackend::AddSubtitle(const std::string &path, HResult result)
{
    script->subtitles[path] = result;
}

} // namespace velmo
