#include "subtitles/SamiMarkup.h"

#include <QList>

#include <algorithm>
#include <functional>
#include <limits>
#include <string>

namespace velmo {

namespace {

bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\r' || u == u'\n' || u == u'\f';
}

bool isLineBreak(QChar c)
{
    return c.unicode() == u'\r' || c.unicode() == u'\n';
}

QChar lowerAscii(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') ? QChar(char16_t(u - u'A' + u'a')) : c;
}

// `lowerName` matches `text` at `pos` in any letter case.
bool nameAt(QStringView text, qsizetype pos, const char *lowerName)
{
    for (; *lowerName; ++lowerName, ++pos) {
        if (pos >= text.size() || lowerAscii(text[pos]) != QLatin1Char(*lowerName))
            return false;
    }
    return true;
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'-' || c == u'_';
}

// `lastLt` is the position of the last "<" in `out`, -1 when it has none.
bool endsWithBrTag(const QString &out, qsizetype lastLt)
{
    return out.endsWith(u'>') && lastLt >= 0 && IsTagAt(out, lastLt, "br", false);
}

// A hash of the name case-folded as QString::compare with Qt::CaseInsensitive
// folds it, code point by code point, so names equal in that comparison hash
// alike.
uint32_t foldedHash(QStringView name)
{
    std::u16string out;
    out.reserve(size_t(name.size()));
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(c, name[++i]));
            out += QChar::highSurrogate(folded);
            out += QChar::lowSurrogate(folded);
        } else {
            out += char16_t(QChar::toCaseFolded(c.unicode()));
        }
    }
    return uint32_t(std::hash<std::u16string>()(out));
}

QString withoutCssComments(QStringView css)
{
    QString out;
    qsizetype pos = 0;
    while (pos < css.size()) {
        const qsizetype open = css.indexOf(u"/*", pos);
        if (open < 0)
            break;
        out.append(css.mid(pos, open - pos));
        const qsizetype close = css.indexOf(u"*/", open + 2);
        pos = close < 0 ? css.size() : close + 2;
    }
    out.append(css.mid(pos));
    // The block is often wrapped in an HTML comment to hide it from old browsers.
    out.replace(QStringLiteral("<!--"), QStringLiteral("    "));
    out.replace(QStringLiteral("-->"), QStringLiteral("   "));
    return out;
}

// The value of the CSS property `property` in a rule's declarations.
QString propertyOf(QStringView declarations, QLatin1String property)
{
    for (QStringView declaration : declarations.tokenize(u';')) {
        const qsizetype colon = declaration.indexOf(u':');
        if (colon < 0)
            continue;
        if (declaration.left(colon).trimmed().compare(property, Qt::CaseInsensitive) != 0)
            continue;
        QStringView value = declaration.mid(colon + 1).trimmed();
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
            value = value.mid(1, value.size() - 2).trimmed();
        return value.toString();
    }
    return {};
}

} // namespace

bool IsCommentAt(QStringView text, qsizetype pos)
{
    return text.mid(pos).startsWith(u"<!--");
}

CommentEnds::CommentEnds(QStringView text) : text_(text), lastClose_(text.lastIndexOf(u"-->"))
{
}

qsizetype CommentEnds::After(qsizetype pos) const
{
    // A search for "-->" is made only when one lies ahead; it stops at the
    // first, which the caller then skips, so no text is searched twice.
    if (lastClose_ >= pos + 4)
        return text_.indexOf(u"-->", pos + 4) + 3;
    const qsizetype gt = text_.indexOf(u'>', pos + 4);
    return gt >= 0 ? gt + 1 : text_.size();
}

bool IsTagAt(QStringView text, qsizetype pos, const char *lowerName, bool closing)
{
    if (pos >= text.size() || text[pos] != u'<')
        return false;
    ++pos;
    if (closing) {
        if (pos >= text.size() || text[pos] != u'/')
            return false;
        ++pos;
    }
    if (!nameAt(text, pos, lowerName))
        return false;
    pos += qsizetype(std::char_traits<char>::length(lowerName));
    return pos >= text.size() || isBlank(text[pos]) || text[pos] == u'>' || text[pos] == u'/';
}

std::optional<QStringView> AttributeValue(QStringView tag, const char *lowerName)
{
    qsizetype i = 1;
    while (i < tag.size() && !isBlank(tag[i]) && tag[i] != u'>')
        ++i; // the tag's own name
    const qsizetype end = tag.endsWith(u'>') ? tag.size() - 1 : tag.size();
    while (i < end) {
        while (i < end && (isBlank(tag[i]) || tag[i] == u'/'))
            ++i;
        const qsizetype nameStart = i;
        while (i < end && !isBlank(tag[i]) && tag[i] != u'=')
            ++i;
        const QStringView name = tag.mid(nameStart, i - nameStart);
        while (i < end && isBlank(tag[i]))
            ++i;
        QStringView value;
        if (i < end && tag[i] == u'=') {
            ++i;
            while (i < end && isBlank(tag[i]))
                ++i;
            if (i < end && (tag[i] == u'"' || tag[i] == u'\'')) {
                const QChar quote = tag[i++];
                const qsizetype valueStart = i;
                while (i < end && tag[i] != quote)
                    ++i;
                value = tag.mid(valueStart, i - valueStart);
                if (i < end)
                    ++i;
            } else {
                const qsizetype valueStart = i;
                while (i < end && !isBlank(tag[i]))
                    ++i;
                value = tag.mid(valueStart, i - valueStart);
            }
        }
        if (!name.isEmpty() && name.size() == qsizetype(std::char_traits<char>::length(lowerName))
            && nameAt(name, 0, lowerName))
            return value;
    }
    return std::nullopt;
}

int64_t LeadingNumber(QStringView value)
{
    qsizetype i = 0;
    while (i < value.size() && isBlank(value[i]))
        ++i;
    if (i >= value.size() || value[i].unicode() < u'0' || value[i].unicode() > u'9')
        return -1;
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    int64_t n = 0;
    for (; i < value.size() && value[i].unicode() >= u'0' && value[i].unicode() <= u'9'; ++i) {
        const int digit = value[i].unicode() - u'0';
        n = n > (kMax - digit) / 10 ? kMax : n * 10 + digit; // an absurd time saturates
    }
    return n;
}

qsizetype ParagraphContent(const CommentEnds &comments, qsizetype from, QString &content)
{
    const QStringView text = comments.text();
    qsizetype pos = from;
    while (pos < text.size()) {
        const qsizetype lt = text.indexOf(u'<', pos);
        if (lt < 0)
            break;
        if (IsCommentAt(text, lt)) {
            content.append(text.mid(from, lt - from));
            from = pos = comments.After(lt);
            continue;
        }
        if (IsTagAt(text, lt, "p", true) || IsTagAt(text, lt, "p", false) || IsTagAt(text, lt, "sync", false)
            || IsTagAt(text, lt, "sync", true) || IsTagAt(text, lt, "body", false)
            || IsTagAt(text, lt, "body", true) || IsTagAt(text, lt, "sami", true)) {
            content.append(text.mid(from, lt - from));
            return lt;
        }
        pos = lt + 1;
    }
    content.append(text.mid(from));
    return text.size();
}

QString NormaliseLineBreaks(QStringView content)
{
    qsizetype begin = 0;
    qsizetype end = content.size();
    while (begin < end && isBlank(content[begin]))
        ++begin;
    while (end > begin && isBlank(content[end - 1]))
        --end;
    QString out;
    out.reserve(end - begin);
    qsizetype lastLt = -1; // of `out`, followed as pieces are appended
    const auto append = [&out, &lastLt](QStringView piece) {
        const qsizetype lt = piece.lastIndexOf(u'<');
        if (lt >= 0)
            lastLt = out.size() + lt;
        out.append(piece);
    };
    qsizetype copied = begin;
    for (qsizetype i = begin; i < end;) {
        if (!isBlank(content[i])) {
            ++i;
            continue;
        }
        qsizetype j = i;
        bool lineBreak = false;
        for (; j < end && isBlank(content[j]); ++j)
            lineBreak = lineBreak || isLineBreak(content[j]);
        if (lineBreak) {
            append(content.mid(copied, i - copied));
            if (!endsWithBrTag(out, lastLt) && !IsTagAt(content, j, "br", false))
                out.append(u' ');
            copied = j;
        }
        i = j;
    }
    out.append(content.mid(copied, end - copied));
    return out;
}

void SamiClassList::Add(const QString &name, const QString &lang, const QString &title)
{
    if ((items_.size() + 1) * 2 > slots_.size())
        grow();
    const size_t mask = slots_.size() - 1;
    const uint32_t hash = foldedHash(name);
    size_t s = hash & mask;
    for (; slots_[s].item != 0; s = (s + 1) & mask) {
        if (slots_[s].hash == hash && items_[slots_[s].item - 1].name.compare(name, Qt::CaseInsensitive) == 0)
            return;
    }
    items_.push_back({name, lang, title});
    slots_[s] = {hash, uint32_t(items_.size())};
}

void SamiClassList::grow()
{
    const std::vector<Slot> old = std::move(slots_);
    slots_.assign(std::max<size_t>(16, old.size() * 2), Slot{});
    const size_t mask = slots_.size() - 1;
    for (const Slot &slot : old) {
        if (slot.item == 0)
            continue;
        size_t s = slot.hash & mask;
        while (slots_[s].item != 0)
            s = (s + 1) & mask;
        slots_[s] = slot;
    }
}

void ParseClassDeclarations(QStringView css, SamiClassList &classes)
{
    const QString text = withoutCssComments(css);
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = text.indexOf(u'{', pos);
        if (open < 0)
            return;
        qsizetype close = text.indexOf(u'}', open + 1);
        if (close < 0)
            close = text.size();
        const QStringView selectors = QStringView(text).mid(pos, open - pos);
        const QStringView body = QStringView(text).mid(open + 1, close - open - 1);
        pos = close + 1;
        // Once per rule, however many selectors share it.
        const QString lang = propertyOf(body, QLatin1String("lang"));
        const QString title = propertyOf(body, QLatin1String("name"));
        for (QStringView selector : selectors.tokenize(u',')) {
            const qsizetype dot = selector.lastIndexOf(u'.');
            if (dot < 0)
                continue;
            qsizetype nameEnd = dot + 1;
            while (nameEnd < selector.size() && isNameChar(selector[nameEnd]))
                ++nameEnd;
            const QString name = selector.mid(dot + 1, nameEnd - dot - 1).toString();
            if (!name.isEmpty())
                classes.Add(name, lang, title);
        }
        if (close >= text.size())
            return;
    }
}

} // namespace velmo
