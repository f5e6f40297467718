// Pure rules of the engine: where a picture goes, display sizes, media URIs.

#include "engine/MediaResult.h"
#include "engine/MediaUri.h"
#include "engine/PictureLayout.h"

#include <gtest/gtest.h>

using namespace velmo;

namespace {

TEST(PictureLayout, LetterBoxKeepsTheAspectRatioAndStretchFillsTheArea)
{
    struct Case {
        QRect area;
        QSize display;
        int32_t mode;
        QRect expected;
    };
    const Case cases[] = {
        {{0, 0, 640, 360}, {320, 240}, AM_ARMODE_LETTER_BOX, {80, 0, 480, 360}},   // pillar box
        {{0, 0, 320, 320}, {320, 240}, AM_ARMODE_LETTER_BOX, {0, 40, 320, 240}},   // letter box
        {{0, 0, 1280, 720}, {1920, 1080}, AM_ARMODE_LETTER_BOX, {0, 0, 1280, 720}}, // same shape
        {{10, 20, 100, 100}, {200, 100}, AM_ARMODE_LETTER_BOX, {10, 45, 100, 50}},  // offset area
        {{0, 0, 101, 100}, {1, 1}, AM_ARMODE_LETTER_BOX, {0, 0, 100, 100}},         // odd spare pixel left
        {{0, 0, 640, 360}, {320, 240}, AM_ARMODE_STRETCHED, {0, 0, 640, 360}},
        {{0, 0, 640, 360}, {0, 0}, AM_ARMODE_LETTER_BOX, {0, 0, 640, 360}},         // size unknown
        {{0, 0, 0, 0}, {320, 240}, AM_ARMODE_LETTER_BOX, {0, 0, 0, 0}},             // no area
        {{0, 0, 1000, 2}, {1, 1000}, AM_ARMODE_LETTER_BOX, {499, 0, 1, 2}},         // never below a pixel
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.display.width() << "x" << c.display.height() << " in "
                                        << c.area.width() << "x" << c.area.height());
        EXPECT_EQ(FitPicture(c.area, c.display, c.mode), c.expected);
    }
}

TEST(PictureLayout, NonSquarePixelsWidenThePicture)
{
    EXPECT_EQ(DisplaySize(320, 240, 2, 1), QSize(640, 240));
    EXPECT_EQ(DisplaySize(720, 576, 16, 15), QSize(768, 576));
    EXPECT_EQ(DisplaySize(720, 480, 8, 9), QSize(640, 480));
    EXPECT_EQ(DisplaySize(320, 240, 1, 1), QSize(320, 240));
    EXPECT_EQ(DisplaySize(320, 240, 0, 1), QSize(320, 240)); // unknown ratio: as stored
}

TEST(PictureLayout, PicturePiecesCoverTheWindowOnceAndComposeOnlyTheCaption)
{
    struct Case {
        const char *name;
        QSize window;
        QSize frame;
        QRect caption;
        QRect composed; ///< what must come from the composed picture
    };
    const Case cases[] = {
        {"no caption", {320, 200}, {320, 200}, {}, {}},
        {"caption inside", {320, 200}, {320, 200}, {40, 150, 200, 30}, {40, 150, 200, 30}},
        {"caption along the bottom edge", {320, 200}, {320, 200}, {0, 170, 320, 30}, {0, 170, 320, 30}},
        {"caption wider than the window", {100, 200}, {100, 200}, {-50, 150, 300, 30}, {0, 150, 100, 30}},
        {"caption outside", {320, 200}, {320, 200}, {0, 210, 320, 30}, {}},
        {"caption covering all", {320, 200}, {320, 200}, {-1, -1, 400, 300}, {0, 0, 320, 200}},
        {"frame of another size", {320, 200}, {160, 100}, {40, 150, 200, 30}, {0, 0, 320, 200}},
        {"frame of another size, no caption", {320, 200}, {160, 100}, {}, {0, 0, 320, 200}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const PicturePieces pieces = PlanPicturePieces(c.window, c.frame, c.caption);
        EXPECT_EQ(pieces.composed, c.composed);
        // Every pixel of the window exactly once, from the frame or the composed picture.
        std::vector<int> hits(size_t(c.window.width() * c.window.height()), 0);
        std::vector<QRect> all = pieces.direct;
        all.push_back(pieces.composed);
        for (const QRect &r : all) {
            if (r.isEmpty())
                continue;
            ASSERT_TRUE(QRect(QPoint(0, 0), c.window).contains(r)) << r.x() << "," << r.y();
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    ++hits[size_t(y * c.window.width() + x)];
        }
        EXPECT_EQ(std::count(hits.begin(), hits.end(), 1), std::ssize(hits));
    }
    EXPECT_TRUE(PlanPicturePieces({0, 0}, {0, 0}, {}).direct.empty());
}

TEST(MediaUri, AddressesPassAsTheyStandAndPathsBecomeFileUris)
{
    EXPECT_EQ(MediaUri("https://example.invalid/v?a=1&b=%20"), "https://example.invalid/v?a=1&b=%20");
    EXPECT_EQ(MediaUri("/tmp/a b#1.avi"), "file:///tmp/a%20b%231.avi");
    EXPECT_EQ(MediaUri("/tmp/영상.avi"), "file:///tmp/%EC%98%81%EC%83%81.avi");
    const std::string longPath = "/tmp/" + std::string(400, 'x') + ".avi";
    EXPECT_EQ(MediaUri(longPath), "file://" + longPath);
    EXPECT_EQ(MediaUri(""), "");
    // A relative path is taken from the working directory.
    const std::string relative = MediaUri("relative.avi");
    EXPECT_EQ(relative.rfind("file:///", 0), 0u);
    EXPECT_NE(relative.find("/relative.avi"), std::string::npos);
}

} // namespace
