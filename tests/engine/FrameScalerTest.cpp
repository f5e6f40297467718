// The one-pass converter and scaler on frames GStreamer itself makes: colour
// bars in the decoders' formats come out in the right colours and places at
// the size asked for, and image buffers are reused only once let go.

#include "engine/FrameScaler.h"
#include "engine/GstHandles.h"

#include <gst/app/gstappsink.h>

#include <gtest/gtest.h>

#include <string>

using namespace velmo;

namespace {

/// One frame of GStreamer's colour bars in the caps given.
GstSamplePtr MakeBars(const std::string &caps)
{
    const std::string description =
        "videotestsrc num-buffers=1 pattern=smpte ! " + caps + " ! appsink name=out sync=false";
    GError *error = nullptr;
    GstElementPtr pipeline(gst_parse_launch(description.c_str(), &error));
    GErrorPtr failure(error);
    if (!pipeline)
        return nullptr;
    GstElementPtr sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "out"));
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    GstSamplePtr sample(gst_app_sink_try_pull_sample(GST_APP_SINK(sink.get()), 5 * GST_SECOND));
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    return sample;
}

QImage Convert(FrameScaler &scaler, GstSample *sample, const QSize &size)
{
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, gst_sample_get_caps(sample)))
        return {};
    return scaler.Convert(info, gst_sample_get_buffer(sample), size);
}

void ExpectNear(QRgb got, QRgb want, const std::string &where)
{
    constexpr int kTolerance = 12;
    EXPECT_NEAR(qRed(got), qRed(want), kTolerance) << where;
    EXPECT_NEAR(qGreen(got), qGreen(want), kTolerance) << where;
    EXPECT_NEAR(qBlue(got), qBlue(want), kTolerance) << where;
}

} // namespace

TEST(FrameScaler, ColourBarsKeepTheirColoursAndPlacesInEachFormatAndSize)
{
    // The upper two thirds of the pattern: seven full bars from white to blue.
    const QRgb bars[7] = {qRgb(255, 255, 255), qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(0, 255, 0),
                          qRgb(255, 0, 255),   qRgb(255, 0, 0),   qRgb(0, 0, 255)};
    // 140 wide: chroma rows of 70 bytes get padded, so strides differ from widths.
    const std::string formats[] = {
        "video/x-raw,format=I420,width=140,height=84",
        "video/x-raw,format=I420,width=140,height=84,colorimetry=bt709",
        "video/x-raw,format=YV12,width=140,height=84",
        "video/x-raw,format=NV12,width=140,height=84",
        "video/x-raw,format=YUY2,width=140,height=84",
        "video/x-raw,format=I420_10LE,width=140,height=84",
        "video/x-raw,format=BGRx,width=140,height=84",
    };
    const QSize sizes[] = {{140, 84}, {71, 43}, {280, 126}};
    for (const std::string &caps : formats) {
        GstSamplePtr sample = MakeBars(caps);
        ASSERT_TRUE(sample) << caps;
        FrameScaler scaler;
        for (const QSize &size : sizes) {
            const QImage image = Convert(scaler, sample.get(), size);
            ASSERT_EQ(image.size(), size) << caps;
            ASSERT_EQ(image.format(), QImage::Format_RGB32);
            const int y = size.height() / 3;
            for (int bar = 0; bar < 7; ++bar) {
                const int x = (2 * bar + 1) * size.width() / 14;
                ExpectNear(image.pixel(x, y), bars[bar],
                           caps + " at " + std::to_string(size.width()) + " bar " + std::to_string(bar));
            }
        }
    }
}

TEST(FrameScaler, BuffersAreReusedOnlyOnceNoImageHoldsThem)
{
    GstSamplePtr sample = MakeBars("video/x-raw,format=I420,width=64,height=48");
    ASSERT_TRUE(sample);
    FrameScaler scaler;
    QImage first = Convert(scaler, sample.get(), {32, 24});
    const uchar *firstPixels = first.constBits();
    QImage second = Convert(scaler, sample.get(), {32, 24});
    EXPECT_NE(second.constBits(), firstPixels); // still shown: must not be overwritten
    const QRgb kept = first.pixel(2, 2);
    first = QImage();
    const QImage third = Convert(scaler, sample.get(), {32, 24});
    EXPECT_EQ(third.constBits(), firstPixels);
    EXPECT_EQ(third.pixel(2, 2), kept);

    // A new size: images of the old one still read fine, and new ones have the new size.
    const QImage bigger = Convert(scaler, sample.get(), {64, 48});
    EXPECT_EQ(bigger.size(), QSize(64, 48));
    EXPECT_EQ(second.pixel(2, 2), kept);
}

TEST(FrameScaler, UnknownFormatsAndEmptySizesGiveNoImage)
{
    GstSamplePtr sample = MakeBars("video/x-raw,format=GRAY8,width=64,height=48");
    ASSERT_TRUE(sample);
    FrameScaler scaler;
    EXPECT_FALSE(FrameScaler::Handles(GST_VIDEO_FORMAT_GRAY8));
    EXPECT_TRUE(Convert(scaler, sample.get(), {32, 24}).isNull());
    GstSamplePtr bars = MakeBars("video/x-raw,format=I420,width=64,height=48");
    EXPECT_TRUE(Convert(scaler, bars.get(), {0, 24}).isNull());
}
