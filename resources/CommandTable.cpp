// The rows of the command table. Built with the main window, whose members
// the handlers call.

#include "resources/CommandTable.h"

#include "app/MainWindow.h"
#include "resources/CommandIds.h"

#include <array>

namespace velmo {

namespace {

constexpr int kCtrl = Qt::ControlModifier;
constexpr int kAlt = Qt::AltModifier;

using W = MainWindow;

/// A handler that is one member taking the command id.
template <void (W::*Member)(int)>
void By(W &w, int id)
{
    (w.*Member)(id);
}

// The labels are the menu's own texts, spaces and key names included.
const CommandRow kCommands[] = {
    {ID_FILE_OPEN, "ID_FILE_OPEN", "열기              Ctrl + O", {Qt::Key_O, kCtrl},
     [](W &w, int) { w.OnFileOpen(); }},
    {ID_OPEN_ADDRESS, "ID_OPEN_ADDRESS", "주소열기      Alt  + U", {Qt::Key_U, kAlt},
     [](W &w, int) { w.OnOpenAddress(); }},
    {ID_OPEN_SUBTITLE, "ID_OPEN_SUBTITLE", "자막열기      Alt  + O", {Qt::Key_O, kAlt},
     [](W &w, int) { w.OnOpenSubtitle(); }},
    {ID_CLOSE_MEDIA, "ID_CLOSE_MEDIA", "닫기              Ctrl + C", {Qt::Key_C, kCtrl},
     [](W &w, int) { w.OnCloseMedia(); }},
    {ID_PLAY_PAUSE, "ID_PLAY_PAUSE", "재생/일시정지  Space", {Qt::Key_Space, 0}, [](W &w, int) { w.OnPlayPause(); }},
    {ID_STOP, "ID_STOP", "정지                   S", {Qt::Key_S, 0}, [](W &w, int) { w.OnStop(); }},
    {ID_FORWARD_5S, "ID_FORWARD_5S", "5초 앞으로        Right", {Qt::Key_Right, 0}, &By<&W::OnSeek>},
    {ID_BACK_5S, "ID_BACK_5S", "5초 뒤로            Left", {Qt::Key_Left, 0}, &By<&W::OnSeek>},
    {ID_FORWARD_30S, "ID_FORWARD_30S", "30초 앞으로      Ctrl + Right", {Qt::Key_Right, kCtrl}, &By<&W::OnSeek>},
    {ID_BACK_30S, "ID_BACK_30S", "30초 뒤로          Ctrl + Left", {Qt::Key_Left, kCtrl}, &By<&W::OnSeek>},
    {ID_JUMP_START, "ID_JUMP_START", "맨앞으로           Home   ", {Qt::Key_Home, 0}, &By<&W::OnJump>},
    {ID_JUMP_MIDDLE, "ID_JUMP_MIDDLE", "중반부로           Ctrl + Home", {Qt::Key_Home, kCtrl}, &By<&W::OnJump>},
    {ID_JUMP_END, "ID_JUMP_END", "엔딩부분           End", {Qt::Key_End, 0}, &By<&W::OnJump>},
    {ID_RATE_SLOW, "ID_RATE_SLOW", "느린재생           Ctrl + 1", {}, [](W &w, int) { w.OnRate(0.5); }},
    {ID_RATE_NORMAL, "ID_RATE_NORMAL", "보통재생           Ctrl + 2", {}, [](W &w, int) { w.OnRate(1.0); }},
    {ID_RATE_FAST, "ID_RATE_FAST", "빠른재생           Ctrl + 3", {}, [](W &w, int) { w.OnRate(2.0); }},
    {ID_REPEAT, "ID_REPEAT", "반복재생            r", {Qt::Key_R, 0}, [](W &w, int) { w.OnRepeat(); }},
    {ID_SUBTITLE_SHOW, "ID_SUBTITLE_SHOW", "자막보이기       Alt + T ", {}, &By<&W::OnSubtitleStyle>},
    {ID_SUBTITLE_UP, "ID_SUBTITLE_UP", "위        로^        Alt + PgUp  ", {Qt::Key_PageUp, kAlt}, &By<&W::OnSubtitleStyle>},
    {ID_SUBTITLE_DOWN, "ID_SUBTITLE_DOWN", "아  래  로^        Alt +PgDn ", {Qt::Key_PageDown, kAlt},
     &By<&W::OnSubtitleStyle>},
    {ID_SUBTITLE_BOLD, "ID_SUBTITLE_BOLD", "자막진하게       Alt + B", {Qt::Key_B, kAlt}, &By<&W::OnSubtitleStyle>},
    {ID_OUTLINE, "ID_OUTLINE", "테두리효과       Alt + f", {Qt::Key_F, kAlt}, &By<&W::OnSubtitleStyle>},
    {ID_OUTLINE_DEEP, "ID_OUTLINE_DEEP", "테두리진하게   Alt + g", {Qt::Key_G, kAlt}, &By<&W::OnSubtitleStyle>},
    {ID_SHADOW, "ID_SHADOW", "그림자효과       Alt + S", {Qt::Key_S, kAlt}, &By<&W::OnSubtitleStyle>},
    {ID_SHADOW_DEEP, "ID_SHADOW_DEEP", "그림자진하게   Alt + d", {Qt::Key_D, kAlt}, &By<&W::OnSubtitleStyle>},
    {ID_FONT_BIGGER, "ID_FONT_BIGGER", "글자더크게       Alt + Up", {Qt::Key_Up, kAlt}, &By<&W::OnSubtitleStyle>},
    {ID_FONT_SMALLER, "ID_FONT_SMALLER", "글자더작게       Alt + Down", {Qt::Key_Down, kAlt}, &By<&W::OnSubtitleStyle>},
    {ID_MUTE, "ID_MUTE", "음소거   x", {Qt::Key_X, 0}, [](W &w, int) { w.ToggleMute(); }},
    {ID_VOLUME_UP, "ID_VOLUME_UP", "크게      Up", {Qt::Key_Up, 0}, [](W &w, int) { w.OnVolumeStep(+1); }},
    {ID_VOLUME_DOWN, "ID_VOLUME_DOWN", "작게      Down", {Qt::Key_Down, 0}, [](W &w, int) { w.OnVolumeStep(-1); }},
    {ID_FULL_SCREEN, "ID_FULL_SCREEN", "전체화면      Enter", {Qt::Key_Return, 0}, [](W &w, int) { w.OnFullScreen(); }},
    {ID_FILLED_SCREEN, "ID_FILLED_SCREEN", "꽉찬화면      Ctrl + Enter    ", {Qt::Key_Return, kCtrl},
     [](W &w, int) { w.OnFilledScreen(); }},
    {ID_SIZE_HALF, "ID_SIZE_HALF", "x  0.5    1", {Qt::Key_1, 0}, &By<&W::OnSizePreset>},
    {ID_SIZE_NORMAL, "ID_SIZE_NORMAL", "x  1.0    2", {Qt::Key_2, 0}, &By<&W::OnSizePreset>},
    {ID_SIZE_ONE_HALF, "ID_SIZE_ONE_HALF", "x  1.5    3", {Qt::Key_3, 0}, &By<&W::OnSizePreset>},
    {ID_SIZE_DOUBLE, "ID_SIZE_DOUBLE", "x  2.0    4", {Qt::Key_4, 0}, &By<&W::OnSizePreset>},
    {ID_HIDE, "ID_HIDE", "숨김              ESC", {Qt::Key_Escape, 0}, [](W &w, int) { w.ToggleHide(); }},
    {ID_SUBTITLE_SETTINGS, "ID_SUBTITLE_SETTINGS", "자막설정      F3", {Qt::Key_F3, 0},
     [](W &w, int) { w.OnSubtitleSettings(); }},
    {ID_ABOUT, "ID_ABOUT", "벨모  F5", {Qt::Key_F5, 0}, [](W &w, int) { w.OnAbout(); }},
    {ID_EXIT, "ID_EXIT", "종료              X", {}, [](W &w, int) { w.OnExit(); }},
};

constexpr MenuEntry Cmd(int id) { return {MenuEntry::Command, id, nullptr, {}}; }
constexpr MenuEntry kSeparator{MenuEntry::Separator, 0, nullptr, {}};

constexpr MenuEntry kPlaybackItems[] = {
    Cmd(ID_PLAY_PAUSE),  Cmd(ID_STOP),        kSeparator,          Cmd(ID_FORWARD_5S),  Cmd(ID_BACK_5S),
    Cmd(ID_FORWARD_30S), Cmd(ID_BACK_30S),    kSeparator,          Cmd(ID_JUMP_START),  Cmd(ID_JUMP_MIDDLE),
    Cmd(ID_JUMP_END),    kSeparator,          Cmd(ID_RATE_SLOW),   Cmd(ID_RATE_NORMAL), Cmd(ID_RATE_FAST),
    Cmd(ID_REPEAT),
};
constexpr MenuEntry kSubtitleItems[] = {
    Cmd(ID_SUBTITLE_SHOW), Cmd(ID_SUBTITLE_UP), Cmd(ID_SUBTITLE_DOWN), kSeparator,
    Cmd(ID_SUBTITLE_BOLD), Cmd(ID_OUTLINE),     Cmd(ID_OUTLINE_DEEP),  Cmd(ID_SHADOW),
    Cmd(ID_SHADOW_DEEP),   Cmd(ID_FONT_BIGGER), Cmd(ID_FONT_SMALLER),
};
constexpr MenuEntry kSoundItems[] = {Cmd(ID_MUTE), Cmd(ID_VOLUME_UP), Cmd(ID_VOLUME_DOWN)};
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
    return kCommands;
}

const CommandRow *FindCommand(int id)
{
    for (const CommandRow &row : kCommands)
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
    for (const CommandRow &row : kCommands)
        if (row.key.key != 0 && row.key.key == key && row.key.modifiers == held)
            return row.id;
    return 0;
}

std::span<const MenuEntry> ContextMenuEntries()
{
    return kMenuItems;
}

} // namespace velmo
