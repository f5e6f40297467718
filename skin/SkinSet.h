#pragma once

#include "skin/SkinBitmap.h"
#include "text/IniFile.h"
#include "text/ProfileReader.h"

#include <cstdint>
#include <string>

namespace velmo {

/// An element drawn from one image: a button, a panel part, the logo.
struct SkinImage {
    bool shown = false;        ///< key "Attribute"
    SkinBitmap bitmap;         ///< the element's file; null when loading failed
    BitmapInfo info;           ///< description of `bitmap`; zero when loading failed
    int32_t x = 0;             ///< key "PositionX": from the edge the panel counts from
    int32_t y = 0;             ///< key "PositionY": from the panel's top
    int32_t width = 0;         ///< image width (0 when loading failed)
    int32_t height = 0;        ///< image height (0 when loading failed)
    std::string align;         ///< key "Align" ("Left" when missing or empty)
};

/// A slider: track, thumb and the thumb while held.
struct SkinSliderImages {
    bool shown = false;        ///< key "Attribute"
    SkinBitmap track;          ///< first file: the track
    BitmapInfo trackInfo;      ///< description of `track`
    SkinBitmap thumb;          ///< second file ("..._ball.bmp")
    SkinBitmap heldThumb;      ///< third file ("..._sel.bmp")
    int32_t x = 0;             ///< key "PositionX"
    int32_t y = 0;             ///< key "PositionY"
    int32_t width = 0;         ///< track width
    int32_t height = 0;        ///< track height
    int32_t blank = 0;         ///< key "Blank": panel width the timeline leaves free
    std::string align;         ///< key "Align" ("Left" when missing or empty)
};

/// The time display: two caps around a stretched middle, and its text colours.
struct SkinTimeImages {
    bool shown = false;        ///< key "Attribute"
    int32_t x = 0;             ///< key "PositionX": left edge's distance from the panel's right edge
    int32_t y = 0;             ///< key "PositionY"
    int32_t blank = 0;         ///< key "Blank": right edge's distance from the panel's right edge
    std::string align;         ///< key "Align" ("Left" when missing or empty)
    SkinBitmap leftCap;        ///< "time_infor_left.bmp"
    BitmapInfo leftCapInfo;    ///< description of `leftCap`
    SkinBitmap rightCap;       ///< "time_infor_right.bmp"
    BitmapInfo rightCapInfo;   ///< description of `rightCap`
    SkinBitmap back;           ///< "time_infor_back.bmp"; its height is the display's
    BitmapInfo backInfo;       ///< description of `back`
    Colour textColor = 0;      ///< key "Text_Color"
    Colour shadowColor = 0;    ///< key "Shadow_Color"
};

/// Where a panel goes in the main window.
struct PanelPlacement {
    bool shown = false;        ///< key "Attribute": whether the panel exists at all
    std::string align;         ///< key "Align": "Top" or "Bottom" exactly, else neither edge
};

/// A rectangle as the main window reports its client area: right and bottom
/// are one past the last pixel.
struct ClientRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    /// right - left.
    int32_t width() const { return right - left; }
    /// bottom - top.
    int32_t height() const { return bottom - top; }
};

/// Everything the skin supplies: every image, what is shown and where, the
/// time display's colours and where the two panels sit. One exists per run,
/// loaded once before any window; only `mainClientRect` changes afterwards.
class SkinSet {
public:
    /// The skin description, relative to the working directory.
    static constexpr const char *kDefaultSkinFile = "skin/default/skin.ini";

    /// Starts empty, then runs LoadSkin on `skinFilePath` (its result is not kept).
    explicit SkinSet(const std::string &skinFilePath = kDefaultSkinFile);
    virtual ~SkinSet();
    SkinSet(const SkinSet &) = delete;
    SkinSet &operator=(const SkinSet &) = delete;

    /// Reads the description and every image beside it (the folder of
    /// `skinFilePath`). False, with nothing loaded, when the description
    /// cannot be read. Meant to run once, from the constructor.
    bool LoadSkin(const std::string &skinFilePath = kDefaultSkinFile);

    SkinImage controlPanel;          ///< "controlpanel.bmp": control panel background
    SkinImage controlPanelLeft;      ///< "controlpanel_left.bmp"
    SkinImage controlPanelRight;     ///< "controlpanel_right.bmp"
    SkinImage topPanel;              ///< "toppanel.bmp": title bar background
    SkinImage topPanelLeft;          ///< "toppanel_left.bmp"
    SkinImage topPanelRight;         ///< "toppanel_right.bmp"
    SkinImage logo;                  ///< "logo.bmp": centred on the empty screen
    SkinImage screenBack;            ///< "screen_back.bmp"
    SkinImage screenLeft;            ///< "screen_left.bmp": its width is the picture's left inset
    SkinImage screenRight;           ///< "screen_right.bmp": its width is the picture's right inset
    SkinImage play;                  ///< "play.bmp"
    SkinImage pause;                 ///< "pause.bmp": the play button's picture while playing
    SkinImage stop;                  ///< "stop.bmp"
    SkinImage open;                  ///< "open.bmp"
    SkinImage prev;                  ///< "prev.bmp"
    SkinImage next;                  ///< "next.bmp"
    SkinImage soundOn;               ///< "sound_on.bmp": held, not drawn
    SkinImage soundOff;              ///< "sound_off.bmp": held, not drawn
    SkinImage maximize;              ///< "maximize.bmp"
    SkinImage minimize;              ///< "minimize.bmp"
    SkinImage close;                 ///< "close.bmp"
    SkinImage titleIcon;             ///< "title_ico.bmp"
    SkinImage titleString;           ///< "title_str.bmp"
    SkinImage controlPanelFull;      ///< "controlPanel_full.bmp" (capital P)
    SkinSliderImages timeline;       ///< "mainslider*.bmp": the position slider
    SkinSliderImages soundSlider;    ///< "soundslider*.bmp": the volume slider
    SkinTimeImages time;             ///< "time_infor_*.bmp": the time display
    PanelPlacement topPanelPlacement;     ///< section "Top_Panel"
    PanelPlacement controlPanelPlacement; ///< section "Control_Panel"
    IniFile skinFile;                ///< the loaded description, kept for the run
    ClientRect mainClientRect;       ///< the main window's client area, written on every resize
    int32_t topReserved = 0;         ///< height a panel on the top edge takes
    int32_t bottomReserved = 0;      ///< height a panel on the bottom edge takes
};

} // namespace velmo
