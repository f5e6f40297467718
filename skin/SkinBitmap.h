#pragma once

#include <QImage>

#include <cstdint>
#include <string>

namespace velmo {

/// What a loaded skin image is: its size and pixel layout. All zero when
/// nothing was loaded.
struct BitmapInfo {
    int32_t type = 0;         ///< always 0, kept for the classic layout
    int32_t width = 0;        ///< pixels per row
    int32_t height = 0;       ///< rows
    int32_t bytesPerRow = 0;  ///< bytes of one row of the loaded image
    int32_t planes = 0;       ///< 1 for a loaded image
    int32_t bitsPerPixel = 0; ///< depth of the loaded image
};

/// One skin image, owned. Null until a file has been loaded into it. Copies
/// of `image()` share the pixels (QImage is implicitly shared), so controls
/// keep copies and the set keeps the original for the whole run.
class SkinBitmap {
public:
    SkinBitmap() = default;

    /// Reads `path` (BMP or any format Qt reads) at its own size; on failure
    /// the bitmap becomes null. Returns whether an image was read. At a
    /// device pixel ratio of 1.5 or more the image held is twice the size,
    /// with a device pixel ratio of 2: "name@2x.ext" beside the file when it
    /// is exactly that size, else the picture scaled by whole pixels.
    bool Load(const std::string &path, qreal devicePixelRatio = 1);
    /// The description of the picture at its own size; all zero when null.
    BitmapInfo Info() const { return info_; }
    /// The loaded image; a null QImage when loading failed. Painting it at
    /// a point gives the picture's own size in layout pixels, whatever its
    /// device pixel ratio.
    const QImage &image() const { return image_; }
    /// True when no image is held.
    bool isNull() const { return image_.isNull(); }

private:
    QImage image_;
    BitmapInfo info_;
};

/// `rect`, in layout pixels of `image`, in the image's own pixels: the
/// source rectangle to paint that part of a picture for a HiDPI screen.
QRect ImagePixels(const QImage &image, const QRect &rect);

/// The size `image` covers in layout pixels.
QSize LayoutSize(const QImage &image);

} // namespace velmo
