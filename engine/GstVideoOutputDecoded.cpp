// The video output's frames as decoded: their time, their picture at their
// own size, their format, and showing a frame decoded apart (a kept picture
// of a step back, or the frame shown turned anew) in their place.

#include "engine/GstVideoOutput.h"

#include "engine/DecodedPicture.h"
#include "engine/GstFrameSlot.h"
#include "engine/GstSupport.h"
#include "engine/PictureTurn.h"

#include <utility>

namespace velmo {

namespace {

GstSamplePtr DecodedSample(GstFrameSlot &slot)
{
    std::lock_guard<std::mutex> lock(slot.mutex);
    return GstSamplePtr(slot.decoded ? gst_sample_ref(slot.decoded.get()) : nullptr);
}

} // namespace

bool GstVideoOutput::FrameTime(int64_t *streamNs, int64_t *durationNs) const
{
    const GstSamplePtr sample = DecodedSample(*slot_);
    return sample && SampleFrameTime(sample.get(), streamNs, durationNs);
}

QImage GstVideoOutput::NativePicture() const
{
    const GstSamplePtr sample = DecodedSample(*slot_);
    return sample ? TurnedImage(SampleAtDisplaySize(sample.get()), Turn()) : QImage();
}

GstCapsPtr GstVideoOutput::DecodedCaps() const
{
    const GstSamplePtr sample = DecodedSample(*slot_);
    GstCaps *caps = sample ? gst_sample_get_caps(sample.get()) : nullptr;
    return GstCapsPtr(caps ? gst_caps_ref(caps) : nullptr);
}

void GstVideoOutput::ShowDecoded(GstSamplePtr sample)
{
    Q_ASSERT(OnUiThread());
    {
        GstSamplePtr older(gst_sample_ref(sample.get()));
        ConvertedPicture late;
        std::lock_guard<std::mutex> lock(slot_->mutex);
        std::swap(older, slot_->decoded);
        late = std::exchange(slot_->newest, {});
    }
    ConvertedPicture picture = ImageToShow(slot_.get(), std::move(sample));
    if (picture.image.isNull())
        return;
    last_ = picture;
    Present(picture);
}

void GstVideoOutput::SetUserTurn(Orientation user)
{
    Q_ASSERT(OnUiThread());
    {
        std::lock_guard<std::mutex> lock(slot_->mutex);
        if (slot_->user == user)
            return;
        slot_->user = user;
    }
    UpdateCaps();
    if (GstSamplePtr sample = DecodedSample(*slot_))
        ShowDecoded(std::move(sample));
    ReportSize();
}

} // namespace velmo
