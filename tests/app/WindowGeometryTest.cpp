#include "app/WindowGeometry.h"

#include "resources/CommandIds.h"

#include <gtest/gtest.h>

namespace velmo {
namespace {

const ClientRect kClient{0, 0, 400, 300};

struct ZoneCase {
    int x, y;
    HitZone zone;
};

TEST(HitZone, ZonesOfA400By300Window)
{
    const ZoneCase cases[] = {
        {5, 5, HitZone::Interior},       {395, 295, HitZone::Interior},  {200, 150, HitZone::Interior},
        {396, 3, HitZone::TopRight},     {399, 9, HitZone::TopRight},    {396, 11, HitZone::Right},
        {399, 289, HitZone::Right},      {391, 296, HitZone::BottomRight}, {396, 299, HitZone::BottomRight},
        {0, 0, HitZone::TopLeft},        {4, 9, HitZone::TopLeft},       {0, 150, HitZone::Left},
        {4, 289, HitZone::Left},         {9, 296, HitZone::BottomLeft},  {0, 299, HitZone::BottomLeft},
        {11, 296, HitZone::Bottom},      {389, 299, HitZone::Bottom},    {11, 0, HitZone::Top},
        {389, 4, HitZone::Top},
        // Points on the ends of the corners belong to no zone.
        {0, 10, HitZone::None},          {399, 10, HitZone::None},       {0, 290, HitZone::None},
        {399, 290, HitZone::None},       {10, 299, HitZone::None},       {390, 299, HitZone::None},
        {10, 0, HitZone::None},          {390, 0, HitZone::None},
        // The corner zones are tested first: the top band near the right edge is the top-right corner.
        {395, 2, HitZone::None},         {396, 2, HitZone::TopRight},
        // Bottom-right reaches 10 pixels in from the right, unlike top-right.
        {392, 295, HitZone::Interior},   {392, 296, HitZone::BottomRight},
    };
    for (const ZoneCase &c : cases)
        EXPECT_EQ(HitZoneAt(c.x, c.y, kClient), c.zone) << "at " << c.x << "," << c.y;
}

TEST(HitZone, CursorsAndEdgesFollowTheZone)
{
    EXPECT_EQ(CursorForZone(HitZone::TopRight), Qt::SizeBDiagCursor);
    EXPECT_EQ(CursorForZone(HitZone::BottomLeft), Qt::SizeBDiagCursor);
    EXPECT_EQ(CursorForZone(HitZone::TopLeft), Qt::SizeFDiagCursor);
    EXPECT_EQ(CursorForZone(HitZone::BottomRight), Qt::SizeFDiagCursor);
    EXPECT_EQ(CursorForZone(HitZone::Left), Qt::SizeHorCursor);
    EXPECT_EQ(CursorForZone(HitZone::Top), Qt::SizeVerCursor);
    EXPECT_EQ(EdgesForZone(HitZone::TopRight), Qt::TopEdge | Qt::RightEdge);
    EXPECT_EQ(EdgesForZone(HitZone::BottomLeft), Qt::BottomEdge | Qt::LeftEdge);
    EXPECT_EQ(EdgesForZone(HitZone::Bottom), Qt::Edges(Qt::BottomEdge));
    EXPECT_EQ(EdgesForZone(HitZone::Interior), Qt::Edges());
    EXPECT_EQ(EdgesForZone(HitZone::None), Qt::Edges());
}

TEST(DraggedGeometry, MovesOrSizesFromTheDraggedEdges)
{
    const QRect start(100, 100, 400, 300);
    const QSize minimum(300, 250);
    EXPECT_EQ(DraggedGeometry(start, {}, {35, -20}, minimum), QRect(135, 80, 400, 300));
    EXPECT_EQ(DraggedGeometry(start, Qt::RightEdge, {50, 9}, minimum), QRect(100, 100, 450, 300));
    EXPECT_EQ(DraggedGeometry(start, Qt::BottomEdge | Qt::LeftEdge, {-20, 30}, minimum), QRect(80, 100, 420, 330));
    // The opposite edges stay put when the minimum stops the drag.
    EXPECT_EQ(DraggedGeometry(start, Qt::TopEdge | Qt::LeftEdge, {300, 200}, minimum), QRect(200, 150, 300, 250));
    EXPECT_EQ(DraggedGeometry(start, Qt::RightEdge | Qt::BottomEdge, {-300, -200}, minimum),
              QRect(100, 100, 300, 250));
}

SkinMetrics Skin(int l, int r, int cr, int t, int c)
{
    SkinMetrics m;
    m.screenLeftWidth = l;
    m.screenRightWidth = r;
    m.controlPanelRightWidth = cr;
    m.topPanelHeight = t;
    m.controlPanelHeight = c;
    m.topReserved = t;
    m.bottomReserved = c;
    m.topPanelPlacement = {true, "Top"};
    m.controlPanelPlacement = {true, "Bottom"};
    return m;
}

struct PresetCase {
    int command, w, h;
    QSize size;
};

TEST(SizePresets, TableOfPresets)
{
    const SkinMetrics skin = Skin(5, 5, 7, 20, 40);
    const PresetCase cases[] = {
        // Half size: below the floor the window is 350 × 300.
        {ID_SIZE_HALF, 320, 240, {350, 300}},
        {ID_SIZE_HALF, 1280, 720, {650, 440}},
        // Width passes, height does not: still the floor.
        {ID_SIZE_HALF, 1280, 200, {350, 300}},
        // Odd sizes halve with truncation.
        {ID_SIZE_HALF, 1281, 721, {650, 440}},
        {ID_SIZE_NORMAL, 640, 480, {652, 540}},
        {ID_SIZE_ONE_HALF, 321, 241, {493, 421}},
        {ID_SIZE_DOUBLE, 320, 240, {652, 540}},
        {ID_FULL_SCREEN, 320, 240, {}},
    };
    for (const PresetCase &c : cases)
        EXPECT_EQ(PresetWindowSize(c.command, c.w, c.h, skin), c.size) << c.command << " " << c.w << "x" << c.h;
}

TEST(SizePresets, HalfSizeFloorIsTestedOnTheSumsHalved)
{
    // (R + L + W)/2 = (5 + 5 + 690)/2 = 350 and (2C + H)/2 = (80 + 520)/2 = 300: exactly on the floor passes.
    const SkinMetrics skin = Skin(5, 5, 7, 20, 40);
    EXPECT_EQ(PresetWindowSize(ID_SIZE_HALF, 690, 520, skin), QSize(355, 340));
    EXPECT_EQ(PresetWindowSize(ID_SIZE_HALF, 689, 520, skin), QSize(350, 300));
}

TEST(WindowFit, FitsVideoPlusBordersAndReservedHeights)
{
    SkinMetrics skin = Skin(5, 6, 7, 20, 40);
    EXPECT_EQ(FittedWindowSize(320, 240, skin), QSize(332, 300));
    // Both panels at the top: the reserved heights decide, not T and C.
    skin.topReserved = 40;
    skin.bottomReserved = 0;
    EXPECT_EQ(FittedWindowSize(320, 240, skin), QSize(332, 280));
}

TEST(WindowFit, ATooLargeWindowShrinksWithThePictureAndMovesOntoTheScreen)
{
    const QRect screen(0, 0, 1920, 1080);
    const QSize border(6, 82);
    struct Case {
        QRect window;
        QRect available;
        QRect expected;
    } cases[] = {
        // Fits: the size stays exactly, only the place may change.
        {QRect(100, 50, 646, 442), screen, QRect(100, 50, 646, 442)},
        {QRect(1500, 900, 646, 442), screen, QRect(1274, 638, 646, 442)},
        // 1280x720 from the small start window: it fits, but hangs off the edges.
        {QRect(800, 400, 1286, 802), screen, QRect(634, 278, 1286, 802)},
        // 1920x1080: the picture shrinks to 1774x998 (16:9 kept), the window moves in.
        {QRect(800, 400, 1926, 1162), screen, QRect(140, 0, 1780, 1080)},
        // A free area that does not start at the origin (a panel on the left, a second screen).
        {QRect(0, 0, 1926, 1162), QRect(1920, 30, 1920, 1050), QRect(1920, 30, 1726, 1050)},
        // Panels alone larger than the area: the top-left corner stays on it.
        {QRect(50, 50, 400, 300), QRect(0, 0, 200, 60), QRect(0, 0, 400, 300)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(KeepOnScreen(c.window, border, c.available), c.expected) << c.window.x() << "," << c.window.width();
}

TEST(MainLayoutFormulas, NormalModePlacesScreenAndPanels)
{
    const SkinMetrics skin = Skin(5, 6, 7, 20, 40);
    const MainLayout layout = ComputeMainLayout({0, 0, 400, 300}, false, {1280, 1024}, skin);
    EXPECT_EQ(layout.videoScreen, QRect(5, 20, 394, 240));
    ASSERT_TRUE(layout.titleBar);
    EXPECT_EQ(*layout.titleBar, QRect(0, 0, 400, 20));
    ASSERT_TRUE(layout.controlPanel);
    EXPECT_EQ(*layout.controlPanel, QRect(0, 260, 400, 40));
}

TEST(MainLayoutFormulas, SwappedPanelsAndHiddenPanels)
{
    SkinMetrics skin = Skin(5, 6, 7, 20, 40);
    skin.topPanelPlacement.align = "Bottom";
    skin.controlPanelPlacement.align = "Top";
    skin.topReserved = 40;
    skin.bottomReserved = 20;
    MainLayout layout = ComputeMainLayout({0, 0, 400, 300}, false, {1280, 1024}, skin);
    EXPECT_EQ(layout.videoScreen, QRect(5, 40, 394, 240));
    EXPECT_EQ(*layout.titleBar, QRect(0, 280, 400, 20));
    EXPECT_EQ(*layout.controlPanel, QRect(0, 0, 400, 40));

    skin.topPanelPlacement.shown = false;
    skin.controlPanelPlacement.align = "top"; // alignments match exactly
    layout = ComputeMainLayout({0, 0, 400, 300}, false, {1280, 1024}, skin);
    EXPECT_FALSE(layout.titleBar);
    EXPECT_FALSE(layout.controlPanel);
}

TEST(MainLayoutFormulas, FullScreenModesCoverTheDisplay)
{
    const SkinMetrics skin = Skin(5, 6, 7, 20, 40);
    const MainLayout layout = ComputeMainLayout({0, 0, 1280, 1024}, true, {1280, 1024}, skin);
    EXPECT_EQ(layout.videoScreen, QRect(0, 0, 1280, 1024));
}

} // namespace
} // namespace velmo
