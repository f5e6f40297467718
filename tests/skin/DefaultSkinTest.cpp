#include "skin/SkinSet.h"

#include <gtest/gtest.h>

#include <QRect>

#include <string>
#include <utility>
#include <vector>

using namespace velmo;

namespace {

const std::string kDefaultSkin = VELMO_SOURCE_DIR "/skin/default/skin.ini";

// The narrowest main window, and so the narrowest panels.
constexpr int kNarrowest = 300;

bool sensible(const QImage &image)
{
    return !image.isNull() && image.width() > 0 && image.height() > 0 && image.width() <= 4096 &&
           image.height() <= 4096;
}

// The rectangle a button gets in its panel of width `cw`; `fromRight` for
// elements placed from the right edge.
QRect buttonRect(const SkinImage &image, int cw, bool fromRight)
{
    return {fromRight ? cw - image.x : image.x, image.y, image.width / 3, image.height};
}

} // namespace

TEST(DefaultSkin, EveryPictureLoadsAtASensibleSize)
{
    const SkinSet skin(kDefaultSkin);
    ASSERT_GT(skin.skinFile.entryCount(), 0u) << skin.skinFile.lastError();
    const std::vector<std::pair<const char *, const SkinImage *>> images = {
        {"controlPanel", &skin.controlPanel}, {"controlPanelLeft", &skin.controlPanelLeft},
        {"controlPanelRight", &skin.controlPanelRight}, {"topPanel", &skin.topPanel},
        {"topPanelLeft", &skin.topPanelLeft}, {"topPanelRight", &skin.topPanelRight}, {"logo", &skin.logo},
        {"screenBack", &skin.screenBack}, {"screenLeft", &skin.screenLeft}, {"screenRight", &skin.screenRight},
        {"soundOn", &skin.soundOn}, {"soundOff", &skin.soundOff},
    };
    for (const auto &[name, image] : images) {
        EXPECT_TRUE(sensible(image->bitmap.image())) << name;
        EXPECT_TRUE(image->shown) << name;
    }
    for (const SkinSliderImages *slider : {&skin.timeline, &skin.soundSlider}) {
        EXPECT_TRUE(sensible(slider->track.image()));
        EXPECT_GE(slider->width, 15) << "three 5-pixel columns";
        EXPECT_TRUE(sensible(slider->thumb.image()));
        EXPECT_TRUE(sensible(slider->heldThumb.image()));
        EXPECT_LE(slider->thumb.image().height(), slider->height);
        EXPECT_NE(slider->thumb.image(), slider->heldThumb.image()) << "holding the thumb shows";
    }
    EXPECT_TRUE(sensible(skin.time.leftCap.image()));
    EXPECT_TRUE(sensible(skin.time.back.image()));
    EXPECT_TRUE(sensible(skin.time.rightCap.image()));
    EXPECT_NE(skin.time.textColor, skin.time.shadowColor);

    // The screen borders are copied at the screen's height, not stretched.
    EXPECT_GE(skin.screenLeft.height, 1080);
    EXPECT_GE(skin.screenRight.height, 1080);
}

TEST(DefaultSkin, ButtonsHoldThreeDistinctFrames)
{
    const SkinSet skin(kDefaultSkin);
    const std::vector<std::pair<const char *, const SkinImage *>> buttons = {
        {"play", &skin.play}, {"pause", &skin.pause}, {"stop", &skin.stop}, {"prev", &skin.prev},
        {"next", &skin.next}, {"open", &skin.open}, {"controlPanelFull", &skin.controlPanelFull},
        {"soundOn", &skin.soundOn}, {"soundOff", &skin.soundOff}, {"maximize", &skin.maximize},
        {"minimize", &skin.minimize}, {"close", &skin.close}, {"titleIcon", &skin.titleIcon},
        {"titleString", &skin.titleString},
    };
    for (const auto &[name, button] : buttons) {
        ASSERT_TRUE(sensible(button->bitmap.image())) << name;
        EXPECT_EQ(button->width % 3, 0) << name;
        const int w = button->width / 3;
        const QImage &image = button->bitmap.image();
        const QImage normal = image.copy(0, 0, w, button->height);
        const QImage hover = image.copy(w, 0, w, button->height);
        const QImage pressed = image.copy(2 * w, 0, w, button->height);
        if (button != &skin.titleString) { // the title does nothing when clicked
            EXPECT_NE(normal, hover) << name;
            EXPECT_NE(hover, pressed) << name;
        }
    }
    EXPECT_EQ(skin.pause.width, skin.play.width) << "the play button keeps the size of play";
    EXPECT_EQ(skin.pause.height, skin.play.height);
}

TEST(DefaultSkin, PanelsFitTheNarrowestWindow)
{
    const SkinSet skin(kDefaultSkin);
    EXPECT_EQ(skin.topPanelPlacement.align, "Top");
    EXPECT_EQ(skin.controlPanelPlacement.align, "Bottom");
    EXPECT_EQ(skin.topReserved, skin.topPanel.height);
    EXPECT_EQ(skin.bottomReserved, skin.controlPanel.height);
    // The borders of the screen and the panel's right end line up, so the
    // size presets give the picture its own size.
    EXPECT_EQ(skin.screenRight.width, skin.controlPanelRight.width);
    EXPECT_EQ(skin.screenLeft.width, skin.screenRight.width);

    for (int cw : {kNarrowest, 1920}) {
        // Control panel: transport at the left, full screen and volume at the
        // right, the timeline above, stopping short of the time display.
        const QRect panel(0, 0, cw, skin.controlPanel.height);
        std::vector<QRect> left;
        for (const SkinImage *b : {&skin.play, &skin.stop, &skin.prev, &skin.next, &skin.open})
            left.push_back(buttonRect(*b, cw, false));
        const QRect full = buttonRect(skin.controlPanelFull, cw, true);
        const QRect volume(cw - skin.soundSlider.x, skin.soundSlider.y, skin.soundSlider.width, skin.soundSlider.height);
        const QRect timeline(skin.timeline.x, skin.timeline.y, cw - skin.timeline.blank, skin.timeline.height);
        const QRect time(cw - skin.time.x, skin.time.y, skin.time.x - skin.time.blank, skin.time.backInfo.height);
        std::vector<QRect> all = left;
        all.insert(all.end(), {full, volume, timeline, time});
        for (size_t i = 0; i < all.size(); ++i) {
            EXPECT_TRUE(panel.contains(all[i])) << "control " << i << " at width " << cw;
            for (size_t j = i + 1; j < all.size(); ++j)
                EXPECT_FALSE(all[i].intersects(all[j])) << "controls " << i << " and " << j << " at width " << cw;
        }
        EXPECT_GT(time.width(), 100) << "room for 00:00:00 / 00:00:00";
        EXPECT_LT(timeline.right(), time.left());

        // Title bar: icon and title at the left, window buttons at the right.
        const QRect bar(0, 0, cw, skin.topPanel.height);
        const std::vector<QRect> titles = {
            buttonRect(skin.titleIcon, cw, false), buttonRect(skin.titleString, cw, false),
            buttonRect(skin.minimize, cw, true), buttonRect(skin.maximize, cw, true),
            buttonRect(skin.close, cw, true)};
        for (size_t i = 0; i < titles.size(); ++i) {
            EXPECT_TRUE(bar.contains(titles[i])) << "title button " << i << " at width " << cw;
            for (size_t j = i + 1; j < titles.size(); ++j)
                EXPECT_FALSE(titles[i].intersects(titles[j])) << "title buttons " << i << " and " << j;
        }
    }
}
