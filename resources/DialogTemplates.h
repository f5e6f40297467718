#pragma once

// Dialog templates of the windows, as data: sizes and positions in dialog
// units, which DialogUnits.h turns into pixels with the template's font.

#include <span>

namespace velmo {

/// What a template control is.
enum class ControlKind {
    PushButton,
    Edit,
    StaticText,
    StaticIcon,
    StaticBitmap,
    Trackbar,
    GroupBox,
    CheckBox,
    DropDownList,  ///< text: its items, separated by "\n"; height: the dropped-down height
    FontList,      ///< the owner-drawn list of font faces; height: the dropped-down height
    UpDown,        ///< arrows that step the integer of the edit just before it in the template
    SunkenStatic,  ///< a static with a sunken border
    ColorSwatch,   ///< a static filled with one colour
    TrackbarScale, ///< a static of numbers between spaces, each under the trackbar's position of that value
};

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

inline constexpr int IDD_SUBTITLE_SETTINGS = 173;
inline constexpr int IDB_TRUETYPE_MARK = 179; ///< the mark of TrueType faces, 15 x 12
inline constexpr int IDC_QUALITY_LIST = 1056;
inline constexpr int IDC_COLOR_BUTTON = 1061;
inline constexpr int IDC_SIZE_EDIT = 1062;
inline constexpr int IDC_SIZE_UPDOWN = 1063;
inline constexpr int IDC_OUTLINE_BUTTON = 1064;
inline constexpr int IDC_SHADOW_BUTTON = 1065;
inline constexpr int IDC_OUTLINE_USE = 1066;
inline constexpr int IDC_SHADOW_USE = 1067;
inline constexpr int IDC_OUTLINE_DEEP = 1068;
inline constexpr int IDC_SHADOW_DEEP = 1069;
inline constexpr int IDC_COLOR_SWATCH = 1070;
inline constexpr int IDC_OUTLINE_SWATCH = 1071;
inline constexpr int IDC_SHADOW_SWATCH = 1072;
inline constexpr int IDC_FONT_LIST = 1074;
inline constexpr int IDC_BOLD = 1075;
inline constexpr int IDC_POSITION_VALUE = 1077;
inline constexpr int IDC_POSITION_TRACKBAR = 1078;

inline constexpr TemplateControl kSubtitleSettingsControls[] = {
    {-1, ControlKind::GroupBox, "글꼴설정", 7, 7, 223, 77, false},
    {-1, ControlKind::StaticText, "글꼴", 12, 17, 36, 9, false},
    {IDC_FONT_LIST, ControlKind::FontList, "", 11, 29, 71, 126, false},
    {-1, ControlKind::StaticText, "선명도", 192, 17, 22, 8, false},
    {IDC_QUALITY_LIST, ControlKind::DropDownList, "기본\n부드럽게", 185, 28, 43, 64, false},
    {-1, ControlKind::StaticText, "테두리", 83, 17, 36, 9, false},
    {-1, ControlKind::StaticText, "그림자", 133, 17, 36, 9, false},
    {IDC_OUTLINE_USE, ControlKind::CheckBox, "테두리사용", 83, 31, 47, 8, false},
    {IDC_SHADOW_USE, ControlKind::CheckBox, "그림자사용", 133, 31, 48, 8, false},
    {IDC_BOLD, ControlKind::CheckBox, "진하게", 12, 45, 32, 8, false},
    {-1, ControlKind::StaticText, "크기", 50, 45, 23, 8, false},
    {IDC_OUTLINE_DEEP, ControlKind::CheckBox, "진하게", 83, 44, 47, 8, false},
    {IDC_SHADOW_DEEP, ControlKind::CheckBox, "진하게", 133, 44, 47, 8, false},
    {IDC_COLOR_SWATCH, ControlKind::ColorSwatch, "", 11, 59, 13, 14, false},
    {IDC_COLOR_BUTTON, ControlKind::PushButton, "색상", 26, 59, 18, 14, false},
    {IDC_SIZE_EDIT, ControlKind::Edit, "", 50, 60, 12, 12, false},
    {IDC_SIZE_UPDOWN, ControlKind::UpDown, "", 61, 60, 9, 12, false},
    {IDC_OUTLINE_SWATCH, ControlKind::ColorSwatch, "", 82, 59, 13, 14, false},
    {IDC_OUTLINE_BUTTON, ControlKind::PushButton, "색상", 97, 59, 18, 14, false},
    {IDC_SHADOW_SWATCH, ControlKind::ColorSwatch, "", 133, 59, 13, 14, false},
    {IDC_SHADOW_BUTTON, ControlKind::PushButton, "색상", 148, 59, 18, 14, false},
    {-1, ControlKind::GroupBox, "자막상하 위치설정", 7, 88, 221, 43, false},
    {-1, ControlKind::StaticText, "슬라이더 값", 73, 98, 40, 8, false},
    {IDC_POSITION_VALUE, ControlKind::SunkenStatic, "", 118, 97, 21, 9, false},
    {IDC_POSITION_TRACKBAR, ControlKind::Trackbar, "", 9, 107, 214, 11, false},
    {-1, ControlKind::TrackbarScale,
     "0                                           50                                        100", 12, 120, 210, 8,
     false},
    {IDC_OK, ControlKind::PushButton, "닫기", 93, 140, 46, 15, true},
};

/// The subtitle settings dialog.
inline constexpr DialogTemplate kSubtitleSettingsTemplate{
    IDD_SUBTITLE_SETTINGS, "벨모 자막설정", "돋움", 10, 235, 162, kSubtitleSettingsControls};

/// The control of `id` in `t`, or null.
inline const TemplateControl *FindTemplateControl(const DialogTemplate &t, int id)
{
    for (const TemplateControl &c : t.controls)
        if (c.id == id)
            return &c;
    return nullptr;
}

} // namespace velmo
