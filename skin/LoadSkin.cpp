#include "skin/SkinSet.h"

#include <QGuiApplication>

namespace velmo {

namespace {

// The folder that holds the description, with a trailing '/', or "" when the
// description lies in the working directory. Every image lies beside it.
std::string folderOf(const std::string &skinFilePath)
{
    const size_t slash = skinFilePath.rfind('/');
    return slash == std::string::npos ? std::string() : skinFilePath.substr(0, slash + 1);
}

// The alignment text, "Left" when the key is missing or empty.
std::string alignOf(const IniFile &file, const std::string &section, const std::string &key)
{
    std::string align = file.GetString(section, key);
    return align.empty() ? std::string("Left") : align;
}

// An element without a section looks its keys up under an empty name in the
// nameless section, where no key can be stored: it is shown, at 0, 0. Its
// alignment is looked up under "Left" there, which a file may set before its
// first header.
void readImage(const IniFile &file, const std::string &folder, qreal ratio, SkinImage &image,
               const char *fileName, const std::string &section, const char *alignKey = "Align")
{
    image.bitmap.Load(folder + fileName, ratio);
    image.info = image.bitmap.Info();
    image.width = image.info.width;
    image.height = image.info.height;
    const bool named = !section.empty();
    image.shown = file.GetBool(section, named ? "Attribute" : "");
    image.x = file.GetInt(section, named ? "PositionX" : "");
    image.y = file.GetInt(section, named ? "PositionY" : "");
    image.align = alignOf(file, section, named ? alignKey : "Left");
}

void readSlider(const IniFile &file, const std::string &folder, qreal ratio, SkinSliderImages &slider,
                const std::string &stem, const std::string &section)
{
    slider.track.Load(folder + stem + ".bmp", ratio);
    slider.thumb.Load(folder + stem + "_ball.bmp", ratio);
    slider.heldThumb.Load(folder + stem + "_sel.bmp", ratio);
    slider.trackInfo = slider.track.Info();
    slider.width = slider.trackInfo.width;
    slider.height = slider.trackInfo.height;
    slider.shown = file.GetBool(section, "Attribute");
    slider.x = file.GetInt(section, "PositionX");
    slider.y = file.GetInt(section, "PositionY");
    slider.align = alignOf(file, section, "Align");
    slider.blank = file.GetInt(section, "Blank");
}

void readTime(const IniFile &file, const std::string &skinFilePath, const std::string &folder, qreal ratio,
              SkinTimeImages &time)
{
    time.leftCap.Load(folder + "time_infor_left.bmp", ratio);
    time.back.Load(folder + "time_infor_back.bmp", ratio);
    time.rightCap.Load(folder + "time_infor_right.bmp", ratio);
    time.leftCapInfo = time.leftCap.Info();
    time.backInfo = time.back.Info();
    time.rightCapInfo = time.rightCap.Info();
    time.shown = file.GetBool("Time", "Attribute");
    time.x = file.GetInt("Time", "PositionX");
    time.y = file.GetInt("Time", "PositionY");
    time.align = alignOf(file, "Time", "Align");
    time.blank = file.GetInt("Time", "Blank");
    // The colours go through the profile reader, which trims blanks around
    // names and values, unlike the description's own store.
    time.textColor = ReadColor(skinFilePath, "Time", "Text_Color");
    time.shadowColor = ReadColor(skinFilePath, "Time", "Shadow_Color");
}

void readPlacement(const IniFile &file, const std::string &section, PanelPlacement &placement)
{
    placement.shown = file.GetBool(section, "Attribute");
    placement.align = file.GetString(section, "Align");
}

} // namespace

bool SkinSet::LoadSkin(const std::string &skinFilePath)
{
    if (!skinFile.Load(skinFilePath))
        return false;
    readPlacement(skinFile, "Top_Panel", topPanelPlacement);
    readPlacement(skinFile, "Control_Panel", controlPanelPlacement);

    const std::string folder = folderOf(skinFilePath);
    const IniFile &f = skinFile;
    // The pictures suit the sharpest screen the window may be shown on.
    const qreal r = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    readImage(f, folder, r, controlPanel, "controlpanel.bmp", "");
    readImage(f, folder, r, controlPanelLeft, "controlpanel_left.bmp", "");
    readImage(f, folder, r, controlPanelRight, "controlpanel_right.bmp", "");
    readImage(f, folder, r, topPanel, "toppanel.bmp", "");
    readImage(f, folder, r, topPanelLeft, "toppanel_left.bmp", "");
    readImage(f, folder, r, topPanelRight, "toppanel_right.bmp", "");
    readImage(f, folder, r, screenBack, "screen_back.bmp", "");
    readImage(f, folder, r, screenRight, "screen_right.bmp", "");
    readImage(f, folder, r, screenLeft, "screen_left.bmp", "");
    readImage(f, folder, r, play, "play.bmp", "Play");
    readImage(f, folder, r, pause, "pause.bmp", "Pause");
    readImage(f, folder, r, stop, "stop.bmp", "Stop");
    readImage(f, folder, r, next, "next.bmp", "Next");
    readImage(f, folder, r, prev, "prev.bmp", "Prev");
    readImage(f, folder, r, open, "open.bmp", "Open");
    readImage(f, folder, r, controlPanelFull, "controlPanel_full.bmp", "ControlPanel_Full");
    readImage(f, folder, r, soundOn, "sound_on.bmp", "Sound");
    readImage(f, folder, r, soundOff, "sound_off.bmp", "");
    readImage(f, folder, r, maximize, "maximize.bmp", "Max");
    readImage(f, folder, r, close, "close.bmp", "Close");
    readImage(f, folder, r, titleIcon, "title_ico.bmp", "Title_Ico", "Left");
    readImage(f, folder, r, titleString, "title_str.bmp", "Title_String", "Left");
    readImage(f, folder, r, minimize, "minimize.bmp", "Min");
    readImage(f, folder, r, logo, "logo.bmp", "");
    readSlider(f, folder, r, timeline, "mainslider", "Timeline");
    readSlider(f, folder, r, soundSlider, "soundslider", "Sound_Slider");
    readTime(f, skinFilePath, folder, r, time);

    // The control panel's claim on an edge replaces the title bar's.
    topReserved = 0;
    bottomReserved = 0;
    if (topPanelPlacement.shown) {
        if (topPanelPlacement.align == "Top")
            topReserved = topPanel.height;
        else if (topPanelPlacement.align == "Bottom")
            bottomReserved = topPanel.height;
    }
    if (controlPanelPlacement.shown) {
        if (controlPanelPlacement.align == "Bottom")
            bottomReserved = controlPanel.height;
        else if (controlPanelPlacement.align == "Top")
            topReserved = controlPanel.height;
    }
    return true;
}

} // namespace velmo
