#include "screen/FullScreenBand.h"

namespace velmo {

BandDecision FullScreenBand(const std::string &align, int y, int clientHeight, int panelHeight, int clientWidth,
                            int displayWidth)
{
    if (align == "Top") {
        if (y < panelHeight)
            return {BandDecision::Show, QRect(0, 0, clientWidth, panelHeight)};
        return {BandDecision::Hide, {}};
    }
    if (align == "Bottom") {
        if (y > clientHeight - panelHeight)
            return {BandDecision::Show, QRect(0, clientHeight - panelHeight, displayWidth, panelHeight)};
        return {BandDecision::Hide, {}};
    }
    return {};
}

} // namespace velmo
