// Which pixels a skin picture is painted from at each device pixel ratio:
// its @2x file when that is exactly twice the size, else whole-pixel
// doubling; the description stays the plain picture's.

#include "skin/SkinBitmap.h"

#include "support/TempDir.h"

#include <QImage>

#include <gtest/gtest.h>

using velmo::SkinBitmap;
using velmo::test::TempDir;

namespace {

// Two columns, red and blue: doubling them by any smoothing mixes purple in.
QImage TwoColumns()
{
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 0, 255));
    return image;
}

enum class Twin { None, Drawn, WrongSize };

TEST(SkinBitmapRatio, PicksTheTwinOrDoublesByWholePixels)
{
    const QImage plain = TwoColumns();
    QImage drawn(4, 2, QImage::Format_RGB32);
    drawn.fill(qRgb(0, 255, 0));
    QImage doubled(4, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            doubled.setPixel(x, y, plain.pixel(x / 2, 0));

    struct Case {
        qreal ratio;
        Twin twin;
        const QImage &expected;
        qreal expectedRatio;
    } cases[] = {
        {1.0, Twin::Drawn, plain, 1},      {1.25, Twin::Drawn, plain, 1}, {1.5, Twin::Drawn, drawn, 2},
        {2.0, Twin::Drawn, drawn, 2},      {3.0, Twin::Drawn, drawn, 2},  {2.0, Twin::None, doubled, 2},
        {2.0, Twin::WrongSize, doubled, 2}, {1.25, Twin::None, plain, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "ratio " << c.ratio << ", twin " << int(c.twin));
        TempDir dir;
        ASSERT_TRUE(plain.save(QString::fromStdString(dir.path("b.bmp")), "BMP"));
        if (c.twin != Twin::None) {
            const QImage twin = c.twin == Twin::Drawn ? drawn : drawn.scaled(6, 3);
            ASSERT_TRUE(twin.save(QString::fromStdString(dir.path("b@2x.bmp")), "BMP"));
        }
        SkinBitmap bitmap;
        ASSERT_TRUE(bitmap.Load(dir.path("b.bmp"), c.ratio));
        EXPECT_EQ(bitmap.image().devicePixelRatio(), c.expectedRatio);
        EXPECT_EQ(bitmap.image().convertToFormat(QImage::Format_RGB32), c.expected);
        EXPECT_EQ(bitmap.Info().width, 2);
        EXPECT_EQ(bitmap.Info().height, 1);
    }
}

} // namespace
