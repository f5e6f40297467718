// Caption cleaning on any text: the P element as the reader hands it on,
// taken from the input as UTF-8. The cleaned SAMI text keeps no whole tag
// and no "/", and text without a ">" is left as it is.

#include "fuzz/FuzzSupport.h"

#include "subtitles/CaptionTags.h"
#include "subtitles/CaptionText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString raw = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString clean = velmo::CleanCaption(raw);

    VELMO_FUZZ_CHECK(!clean.isNull());
    if (!raw.contains(u'>')) {
        VELMO_FUZZ_CHECK(clean == raw);
        return 0;
    }
    // Everything up to the first ">" goes, and no replacement lengthens the
    // rest (a reference's character is never longer than the reference).
    VELMO_FUZZ_CHECK(clean.size() < raw.size() - raw.indexOf(u'>'));
    if (!velmo::ReadCaptionBody(raw)->rules.slashIsBlank)
        return 0; // a cue format's text keeps its "/" and its "<" that open no tag
    VELMO_FUZZ_CHECK(!clean.contains(u'/'));
    const qsizetype lt = clean.indexOf(u'<');
    VELMO_FUZZ_CHECK(lt < 0 || clean.indexOf(u'>', lt) < 0);
    return 0;
}
