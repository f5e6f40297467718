#include "subtitles/SubtitleOverlay.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QList>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

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

QColor toQColor(Colour c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// The caption's explicit line breaks: "\r\n" pairs, and lone CR or LF as well.
QStringList paragraphsOf(const QString &text)
{
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(u'\r', u'\n');
    return normalised.split(u'\n');
}

// Breaks each paragraph at word boundaries to fit `width`; a line that still
// does not fit (one long word) is cut with an ellipsis at its end.
QStringList wrapLines(const QString &text, const QFont &font, QPaintDevice *device, int width)
{
    const QFontMetrics metrics(font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    QStringList lines;
    for (const QString &paragraph : paragraphsOf(text)) {
        QTextLayout layout(paragraph, font, device);
        layout.setTextOption(option);
        layout.beginLayout();
        bool any = false;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            QString piece = paragraph.mid(line.textStart(), line.textLength());
            while (!piece.isEmpty() && piece.back().isSpace())
                piece.chop(1);
            if (line.naturalTextWidth() > width)
                piece = metrics.elidedText(piece, Qt::ElideRight, width);
            lines << piece;
            any = true;
        }
        layout.endLayout();
        if (!any)
            lines << QString();
    }
    return lines;
}

// The smallest line height the settings let a caption have: a caption is not
// shrunk below it to fit a small picture.
constexpr int kSmallestLineHeight = 10;

// The caption as it is drawn: its font and its wrapped lines.
struct Fitted {
    QFont font;
    QStringList lines;
    int64_t lineHeight = 0;
};

Fitted wrapped(const QFont &font, const QString &text, QPaintDevice *device, int width)
{
    return {font, wrapLines(text, font, device, width), QFontMetrics(font, device).height()};
}

Fitted atLineHeight(QFont font, int lineHeight, const QString &text, QPaintDevice *device, int width)
{
    SetCellHeight(font, lineHeight);
    return wrapped(font, text, device, width);
}

// The caption's lines must stay on the picture, between its top and the line
// `room` pixels below it where the last line ends. A caption too tall for a
// small picture is drawn smaller, down to the smallest line height, so that
// all of it can still be read; lines that do not fit even then are left out
// from the top, since the last lines are the ones that just began.
Fitted fitCaption(const QFont &font, const QString &text, QPaintDevice *device, int width, int64_t room)
{
    const auto fits = [room](const Fitted &f) { return int64_t(f.lines.size()) * f.lineHeight <= room; };
    Fitted best = wrapped(font, text, device, width);
    if (fits(best))
        return best;
    // A smaller font never needs more lines, so the largest height that fits
    // is found by halving.
    int low = kSmallestLineHeight;
    int high = room < kSmallestLineHeight ? 0 : int(std::min(best.lineHeight - 1, room));
    std::optional<Fitted> found;
    while (low <= high) {
        const int mid = low + (high - low) / 2;
        Fitted probe = atLineHeight(font, mid, text, device, width);
        if (fits(probe)) {
            found = std::move(probe);
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    if (found)
        return *found;
    if (best.lineHeight > kSmallestLineHeight)
        best = atLineHeight(font, kSmallestLineHeight, text, device, width);
    const int64_t kept = best.lineHeight > 0 ? room / best.lineHeight : 0;
    best.lines = best.lines.mid(std::max<qsizetype>(0, best.lines.size() - qsizetype(kept)));
    return best;
}

// One shaped line, placed with its left edge and baseline in layer coordinates.
struct PlacedRun {
    QPointF origin;
    QGlyphRun run;
};

struct Pass {
    QColor colour;
    const std::array<Offset, 4> *offsets; // null: the text itself at (0, 0)
};

std::vector<Pass> passesFor(const SubtitleStyle &style)
{
    std::vector<Pass> passes;
    if (style.Shadow_Use) {
        passes.push_back({toQColor(style.Shadow), &kShadow});
        if (style.Shadow_Deep)
            passes.push_back({toQColor(style.Shadow), &kShadowDeep});
    }
    if (style.Outline_Use) {
        passes.push_back({toQColor(style.Outline), &kOutline});
        if (style.Outline_Deep)
            passes.push_back({toQColor(style.Outline), &kOutlineDeep});
    }
    passes.push_back({toQColor(style.Color), nullptr});
    return passes;
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
            for (const PlacedRun &placed : runs)
                painter.drawGlyphRun(placed.origin + QPointF(o->dx, o->dy), placed.run);
        }
    }
}

// Passes reach 2 pixels up and left and 4 right and down; one more for the
// smoothing of glyph edges.
QRect PassBounds(const QRectF &ink, const QImage &layer)
{
    return ink.isEmpty() ? QRect() : ink.toAlignedRect().adjusted(-3, -3, 5, 5).intersected(layer.rect());
}

} // namespace

QImage DrawSubtitleLayer(const QSize &screenSize, const QString &text, const SubtitleStyle &style)
{
    return DrawSubtitleLayer(screenSize, text, style, nullptr);
}

QImage DrawSubtitleLayer(const QSize &screenSize, const QString &text, const SubtitleStyle &style, QRect *drawnArea)
{
    if (drawnArea)
        *drawnArea = QRect();
    if (screenSize.isEmpty() || text.trimmed().isEmpty())
        return {};

    QImage layer(screenSize, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    const int64_t room = int64_t(screenSize.height()) - int64_t(style.Position);
    const Fitted fitted = fitCaption(style.font ? *style.font : QFont(), text, &layer, screenSize.width(), room);
    const QFont &font = fitted.font;
    const QFontMetrics metrics(font, &layer);
    const QStringList &lines = fitted.lines;

    // The box ends at the bottom of the screen; its top leaves the measured
    // text ending Position pixels above the bottom. The text sits at the top
    // of the box, one line height per line. Position is whatever the settings
    // file holds, so the arithmetic is 64-bit, and a line that lies wholly off
    // the layer (a line height of margin for glyphs that overhang their line
    // and for the passes' offsets) is left out rather than drawn at
    // coordinates the painter cannot hold.
    const int64_t lineHeight = fitted.lineHeight;
    const int64_t top = int64_t(screenSize.height()) - int64_t(lines.size()) * lineHeight - int64_t(style.Position);

    std::vector<PlacedRun> runs;
    QRectF inkBounds;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int64_t lineTop = top + int64_t(i) * lineHeight;
        if (lines[i].isEmpty() || lineTop + 2 * lineHeight < 0 || lineTop - lineHeight > screenSize.height())
            continue;
        QTextLayout layout(lines[i], font, &layer);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        const int lineWidth = int(std::ceil(line.naturalTextWidth()));
        const QPointF origin((screenSize.width() - lineWidth) / 2, qreal(lineTop) + metrics.ascent() - line.ascent());
        for (const QGlyphRun &run : layout.glyphRuns()) {
            runs.push_back({origin, run});
            inkBounds |= run.boundingRect().translated(origin);
        }
    }

    DrawPasses(layer, runs, style);

    if (drawnArea)
        *drawnArea = PassBounds(inkBounds, layer);
    return layer;
}

QImage DrawMessageLayer(const QSize &screenSize, const QString &text, const SubtitleStyle &style, QRect *drawnArea)
{
    *drawnArea = QRect();
    if (screenSize.isEmpty() || text.trimmed().isEmpty())
        return {};
    QImage layer(screenSize, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QFont font = style.font ? *style.font : QFont();
    const int captionHeight = QFontMetrics(font, &layer).height();
    SetCellHeight(font, std::max(kSmallestLineHeight, captionHeight * 2 / 3));
    const QFontMetrics metrics(font, &layer);
    const int margin = std::max(4, metrics.height() / 2);
    std::vector<PlacedRun> runs;
    QRectF inkBounds;
    int lineTop = margin;
    for (const QString &paragraph : paragraphsOf(text)) {
        const QString shown = metrics.elidedText(paragraph, Qt::ElideRight, screenSize.width() - 2 * margin);
        QTextLayout layout(shown, font, &layer);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        const QPointF origin(margin, lineTop + metrics.ascent() - line.ascent());
        for (const QGlyphRun &run : layout.glyphRuns()) {
            runs.push_back({origin, run});
            inkBounds |= run.boundingRect().translated(origin);
        }
        lineTop += metrics.height();
    }
    DrawPasses(layer, runs, style);
    *drawnArea = PassBounds(inkBounds, layer);
    return layer;
}

} // namespace velmo
