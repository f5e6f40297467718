#include "skin/SkinBitmap.h"

#include "text/BytePath.h"

#include <QFile>
#include <QImageReader>

#include <cmath>

namespace velmo {

namespace {

// Below this ratio the pictures are drawn at their own size; from it up, the
// pictures made for twice the pixels are nearer than the plain ones.
constexpr qreal kDoubleFrom = 1.5;

QImage readImage(const std::string &path)
{
    QFile file;
    if (!OpenForReading(file, path))
        return QImage();
    QImageReader reader(&file); // the format is told by the content
    // A BMP goes straight to the built-in reader. Telling any other format
    // by its content asks every image plugin, which loads them all: the
    // skin is read while the medium's decoders load, and the loader takes one
    // library at a time, so that would hold the window back until they are in.
    if (file.peek(2) == "BM") {
        reader.setFormat("bmp");
        reader.setAutoDetectImageFormat(false);
    }
    return reader.read();
}

// "folder/name@2x.bmp" for "folder/name.bmp".
std::string doublePath(const std::string &path)
{
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + "@2x";
    return path.substr(0, dot) + "@2x" + path.substr(dot);
}

BitmapInfo infoOf(const QImage &image)
{
    BitmapInfo info;
    if (image.isNull())
        return info;
    info.width = image.width();
    info.height = image.height();
    info.bytesPerRow = static_cast<int32_t>(image.bytesPerLine());
    info.planes = 1;
    info.bitsPerPixel = image.depth();
    return info;
}

} // namespace

bool SkinBitmap::Load(const std::string &path, qreal devicePixelRatio)
{
    image_ = readImage(path);
    info_ = infoOf(image_);
    if (image_.isNull() || devicePixelRatio < kDoubleFrom)
        return !image_.isNull();
    QImage twice = readImage(doublePath(path));
    // A picture of any other size would not fit the layout: whole pixels of
    // the plain one fit it exactly and stay sharp.
    if (twice.size() != image_.size() * 2)
        twice = image_.scaled(image_.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    twice.setDevicePixelRatio(2);
    image_ = twice;
    return true;
}

QRect ImagePixels(const QImage &image, const QRect &rect)
{
    const qreal r = image.devicePixelRatio();
    return QRect(std::lround(rect.x() * r), std::lround(rect.y() * r), std::lround(rect.width() * r),
                 std::lround(rect.height() * r));
}

QSize LayoutSize(const QImage &image)
{
    return image.deviceIndependentSize().toSize();
}

} // namespace velmo
