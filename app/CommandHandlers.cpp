// What each command does: the handler column beside the command table of
// resources/, which holds only what the menu and the keys show.

#include "app/CommandHandlers.h"

#include "app/MainWindow.h"
#include "resources/CommandIds.h"

#include <span>

namespace velmo {

namespace {

using W = MainWindow;

/// A handler that is one member taking the command id.
template <void (W::*Member)(int)>
void By(W &w, int id)
{
    (w.*Member)(id);
}

struct HandlerRow {
    int id;
    CommandHandler handler;
};

} // namespace

/// The handler tables, where the window's handlers are within reach.
struct CommandHandlerTables {
    /// The commands of the menu and keys the player always had.
    static std::span<const HandlerRow> Resource()
    {
        static constexpr HandlerRow kRows[] = {
            {ID_FILE_OPEN, [](W &w, int) { w.OnFileOpen(); }},
            {ID_OPEN_ADDRESS, [](W &w, int) { w.OnOpenAddress(); }},
            {ID_OPEN_SUBTITLE, [](W &w, int) { w.OnOpenSubtitle(); }},
            {ID_CLOSE_MEDIA, [](W &w, int) { w.OnCloseMedia(); }},
            {ID_PLAY_PAUSE, [](W &w, int) { w.OnPlayPause(); }},
            {ID_STOP, [](W &w, int) { w.OnStop(); }},
            {ID_FORWARD_5S, &By<&W::OnSeek>},
            {ID_BACK_5S, &By<&W::OnSeek>},
            {ID_FORWARD_30S, &By<&W::OnSeek>},
            {ID_BACK_30S, &By<&W::OnSeek>},
            {ID_JUMP_START, &By<&W::OnJump>},
            {ID_JUMP_MIDDLE, &By<&W::OnJump>},
            {ID_JUMP_END, &By<&W::OnJump>},
            {ID_RATE_SLOW, [](W &w, int) { w.OnRate(0.5); }},
            {ID_RATE_NORMAL, [](W &w, int) { w.OnRate(1.0); }},
            {ID_RATE_FAST, [](W &w, int) { w.OnRate(2.0); }},
            {ID_REPEAT, [](W &w, int) { w.OnRepeat(); }},
            {ID_SUBTITLE_SHOW, &By<&W::OnSubtitleStyle>},
            {ID_SUBTITLE_UP, &By<&W::OnSubtitleStyle>},
            {ID_SUBTITLE_DOWN, &By<&W::OnSubtitleStyle>},
            {ID_SUBTITLE_BOLD, &By<&W::OnSubtitleStyle>},
            {ID_OUTLINE, &By<&W::OnSubtitleStyle>},
            {ID_OUTLINE_DEEP, &By<&W::OnSubtitleStyle>},
            {ID_SHADOW, &By<&W::OnSubtitleStyle>},
            {ID_SHADOW_DEEP, &By<&W::OnSubtitleStyle>},
            {ID_FONT_BIGGER, &By<&W::OnSubtitleStyle>},
            {ID_FONT_SMALLER, &By<&W::OnSubtitleStyle>},
            {ID_MUTE, [](W &w, int) { w.ToggleMute(); }},
            {ID_VOLUME_UP, [](W &w, int) { w.OnVolumeStep(+1); }},
            {ID_VOLUME_DOWN, [](W &w, int) { w.OnVolumeStep(-1); }},
            {ID_FULL_SCREEN, [](W &w, int) { w.OnFullScreen(); }},
            {ID_FILLED_SCREEN, [](W &w, int) { w.OnFilledScreen(); }},
            {ID_SIZE_HALF, &By<&W::OnSizePreset>},
            {ID_SIZE_NORMAL, &By<&W::OnSizePreset>},
            {ID_SIZE_ONE_HALF, &By<&W::OnSizePreset>},
            {ID_SIZE_DOUBLE, &By<&W::OnSizePreset>},
            {ID_HIDE, [](W &w, int) { w.ToggleHide(); }},
            {ID_SUBTITLE_SETTINGS, [](W &w, int) { w.OnSubtitleSettings(); }},
            {ID_ABOUT, [](W &w, int) { w.OnAbout(); }},
            // The system menu's about item, which has no menu row of its own.
            {IDM_ABOUTBOX, [](W &w, int) { w.OnAbout(); }},
            {ID_EXIT, [](W &w, int) { w.OnExit(); }},
        };
        return kRows;
    }

    /// Our own: caption sync and looks, recent media, the folder as a
    /// playlist, speed, A-B repeat, frame steps and the screenshot.
    static std::span<const HandlerRow> Own()
    {
        static constexpr HandlerRow kRows[] = {
            {ID_CAPTION_EARLIER, &By<&W::OnCaptionSync>},
            {ID_CAPTION_LATER, &By<&W::OnCaptionSync>},
            {ID_CAPTION_SYNC_RESET, &By<&W::OnCaptionSync>},
            {ID_RECENT_CLEAR, [](W &w, int) { w.OnRecentClear(); }},
            // Caption markup.
            {ID_CAPTION_MARKUP, [](W &w, int) { w.OnCaptionMarkup(); }},
            // The folder as a playlist, speed, A-B repeat, frame steps and the screenshot.
            {ID_NEXT_FILE, &By<&W::OnFolderStep>},
            {ID_PREV_FILE, &By<&W::OnFolderStep>},
            {ID_CONTINUOUS_PLAY, [](W &w, int) { w.OnContinuousPlay(); }},
            {ID_SPEED_UP, &By<&W::OnSpeed>},
            {ID_SPEED_DOWN, &By<&W::OnSpeed>},
            {ID_SPEED_RESET, &By<&W::OnSpeed>},
            {ID_AB_REPEAT, [](W &w, int) { w.OnAbRepeat(); }},
            {ID_FRAME_NEXT, &By<&W::OnFrameStep>},
            {ID_FRAME_PREV, &By<&W::OnFrameStep>},
            {ID_SCREENSHOT, [](W &w, int) { w.OnScreenshot(); }},
        };
        return kRows;
    }
};

CommandHandler FindCommandHandler(int id)
{
    if (id >= ID_FILTER_FIRST && id <= ID_FILTER_LAST)
        return &By<&W::OnFilterCommand>;
    if (id >= ID_CAPTION_LANGUAGE_FIRST && id <= ID_CAPTION_LANGUAGE_LAST)
        return &By<&W::OnCaptionLanguage>;
    if (id >= ID_RECENT_FIRST && id <= ID_RECENT_LAST)
        return &By<&W::OnRecentFile>;
    for (const auto table : {CommandHandlerTables::Resource(), CommandHandlerTables::Own()})
        for (const HandlerRow &row : table)
            if (row.id == id)
                return row.handler;
    return nullptr;
}

} // namespace velmo
