#pragma once

// Geometry and colours of the default skin, shared by the pictures, the
// description file and the preview sheet so that they cannot disagree.

#include <QColor>

namespace velmo::skingen {

// Colours.
inline const QColor kOutline{0x3A, 0x3F, 0x47};    // 1-pixel line around the window
inline const QColor kPanel{0x1C, 0x1F, 0x24};      // title bar and control panel
inline const QColor kSeparator{0x12, 0x14, 0x18};  // line between a panel and the picture
inline const QColor kScreen{0x12, 0x14, 0x18};     // empty video screen
inline const QColor kHoverBack{0x2C, 0x31, 0x39};
inline const QColor kPressedBack{0x23, 0x27, 0x2D};
inline const QColor kIcon{0xC3, 0xC9, 0xD1};
inline const QColor kIconHover{0xF2, 0xF4, 0xF7};
inline const QColor kAccent{0x4C, 0x9E, 0xEB};
inline const QColor kAccentHover{0x6C, 0xB2, 0xF2};
inline const QColor kAccentPressed{0x37, 0x82, 0xCC};
inline const QColor kCloseHover{0xC4, 0x2B, 0x1C};
inline const QColor kClosePressed{0x9B, 0x22, 0x16};
inline const QColor kGrooveColour{0x3A, 0x40, 0x49};
inline const QColor kTimeBack{0x14, 0x16, 0x1A};
inline const QColor kTimeText{214, 219, 226};
inline const QColor kTimeShadow{6, 7, 9};
inline const QColor kTransparent{255, 0, 255};

// Window frame: the screen borders and the panels' end pieces are this wide.
inline constexpr int kBorder = 3;
// Tall enough to cover a 4K screen: the screen borders are copied, not stretched.
inline constexpr int kBorderHeight = 2160;

// Title bar.
inline constexpr int kTitleHeight = 28;
inline constexpr int kTitleButtonW = 34;
inline constexpr int kTitleButtonH = 26;
inline constexpr int kTitleButtonY = 1;
inline constexpr int kCloseX = kBorder + kTitleButtonW;           // counted from the right edge
inline constexpr int kMaxX = kCloseX + kTitleButtonW;
inline constexpr int kMinX = kMaxX + kTitleButtonW;
inline constexpr int kIconSize = 16;
inline constexpr int kIconX = 9;
inline constexpr int kIconY = (kTitleHeight - kIconSize) / 2;
inline constexpr int kTitleStringX = kIconX + kIconSize + 6;
inline constexpr int kTitleStringH = 20;
inline constexpr int kTitleStringY = (kTitleHeight - kTitleStringH) / 2;

// Control panel.
inline constexpr int kPanelHeight = 54;
inline constexpr int kButtonW = 28;
inline constexpr int kButtonH = 24;
inline constexpr int kButtonY = 26;
inline constexpr int kPlayX = 8;
inline constexpr int kStopX = kPlayX + kButtonW + 2;
inline constexpr int kPrevX = kStopX + kButtonW;
inline constexpr int kNextX = kPrevX + kButtonW;
inline constexpr int kOpenX = kNextX + kButtonW + 6;
inline constexpr int kFullX = 8 + kButtonW;                        // from the right edge

// Sliders. The thumb's top comes from the slider's height at template size
// (23 pixels for the timeline, 18 for the volume with the template font), so
// the tracks are drawn with their grooves centred on those heights.
inline constexpr int kTimelineX = 8;
inline constexpr int kTimelineY = 2;
inline constexpr int kTimelineH = 22;
inline constexpr int kTimelineThumb = 12;
inline constexpr int kTimelineTemplateH = 23;
inline constexpr int kVolumeW = 80;
inline constexpr int kVolumeH = 18;
inline constexpr int kVolumeThumb = 10;
inline constexpr int kVolumeTemplateH = 18;
inline constexpr int kVolumeY = kButtonY + (kButtonH - kVolumeH) / 2;
inline constexpr int kVolumeX = kFullX + 8 + kVolumeW;            // from the right edge
inline constexpr int kGrooveHeight = 4;

// Time display, at the top right beside the timeline.
inline constexpr int kTimeH = 14;
inline constexpr int kTimeW = 118;
inline constexpr int kTimeBlank = 8;
inline constexpr int kTimeX = kTimeW + kTimeBlank;                 // from the right edge
inline constexpr int kTimeY = kTimelineY + kTimelineTemplateH / 2 - kTimeH / 2;
inline constexpr int kTimeCap = 4;
inline constexpr int kTimelineBlank = kTimelineX + kTimeX + 6;

// Logo on the empty screen.
inline constexpr int kLogoW = 184;
inline constexpr int kLogoH = 64;

} // namespace velmo::skingen
