#pragma once

#include "engine/GroupDecoder.h"
#include "engine/KeptPictures.h"
#include "engine/MediaFacets.h"

#include <QTimer>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

namespace velmo {

class GstVideoOutput;
class PlaybinSession;

/// Frame steps and the picture at its own size, over the session and the
/// video output (`output` is the graph's own slot: null until AddFilter).
///
/// A step back shows the picture an exact seek to the middle of the frame
/// before would show. An exact seek decodes from the keyframe before its
/// target and shows only the last picture; instead, the pictures from that
/// keyframe up to the stream's own are decoded apart (GroupDecoder) and kept,
/// so that the next steps back, and the steps forward among them, show a kept
/// picture at once while the stream stands still. A stream paused just now
/// is let come to its stop first; one that seeks still seeks exactly, with
/// the pictures decoded apart meanwhile. They go as soon as the stream moves
/// (a seek, a Run, a step of the stream's own) and with the graph.
class GstFrameAccess : public FrameAccess {
public:
    /// Bytes the kept pictures may take (about 180 pictures at 720p, 80 at 1080p).
    static constexpr size_t kKeptBytes = size_t(256) << 20;

    /// Told the start (ns) of the picture a step reached, for the captions.
    using PictureReached = std::function<void(int64_t ns)>;

    GstFrameAccess(PlaybinSession &session, const std::shared_ptr<GstVideoOutput> &output, PictureReached reached);
    HResult StepForward() override;
    HResult StepBack() override;
    HResult GrabPicture(QImage *image, int64_t *positionMs) override;
    /// The session finished a step of its own: its picture is shown.
    void StepDone();

private:
    /// StepBack but for telling the captions.
    HResult StepBackTo();
    /// An exact seek to `ns`, with the pictures before it decoded apart.
    HResult SeekAndKeep(int64_t ns);
    /// Begins decoding the pictures up to `ns` apart; false when it cannot.
    bool DecodeGroupBefore(int64_t ns);
    void OnGroupDecoded(KeptPictures kept);
    /// The stream has come to a stop: a step back that waits for it decodes
    /// the pictures up to the stream's own.
    void OnStopped();
    /// Shows the kept picture for `ns`; false when none is kept for it.
    bool ShowKept(int64_t ns);
    void Forget();
    /// Tells the captions the picture a step of the session's reached, once
    /// it has come: the sink answers the step before it takes that picture.
    void ReachSteppedPicture();
    /// The start of the picture shown, as steps count it; false without one.
    bool PictureStartNs(int64_t *ns) const;

    PlaybinSession &session_;
    const std::shared_ptr<GstVideoOutput> &output_;
    PictureReached reached_;
    int64_t steppedFrom_ = -1;  ///< the start of the frame the last step shows, as steps count it...
    int64_t steppedShows_ = -1; ///< ...and the time its picture carries (the seek's target, or a kept picture's own)
    KeptPictures kept_{kKeptBytes};
    std::unique_ptr<GroupDecoder> decoding_; ///< the pictures being decoded apart
    std::optional<int64_t> wanted_; ///< a step back that waits for decoding_ (or for the stream to stop)
    bool awaitingStop_ = false;     ///< wanted_ waits for the stream to stop before decoding
    int stepsUnanswered_ = 0;       ///< the session's own steps not yet done, and not overtaken by a step back
    int64_t stepLeftNs_ = -1;       ///< the time of the picture the session's last step left
    int stepLooks_ = 0;             ///< how many more times a step's answer looks for its picture
    QTimer stepLook_;               ///< looks again for the picture of a step answered before it came
};

} // namespace velmo
