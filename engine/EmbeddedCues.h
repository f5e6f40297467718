#pragma once

#include "engine/TextStreamSink.h"
#include "subtitles/SamiReader.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace velmo {

/// The caption text, as the caption files' readers hand theirs on, of one
/// cue of an embedded stream: SSA/ASS override blocks removed, "\N" a line
/// break, Pango's spans dropped and its references decoded.
QString CaptionOfCue(const TextCue &cue);

/// The cues of the embedded stream shown, gathered as the stream hands them
/// on. A cue sent again (after a seek) is kept once, so seeks back and forth
/// lose nothing and repeat nothing. UI thread only.
class EmbeddedCues {
public:
    /// Keeps `cue`; false when it was known already, or the stream is past
    /// any sensible number of cues.
    bool Add(const TextCue &cue);
    /// The caption events of the cues: each shows from its start until the
    /// next one starts or it ends, whichever comes first.
    std::vector<SamiCaption> Events() const;
    void Clear() { cues_.clear(); }
    size_t Size() const { return cues_.size(); }

private:
    /// (start, caption) -> end; -1: until the next cue.
    std::map<std::pair<int64_t, QString>, int64_t> cues_;
};

} // namespace velmo
