#include "subtitles/SubtitleOverlay.h"

#include "subtitles/CaptionPasses.h"
#include "subtitles/CaptionSpans.h"
#include "subtitles/StyledCaption.h"

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

// The caption as it is drawn: its font and its wrapped lines.
struct Fitted {
    QFont font;
    QStringList lines;
    int64_t lineHeight = 0;

    int64_t Height() const { return int64_t(lines.size()) * lineHeight; }
    void KeepLast(int64_t room)
    {
        const int64_t kept = lineHeight > 0 ? room / lineHeight : 0;
        lines = lines.mid(std::max<qsizetype>(0, lines.size() - qsizetype(kept)));
    }
};

Fitted wrapped(const QFont &font, const QString &text, QPaintDevice *device, int width)
{
    return {font, wrapLines(text, font, device, width), QFontMetrics(font, device).height()};
}

// The caption's lines must stay on the picture, between its top and the line
// `room` pixels below it where the last line ends. A caption too tall for a
// small picture is drawn smaller, down to the smallest line height, so that
// all of it can still be read; lines that do not fit even then are left out
// from the top, since the last lines are the ones that just began.
Fitted fitCaption(const QFont &font, const QString &text, QPaintDevice *device, int width, int64_t room)
{
    return FitToRoom<Fitted>(font, [&](const QFont &f) { return wrapped(f, text, device, width); }, room);
}

} // namespace

QImage DrawSubtitleLayer(const QSize &screenSize, const ShownCaption &caption, const SubtitleStyle &style)
{
    return DrawSubtitleLayer(screenSize, caption, style, nullptr);
}

QImage DrawSubtitleLayer(const QSize &screenSize, const ShownCaption &caption, const SubtitleStyle &style,
                         QRect *drawnArea, qreal ratio)
{
    const QString &text = caption.text;
    if (drawnArea)
        *drawnArea = QRect();
    if (screenSize.isEmpty() || text.trimmed().isEmpty())
        return {};
    if (!caption.markup.isEmpty()) {
        // Drawn with its looks only when the markup is this text's own.
        const std::vector<CaptionSpan> spans = ParseCaptionSpans(caption.markup);
        QString joined;
        for (const CaptionSpan &span : spans)
            joined += span.text;
        if (HasMarkup(spans) && joined == text)
            return DrawStyledCaption(screenSize, spans, style, drawnArea, ratio);
    }

    QImage layer = NewLayer(screenSize, ratio);
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
            runs.push_back({origin, run, std::nullopt});
            inkBounds |= run.boundingRect().translated(origin);
        }
    }

    DrawPasses(layer, runs, style);

    if (drawnArea)
        *drawnArea = PassBounds(inkBounds, layer);
    return layer;
}

QImage DrawMessageLayer(const QSize &screenSize, const QString &text, const SubtitleStyle &style, QRect *drawnArea,
                        qreal ratio)
{
    *drawnArea = QRect();
    if (screenSize.isEmpty() || text.trimmed().isEmpty())
        return {};
    QImage layer = NewLayer(screenSize, ratio);
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
            runs.push_back({origin, run, std::nullopt});
            inkBounds |= run.boundingRect().translated(origin);
        }
        lineTop += metrics.height();
    }
    DrawPasses(layer, runs, style);
    *drawnArea = PassBounds(inkBounds, layer);
    return layer;
}

} // namespace velmo
