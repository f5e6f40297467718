#include "engine/EmbeddedCues.h"

#include "subtitles/CaptionFormat.h"
#include "subtitles/CaptionTags.h"
#include "subtitles/CueReaders.h"

#include <QRegularExpression>

namespace velmo {

namespace {

// More cues than a very long film holds: a stream past it is noise.
constexpr size_t kMaxCues = 100000;
constexpr qsizetype kMaxCaptionChars = 2000;
// What of a typeset event is read for its plain text: far more than any
// caption, far less than a hostile event.
constexpr qsizetype kMaxChunkBytes = 16 * 1024;

// What shows when no cue does, as the caption files' readers write it.
QString Nothing()
{
    return CaptionHead(CaptionFormat::SubRip) + u' ';
}

} // namespace

QString CaptionOfCue(const TextCue &cue)
{
    QString text;
    if (cue.typeset) // an event too long to typeset came as the start of its text
        text = AssPlainText(AssChunkText(cue.chunk.isEmpty() ? cue.text : QString::fromUtf8(cue.chunk.left(kMaxChunkBytes))));
    else
        text = RemoveOverrides(cue.text);
    text.replace(QLatin1StringView("\\N"), QLatin1StringView("\n"));
    text.replace(QLatin1StringView("\\n"), QLatin1StringView("\n"));
    if (cue.markup) {
        // Pango's spans carry colours and fonts the caption's own style
        // replaces; its <i>, <b>, <u> and <s> stay, as SubRip's do.
        static const QRegularExpression span(QStringLiteral("</?span[^>]*>"),
                                             QRegularExpression::CaseInsensitiveOption);
        text.remove(span);
    }
    QString joined;
    for (QStringView line : QStringView(text).split(u'\n')) {
        const QStringView shown = line.trimmed();
        if (shown.isEmpty())
            continue;
        if (!joined.isEmpty())
            joined += QLatin1StringView("<br>");
        joined += shown;
        if (joined.size() > kMaxCaptionChars) {
            joined.truncate(kMaxCaptionChars);
            break;
        }
    }
    if (joined.isEmpty())
        return Nothing();
    // WebVTT's rules decode the references Pango markup writes; plain text keeps "&" as it stands.
    return CaptionHead(cue.markup ? CaptionFormat::WebVtt : CaptionFormat::SubRip) + joined;
}

bool EmbeddedCues::Add(const TextCue &cue)
{
    if (cues_.size() >= kMaxCues)
        return false;
    return cues_.try_emplace({cue.startMs, CaptionOfCue(cue)}, cue.endMs).second;
}

std::vector<SamiCaption> EmbeddedCues::Events() const
{
    std::vector<SamiCaption> events;
    events.reserve(cues_.size() * 2);
    for (auto it = cues_.begin(); it != cues_.end(); ++it) {
        const auto next = std::next(it);
        events.push_back({it->first.first, -1, it->first.second});
        const int64_t end = it->second;
        if (end > it->first.first && (next == cues_.end() || next->first.first > end))
            events.push_back({end, -1, Nothing()});
    }
    return events;
}

} // namespace velmo
