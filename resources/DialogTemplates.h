#pragma once

// Dialog templates of the windows, as data: sizes and positions in dialog
// units, which DialogUnits.h turns into pixels with the template's font.

#include <span>

namespace velmo {

/// What a template control is.
enum class ControlKind { PushButton, Edit, StaticText, StaticIcon };

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

} // namespace velmo
