#include "engine/CaptionTracks.h"

#include "subtitles/SamiEncoding.h"
#include "subtitles/TimedTextReader.h"

#include <QLoggingCategory>

namespace velmo {

Q_LOGGING_CATEGORY(lcCaptions, "velmo.engine.captions")

namespace {

QString ShownOf(const SamiDocument &document)
{
    return document.everyLanguage ? QString::fromLatin1(kEverySamiLanguage) : document.className;
}

} // namespace

CaptionTracks::CaptionTracks(CaptionTrack::Clock clock) : clock_(std::move(clock)), shiftedClock_(clock_)
{
    shiftedClock_.position = [this](int64_t *ms) {
        if (!clock_.position(ms))
            return false;
        *ms -= offsetMs_;
        return true;
    };
    embeddedClock_ = shiftedClock_;
    shiftedClock_.deliver = [this](const QString &text) {
        if (shownChoice_ == kSubtitleFiles)
            clock_.deliver(text);
    };
    embeddedClock_.deliver = [this](const QString &text) {
        if (shownChoice_ >= 0)
            clock_.deliver(text);
    };
}

void CaptionTracks::AddCue(const TextCue &cue)
{
    if (cue.typeset && !cue.chunk.isEmpty()) {
        if (!typesetEmbedded_ && (typesetEmbedded_ = TypesetTrack::FromHeader(cue.header)))
            GiveFonts(*typesetEmbedded_);
        // An event of unknown length lasts as a plain one would: until the next.
        if (typesetEmbedded_)
            typesetEmbedded_->AddEvent(cue.chunk, cue.startMs, cue.endMs > cue.startMs ? cue.endMs - cue.startMs : 5000);
    }
    if (!cues_.Add(cue))
        return;
    embedded_ = std::make_unique<CaptionTrack>(cues_.Events(), embeddedClock_);
    int64_t now = 0;
    if (clock_.position(&now))
        embedded_->Seek(now - offsetMs_);
}

void CaptionTracks::ForgetCues()
{
    cues_.Clear();
    embedded_.reset();
    typesetEmbedded_.reset();
    if (shownChoice_ >= 0)
        clock_.deliver(QStringLiteral("<P>&nbsp;"));
}

void CaptionTracks::Show(int32_t choice)
{
    if (choice == shownChoice_)
        return;
    shownChoice_ = choice;
    // What showed goes at once; the new choice shows what is current now.
    clock_.deliver(QStringLiteral("<P>&nbsp;"));
    ShowCurrent();
}

HResult CaptionTracks::Add(const std::string &path, int64_t nowMs)
{
    SamiResult sami = ReadCaptionFile(path, choice_, encoding_);
    refusal_ = sami.error;
    if (!sami.ok) {
        qCInfo(lcCaptions, "subtitle file %s refused: %s", path.c_str(), qUtf8Printable(sami.error));
        return VFW_E_UNSUPPORTED_STREAM;
    }
    languages_ = std::move(sami.document.languages);
    shown_ = ShownOf(sami.document);
    paths_.push_back(path);
    shownChoice_ = kSubtitleFiles; // a file added is what the user wants to see
    tracks_.push_back(std::make_unique<CaptionTrack>(std::move(sami.document.captions), shiftedClock_));
    typesetFiles_.push_back(TypesetFile(path, sami.format));
    GCharPtr fileName(g_path_get_basename(path.c_str()));
    if (GstElementPtr source = MakeElement("filesrc", fileName.get())) {
        g_object_set(source.get(), "location", path.c_str(), nullptr);
        sources_.push_back(std::move(source));
    }
    tracks_.back()->Seek(nowMs - offsetMs_);
    return S_OK;
}

void CaptionTracks::Seek(int64_t ms)
{
    for (auto &track : tracks_)
        track->Seek(ms - offsetMs_);
    if (embedded_)
        embedded_->Seek(ms - offsetMs_);
}

HResult CaptionTracks::SetCaptionOffset(int64_t offsetMs)
{
    offsetMs_ = offsetMs;
    ShowCurrent();
    return S_OK;
}

HResult CaptionTracks::SetCaptionLanguage(const QString &choice)
{
    choice_ = choice;
    ReadAgain();
    return S_OK;
}

HResult CaptionTracks::SetCaptionEncoding(CaptionEncoding encoding)
{
    if (encoding == encoding_)
        return S_OK;
    encoding_ = encoding;
    ReadAgain();
    return S_OK;
}

void CaptionTracks::ReadAgain()
{
    for (size_t i = 0; i < tracks_.size(); ++i) {
        SamiResult sami = ReadCaptionFile(paths_[i], choice_, encoding_);
        if (!sami.ok)
            continue;
        if (i + 1 == tracks_.size())
            shown_ = ShownOf(sami.document);
        tracks_[i] = std::make_unique<CaptionTrack>(std::move(sami.document.captions), shiftedClock_);
        typesetFiles_[i] = TypesetFile(paths_[i], sami.format);
    }
    ShowCurrent();
}

std::unique_ptr<TypesetTrack> CaptionTracks::TypesetFile(const std::string &path, CaptionFormat format) const
{
    if (format != CaptionFormat::Ass && format != CaptionFormat::Ssa)
        return nullptr;
    QByteArray bytes;
    QString why;
    if (!ReadCaptionBytes(path, &bytes, &why))
        return nullptr;
    // libass reads UTF-8: the text goes as the plain reader decoded it.
    std::unique_ptr<TypesetTrack> track =
        TypesetTrack::FromScript(DecodeCaptionBytes(bytes, encoding_, true).text.toUtf8());
    if (track)
        GiveFonts(*track);
    return track;
}

void CaptionTracks::GiveFonts(TypesetTrack &track) const
{
    for (const AttachedFont &font : fonts_)
        track.AddFont(font.name, font.data);
}

void CaptionTracks::AddFont(const AttachedFont &font)
{
    for (const AttachedFont &known : fonts_)
        if (known.name == font.name && known.data.size() == font.data.size())
            return;
    if (!LooksLikeFont(font.data)) {
        qCInfo(lcCaptions, "attachment %s is no font: left out", font.name.constData());
        return;
    }
    qCInfo(lcCaptions, "attached font %s (%lld bytes) kept for this medium's typeset tracks", font.name.constData(),
           static_cast<long long>(font.data.size()));
    fonts_.push_back(font);
    for (auto &track : typesetFiles_)
        if (track)
            track->AddFont(font.name, font.data);
    if (typesetEmbedded_)
        typesetEmbedded_->AddFont(font.name, font.data);
}

TypesetTrack *CaptionTracks::Typeset()
{
    if (shownChoice_ >= 0)
        return typesetEmbedded_.get();
    if (shownChoice_ == kSubtitleFiles && !typesetFiles_.empty())
        return typesetFiles_.back().get();
    return nullptr;
}

void CaptionTracks::ShowCurrent()
{
    int64_t now = 0;
    if (clock_.position(&now))
        ShowAt(now);
}

void CaptionTracks::ShowAt(int64_t ms)
{
    for (auto &track : tracks_)
        track->Seek(ms - offsetMs_, CaptionTrack::ClearWhenNone);
    if (embedded_)
        embedded_->Seek(ms - offsetMs_, CaptionTrack::ClearWhenNone);
}

void CaptionTracks::Resync()
{
    for (auto &track : tracks_)
        track->Resync();
    if (embedded_)
        embedded_->Resync();
}

} // namespace velmo
