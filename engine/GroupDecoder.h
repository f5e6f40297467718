#pragma once

#include "engine/GstBusBridge.h"
#include "engine/GstHandles.h"
#include "engine/KeptPictures.h"

#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace velmo {

struct GroupDecoderState;

/// Decodes the pictures of one medium from the keyframe at or before a time
/// up to the picture shown at that time, on a pipeline of its own (the
/// medium's own pipeline drops the pictures before an exact seek's target),
/// and keeps them for steps back. The sound is not decoded. UI thread only.
class GroupDecoder {
public:
    /// Told once, later, from the event loop: the pictures, or none when the
    /// decoding failed. The one told may destroy the decoder.
    using Done = std::function<void(KeptPictures)>;

    /// Begins decoding `uri` up to `ns`, each picture delivered as `caps` (the
    /// format the medium's own pipeline shows) and at most `byteCap` bytes
    /// kept; null when the pipeline cannot be made.
    static std::unique_ptr<GroupDecoder> Start(const std::string &uri, const GstCaps *caps, int64_t ns,
                                               size_t byteCap, Done done);
    /// Stops the decoding; nobody is told.
    ~GroupDecoder();
    GroupDecoder(const GroupDecoder &) = delete;
    GroupDecoder &operator=(const GroupDecoder &) = delete;

    /// The time whose picture ends the pictures decoded.
    int64_t TargetNs() const { return targetNs_; }

private:
    GroupDecoder(int64_t ns, Done done);
    void OnBusMessage(GstMessage *message);
    void Finish(bool decoded);

    const int64_t targetNs_;
    Done done_;
    GstElementPtr pipeline_;
    std::shared_ptr<GroupDecoderState> state_;
    std::unique_ptr<GstBusBridge> bridge_;
    bool seeking_ = false;  ///< the seek to the keyframe was sent
    bool decoded_ = false;  ///< how the decoding ended, once ended
    QTimer finish_;         ///< tells the end from the event loop
};

} // namespace velmo
