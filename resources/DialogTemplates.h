#pragma once

// Dialog templates of the windows, as data: sizes and positions in dialog
// units, which DialogUnits.h turns into pixels with the template's font.

#include <span>

namespace velmo {

/// What a template control is.
enum class ControlKind { PushButton, Edit, StaticText, StaticIcon, StaticBitmap, Trackbar };

/// One control of a dialog template; x, y, width and height in dialog units.
struct TemplateControl {
    int id;             ///< control id; -1 for a static without one
    ControlKind kind;
    const char *text;   ///< UTF-8; for a static icon, unused
    int x, y, width, height;
    bool defaultButton; ///< push buttons drawn as the default button
};

/// A dialog template: caption, font and size in dialog units, and its controls.
struct DialogTemplate {
    int id;
    const char *caption;  ///< UTF-8
    const char *fontFace; ///< UTF-8 face name as the template names it
    int pointSize;
    int width, height;
    std::span<const TemplateControl> controls;
};

inline constexpr int IDC_OK = 1; ///< the dialog's OK button
inline constexpr int IDR_MAINFRAME = 128; ///< the program icon
inline constexpr int IDD_MAIN_WINDOW = 102;
inline constexpr int IDD_OPEN_URL = 180;
inline constexpr int IDC_URL_CLOSE = 1026;
inline constexpr int IDC_URL_EDIT = 1084;
inline constexpr int IDC_URL_VERSION = 1085;

/// The main window: a popup without controls, centred at start.
inline constexpr DialogTemplate kMainWindowTemplate{
    IDD_MAIN_WINDOW, "벨모", "굴림", 9, 187, 165, {}};

inline constexpr TemplateControl kOpenUrlControls[] = {
    {IDC_OK, ControlKind::PushButton, "열기", 186, 50, 50, 14, true},
    {IDC_URL_EDIT, ControlKind::Edit, "", 40, 30, 196, 12, false},
    {IDC_URL_CLOSE, ControlKind::PushButton, "닫기", 128, 50, 50, 14, true},
    {-1, ControlKind::StaticText,
     "      파일이 있는 주소를 입력하시고 열기 버튼을 클릭하시면\r\n      재생이 됩니다.", 15, 7, 220, 19, false},
    {IDC_URL_VERSION, ControlKind::StaticText, "벨모 Ver 1.0", 7, 52, 109, 9, false},
    {-1, ControlKind::StaticText, "URL 주소", 7, 33, 31, 9, false},
    {-1, ControlKind::StaticIcon, "", 7, 7, 20, 20, false},
};

/// The open-address dialog.
inline constexpr DialogTemplate kOpenUrlTemplate{
    IDD_OPEN_URL, "주소로열기", "돋움", 10, 243, 70, kOpenUrlControls};

inline constexpr int IDD_ABOUTBOX = 100;

inline constexpr TemplateControl kAboutControls[] = {
    {-1, ControlKind::StaticIcon, "", 11, 17, 20, 20, false},
    {-1, ControlKind::StaticText, "Velmo 버전 1.0", 40, 25, 119, 8, false},
    {IDC_OK, ControlKind::PushButton, "확인", 113, 41, 50, 14, true},
};

/// The about box.
inline constexpr DialogTemplate kAboutTemplate{IDD_ABOUTBOX, "Velmo 정보", "굴림", 9, 170, 62, kAboutControls};

// Controls of the skinned panels and title bars.
inline constexpr int IDC_TIMELINE_SLIDER = 1001;
inline constexpr int IDC_VOLUME_SLIDER = 1010;
inline constexpr int IDC_PLAY = 1018;
inline constexpr int IDC_STOP = 1020;
inline constexpr int IDC_PREV = 1021;
inline constexpr int IDC_NEXT = 1022;
inline constexpr int IDC_OPEN = 1023;
inline constexpr int IDC_FULL_SCREEN = 1024;
inline constexpr int IDC_CLOSE = 1026;
inline constexpr int IDC_MINIMIZE = 1027;
inline constexpr int IDC_MAXIMIZE = 1028;
inline constexpr int IDC_TITLE_ICON = 1029;
inline constexpr int IDC_TIME_DISPLAY = 1029;
inline constexpr int IDC_TITLE_STRING = 1030;

inline constexpr int IDD_TITLE_BAR = 130;
inline constexpr int IDD_CONTROL_PANEL = 131;
inline constexpr int IDD_FULL_SCREEN_PANEL = 132;
inline constexpr int IDD_FULL_SCREEN_TITLE_BAR = 133;
inline constexpr int IDD_VIDEO_SCREEN = 134;

inline constexpr TemplateControl kControlPanelControls[] = {
    {IDC_TIMELINE_SLIDER, ControlKind::Trackbar, "", 3, 3, 160, 13, false},
    {IDC_VOLUME_SLIDER, ControlKind::Trackbar, "", 165, 30, 55, 10, false},
    {IDC_PLAY, ControlKind::StaticBitmap, "", 15, 21, 13, 14, false},
    {IDC_STOP, ControlKind::StaticBitmap, "", 29, 21, 13, 14, false},
    {IDC_PREV, ControlKind::StaticBitmap, "", 43, 21, 13, 14, false},
    {IDC_NEXT, ControlKind::StaticBitmap, "", 57, 21, 13, 14, false},
    {IDC_OPEN, ControlKind::StaticBitmap, "", 72, 21, 13, 14, false},
    {IDC_FULL_SCREEN, ControlKind::StaticBitmap, "", 87, 21, 13, 14, false},
    {IDC_TIME_DISPLAY, ControlKind::StaticBitmap, "", 171, 4, 13, 16, false},
};

/// The control panel below (or above) the picture.
inline constexpr DialogTemplate kControlPanelTemplate{
    IDD_CONTROL_PANEL, "", "돋움", 9, 227, 40, kControlPanelControls};

inline constexpr TemplateControl kFullScreenPanelControls[] = {
    {IDC_TIMELINE_SLIDER, ControlKind::Trackbar, "", 3, 3, 160, 13, false},
    {IDC_VOLUME_SLIDER, ControlKind::Trackbar, "", 134, 30, 55, 10, false},
    {IDC_PLAY, ControlKind::StaticBitmap, "", 15, 21, 13, 14, false},
    {IDC_STOP, ControlKind::StaticBitmap, "", 29, 21, 13, 14, false},
    {IDC_PREV, ControlKind::StaticBitmap, "", 43, 21, 13, 14, false},
    {IDC_NEXT, ControlKind::StaticBitmap, "", 57, 21, 13, 14, false},
    {IDC_OPEN, ControlKind::StaticBitmap, "", 72, 21, 13, 14, false},
    {IDC_FULL_SCREEN, ControlKind::StaticBitmap, "", 87, 21, 13, 14, false},
    {IDC_TIME_DISPLAY, ControlKind::StaticBitmap, "", 171, 4, 13, 16, false},
};

/// The control panel shown over the picture in the full-screen modes.
inline constexpr DialogTemplate kFullScreenPanelTemplate{
    IDD_FULL_SCREEN_PANEL, "", "돋움", 9, 196, 44, kFullScreenPanelControls};

inline constexpr TemplateControl kTitleBarControls[] = {
    {IDC_CLOSE, ControlKind::StaticBitmap, "", 162, 0, 13, 14, false},
    {IDC_MINIMIZE, ControlKind::StaticBitmap, "", 179, 0, 13, 14, false},
    {IDC_MAXIMIZE, ControlKind::StaticBitmap, "", 194, 0, 13, 14, false},
    {IDC_TITLE_ICON, ControlKind::StaticBitmap, "", 2, 0, 13, 14, false},
    {IDC_TITLE_STRING, ControlKind::StaticBitmap, "", 18, 0, 13, 14, false},
};

/// The title bar above (or below) the picture.
inline constexpr DialogTemplate kTitleBarTemplate{IDD_TITLE_BAR, "", "돋움", 9, 224, 21, kTitleBarControls};

inline constexpr TemplateControl kFullScreenTitleBarControls[] = {
    {IDC_CLOSE, ControlKind::StaticBitmap, "", 184, 0, 13, 14, false},
    {IDC_MINIMIZE, ControlKind::StaticBitmap, "", 198, 0, 13, 14, false},
    {IDC_MAXIMIZE, ControlKind::StaticBitmap, "", 213, 0, 13, 14, false},
    {IDC_TITLE_ICON, ControlKind::StaticBitmap, "", 2, 0, 13, 14, false},
    {IDC_TITLE_STRING, ControlKind::StaticBitmap, "", 16, 0, 13, 14, false},
};

/// The title bar shown over the picture in the full-screen modes.
inline constexpr DialogTemplate kFullScreenTitleBarTemplate{
    IDD_FULL_SCREEN_TITLE_BAR, "", "돋움", 9, 233, 21, kFullScreenTitleBarControls};

/// The control of `id` in `t`, or null.
inline const TemplateControl *FindTemplateControl(const DialogTemplate &t, int id)
{
    for (const TemplateControl &c : t.controls)
        if (c.id == id)
            return &c;
    return nullptr;
}

} // namespace velmo
