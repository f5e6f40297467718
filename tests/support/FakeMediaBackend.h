#pragma once

#include "support/FakeFilterGraph.h"
#include "engine/MediaBackend.h"

#include <memory>

namespace velmo {

/// The fake video output's input pin "Input0" with its aspect-ratio mode.
class FakeMixerPin : public MediaPin, public MixerPinConfig {
public:
    explicit FakeMixerPin(std::shared_ptr<FakeMediaScript> script) : script_(std::move(script)) {}
    std::string Name() const override { return "Input0"; }
    HResult SetAspectRatioMode(int32_t mode) override;
    HResult GetAspectRatioMode(int32_t *mode) override;
    int32_t mode = AM_ARMODE_LETTER_BOX;

private:
    std::shared_ptr<FakeMediaScript> script_;
};

/// The fake video output ("Overlay Mixer").
class FakeOverlayMixer : public BaseFilter {
public:
    explicit FakeOverlayMixer(std::shared_ptr<FakeMediaScript> script);
    std::shared_ptr<MediaPin> FindPin(const std::string &name) override;
    std::shared_ptr<FakeMixerPin> pin;
};

/// Makes FakeFilterGraphs that all share one script and call log. Give it to
/// MediaGraph's constructor; script media with AddMedia before opening them.
class FakeMediaBackend : public MediaBackend {
public:
    FakeMediaBackend();
    std::shared_ptr<GraphBuilder> CreateFilterGraph(HResult *result) override;
    std::shared_ptr<BaseFilter> CreateOverlayMixer(HResult *result) override;
    /// Answers each ask, from the event loop, with the scripted medium's
    /// duration (-1 for one not scripted or of unknown duration); the paths
    /// asked are logged in script->durationsAsked.
    std::unique_ptr<DurationProbe> CreateDurationProbe() override;

    /// Makes `path` openable with the given description.
    void AddMedia(const std::string &path, const FakeMediaInfo &info = {});
    /// Makes `path` a subtitle file that RenderFile answers with `result`.
    void AddSubtitle(const std::string &path, HResult result = S_OK);

    /// Ends the render that waits on the graph made last (see
    /// FakeMediaInfo::answers) as its medium is scripted; false when none waits.
    bool AnswerRender() { return FakeFilterGraph::AnswerRender(lastGraph_); }
    /// The graph made last (null before the first, or once it is destroyed).
    std::shared_ptr<FakeFilterGraph> LastGraph() const { return lastGraph_.lock(); }
    /// The video output made last.
    std::shared_ptr<FakeOverlayMixer> LastMixer() const { return lastMixer_.lock(); }

    std::shared_ptr<FakeMediaScript> script;
    HResult createGraphResult = S_OK; ///< negative: CreateFilterGraph fails
    HResult createMixerResult = S_OK; ///< negative: CreateOverlayMixer fails
    bool mixerHasPin = true;          ///< false: FindPin("Input0") finds nothing

private:
    std::weak_ptr<FakeFilterGraph> lastGraph_;
    std::weak_ptr<FakeOverlayMixer> lastMixer_;
};

} // namespace velmo
