#include "skin/SkinBitmap.h"

#include "text/BytePath.h"

#include <QFile>
#include <QImageReader>

namespace velmo {

bool SkinBitmap::Load(const std::string &path)
{
    image_ = QImage();
    QFile file;
    if (!OpenForReading(file, path))
        return false;
    QImageReader reader(&file); // the format is told by the content
    // A BMP goes straight to the built-in reader. Telling any other format
    // by its content asks every image plugin, which loads them all: the
    // skin is read while the medium's decoders load, and the loader takes one
    // library at a time, so that would hold the window back until they are in.
    if (file.peek(2) == "BM") {
        reader.setFormat("bmp");
        reader.setAutoDetectImageFormat(false);
    }
    image_ = reader.read();
    return !image_.isNull();
}

BitmapInfo SkinBitmap::Info() const
{
    BitmapInfo info;
    if (image_.isNull())
        return info;
    info.width = image_.width();
    info.height = image_.height();
    info.bytesPerRow = static_cast<int32_t>(image_.bytesPerLine());
    info.planes = 1;
    info.bitsPerPixel = image_.depth();
    return info;
}

} // namespace velmo
