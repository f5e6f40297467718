// ASS and SSA read as plain captions: the events' text without the
// typesetting, for the plain look and for the tracks that are not typeset.

#include "subtitles/CueReaders.h"

#include "subtitles/CaptionTags.h"

#include <QList>


namespace velmo {

namespace {

// "h:mm:ss.cc" (hours of any length, hundredths); none when it is not one.
std::optional<int64_t> ReadAssTime(QStringView text)
{
    const QStringView t = text.trimmed();
    const QList<QStringView> parts = t.split(u':');
    if (parts.size() != 3)
        return std::nullopt;
    bool ok = false;
    const int64_t hours = parts[0].toLongLong(&ok);
    if (!ok || hours < 0 || hours > 999)
        return std::nullopt;
    const int minutes = parts[1].toInt(&ok);
    if (!ok || minutes < 0 || minutes >= 60)
        return std::nullopt;
    const QStringView secondsText = parts[2];
    const qsizetype dot = secondsText.indexOf(u'.');
    const int seconds = secondsText.left(dot < 0 ? secondsText.size() : dot).toInt(&ok);
    if (!ok || seconds < 0 || seconds >= 60)
        return std::nullopt;
    int64_t fraction = 0;
    if (dot >= 0) {
        const QStringView digits = secondsText.mid(dot + 1).left(3);
        fraction = digits.toInt(&ok);
        if (!ok || digits.isEmpty())
            return std::nullopt;
        for (qsizetype n = digits.size(); n < 3; ++n)
            fraction *= 10;
    }
    return ((hours * 60 + minutes) * 60 + seconds) * 1000 + fraction;
}

// The columns of the [Events] section's Format line that a plain caption needs.
struct EventColumns {
    int count = 10;
    int start = 1;
    int end = 2;
};

EventColumns ColumnsOf(QStringView format)
{
    EventColumns columns;
    const QList<QStringView> names = format.split(u',');
    columns.count = int(names.size());
    columns.start = columns.end = -1;
    for (int i = 0; i < columns.count; ++i) {
        const QStringView name = names[i].trimmed();
        if (name.compare(QLatin1StringView("Start"), Qt::CaseInsensitive) == 0)
            columns.start = i;
        else if (name.compare(QLatin1StringView("End"), Qt::CaseInsensitive) == 0)
            columns.end = i;
    }
    // The text is always the last column; a line that names no times is no
    // Format line a reader can use.
    if (columns.start < 0 || columns.end < 0 || columns.count < 3)
        return EventColumns();
    return columns;
}

// `line` split into `count` fields at its first count - 1 commas: the text,
// last, keeps its own commas.
QList<QStringView> SplitFields(QStringView line, int count)
{
    QList<QStringView> fields;
    qsizetype from = 0;
    while (fields.size() + 1 < count) {
        const qsizetype comma = line.indexOf(u',', from);
        if (comma < 0)
            return {};
        fields.push_back(line.mid(from, comma - from));
        from = comma + 1;
    }
    fields.push_back(line.mid(from));
    return fields;
}

bool StartsWithKey(QStringView line, QLatin1StringView key)
{
    return line.startsWith(key, Qt::CaseInsensitive);
}

} // namespace

QString AssPlainText(QStringView text)
{
    // A drawing ("{\p1}m 0 0 l …{\p0}") is a shape, not words: its commands
    // are left out with the override blocks.
    QString out;
    bool drawingOn = false;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(QLatin1StringView("{"), pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'}', open + 1);
        const qsizetype plainEnd = close < 0 ? text.size() : open;
        if (!drawingOn)
            out.append(text.mid(pos, plainEnd - pos));
        if (close < 0)
            break;
        const QStringView block = text.mid(open + 1, close - open - 1);
        for (qsizetype p = block.indexOf(QLatin1StringView("\\p")); p >= 0;
             p = block.indexOf(QLatin1StringView("\\p"), p + 2)) {
            qsizetype end = p + 2;
            while (end < block.size() && block[end].isDigit())
                ++end;
            if (end > p + 2) // "\pos" and the like are no drawing switch
                drawingOn = block.mid(p + 2, end - p - 2).toInt() > 0;
        }
        pos = close + 1;
    }
    out.replace(QLatin1StringView("\\N"), QLatin1StringView("\n"));
    out.replace(QLatin1StringView("\\n"), QLatin1StringView("\n"));
    out.replace(QLatin1StringView("\\h"), QLatin1StringView(" "));
    return out;
}

QStringView AssChunkText(QStringView chunk)
{
    // ReadOrder, Layer, Style, Name, MarginL, MarginR, MarginV, Effect, Text
    const QList<QStringView> fields = SplitFields(chunk, 9);
    return fields.isEmpty() ? QStringView() : fields.back();
}

std::vector<Cue> ReadAssCues(QStringView text, std::vector<QString> &storage)
{
    std::vector<Cue> cues;
    bool inEvents = false;
    EventColumns columns;
    for (QStringView raw : SplitLines(text)) {
        const QStringView line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inEvents = line.compare(QLatin1StringView("[Events]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inEvents)
            continue;
        if (StartsWithKey(line, QLatin1StringView("Format:"))) {
            columns = ColumnsOf(line.mid(7));
            continue;
        }
        if (!StartsWithKey(line, QLatin1StringView("Dialogue:")))
            continue; // comments, pictures, sounds, commands
        const QList<QStringView> fields = SplitFields(line.mid(9), columns.count);
        if (fields.isEmpty())
            continue;
        const auto start = ReadAssTime(fields[columns.start]);
        const auto end = ReadAssTime(fields[columns.end]);
        if (!start || !end || *end <= *start)
            continue;
        QString plain = AssPlainText(fields.back());
        if (plain.trimmed().isEmpty())
            continue; // a sign drawn only, or nothing at all
        storage.push_back(std::move(plain));
        Cue cue;
        cue.startMs = *start;
        cue.endMs = *end;
        cue.lines = SplitLines(storage.back());
        cues.push_back(std::move(cue));
    }
    return cues;
}

bool LooksLikeAss(QStringView text)
{
    const QStringView t = text.trimmed();
    return t.startsWith(QLatin1StringView("[Script Info]"), Qt::CaseInsensitive);
}

bool IsSsa(QStringView text)
{
    // SSA's styles section is "[V4 Styles]"; ASS's "[V4+ Styles]".
    return text.contains(QLatin1StringView("[V4 Styles]"), Qt::CaseInsensitive)
           && !text.contains(QLatin1StringView("[V4+ Styles]"), Qt::CaseInsensitive);
}

} // namespace velmo
