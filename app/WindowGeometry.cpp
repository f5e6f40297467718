#include "app/WindowGeometry.h"

#include "resources/CommandIds.h"

#include <algorithm>

namespace velmo {

HitZone HitZoneAt(int x, int y, const ClientRect &c)
{
    const int band = kSizingBand;
    if (x >= c.left + band && y >= c.top + band && y <= c.bottom - band && x <= c.right - band)
        return HitZone::Interior;
    // Corners reach 10 pixels along the edges; a point exactly on a corner's
    // end (for example y == top + 10) belongs to no zone.
    if (x > c.right - band && y < c.top + 10)
        return HitZone::TopRight;
    if (x > c.right - band && y > c.top + 10 && y < c.bottom - 10)
        return HitZone::Right;
    if (x > c.right - 10 && y > c.bottom - 10)
        return HitZone::BottomRight;
    if (x < c.left + band && y < c.top + 10)
        return HitZone::TopLeft;
    if (x < c.left + band && y > c.top + 10 && y < c.bottom - 10)
        return HitZone::Left;
    if (x < c.left + 10 && y > c.bottom - 10)
        return HitZone::BottomLeft;
    if (y > c.bottom - band && x > c.left + 10 && x < c.right - 10)
        return HitZone::Bottom;
    if (y < c.top + band && x > c.left + 10 && x < c.right - 10)
        return HitZone::Top;
    return HitZone::None;
}

Qt::CursorShape CursorForZone(HitZone zone)
{
    switch (zone) {
    case HitZone::TopRight:
    case HitZone::BottomLeft:
        return Qt::SizeBDiagCursor;
    case HitZone::BottomRight:
    case HitZone::TopLeft:
        return Qt::SizeFDiagCursor;
    case HitZone::Right:
    case HitZone::Left:
        return Qt::SizeHorCursor;
    case HitZone::Bottom:
    case HitZone::Top:
        return Qt::SizeVerCursor;
    case HitZone::Interior:
    case HitZone::None:
        break;
    }
    return Qt::ArrowCursor;
}

Qt::Edges EdgesForZone(HitZone zone)
{
    switch (zone) {
    case HitZone::TopRight:
        return Qt::TopEdge | Qt::RightEdge;
    case HitZone::Right:
        return Qt::RightEdge;
    case HitZone::BottomRight:
        return Qt::BottomEdge | Qt::RightEdge;
    case HitZone::TopLeft:
        return Qt::TopEdge | Qt::LeftEdge;
    case HitZone::Left:
        return Qt::LeftEdge;
    case HitZone::BottomLeft:
        return Qt::BottomEdge | Qt::LeftEdge;
    case HitZone::Bottom:
        return Qt::BottomEdge;
    case HitZone::Top:
        return Qt::TopEdge;
    case HitZone::Interior:
    case HitZone::None:
        break;
    }
    return {};
}

QRect DraggedGeometry(const QRect &start, Qt::Edges edges, QPoint delta, QSize minimum)
{
    if (!edges)
        return start.translated(delta);
    int left = start.left();
    int top = start.top();
    int right = start.left() + start.width();   // one past the last column
    int bottom = start.top() + start.height(); // one past the last row
    if (edges & Qt::LeftEdge)
        left = std::min(left + delta.x(), right - minimum.width());
    if (edges & Qt::RightEdge)
        right = std::max(right + delta.x(), left + minimum.width());
    if (edges & Qt::TopEdge)
        top = std::min(top + delta.y(), bottom - minimum.height());
    if (edges & Qt::BottomEdge)
        bottom = std::max(bottom + delta.y(), top + minimum.height());
    return {left, top, right - left, bottom - top};
}

SkinMetrics SkinMetrics::From(const SkinSet &skin)
{
    SkinMetrics m;
    m.screenLeftWidth = skin.screenLeft.width;
    m.screenRightWidth = skin.screenRight.width;
    m.controlPanelRightWidth = skin.controlPanelRight.width;
    m.topPanelHeight = skin.topPanel.height;
    m.controlPanelHeight = skin.controlPanel.height;
    m.topReserved = skin.topReserved;
    m.bottomReserved = skin.bottomReserved;
    m.topPanelPlacement = skin.topPanelPlacement;
    m.controlPanelPlacement = skin.controlPanelPlacement;
    return m;
}

MainLayout ComputeMainLayout(const ClientRect &c, bool fullScreenModes, QSize screenSize, const SkinMetrics &skin)
{
    MainLayout layout;
    if (fullScreenModes) {
        layout.videoScreen = QRect(0, 0, screenSize.width(), screenSize.height());
    } else {
        layout.videoScreen = QRect(c.left + skin.screenLeftWidth, skin.topReserved, c.right - skin.screenRightWidth,
                                   (c.bottom - c.top) - skin.bottomReserved - skin.topReserved);
    }
    if (skin.topPanelPlacement.shown) {
        const int t = skin.topPanelHeight;
        if (skin.topPanelPlacement.align == "Top")
            layout.titleBar = QRect(c.left, c.top, c.right - c.left, t);
        else if (skin.topPanelPlacement.align == "Bottom")
            layout.titleBar = QRect(c.left, (c.bottom - c.top) - t, c.right - c.left, t);
    }
    if (skin.controlPanelPlacement.shown) {
        const int h = skin.controlPanelHeight;
        if (skin.controlPanelPlacement.align == "Bottom")
            layout.controlPanel = QRect(c.left, (c.bottom - c.top) - h, c.right, h);
        else if (skin.controlPanelPlacement.align == "Top")
            layout.controlPanel = QRect(c.left, c.top, c.right - c.left, h);
    }
    return layout;
}

QSize FittedWindowSize(int videoWidth, int videoHeight, const SkinMetrics &skin)
{
    return {videoWidth + skin.screenLeftWidth + skin.controlPanelRightWidth,
            videoHeight + skin.topReserved + skin.bottomReserved};
}

QSize PresetWindowSize(int commandId, int w, int h, const SkinMetrics &skin)
{
    const int l = skin.screenLeftWidth;
    const int r = skin.screenRightWidth;
    const int cr = skin.controlPanelRightWidth;
    const int t = skin.topPanelHeight;
    const int c = skin.controlPanelHeight;
    switch (commandId) {
    case ID_SIZE_HALF:
        // The half size has its own terms (R, not Cr; twice C, not T + C) and a floor.
        if ((r + l + w) / 2 >= kHalfSizeFloor.width() && (2 * c + h) / 2 >= kHalfSizeFloor.height())
            return {w / 2 + r + l, h / 2 + 2 * c};
        return kHalfSizeFloor;
    case ID_SIZE_NORMAL:
        return {w + l + cr, h + t + c};
    case ID_SIZE_ONE_HALF:
        return {static_cast<int>(1.5 * w + cr + l), static_cast<int>(1.5 * h + c + t)};
    case ID_SIZE_DOUBLE:
        return {2 * w + cr + l, 2 * h + c + t};
    default:
        return {};
    }
}

double PresetScale(int commandId)
{
    switch (commandId) {
    case ID_SIZE_HALF: return 0.5;
    case ID_SIZE_NORMAL: return 1.0;
    case ID_SIZE_ONE_HALF: return 1.5;
    case ID_SIZE_DOUBLE: return 2.0;
    default: return 0.0;
    }
}

QRect KeepOnScreen(const QRect &window, QSize border, const QRect &available)
{
    if (available.isEmpty())
        return window;
    QSize size = window.size();
    const int pictureW = size.width() - border.width();
    const int pictureH = size.height() - border.height();
    if ((size.width() > available.width() || size.height() > available.height()) && pictureW > 0 && pictureH > 0) {
        const double scale = std::min(double(available.width() - border.width()) / pictureW,
                                      double(available.height() - border.height()) / pictureH);
        if (scale > 0 && scale < 1)
            size = QSize(int(pictureW * scale) + border.width(), int(pictureH * scale) + border.height());
    }
    // Panels alone may be larger than the area; the left and top edges stay reachable then.
    const int x = std::max(std::min(window.x(), available.x() + available.width() - size.width()), available.x());
    const int y = std::max(std::min(window.y(), available.y() + available.height() - size.height()), available.y());
    return {QPoint(x, y), size};
}

} // namespace velmo
