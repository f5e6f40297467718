#include "SkinArt.h"

#include "SkinLayout.h"

#include <sstream>

namespace velmo::skingen {

namespace {

void element(std::ostringstream &out, const char *section, int x, int y, const char *alignKey = "Align")
{
    out << '[' << section << "]\n"
        << "Attribute=1\n"
        << "PositionX=" << x << '\n'
        << "PositionY=" << y << '\n'
        << alignKey << "=Left\n\n";
}

} // namespace

std::string SkinDescription()
{
    std::ostringstream out;
    out << "[Top_Panel]\nAttribute=1\nAlign=Top\n\n"
        << "[Control_Panel]\nAttribute=1\nAlign=Bottom\n\n";
    element(out, "Play", kPlayX, kButtonY);
    element(out, "Pause", kPlayX, kButtonY);
    element(out, "Stop", kStopX, kButtonY);
    element(out, "Prev", kPrevX, kButtonY);
    element(out, "Next", kNextX, kButtonY);
    element(out, "Open", kOpenX, kButtonY);
    element(out, "ControlPanel_Full", kFullX, kButtonY);
    element(out, "Sound", 0, 0);
    element(out, "Title_Ico", kIconX, kIconY, "Left");
    element(out, "Title_String", kTitleStringX, kTitleStringY, "Left");
    element(out, "Min", kMinX, kTitleButtonY);
    element(out, "Max", kMaxX, kTitleButtonY);
    element(out, "Close", kCloseX, kTitleButtonY);
    out << "[Timeline]\nAttribute=1\nPositionX=" << kTimelineX << "\nPositionY=" << kTimelineY
        << "\nBlank=" << kTimelineBlank << "\nAlign=Left\n\n";
    out << "[Sound_Slider]\nAttribute=1\nPositionX=" << kVolumeX << "\nPositionY=" << kVolumeY
        << "\nBlank=0\nAlign=Left\n\n";
    const auto colour = [](const QColor &c) {
        return std::to_string(c.red()) + ',' + std::to_string(c.green()) + ',' + std::to_string(c.blue());
    };
    out << "[Time]\nAttribute=1\nPositionX=" << kTimeX << "\nPositionY=" << kTimeY << "\nBlank=" << kTimeBlank
        << "\nAlign=Left\nText_Color=" << colour(kTimeText) << "\nShadow_Color=" << colour(kTimeShadow) << '\n';
    return out.str();
}

} // namespace velmo::skingen
