#include "subtitles/CaptionPasses.h"

#include <QPainter>

#include <array>

namespace velmo {

namespace {

struct Offset {
    int dx;
    int dy;
};

constexpr std::array<Offset, 4> kShadow = {{{1, 0}, {0, 1}, {2, 0}, {0, 2}}};
constexpr std::array<Offset, 4> kShadowDeep = {{{3, 0}, {0, 3}, {4, 0}, {0, 4}}};
constexpr std::array<Offset, 4> kOutline = {{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}};
constexpr std::array<Offset, 4> kOutlineDeep = {{{-2, -2}, {2, -2}, {2, 2}, {-2, 2}}};

struct Pass {
    QColor colour;
    const std::array<Offset, 4> *offsets; // null: the text itself at (0, 0)
};

std::vector<Pass> passesFor(const SubtitleStyle &style)
{
    std::vector<Pass> passes;
    if (style.Shadow_Use) {
        passes.push_back({ToQColor(style.Shadow), &kShadow});
        if (style.Shadow_Deep)
            passes.push_back({ToQColor(style.Shadow), &kShadowDeep});
    }
    if (style.Outline_Use) {
        passes.push_back({ToQColor(style.Outline), &kOutline});
        if (style.Outline_Deep)
            passes.push_back({ToQColor(style.Outline), &kOutlineDeep});
    }
    passes.push_back({ToQColor(style.Color), nullptr});
    return passes;
}

} // namespace

QColor ToQColor(Colour c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

QImage NewLayer(const QSize &screenSize, qreal ratio)
{
    if (screenSize.isEmpty())
        return {};
    QImage layer(screenSize * ratio, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    return layer;
}

// Every pass of the style over the shaped lines: shadows, outlines, then the text.
void DrawPasses(QImage &layer, const std::vector<PlacedRun> &runs, const SubtitleStyle &style)
{
    QPainter painter(&layer);
    for (const Pass &pass : passesFor(style)) {
        painter.setPen(pass.colour);
        static constexpr std::array<Offset, 1> kNone = {{{0, 0}}};
        const Offset *begin = pass.offsets ? pass.offsets->data() : kNone.data();
        const Offset *end = pass.offsets ? begin + pass.offsets->size() : begin + 1;
        for (const Offset *o = begin; o != end; ++o) {
            for (const PlacedRun &placed : runs) {
                // Runs of their own colour take it in the text pass only: the
                // shadow and outline keep the style's.
                if (!pass.offsets && placed.colour)
                    painter.setPen(*placed.colour);
                painter.drawGlyphRun(placed.origin + QPointF(o->dx, o->dy), placed.run);
                if (!pass.offsets && placed.colour)
                    painter.setPen(pass.colour);
            }
        }
    }
}

// Passes reach 2 pixels up and left and 4 right and down; one more for the
// smoothing of glyph edges.
QRect PassBounds(const QRectF &ink, const QImage &layer)
{
    if (ink.isEmpty())
        return {};
    const QRectF reach = ink.adjusted(-3, -3, 5, 5);
    const qreal ratio = layer.devicePixelRatio();
    return QRectF(reach.topLeft() * ratio, reach.size() * ratio).toAlignedRect().intersected(layer.rect());
}

} // namespace velmo
