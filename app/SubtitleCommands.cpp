#include "app/SubtitleCommands.h"

#include "resources/CommandIds.h"
#include "subtitles/SubtitleStyle.h"

namespace velmo {

void ApplySubtitleCommand(SubtitleStyle &s, int id)
{
    switch (id) {
    case ID_SUBTITLE_SHOW: s.subtitleVisible = !s.subtitleVisible; break;
    case ID_SUBTITLE_BOLD:
        // Any weight but bold (0 from a file without the key, for one) becomes bold.
        s.Style = s.Style == 700 ? 400 : 700;
        s.RebuildFont();
        break;
    case ID_OUTLINE: s.Outline_Use = !s.Outline_Use; break;
    case ID_OUTLINE_DEEP: s.Outline_Deep = !s.Outline_Deep; break;
    case ID_SHADOW: s.Shadow_Use = !s.Shadow_Use; break;
    case ID_SHADOW_DEEP: s.Shadow_Deep = !s.Shadow_Deep; break;
    case ID_FONT_BIGGER:
        if (s.Size < 80)
            ++s.Size;
        s.RebuildFont();
        break;
    case ID_FONT_SMALLER:
        if (s.Size > 10)
            --s.Size;
        s.RebuildFont();
        break;
    case ID_SUBTITLE_UP:
        if (s.Position < 100)
            ++s.Position;
        break;
    case ID_SUBTITLE_DOWN:
        if (s.Position > 0)
            --s.Position;
        break;
    default: break;
    }
}

} // namespace velmo
