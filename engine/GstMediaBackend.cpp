#include "engine/MediaBackend.h"

namespace velmo {

namespace {
class GstMediaBackend : public MediaBackend {
public:
    std::shared_ptr<GraphBuilder> CreateFilterGraph(HResult *result) override
    {
        if (result)
            *result = E_NOTIMPL;
        return nullptr;
    }
    std::shared_ptr<BaseFilter> CreateOverlayMixer(HResult *result) override
    {
        if (result)
            *result = E_NOTIMPL;
        return nullptr;
    }
};
} // namespace

std::shared_ptr<MediaBackend> CreateGstMediaBackend()
{
    return std::make_shared<GstMediaBackend>();
}

} // namespace velmo
