#pragma once

#include "skin/SkinSet.h"

#include <QRect>
#include <QSize>
#include <Qt>

#include <optional>
#include <string>

namespace velmo {

/// Where a point of the borderless window falls: the interior moves the
/// window, a zone of the 5-pixel band sizes it, `None` does neither.
enum class HitZone { Interior, None, TopRight, Right, BottomRight, TopLeft, Left, BottomLeft, Bottom, Top };

/// Width of the band along the inside of the client area that acts as the frame.
inline constexpr int kSizingBand = 5;
/// The smallest client size the user can drag the window to.
inline constexpr QSize kMinimumWindowSize{300, 250};
/// The floor of the half-size preset.
inline constexpr QSize kHalfSizeFloor{350, 300};

/// The zone of point (x, y), in client coordinates, of a window whose client
/// area is `client`; the band's zones are tested in a fixed order and the
/// first match wins.
HitZone HitZoneAt(int x, int y, const ClientRect &client);
/// The sizing cursor a zone shows (Qt::ArrowCursor for Interior and None).
Qt::CursorShape CursorForZone(HitZone zone);
/// The edges a zone sizes from (none for Interior and None).
Qt::Edges EdgesForZone(HitZone zone);

/// The window rectangle while the user drags: `start` moved by `delta` when
/// `edges` is empty, else sized from those edges, never below `minimum`.
QRect DraggedGeometry(const QRect &start, Qt::Edges edges, QPoint delta, QSize minimum);

/// The skin's measures that size and place the main window's children.
struct SkinMetrics {
    int screenLeftWidth = 0;        ///< L
    int screenRightWidth = 0;       ///< R
    int controlPanelRightWidth = 0; ///< Cr
    int topPanelHeight = 0;         ///< T
    int controlPanelHeight = 0;     ///< C
    int topReserved = 0;
    int bottomReserved = 0;
    PanelPlacement topPanelPlacement;
    PanelPlacement controlPanelPlacement;

    /// The measures of a loaded skin.
    static SkinMetrics From(const SkinSet &skin);
};

/// Where the main window's children go for one client size.
struct MainLayout {
    QRect videoScreen;                 ///< x, y, width, height
    std::optional<QRect> titleBar;     ///< absent: not shown, or an alignment that leaves it in place
    std::optional<QRect> controlPanel; ///< absent: not shown, or an alignment that leaves it in place
};

/// The layout of the children for client area `client`; in the full-screen
/// modes the video screen covers the whole display of size `screenSize`.
MainLayout ComputeMainLayout(const ClientRect &client, bool fullScreenModes, QSize screenSize, const SkinMetrics &skin);

/// The window size that shows a videoWidth × videoHeight picture at its own size
/// with the skin's borders and panels around it.
QSize FittedWindowSize(int videoWidth, int videoHeight, const SkinMetrics &skin);

/// The window size of size preset `commandId` (ID_SIZE_HALF, ID_SIZE_NORMAL,
/// ID_SIZE_ONE_HALF, ID_SIZE_DOUBLE) for a videoWidth × videoHeight picture;
/// an invalid size for any other command.
QSize PresetWindowSize(int commandId, int videoWidth, int videoHeight, const SkinMetrics &skin);

/// The scale of the picture in size preset `commandId` (0.5, 1, 1.5 or 2; 0
/// for any other command).
double PresetScale(int commandId);

/// `window`, which shows a picture with `border` pixels of panels and edges
/// around it, made to lie wholly on `available` (a screen's free area): when
/// it is too large the picture shrinks, keeping its aspect ratio, until the
/// window fits; then the window moves onto the area. A window that fits
/// keeps its size.
QRect KeepOnScreen(const QRect &window, QSize border, const QRect &available);

} // namespace velmo
