#include "skin/SkinBitmap.h"

#include "skin/BytePath.h"

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
