#include "skin/SkinBitmap.h"

#include <QByteArray>
#include <QFile>

namespace velmo {

bool SkinBitmap::Load(const std::string &path)
{
    // Paths are the platform's own bytes; decode them as the file system does.
    image_ = QImage(QFile::decodeName(QByteArray::fromStdString(path)));
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
