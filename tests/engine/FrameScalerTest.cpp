// The scaler and converter on frames GStreamer itself makes: colour bars in
// the decoders' formats come out in the right colours and places at the size
// asked for, image buffers are reused only once let go, and the video output
// hands such frames over at the picture's size with its own converter idle.

#include "engine/FrameScaler.h"
#include "engine/GstHandles.h"
#include "engine/GstVideoOutput.h"
#include "EngineTestUtil.h"
#include "FrameRecorder.h"

#include <gst/app/gstappsink.h>
#include <gst/base/gstbasetransform.h>

#include <QWidget>

#include <gtest/gtest.h>

#include <string>

using namespace velmo;
using velmo::test::FrameRecorder;

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

namespace {

/// Whether the output bin's element made by `factory` passes buffers through.
bool PassesThrough(GstElement *bin, const char *factory)
{
    bool through = false;
    GstIteratorPtr it(gst_bin_iterate_elements(GST_BIN(bin)));
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(it.get(), &item) == GST_ITERATOR_OK) {
        auto *element = GST_ELEMENT(g_value_get_object(&item));
        if (g_str_equal(GST_OBJECT_NAME(gst_element_get_factory(element)), factory))
            through = gst_base_transform_is_passthrough(GST_BASE_TRANSFORM(element));
        g_value_reset(&item);
    }
    g_value_unset(&item);
    return through;
}

} // namespace

TEST(GstVideoOutputFrames, FramesComeAtThePictureSizeInTheirColoursWhateverTheDecoderFormat)
{
    // NV12 is converted on the way out; GRAY8 needs the bin's converter
    // first. An owner of twice the device pixels gets frames of twice the
    // pixels over the same picture rectangle.
    const struct {
        const char *format;
        int ratio;
    } cases[] = {{"NV12", 1}, {"GRAY8", 1}, {"NV12", 2}, {"GRAY8", 2}};
    for (const auto &[format, ratio] : cases) {
        SCOPED_TRACE(ratio);
        HResult result = E_FAIL;
        auto output = GstVideoOutput::Create(&result);
        ASSERT_TRUE(output);
        FrameRecorder owner;
        owner.ratio = ratio;
        owner.resize(200, 100);
        output->SetOwner(&owner);
        output->SetArea(QRect(0, 0, 200, 100));
        const std::string source = std::string("videotestsrc num-buffers=3 pattern=smpte ! video/x-raw,format=") +
                                   format + ",width=320,height=240,framerate=25/1";
        GError *error = nullptr;
        GstElementPtr pipeline(gst_parse_launch((source + " ! identity name=last").c_str(), &error));
        GErrorPtr failure(error);
        ASSERT_TRUE(pipeline) << source;
        GstElementPtr last(gst_bin_get_by_name(GST_BIN(pipeline.get()), "last"));
        gst_bin_add(GST_BIN(pipeline.get()), output->Bin());
        ASSERT_TRUE(gst_element_link(last.get(), output->Bin()));
        gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
        const bool shown = test::WaitUntil([&] { return owner.shown >= 2; });
        gst_element_set_state(pipeline.get(), GST_STATE_NULL);
        ASSERT_TRUE(shown) << format;
        // Letter-boxed: 4:3 in 200x100 is 133x100, centred.
        EXPECT_EQ(owner.last.picture, QRect(33, 0, 133, 100)) << format;
        EXPECT_EQ(owner.last.image.size(), QSize(133, 100) * ratio) << format;
        const QRgb white = owner.last.image.pixel(5 * ratio, 30 * ratio);
        EXPECT_GT(qGray(white), 230) << format;
        if (std::string(format) == "NV12") {
            EXPECT_TRUE(PassesThrough(output->Bin(), "videoconvert"));
            EXPECT_TRUE(PassesThrough(output->Bin(), "videoscale"));
            // The last bar is blue.
            const QRgb blue = owner.last.image.pixel(127 * ratio, 30 * ratio);
            EXPECT_GT(qBlue(blue), 200);
            EXPECT_LT(qRed(blue), 40);
        }
        output->SetOwner(nullptr);
    }
}
