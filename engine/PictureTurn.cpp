#include "engine/PictureTurn.h"

#include <algorithm>

namespace velmo {

namespace {

// Square tiles: a quarter turn reads a tile's rows and writes its columns,
// and both stay in the cache.
constexpr int kTile = 32;

} // namespace

void TurnPixels(const uint8_t *from, int fromStride, const QSize &size, uint8_t *to, int toStride,
                Orientation turn)
{
    const QSize turned = turn.Turned(size);
    // Where a pixel lands is linear in its place: an origin and one step for
    // each of the source's directions, counted in pixels of `to`.
    const int toPitch = toStride / 4;
    auto offset = [&](const QPoint &p) { return ptrdiff_t(p.y()) * toPitch + p.x(); };
    const QPoint origin = turn.Map(QPoint(0, 0), size);
    const ptrdiff_t base = offset(origin);
    const ptrdiff_t stepX = offset(turn.Map(QPoint(1, 0), size)) - base;
    const ptrdiff_t stepY = offset(turn.Map(QPoint(0, 1), size)) - base;
    if (turned.isEmpty())
        return;
    auto *out = reinterpret_cast<uint32_t *>(to);
    for (int ty = 0; ty < size.height(); ty += kTile) {
        const int rows = std::min(ty + kTile, size.height());
        for (int tx = 0; tx < size.width(); tx += kTile) {
            const int columns = std::min(tx + kTile, size.width());
            for (int y = ty; y < rows; ++y) {
                const auto *in = reinterpret_cast<const uint32_t *>(from + ptrdiff_t(y) * fromStride) + tx;
                uint32_t *at = out + base + y * stepY + tx * stepX;
                for (int x = tx; x < columns; ++x, at += stepX)
                    *at = *in++;
            }
        }
    }
}

QImage TurnedImage(const QImage &image, Orientation turn)
{
    if (turn.Upright() || image.isNull())
        return image;
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    QImage turned(turn.Turned(source.size()), QImage::Format_RGB32);
    if (turned.isNull())
        return {};
    TurnPixels(source.constBits(), int(source.bytesPerLine()), source.size(), turned.bits(),
               int(turned.bytesPerLine()), turn);
    return turned;
}

} // namespace velmo
