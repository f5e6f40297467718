#pragma once

#include <QRect>

#include <optional>
#include <string>

namespace velmo {

/// What a pointer move over the full-screen picture does to a panel.
struct BandDecision {
    enum Action { Leave, Show, Hide } action = Leave;
    QRect geometry; ///< where the panel goes when shown
};

/// The rule of the panels over the full-screen picture, for a panel of height
/// `panelHeight` aligned `align` ("Top" or "Bottom"; anything else leaves the
/// panel alone), the pointer at `y` in a screen of client height
/// `clientHeight`: a top panel shows across the client width while y is
/// within its height, a bottom one across the display's width while y is
/// below clientHeight − panelHeight; elsewhere the panel hides.
BandDecision FullScreenBand(const std::string &align, int y, int clientHeight, int panelHeight, int clientWidth,
                            int displayWidth);

} // namespace velmo
