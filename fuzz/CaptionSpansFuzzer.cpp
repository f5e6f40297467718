// Caption runs on any text: the P element as the reader hands it on, taken
// from the input as UTF-8. The runs' texts put together are the cleaned
// caption; no run is empty, neighbours differ, and only ruby parts carry a
// pair.

#include "fuzz/FuzzSupport.h"

#include "subtitles/CaptionSpans.h"
#include "subtitles/CaptionText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString raw = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::vector<velmo::CaptionSpan> spans = velmo::ParseCaptionSpans(raw);

    QString joined;
    for (size_t i = 0; i < spans.size(); ++i) {
        const velmo::CaptionSpan &s = spans[i];
        VELMO_FUZZ_CHECK(!s.text.isEmpty());
        VELMO_FUZZ_CHECK((s.role == velmo::SpanRole::Text) == (s.rubyPair == 0));
        if (i > 0) {
            const velmo::CaptionSpan &before = spans[i - 1];
            VELMO_FUZZ_CHECK(before.look != s.look || before.role != s.role || before.rubyPair != s.rubyPair);
        }
        joined += s.text;
    }
    VELMO_FUZZ_CHECK(joined == velmo::CleanCaption(raw));
    return 0;
}
