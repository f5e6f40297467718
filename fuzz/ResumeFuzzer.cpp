// The resume record's and the recent list's readers on any bytes. Whatever
// they accept writes back to text they read as the same value, and the list
// keeps its bound.

#include "fuzz/FuzzSupport.h"

#include "player/RecentFiles.h"
#include "player/ResumeRecord.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);

    if (const std::optional<velmo::ResumeRecord> record = velmo::ParseResumeRecord(text)) {
        const std::string written = velmo::SerialiseResumeRecord(*record);
        const std::optional<velmo::ResumeRecord> again = velmo::ParseResumeRecord(written);
        VELMO_FUZZ_CHECK(again && *again == *record);
        VELMO_FUZZ_CHECK(velmo::SerialiseResumeRecord(*again) == written);
    }

    const velmo::RecentFiles recent = velmo::RecentFiles::Parse(text);
    VELMO_FUZZ_CHECK(recent.Entries().size() <= velmo::RecentFiles::kMaxEntries);
    const velmo::RecentFiles again = velmo::RecentFiles::Parse(recent.Serialise());
    VELMO_FUZZ_CHECK(again.Entries() == recent.Entries());
    return 0;
}
