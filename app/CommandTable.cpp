// The rows of the command table and the entries of the context menu.

#include "app/CommandTable.h"

#include "app/ChapterMenus.h"
#include "app/MainWindow.h"
#include "app/StreamMenus.h"
#include "player/Player.h"
#include "player/PlayerSettings.h"
#include "resources/CommandIds.h"
#include "subtitles/SubtitleStyle.h"

namespace velmo {

namespace {

constexpr int kCtrl = Qt::ControlModifier;
constexpr int kAlt = Qt::AltModifier;

} // namespace

/// The rows, where the window's handlers are within reach.
struct CommandRows {
    using W = MainWindow;

    static void Jump(W &w, int id) { w.player_.Jump(id); }
    static void ShiftCaptions(W &w, int id) { w.player_.ShiftCaptions(id); }
    static void SizePreset(W &w, int id) { w.OnSizePreset(id); }
    static void StepSpeed(W &w, int id) { w.player_.StepSpeed(id); }
    static void LookCommand(W &w, int id) { w.OnSubtitleStyle(id); }
    static void FilterPages(W &w, int id) { w.OnFilterCommand(id); }
    static void CaptionLanguage(W &w, int id) { w.player_.ChooseCaptionLanguage(size_t(id - ID_CAPTION_LANGUAGE_FIRST)); }
    static void RecentFile(W &w, int id) { w.OnRecentFile(id); }
    static void AudioTrack(W &w, int id) { w.player_.ChooseAudioTrack(id - ID_AUDIO_TRACK_FIRST); }
    static void SubtitleTrack(W &w, int id) { w.player_.ChooseSubtitle(SubtitleChoiceOf(id)); }
    static void CaptionEncodingCommand(W &w, int id) { w.player_.ChooseCaptionEncoding(kCaptionEncodings[id - ID_CAPTION_ENCODING_AUTO]); }
    static void ShiftSound(W &w, int id) { w.player_.ShiftSound(id); }
    static void ChapterEntry(W &w, int id) { ChooseChapterEntry(w.player_, w.contextMenu_, id); }
    static void SoundOutputEntry(W &w, int id) { ChooseSoundOutputEntry(w.player_, w.contextMenu_, id); }
    static void ListOrderCommand(W &w, int id) { w.player_.SetOrder(ListOrderAfter(id, w.player_.Order())); }
    template <ListEnd E>
    static bool ListEndChosen(const W &w) { return w.player_.Order().atEnd == E; }
    template <CaptionEncoding E>
    static bool EncodingChosen(const W &w) { return w.player_.CaptionEncodingChosen() == E; }

    /// Every command, in the order of the context menu.
    static const CommandRow kRows[];
};

// The labels are the menu's own texts, spaces and key names included.
const CommandRow CommandRows::kRows[] = {
    {ID_FILE_OPEN, "ID_FILE_OPEN", "열기              Ctrl + O", {Qt::Key_O, kCtrl},
        [](W &w, int) { w.OnFileOpen(); }},
    {ID_OPEN_ADDRESS, "ID_OPEN_ADDRESS", "주소열기      Alt  + U", {Qt::Key_U, kAlt},
        [](W &w, int) { w.OnOpenAddress(); }},
    {ID_OPEN_SUBTITLE, "ID_OPEN_SUBTITLE", "자막열기      Alt  + O", {Qt::Key_O, kAlt},
        [](W &w, int) { w.OnOpenSubtitle(); }, nullptr, true},
    {ID_CLOSE_MEDIA, "ID_CLOSE_MEDIA", "닫기              Ctrl + C", {Qt::Key_C, kCtrl},
        [](W &w, int) { w.OnCloseMedia(); }},
    {ID_PLAY_PAUSE, "ID_PLAY_PAUSE", "재생/일시정지  Space", {Qt::Key_Space, 0},
        [](W &w, int) { w.player_.PlayPause(); }},
    {ID_STOP, "ID_STOP", "정지                   S", {Qt::Key_S, 0},
        [](W &w, int) { w.player_.Stop(); }},
    {ID_FORWARD_5S, "ID_FORWARD_5S", "5초 앞으로        Right", {Qt::Key_Right, 0},
        [](W &w, int) { w.player_.SeekBy(5); }},
    {ID_BACK_5S, "ID_BACK_5S", "5초 뒤로            Left", {Qt::Key_Left, 0},
        [](W &w, int) { w.player_.SeekBy(-5); }},
    {ID_FORWARD_30S, "ID_FORWARD_30S", "30초 앞으로      Ctrl + Right", {Qt::Key_Right, kCtrl},
        [](W &w, int) { w.player_.SeekBy(30); }},
    {ID_BACK_30S, "ID_BACK_30S", "30초 뒤로          Ctrl + Left", {Qt::Key_Left, kCtrl},
        [](W &w, int) { w.player_.SeekBy(-30); }},
    {ID_JUMP_START, "ID_JUMP_START", "맨앞으로           Home   ", {Qt::Key_Home, 0},
        &Jump},
    {ID_JUMP_MIDDLE, "ID_JUMP_MIDDLE", "중반부로           Ctrl + Home", {Qt::Key_Home, kCtrl},
        &Jump},
    {ID_JUMP_END, "ID_JUMP_END", "엔딩부분           End", {Qt::Key_End, 0},
        &Jump},
    {ID_RATE_SLOW, "ID_RATE_SLOW", "느린재생           Ctrl + 1", {Qt::Key_1, kCtrl},
        &StepSpeed},
    {ID_RATE_NORMAL, "ID_RATE_NORMAL", "보통재생           Ctrl + 2", {Qt::Key_2, kCtrl},
        &StepSpeed},
    {ID_RATE_FAST, "ID_RATE_FAST", "빠른재생           Ctrl + 3", {Qt::Key_3, kCtrl},
        &StepSpeed},
    {ID_REPEAT, "ID_REPEAT", "반복재생            r", {Qt::Key_R, 0},
        [](W &w, int) { w.settings_.repeatMode = !w.settings_.repeatMode; }, [](const W &w) { return w.settings_.repeatMode; }},
    {ID_SUBTITLE_SHOW, "ID_SUBTITLE_SHOW", "자막보이기       Alt + T ", {Qt::Key_T, kAlt},
        &LookCommand, [](const W &w) { return w.style_.subtitleVisible; }},
    {ID_SUBTITLE_UP, "ID_SUBTITLE_UP", "위        로^        Alt + PgUp  ", {Qt::Key_PageUp, kAlt},
        &LookCommand},
    {ID_SUBTITLE_DOWN, "ID_SUBTITLE_DOWN", "아  래  로^        Alt +PgDn ", {Qt::Key_PageDown, kAlt},
        &LookCommand},
    {ID_SUBTITLE_BOLD, "ID_SUBTITLE_BOLD", "자막진하게       Alt + B", {Qt::Key_B, kAlt},
        &LookCommand, [](const W &w) { return w.style_.Style == 700; }},
    {ID_OUTLINE, "ID_OUTLINE", "테두리효과       Alt + f", {Qt::Key_F, kAlt},
        &LookCommand, [](const W &w) { return w.style_.Outline_Use; }},
    {ID_OUTLINE_DEEP, "ID_OUTLINE_DEEP", "테두리진하게   Alt + g", {Qt::Key_G, kAlt},
        &LookCommand, [](const W &w) { return w.style_.Outline_Deep; }},
    {ID_SHADOW, "ID_SHADOW", "그림자효과       Alt + S", {Qt::Key_S, kAlt},
        &LookCommand, [](const W &w) { return w.style_.Shadow_Use; }},
    {ID_SHADOW_DEEP, "ID_SHADOW_DEEP", "그림자진하게   Alt + d", {Qt::Key_D, kAlt},
        &LookCommand, [](const W &w) { return w.style_.Shadow_Deep; }},
    {ID_FONT_BIGGER, "ID_FONT_BIGGER", "글자더크게       Alt + Up", {Qt::Key_Up, kAlt},
        &LookCommand},
    {ID_FONT_SMALLER, "ID_FONT_SMALLER", "글자더작게       Alt + Down", {Qt::Key_Down, kAlt},
        &LookCommand},
    {ID_CAPTION_EARLIER, "ID_CAPTION_EARLIER", "자막 0.5초 빠르게     ,", {Qt::Key_Comma, 0},
        &ShiftCaptions},
    {ID_CAPTION_LATER, "ID_CAPTION_LATER", "자막 0.5초 느리게     .", {Qt::Key_Period, 0},
        &ShiftCaptions},
    {ID_CAPTION_SYNC_RESET, "ID_CAPTION_SYNC_RESET", "자막 싱크 되돌리기   /", {Qt::Key_Slash, 0},
        &ShiftCaptions},
    // Caption markup.
    {ID_CAPTION_MARKUP, "ID_CAPTION_MARKUP", "자막 꾸밈 보이기", {},
        [](W &w, int) { w.player_.SetCaptionMarkup(!w.settings_.captionMarkup); }, [](const W &w) { return w.settings_.captionMarkup; }},
    {ID_ASS_STYLED, "ID_ASS_STYLED", "ASS 꾸밈 그대로     Alt + A", {Qt::Key_A, kAlt},
        [](W &w, int) { w.player_.SetAssStyled(!w.settings_.assStyled); }, [](const W &w) { return w.settings_.assStyled; }},
    // The caption files' encoding.
    {ID_CAPTION_ENCODING_AUTO, "ID_CAPTION_ENCODING_AUTO", "자동", {},
        &CaptionEncodingCommand, &EncodingChosen<CaptionEncoding::Auto>, true},
    {ID_CAPTION_ENCODING_UTF8, "ID_CAPTION_ENCODING_UTF8", "UTF-8", {},
        &CaptionEncodingCommand, &EncodingChosen<CaptionEncoding::Utf8>, true},
    {ID_CAPTION_ENCODING_CP949, "ID_CAPTION_ENCODING_CP949", "CP949", {},
        &CaptionEncodingCommand, &EncodingChosen<CaptionEncoding::Cp949>, true},
    {ID_CAPTION_ENCODING_WINDOWS1252, "ID_CAPTION_ENCODING_WINDOWS1252", "Windows-1252", {},
        &CaptionEncodingCommand, &EncodingChosen<CaptionEncoding::Windows1252>, true},
    {ID_CAPTION_ENCODING_SHIFT_JIS, "ID_CAPTION_ENCODING_SHIFT_JIS", "Shift_JIS", {},
        &CaptionEncodingCommand, &EncodingChosen<CaptionEncoding::ShiftJis>, true},
    {ID_CAPTION_ENCODING_GB18030, "ID_CAPTION_ENCODING_GB18030", "GB18030", {},
        &CaptionEncodingCommand, &EncodingChosen<CaptionEncoding::Gb18030>, true},
    {ID_CAPTION_ENCODING_BIG5, "ID_CAPTION_ENCODING_BIG5", "Big5", {},
        &CaptionEncodingCommand, &EncodingChosen<CaptionEncoding::Big5>, true},
    {ID_CAPTION_ENCODING_UTF16, "ID_CAPTION_ENCODING_UTF16", "UTF-16", {},
        &CaptionEncodingCommand, &EncodingChosen<CaptionEncoding::Utf16>, true},
    {ID_MUTE, "ID_MUTE", "음소거   x", {Qt::Key_X, 0},
        [](W &w, int) { w.player_.SetMuted(!w.player_.Muted()); }, [](const W &w) { return w.player_.Muted(); }},
    {ID_VOLUME_UP, "ID_VOLUME_UP", "크게      Up", {Qt::Key_Up, 0},
        [](W &w, int) { w.OnVolumeStep(+1); }},
    {ID_VOLUME_DOWN, "ID_VOLUME_DOWN", "작게      Down", {Qt::Key_Down, 0},
        [](W &w, int) { w.OnVolumeStep(-1); }},
    {ID_FULL_SCREEN, "ID_FULL_SCREEN", "전체화면      Enter", {Qt::Key_Return, 0},
        [](W &w, int) { w.OnFullScreen(); }, [](const W &w) { return w.settings_.fullScreenMode; }},
    {ID_FILLED_SCREEN, "ID_FILLED_SCREEN", "꽉찬화면      Ctrl + Enter    ", {Qt::Key_Return, kCtrl},
        [](W &w, int) { w.OnFilledScreen(); }, [](const W &w) { return w.settings_.filledScreenMode; }},
    {ID_SIZE_HALF, "ID_SIZE_HALF", "x  0.5    1", {Qt::Key_1, 0},
        &SizePreset},
    {ID_SIZE_NORMAL, "ID_SIZE_NORMAL", "x  1.0    2", {Qt::Key_2, 0},
        &SizePreset},
    {ID_SIZE_ONE_HALF, "ID_SIZE_ONE_HALF", "x  1.5    3", {Qt::Key_3, 0},
        &SizePreset},
    {ID_SIZE_DOUBLE, "ID_SIZE_DOUBLE", "x  2.0    4", {Qt::Key_4, 0},
        &SizePreset},
    {ID_HIDE, "ID_HIDE", "숨김              ESC", {Qt::Key_Escape, 0},
        [](W &w, int) { w.ToggleHide(); }, [](const W &w) { return w.settings_.hiddenMode; }, true},
    {ID_SUBTITLE_SETTINGS, "ID_SUBTITLE_SETTINGS", "자막설정      F3", {Qt::Key_F3, 0},
        [](W &w, int) { w.OnSubtitleSettings(); }},
    {ID_ABOUT, "ID_ABOUT", "벨모  F5", {Qt::Key_F5, 0},
        [](W &w, int) { w.OnAbout(); }},
    {ID_EXIT, "ID_EXIT", "종료              X", {},
        [](W &w, int) { w.OnExit(); }},
    {ID_RECENT_CLEAR, "ID_RECENT_CLEAR", "기록 지우기", {},
        [](W &w, int) { w.player_.ForgetRecent(); }},
    // The folder as a playlist, speed, A-B repeat, frame steps and the screenshot.
    {ID_SPEED_UP, "ID_SPEED_UP", "빠르게 (+0.1배)      ]", {Qt::Key_BracketRight, 0},
        &StepSpeed},
    {ID_SPEED_DOWN, "ID_SPEED_DOWN", "느리게 (-0.1배)      [", {Qt::Key_BracketLeft, 0},
        &StepSpeed},
    {ID_SPEED_RESET, "ID_SPEED_RESET", "원래 속도      Backspace", {Qt::Key_Backspace, 0},
        &StepSpeed},
    {ID_AB_REPEAT, "ID_AB_REPEAT", "A-B 반복      L", {Qt::Key_L, 0},
        [](W &w, int) { w.player_.PressAbRepeat(); }},
    {ID_FRAME_NEXT, "ID_FRAME_NEXT", "다음 프레임      F", {Qt::Key_F, 0},
        [](W &w, int) { w.player_.StepFrame(true); }},
    {ID_FRAME_PREV, "ID_FRAME_PREV", "이전 프레임      D", {Qt::Key_D, 0},
        [](W &w, int) { w.player_.StepFrame(false); }},
    {ID_NEXT_FILE, "ID_NEXT_FILE", "다음 파일      Ctrl + PgDn", {Qt::Key_PageDown, kCtrl},
        [](W &w, int) { w.player_.StepMedium(+1); }},
    {ID_PREV_FILE, "ID_PREV_FILE", "이전 파일      Ctrl + PgUp", {Qt::Key_PageUp, kCtrl},
        [](W &w, int) { w.player_.StepMedium(-1); }},
    {ID_CONTINUOUS_PLAY, "ID_CONTINUOUS_PLAY", "연속 재생", {},
        [](W &w, int) { w.player_.SetContinuousPlay(!w.settings_.continuousPlay); }, [](const W &w) { return w.settings_.continuousPlay; }},
    {ID_SCREENSHOT, "ID_SCREENSHOT", "화면 저장      P", {Qt::Key_P, 0},
        [](W &w, int) { w.player_.SaveScreenshot(); }, nullptr, true},
    // The medium's tracks.
    {ID_AUDIO_TRACK_CYCLE, "ID_AUDIO_TRACK_CYCLE", "음성 트랙 바꾸기      B", {Qt::Key_B, 0},
        [](W &w, int) { w.player_.CycleAudioTrack(); }, nullptr, true},
    {ID_SUBTITLE_TRACK_CYCLE, "ID_SUBTITLE_TRACK_CYCLE", "자막 트랙 바꾸기      V", {Qt::Key_V, 0},
        [](W &w, int) { w.player_.CycleSubtitle(); }, nullptr, true},
    // The sound's sync and the chapters.
    {ID_SOUND_EARLIER, "ID_SOUND_EARLIER", "음성 0.01초 빠르게      J", {Qt::Key_J, 0},
        &ShiftSound, nullptr, true},
    {ID_SOUND_LATER, "ID_SOUND_LATER", "음성 0.01초 느리게      K", {Qt::Key_K, 0},
        &ShiftSound, nullptr, true},
    {ID_SOUND_EARLIER_MORE, "ID_SOUND_EARLIER_MORE", "음성 0.1초 빠르게      Ctrl + J", {Qt::Key_J, kCtrl},
        &ShiftSound, nullptr, true},
    {ID_SOUND_LATER_MORE, "ID_SOUND_LATER_MORE", "음성 0.1초 느리게      Ctrl + K", {Qt::Key_K, kCtrl},
        &ShiftSound, nullptr, true},
    {ID_CHAPTER_NEXT, "ID_CHAPTER_NEXT", "다음 챕터      Alt + Right", {Qt::Key_Right, kAlt},
        [](W &w, int) { w.player_.StepChapter(+1); }, nullptr, true},
    {ID_CHAPTER_PREV, "ID_CHAPTER_PREV", "이전 챕터      Alt + Left", {Qt::Key_Left, kAlt},
        [](W &w, int) { w.player_.StepChapter(-1); }, nullptr, true},
    // The playlist.
    {ID_PLAYLIST, "ID_PLAYLIST", "재생 목록      Ctrl + L", {Qt::Key_L, kCtrl},
        [](W &w, int) { w.TogglePlaylist(); }, [](const W &w) { return w.PlaylistShown(); }},
    {ID_PLAYLIST_ADD_FILES, "ID_PLAYLIST_ADD_FILES", "열기", {},
        [](W &w, int) { w.OnAddFilesToList(); }},
    {ID_PLAYLIST_ADD_FOLDER, "ID_PLAYLIST_ADD_FOLDER", "현재 폴더 추가", {},
        [](W &w, int) { w.player_.AddFolderToList(); }, nullptr, true},
    {ID_PLAYLIST_SAVE, "ID_PLAYLIST_SAVE", "재생 목록 저장", {},
        [](W &w, int) { w.OnSaveList(); }},
    {ID_PLAYLIST_CLEAR, "ID_PLAYLIST_CLEAR", "목록 비우기", {},
        [](W &w, int) { w.player_.ClearList(); }},
    {ID_PLAYLIST_REPEAT_ALL, "ID_PLAYLIST_REPEAT_ALL", "모두 반복", {},
        &ListOrderCommand, [](const W &w) { return w.player_.Order().repeatAll; }},
    {ID_PLAYLIST_SHUFFLE, "ID_PLAYLIST_SHUFFLE", "무작위", {},
        &ListOrderCommand, [](const W &w) { return w.player_.Order().shuffle; }},
    {ID_PLAYLIST_END_STOP, "ID_PLAYLIST_END_STOP", "멈춤", {},
        &ListOrderCommand, &ListEndChosen<ListEnd::Stop>},
    {ID_PLAYLIST_END_RESTART, "ID_PLAYLIST_END_RESTART", "처음부터", {},
        &ListOrderCommand, &ListEndChosen<ListEnd::Restart>},
    {ID_PLAYLIST_END_QUIT, "ID_PLAYLIST_END_QUIT", "종료", {},
        &ListOrderCommand, &ListEndChosen<ListEnd::Quit>},
};

namespace {

constexpr MenuEntry Cmd(int id) { return {MenuEntry::Command, id, nullptr, {}}; }
constexpr MenuEntry kSeparator{MenuEntry::Separator, 0, nullptr, {}};

constexpr MenuEntry kListEndItems[] = {Cmd(ID_PLAYLIST_END_STOP), Cmd(ID_PLAYLIST_END_RESTART),
                                       Cmd(ID_PLAYLIST_END_QUIT)};
constexpr MenuEntry kPlaylistItems[] = {
    Cmd(ID_PLAYLIST_ADD_FILES), Cmd(ID_PLAYLIST_ADD_FOLDER), Cmd(ID_PLAYLIST_SAVE), Cmd(ID_PLAYLIST_CLEAR), kSeparator,
    Cmd(ID_PLAYLIST_REPEAT_ALL), Cmd(ID_PLAYLIST_SHUFFLE), {MenuEntry::Popup, 0, "다 보면", kListEndItems},
};
constexpr MenuEntry kPlaybackItems[] = {
    Cmd(ID_PLAY_PAUSE),  Cmd(ID_STOP),        kSeparator,          Cmd(ID_FORWARD_5S),  Cmd(ID_BACK_5S),
    Cmd(ID_FORWARD_30S), Cmd(ID_BACK_30S),    kSeparator,          Cmd(ID_JUMP_START),  Cmd(ID_JUMP_MIDDLE),
    Cmd(ID_JUMP_END),    kSeparator,          Cmd(ID_RATE_SLOW),   Cmd(ID_RATE_NORMAL), Cmd(ID_RATE_FAST),
    Cmd(ID_REPEAT),
    // Ours, after the resource's entries so that their places stay.
    kSeparator,          Cmd(ID_SPEED_UP),    Cmd(ID_SPEED_DOWN),  Cmd(ID_SPEED_RESET), Cmd(ID_AB_REPEAT),
    Cmd(ID_FRAME_NEXT),  Cmd(ID_FRAME_PREV),  Cmd(ID_NEXT_FILE),   Cmd(ID_PREV_FILE),   Cmd(ID_CONTINUOUS_PLAY),
    kSeparator,          Cmd(ID_PLAYLIST),    {MenuEntry::Popup, 0, "재생 목록 설정", kPlaylistItems},
};
static_assert(ID_CAPTION_ENCODING_UTF16 - ID_CAPTION_ENCODING_AUTO + 1 == int(std::size(kCaptionEncodings)),
              "one command per encoding, in the same order");
constexpr MenuEntry kCaptionEncodingItems[] = {
    Cmd(ID_CAPTION_ENCODING_AUTO),     Cmd(ID_CAPTION_ENCODING_UTF8),    Cmd(ID_CAPTION_ENCODING_CP949),
    Cmd(ID_CAPTION_ENCODING_WINDOWS1252), Cmd(ID_CAPTION_ENCODING_SHIFT_JIS), Cmd(ID_CAPTION_ENCODING_GB18030),
    Cmd(ID_CAPTION_ENCODING_BIG5),     Cmd(ID_CAPTION_ENCODING_UTF16),
};
constexpr MenuEntry kSubtitleTrackItems[] = {Cmd(ID_SUBTITLE_TRACK_CYCLE)};
constexpr MenuEntry kSubtitleItems[] = {
    Cmd(ID_SUBTITLE_SHOW), Cmd(ID_SUBTITLE_UP), Cmd(ID_SUBTITLE_DOWN), kSeparator,
    Cmd(ID_SUBTITLE_BOLD), Cmd(ID_OUTLINE),     Cmd(ID_OUTLINE_DEEP),  Cmd(ID_SHADOW),
    Cmd(ID_SHADOW_DEEP),   Cmd(ID_FONT_BIGGER), Cmd(ID_FONT_SMALLER),
    // Ours, after the resource's entries so that their places stay.
    kSeparator, Cmd(ID_CAPTION_EARLIER), Cmd(ID_CAPTION_LATER), Cmd(ID_CAPTION_SYNC_RESET),
    {MenuEntry::CaptionLanguages, 0, "자막 언어", {}},
    {MenuEntry::SubtitleTracks, 0, "자막 트랙", kSubtitleTrackItems},
    Cmd(ID_CAPTION_MARKUP),
    Cmd(ID_ASS_STYLED),
    // Stays last: entries added later go above it.
    {MenuEntry::Popup, 0, "자막 인코딩", kCaptionEncodingItems},
};
constexpr MenuEntry kSoundItems[] = {Cmd(ID_MUTE), Cmd(ID_VOLUME_UP), Cmd(ID_VOLUME_DOWN)};
constexpr MenuEntry kRecentItems[] = {Cmd(ID_RECENT_CLEAR)};
constexpr MenuEntry kSoundSyncItems[] = {Cmd(ID_AUDIO_TRACK_CYCLE), Cmd(ID_SOUND_EARLIER), Cmd(ID_SOUND_LATER),
                                         Cmd(ID_SOUND_EARLIER_MORE), Cmd(ID_SOUND_LATER_MORE)};
constexpr MenuEntry kChapterItems[] = {Cmd(ID_CHAPTER_NEXT), Cmd(ID_CHAPTER_PREV)};
constexpr MenuEntry kSizeItems[] = {Cmd(ID_SIZE_HALF), Cmd(ID_SIZE_NORMAL), Cmd(ID_SIZE_ONE_HALF),
                                    Cmd(ID_SIZE_DOUBLE)};

constexpr MenuEntry kMenuItems[] = {
    Cmd(ID_FILE_OPEN),
    Cmd(ID_OPEN_ADDRESS),
    Cmd(ID_OPEN_SUBTITLE),
    Cmd(ID_CLOSE_MEDIA),
    kSeparator,
    {MenuEntry::Popup, 0, "재생", kPlaybackItems},
    {MenuEntry::Popup, 0, "자막설정", kSubtitleItems},
    {MenuEntry::Popup, 0, "사운드", kSoundItems},
    // Ours, after the filter list's place so that it keeps its index.
    {MenuEntry::RecentFiles, 0, "최근 파일", kRecentItems},
    {MenuEntry::SoundMenu, 0, "음성", kSoundSyncItems},
    {MenuEntry::Chapters, 0, "챕터", kChapterItems},
    Cmd(ID_SCREENSHOT), // ours, after the filter list's place
    kSeparator,
    Cmd(ID_FULL_SCREEN),
    Cmd(ID_FILLED_SCREEN),
    {MenuEntry::Popup, 0, "크기조절", kSizeItems},
    Cmd(ID_HIDE),
    kSeparator,
    Cmd(ID_SUBTITLE_SETTINGS),
    Cmd(ID_ABOUT),
    kSeparator,
    Cmd(ID_EXIT),
};

} // namespace

std::span<const CommandRow> CommandTable()
{
    return CommandRows::kRows;
}

const CommandRow *FindCommand(int id)
{
    for (const CommandRow &row : CommandTable())
        if (row.id == id)
            return &row;
    return nullptr;
}

int AcceleratorCommand(int key, Qt::KeyboardModifiers modifiers)
{
    // The digits of the table are the main row's; the keypad's are other keys.
    if (key >= Qt::Key_0 && key <= Qt::Key_9 && (modifiers & Qt::KeypadModifier))
        return 0;
    // Both Enter keys are one key to the table.
    if (key == Qt::Key_Enter)
        key = Qt::Key_Return;
    const int held = int(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier));
    for (const CommandRow &row : CommandTable())
        if (row.key.key != 0 && row.key.key == key && row.key.modifiers == held)
            return row.id;
    return 0;
}

CommandHandler FindCommandHandler(int id)
{
    if (id >= ID_FILTER_FIRST && id <= ID_FILTER_LAST)
        return &CommandRows::FilterPages;
    if (id >= ID_CAPTION_LANGUAGE_FIRST && id <= ID_CAPTION_LANGUAGE_LAST)
        return &CommandRows::CaptionLanguage;
    if (id >= ID_RECENT_FIRST && id <= ID_RECENT_LAST)
        return &CommandRows::RecentFile;
    if (id >= ID_AUDIO_TRACK_FIRST && id <= ID_AUDIO_TRACK_LAST)
        return &CommandRows::AudioTrack;
    if (id >= ID_SUBTITLE_TRACK_FIRST && id <= ID_SUBTITLE_TRACK_NONE)
        return &CommandRows::SubtitleTrack;
    if (id >= ID_CHAPTER_FIRST && id <= ID_CHAPTER_LAST)
        return &CommandRows::ChapterEntry;
    if (id >= ID_SOUND_OUTPUT_FIRST && id <= ID_SOUND_OUTPUT_LAST)
        return &CommandRows::SoundOutputEntry;
    // The system menu's about item has no row of its own.
    if (id == IDM_ABOUTBOX)
        id = ID_ABOUT;
    const CommandRow *row = FindCommand(id);
    return row ? row->run : nullptr;
}

std::span<const MenuEntry> ContextMenuEntries()
{
    return kMenuItems;
}

std::span<const MenuEntry> PlaylistMenuEntries()
{
    return kPlaylistItems;
}

ListOrder ListOrderAfter(int id, ListOrder order)
{
    switch (id) {
    case ID_PLAYLIST_REPEAT_ALL: order.repeatAll = !order.repeatAll; break;
    case ID_PLAYLIST_SHUFFLE: order.shuffle = !order.shuffle; break;
    case ID_PLAYLIST_END_STOP: order.atEnd = ListEnd::Stop; break;
    case ID_PLAYLIST_END_RESTART: order.atEnd = ListEnd::Restart; break;
    case ID_PLAYLIST_END_QUIT: order.atEnd = ListEnd::Quit; break;
    default: break;
    }
    return order;
}

QString MenuText(const QString &text)
{
    return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace velmo
