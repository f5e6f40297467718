#include "engine/CaptionTracks.h"

#include <QLoggingCategory>

namespace velmo {

Q_LOGGING_CATEGORY(lcCaptions, "velmo.engine.captions")

HResult CaptionTracks::Add(const std::string &path, int64_t nowMs)
{
    SamiResult sami = ReadSamiFile(path);
    if (!sami.ok) {
        qCInfo(lcCaptions, "subtitle file %s refused: %s", path.c_str(), qUtf8Printable(sami.error));
        return VFW_E_UNSUPPORTED_STREAM;
    }
    tracks_.push_back(std::make_unique<CaptionTrack>(std::move(sami.document.captions), clock_));
    GCharPtr fileName(g_path_get_basename(path.c_str()));
    if (GstElementPtr source = MakeElement("filesrc", fileName.get())) {
        g_object_set(source.get(), "location", path.c_str(), nullptr);
        sources_.push_back(std::move(source));
    }
    tracks_.back()->Seek(nowMs);
    return S_OK;
}

void CaptionTracks::Seek(int64_t ms)
{
    for (auto &track : tracks_)
        track->Seek(ms);
}

void CaptionTracks::Resync()
{
    for (auto &track : tracks_)
        track->Resync();
}

} // namespace velmo
