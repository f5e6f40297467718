#include "subtitles/StyledCaption.h"

#include "subtitles/CaptionPasses.h"

#include <QFontMetrics>
#include <QTextCharFormat>
#include <QTextLayout>

#include <cmath>

namespace velmo {

namespace {

using Formats = QList<QTextLayout::FormatRange>;

// The smallest line height of a ruby's reading.
constexpr int kSmallestReadingHeight = 6;

// A ruby's reading, over the characters [from, to) of its text.
struct Reading {
    qsizetype from = 0;
    qsizetype to = 0;
    uint32_t pair = 0;
    QString text;
    QTextCharFormat format;
    qreal spaceAfter = 0; ///< room added after the base's last character, for wide readings
};

// A paragraph, or one wrapped line of it: the text shown on the line, a
// format for every character of it, and the readings over it.
struct StyledText {
    QString text;
    Formats formats;
    std::vector<Reading> readings;
};

QTextCharFormat formatOf(const SpanLook &look)
{
    QTextCharFormat format;
    if (look.rgb)
        format.setForeground(QColor(QRgb(0xFF000000u | *look.rgb)));
    if (look.bold)
        format.setFontWeight(QFont::Bold);
    if (look.italic)
        format.setFontItalic(true);
    if (look.underline)
        format.setFontUnderline(true);
    return format;
}

std::optional<QColor> colourOf(const QTextCharFormat &format)
{
    if (!format.hasProperty(QTextFormat::ForegroundBrush))
        return std::nullopt;
    return format.foreground().color();
}

void append(StyledText &out, QStringView piece, const QTextCharFormat &format)
{
    if (piece.isEmpty())
        return;
    if (!out.formats.isEmpty() && out.formats.back().format == format)
        out.formats.back().length += int(piece.size());
    else
        out.formats.append({int(out.text.size()), int(piece.size()), format});
    out.text += piece;
}

// Adds a piece of one run, with no line break in it, to a paragraph.
void add(StyledText &paragraph, QStringView piece, const CaptionSpan &span)
{
    if (piece.isEmpty())
        return;
    Reading *last = paragraph.readings.empty() ? nullptr : &paragraph.readings.back();
    const bool samePair = last && last->pair == span.rubyPair;
    switch (span.role) {
    case SpanRole::RubyBase:
        if (samePair && last->text.isEmpty() && last->to == paragraph.text.size())
            last->to += piece.size();
        else
            paragraph.readings.push_back({paragraph.text.size(), paragraph.text.size() + piece.size(), span.rubyPair, {}, {}});
        break;
    case SpanRole::RubyText:
        if (samePair) {
            if (last->text.isEmpty())
                last->format = formatOf(span.look);
            last->text += piece;
            return;
        }
        break; // a reading whose base is on another line is shown as text
    case SpanRole::RubyParen: return; // only for where ruby is not drawn
    case SpanRole::Text: break;
    }
    append(paragraph, piece, formatOf(span.look));
}

// The runs split at the caption's line breaks: "\r\n" pairs, and lone CR or
// LF, as the plain text is.
std::vector<StyledText> paragraphsOf(const std::vector<CaptionSpan> &spans)
{
    std::vector<StyledText> paragraphs(1);
    bool afterCr = false;
    for (const CaptionSpan &span : spans) {
        const QStringView text(span.text);
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            const bool pairEnd = c == u'\n' && afterCr && i == start;
            afterCr = c == u'\r';
            if (c != u'\r' && c != u'\n')
                continue;
            add(paragraphs.back(), text.mid(start, i - start), span);
            start = i + 1;
            if (!pairEnd)
                paragraphs.emplace_back();
        }
        add(paragraphs.back(), text.mid(start), span);
        if (start < text.size())
            afterCr = false;
    }
    for (StyledText &p : paragraphs)
        std::erase_if(p.readings, [](const Reading &r) { return r.text.trimmed().isEmpty() || r.from == r.to; });
    return paragraphs;
}

// The characters [from, from + length) of `p`, with their formats and readings.
StyledText slice(const StyledText &p, qsizetype from, qsizetype length)
{
    StyledText out{p.text.mid(from, length), {}, {}};
    const qsizetype end = from + length;
    for (const QTextLayout::FormatRange &r : p.formats) {
        const qsizetype a = std::max<qsizetype>(r.start, from);
        const qsizetype b = std::min<qsizetype>(r.start + r.length, end);
        if (a < b)
            out.formats.append({int(a - from), int(b - a), r.format});
    }
    for (const Reading &r : p.readings) {
        const qsizetype a = std::max(r.from, from);
        const qsizetype b = std::min(r.to, end);
        if (a < b)
            out.readings.push_back({a - from, b - from, r.pair, r.text, r.format, r.spaceAfter});
    }
    return out;
}

// A line that does not fit even alone (one long word) ends with an ellipsis
// in the look of the character it replaces.
void elide(StyledText &line, const QFontMetrics &metrics, int width)
{
    const QString elided = metrics.elidedText(line.text, Qt::ElideRight, width);
    qsizetype kept = 0;
    while (kept < elided.size() && kept < line.text.size() && elided[kept] == line.text[kept])
        ++kept;
    QTextCharFormat tailFormat;
    for (const QTextLayout::FormatRange &r : line.formats)
        if (kept > 0 && r.start <= kept - 1 && kept - 1 < r.start + r.length)
            tailFormat = r.format;
    StyledText out = slice(line, 0, kept);
    out.text = elided;
    append(out, QStringView(elided).mid(kept), tailFormat);
    line = std::move(out);
}

// Breaks a paragraph at word boundaries, its runs in their own weights, to fit `width`.
void wrapParagraph(const StyledText &p, const QFont &font, QPaintDevice *device, int width, std::vector<StyledText> &lines)
{
    QTextLayout layout(p.text, font, device);
    layout.setFormats(p.formats);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    bool any = false;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        qsizetype length = line.textLength();
        while (length > 0 && p.text[line.textStart() + length - 1].isSpace())
            --length;
        lines.push_back(slice(p, line.textStart(), length));
        if (line.naturalTextWidth() > width)
            elide(lines.back(), QFontMetrics(font, device), width);
        any = true;
    }
    layout.endLayout();
    if (!any)
        lines.emplace_back();
}

// The caption as it is drawn: its fonts and its wrapped lines.
struct SpanFitted {
    QFont font;
    QFont readingFont;
    std::vector<StyledText> lines;
    int64_t lineHeight = 0;
    int64_t readingHeight = 0;

    int64_t HeightOf(const StyledText &line) const { return lineHeight + (line.readings.empty() ? 0 : readingHeight); }
    int64_t Height() const
    {
        int64_t sum = 0;
        for (const StyledText &line : lines)
            sum += HeightOf(line);
        return sum;
    }
    void KeepLast(int64_t room)
    {
        int64_t height = Height();
        size_t dropped = 0;
        while (dropped < lines.size() && height > room)
            height -= HeightOf(lines[dropped++]);
        lines.erase(lines.begin(), lines.begin() + std::ptrdiff_t(dropped));
    }
};

// The room after the character at `at`, in pixels.
qreal spaceAfter(const Formats &formats, qsizetype at)
{
    for (const QTextLayout::FormatRange &range : formats)
        if (at >= range.start && at < range.start + range.length)
            return range.format.fontLetterSpacing();
    return 0;
}

// Widens the character at `at` by `extra` pixels (letter spacing after it).
void addSpaceAfter(Formats &formats, qsizetype at, qreal extra)
{
    for (qsizetype i = 0; i < formats.size(); ++i) {
        const QTextLayout::FormatRange range = formats[i];
        if (at < range.start || at >= range.start + range.length)
            continue;
        QTextCharFormat wider = range.format;
        wider.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        wider.setFontLetterSpacing(range.format.fontLetterSpacing() + extra);
        Formats parts;
        if (at > range.start)
            parts.append({range.start, int(at - range.start), range.format});
        parts.append({int(at), 1, wider});
        if (at + 1 < range.start + range.length)
            parts.append({int(at + 1), int(range.start + range.length - at - 1), range.format});
        formats.remove(i);
        for (qsizetype k = 0; k < parts.size(); ++k)
            formats.insert(i + k, parts[k]);
        return;
    }
}

// A reading wider than its base would run into its neighbours' readings:
// the base gets room on both sides (after the character before it, and
// after its own last one), so that the reading fits over it with a gap.
StyledText spaceRubies(const StyledText &p, const QFont &font, const QFont &readingFont, QPaintDevice *device)
{
    if (p.readings.empty())
        return p;
    StyledText spaced = p;
    QTextLayout layout(p.text, font, device);
    layout.setFormats(p.formats);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const qreal gap = QFontMetricsF(readingFont, device).height() / 4;
    for (Reading &r : spaced.readings) {
        QTextLayout reading(r.text, readingFont, device);
        reading.setFormats({{0, int(r.text.size()), r.format}});
        reading.beginLayout();
        const QTextLine readingLine = reading.createLine();
        reading.endLayout(); // lays the line out
        const qreal readingWidth = readingLine.naturalTextWidth();
        const qreal room = readingWidth + gap - (line.cursorToX(int(r.to)) - line.cursorToX(int(r.from)));
        if (room <= 0)
            continue;
        const qreal before = std::floor(room / 2);
        if (r.from > 0)
            addSpaceAfter(spaced.formats, r.from - 1, before);
        addSpaceAfter(spaced.formats, r.to - 1, room - before);
    }
    // The room after a base holds the next base's room before it too.
    for (Reading &r : spaced.readings)
        r.spaceAfter = spaceAfter(spaced.formats, r.to - 1);
    return spaced;
}

SpanFitted wrapAll(const QFont &font, const std::vector<StyledText> &paragraphs, QPaintDevice *device, int width)
{
    SpanFitted fitted{font, font, {}, QFontMetrics(font, device).height(), 0};
    SetCellHeight(fitted.readingFont, std::max(kSmallestReadingHeight, int(fitted.lineHeight / 2)));
    fitted.readingHeight = QFontMetrics(fitted.readingFont, device).height();
    for (const StyledText &p : paragraphs)
        wrapParagraph(spaceRubies(p, font, fitted.readingFont, device), font, device, width, fitted.lines);
    return fitted;
}

// Shapes a layout as one line centred on `centre`, its top at `top`, and
// places its runs, each in its format's colour; gives the line and its origin.
QTextLine placeRuns(QTextLayout &layout, const Formats &formats, qreal centre, qreal top, int ascent,
                    std::vector<PlacedRun> &runs, QRectF &ink, QPointF *origin)
{
    layout.setFormats(formats);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    const int width = int(std::ceil(line.naturalTextWidth()));
    *origin = QPointF(std::floor(centre - width / 2.0), top + ascent - line.ascent());
    for (const QTextLayout::FormatRange &r : formats) {
        for (const QGlyphRun &run : layout.glyphRuns(r.start, r.length)) {
            runs.push_back({*origin, run, colourOf(r.format)});
            ink |= run.boundingRect().translated(*origin);
        }
    }
    return line;
}

} // namespace

QImage DrawStyledCaption(const QSize &screenSize, const std::vector<CaptionSpan> &spans, const SubtitleStyle &style,
                         QRect *drawnArea, qreal ratio)
{
    if (drawnArea)
        *drawnArea = QRect();
    if (screenSize.isEmpty())
        return {};
    QImage layer = NewLayer(screenSize, ratio);
    const std::vector<StyledText> paragraphs = paragraphsOf(spans);
    const int width = screenSize.width();
    const int64_t room = int64_t(screenSize.height()) - int64_t(style.Position);
    const SpanFitted fitted = FitToRoom<SpanFitted>(
        style.font ? *style.font : QFont(), [&](const QFont &f) { return wrapAll(f, paragraphs, &layer, width); }, room);
    const QFontMetrics metrics(fitted.font, &layer);
    const QFontMetrics readingMetrics(fitted.readingFont, &layer);

    // Laid out as the plain text is (see DrawSubtitleLayer), a line that
    // holds readings having their height above its text.
    std::vector<PlacedRun> runs;
    QRectF ink;
    int64_t lineTop = int64_t(screenSize.height()) - fitted.Height() - int64_t(style.Position);
    for (const StyledText &line : fitted.lines) {
        const int64_t baseTop = lineTop + fitted.HeightOf(line) - fitted.lineHeight;
        lineTop += fitted.HeightOf(line);
        if (line.text.isEmpty() || baseTop + 2 * fitted.lineHeight < 0 || baseTop - 2 * fitted.lineHeight > screenSize.height())
            continue;
        QTextLayout layout(line.text, fitted.font, &layer);
        QPointF origin;
        const QTextLine shaped =
            placeRuns(layout, line.formats, width / 2.0, qreal(baseTop), metrics.ascent(), runs, ink, &origin);
        for (const Reading &r : line.readings) {
            // Over the base's own characters, not the room after them.
            const qreal centre =
                origin.x() + (shaped.cursorToX(int(r.from)) + shaped.cursorToX(int(r.to)) - r.spaceAfter) / 2;
            QTextLayout reading(r.text, fitted.readingFont, &layer);
            QPointF readingOrigin;
            placeRuns(reading, {{0, int(r.text.size()), r.format}}, centre, qreal(baseTop - fitted.readingHeight),
                      readingMetrics.ascent(), runs, ink, &readingOrigin);
        }
    }
    DrawPasses(layer, runs, style);
    if (drawnArea)
        *drawnArea = PassBounds(ink, layer);
    return ink.isEmpty() ? QImage() : layer;
}

} // namespace velmo
