#include "engine/GstDurationProbe.h"
#include "engine/GstFilterGraph.h"
#include "engine/GstSoundOutput.h"
#include "engine/GstVideoOutput.h"
#include "engine/MediaBackend.h"

namespace velmo {

namespace {
class GstMediaBackend : public MediaBackend {
public:
    explicit GstMediaBackend(int openTimeoutMs) : openTimeoutMs_(openTimeoutMs) {}
    std::shared_ptr<GraphBuilder> CreateFilterGraph(HResult *result) override
    {
        return GstFilterGraph::Create(openTimeoutMs_, result);
    }
    std::shared_ptr<BaseFilter> CreateOverlayMixer(HResult *result) override
    {
        return GstVideoOutput::Create(result);
    }
    std::unique_ptr<SoundDeviceWatch> CreateSoundDeviceWatch() override
    {
        return std::make_unique<GstSoundDevices>();
    }
    std::unique_ptr<DurationProbe> CreateDurationProbe() override
    {
        return std::make_unique<GstDurationProbe>();
    }

private:
    int openTimeoutMs_;
};
} // namespace

std::shared_ptr<MediaBackend> CreateGstMediaBackend(int openTimeoutMs)
{
    return std::make_shared<GstMediaBackend>(openTimeoutMs);
}

} // namespace velmo
