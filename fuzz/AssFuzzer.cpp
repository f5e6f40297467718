// What Velmo does around libass, on bytes as an ASS file or an embedded
// stream would hold them: the script read plainly (the switch off), the same
// lines fed to a typeset track as a stream's header and events, and the
// layer drawn from them. The plain events must follow one another in time,
// hold no override block, and the layer must lie within the picture.

#include "fuzz/FuzzSupport.h"

#include "subtitles/CaptionTags.h"
#include "subtitles/CueReaders.h"
#include "subtitles/TimedTextReader.h"
#include "subtitles/TypesetTrack.h"

namespace {

// A "{" with a "}" after it: an override block the plain text should have lost.
bool HoldsBlock(const QString &text)
{
    const qsizetype open = text.indexOf(u'{');
    return open >= 0 && text.indexOf(u'}', open) > open;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace velmo;
    const QByteArray bytes = QByteArray("[Script Info]\n") + QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));

    const SamiResult plain = ParseTimedText(bytes);
    VELMO_FUZZ_CHECK(plain.ok == plain.error.isEmpty());
    const std::vector<SamiCaption> &events = plain.document.captions;
    for (size_t i = 0; i < events.size(); ++i) {
        VELMO_FUZZ_CHECK(events[i].startMs >= 0);
        VELMO_FUZZ_CHECK(i == 0 || events[i].startMs > events[i - 1].startMs);
        VELMO_FUZZ_CHECK(events[i].text.startsWith(CaptionHead(CaptionFormat::SubRip)));
    }

    // The lines after "[Events]" as a stream's events, what comes before as its header.
    const qsizetype split = bytes.indexOf("[Events]");
    auto track = TypesetTrack::FromHeader(split < 0 ? bytes : bytes.left(split));
    VELMO_FUZZ_CHECK(track != nullptr);
    int64_t at = 0;
    for (const QByteArray &line : (split < 0 ? QByteArray() : bytes.mid(split)).split('\n')) {
        const QString text = AssPlainText(AssChunkText(QString::fromUtf8(line)));
        VELMO_FUZZ_CHECK(!HoldsBlock(text));
        VELMO_FUZZ_CHECK(!text.contains(QLatin1StringView("\\N")));
        track->AddEvent(line, at, 700);
        at += 300;
    }
    VELMO_FUZZ_CHECK(track->EventCount() <= TypesetTrack::kMaxEvents);
    const QSize picture(96, 54);
    for (const int64_t ms : {int64_t(0), at / 2, at}) {
        TypesetLayer layer;
        track->Invalidate();
        VELMO_FUZZ_CHECK(track->Render(ms, picture, &layer));
        if (!layer.image.isNull())
            VELMO_FUZZ_CHECK(QRect(QPoint(0, 0), picture).contains(QRect(layer.at, layer.image.size())));
    }
    return 0;
}
