#pragma once

#include "controls/ControlPanel.h"

namespace velmo {

/// The control panel shown over the picture in the full-screen modes: the
/// same controls, skin and behaviour as ControlPanel in a window of its own
/// template, shown only while the pointer is in its band at the screen's edge.
class FullScreenPanel : public ControlPanel {
    Q_OBJECT
public:
    FullScreenPanel(SkinSet &skin, Player &player, QWidget *parent = nullptr)
        : ControlPanel(kFullScreenPanelTemplate, skin, player, parent)
    {
    }
};

} // namespace velmo
