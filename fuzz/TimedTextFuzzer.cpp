// The SubRip and WebVTT reader on bytes as a file would hold them; the
// WebVTT target puts the header in front, so the fuzzer spends its time on
// the cues. Whatever the input, the events must follow one another in time,
// each headed by its format, with runs that put together are its clean text,
// and stay within their bounds.

#include "fuzz/FuzzSupport.h"

#include "subtitles/CaptionSpans.h"
#include "subtitles/CaptionTags.h"
#include "subtitles/CaptionText.h"
#include "subtitles/TimedTextReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace velmo;
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
#ifdef VELMO_FUZZ_WEBVTT
    bytes.prepend("WEBVTT\n\n");
#endif
    const SamiResult result = ParseTimedText(bytes);
    VELMO_FUZZ_CHECK(result.ok == result.error.isEmpty());
    const std::vector<SamiCaption> &events = result.document.captions;
    VELMO_FUZZ_CHECK(result.ok != events.empty());
    for (size_t i = 0; i < events.size(); ++i) {
        const SamiCaption &e = events[i];
        VELMO_FUZZ_CHECK(e.startMs >= 0);
        VELMO_FUZZ_CHECK(e.endMs == (i + 1 < events.size() ? events[i + 1].startMs : -1));
        VELMO_FUZZ_CHECK(e.endMs == -1 || e.endMs > e.startMs);
        VELMO_FUZZ_CHECK(e.text.startsWith(CaptionHead(result.format)));
        VELMO_FUZZ_CHECK(i == 0 || e.text != events[i - 1].text);
        QString joined;
        for (const CaptionSpan &span : ParseCaptionSpans(e.text))
            joined += span.text;
        VELMO_FUZZ_CHECK(joined == CleanCaption(e.text));
    }
    return 0;
}
