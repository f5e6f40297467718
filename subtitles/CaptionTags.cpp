#include "subtitles/CaptionTags.h"

#include <algorithm>
#include <array>

namespace velmo {

namespace {

// Each format's cleaning. SAMI's is the platform parser's: "/" is a blank,
// "&nbsp;" a space, every "<…>" a tag. The cue formats keep their text and
// take only the tags they know.
constexpr CaptionRules kSamiRules{.slashIsBlank = true, .nbspIsBlank = true};
constexpr CaptionRules kSubRipRules{.knownTagsOnly = true, .overrides = true};
constexpr CaptionRules kWebVttRules{.knownTagsOnly = true, .references = true};

struct Reference {
    const char *name; // without "&" and ";"
    char16_t value;
};

constexpr std::array<Reference, 8> kReferences = {{
    {"amp", u'&'}, {"lt", u'<'}, {"gt", u'>'}, {"quot", u'"'},
    {"apos", u'\''}, {"nbsp", u'\u00A0'}, {"lrm", u'\u200E'}, {"rlm", u'\u200F'},
}};

constexpr const char *kKnownTags[] = {"i", "b", "u", "s", "c", "v", "lang", "font", "ruby", "rt", "rp", "br"};

bool IsAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// "<00:01.000>", "<1:02:03,5>": digits first, a ":" somewhere, nothing but
// digits and separators.
bool IsTimestamp(QStringView inside)
{
    if (inside.isEmpty() || inside.size() > 20 || !IsAsciiDigit(inside[0]) || !inside.contains(u':'))
        return false;
    return std::all_of(inside.begin(), inside.end(),
                       [](QChar c) { return IsAsciiDigit(c) || c == u':' || c == u'.' || c == u','; });
}

// Appends the character of a numeric reference, U+FFFD for one that names none.
void AppendNumericReference(QStringView digits, bool hex, QString &out)
{
    bool ok = false;
    const uint code = digits.size() <= 8 ? digits.toUInt(&ok, hex ? 16 : 10) : 0;
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        out.append(QChar(u'\uFFFD'));
        return;
    }
    const char32_t wide = code;
    out.append(QString::fromUcs4(&wide, 1));
}

bool IsReferenceDigit(QChar c, bool hex)
{
    return IsAsciiDigit(c) || (hex && ((c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')));
}

// The reference at `amp` appended to `out`; how many characters it took, 0
// (appending nothing) when none begins there.
qsizetype DecodeOneReference(QStringView text, qsizetype amp, QString &out)
{
    constexpr qsizetype kLongest = 12; // "&#x0010FFFF;" and every name fit
    const qsizetype semi = text.mid(amp + 1, kLongest).indexOf(u';');
    if (semi < 0)
        return 0;
    const QStringView name = text.mid(amp + 1, semi);
    if (name.startsWith(u'#')) {
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        const QStringView digits = name.mid(hex ? 2 : 1);
        if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [hex](QChar c) { return IsReferenceDigit(c, hex); }))
            return 0;
        AppendNumericReference(digits, hex, out);
        return semi + 2;
    }
    for (const Reference &r : kReferences) {
        if (name == QLatin1StringView(r.name)) {
            out.append(QChar(r.value));
            return semi + 2;
        }
    }
    return 0;
}

} // namespace

const CaptionRules &RulesOf(CaptionFormat format)
{
    switch (format) {
    case CaptionFormat::SubRip:
    case CaptionFormat::Ass: // read plainly, ASS text is cleaned as SubRip's
    case CaptionFormat::Ssa: return kSubRipRules;
    case CaptionFormat::WebVtt: return kWebVttRules;
    case CaptionFormat::Sami:
    case CaptionFormat::Unknown: break;
    }
    return kSamiRules;
}

QString CaptionHead(CaptionFormat format)
{
    if (format != CaptionFormat::SubRip && format != CaptionFormat::WebVtt)
        return QStringLiteral("<P>");
    return u'<' + QLatin1StringView(CaptionFormatName(format).data(), qsizetype(CaptionFormatName(format).size()))
        + u'>';
}

std::optional<CaptionBody> ReadCaptionBody(const QString &raw)
{
    const qsizetype firstClose = raw.indexOf(u'>');
    if (firstClose < 0)
        return std::nullopt;
    const QStringView head = QStringView(raw).left(firstClose + 1);
    CaptionFormat format = CaptionFormat::Sami;
    for (CaptionFormat cue : {CaptionFormat::SubRip, CaptionFormat::WebVtt})
        if (head == CaptionHead(cue))
            format = cue;
    CaptionBody body{raw.mid(firstClose + 1), RulesOf(format)};
    body.text.replace(QStringLiteral("<br>"), QStringLiteral("\r\n"));
    body.text.replace(QStringLiteral("<BR>"), QStringLiteral("\r\n"));
    // "/" is left to the pieces: tags keep theirs to tell closers. No pattern
    // here holds a "/" or a blank, so turning it later changes nothing.
    if (body.rules.nbspIsBlank) {
        body.text.replace(QStringLiteral("&NBSP;"), QStringLiteral(" "));
        body.text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    }
    return body;
}

QString RemoveOverrides(QStringView line)
{
    QString out;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = line.indexOf(QLatin1StringView("{\\"), pos);
        const qsizetype close = open < 0 ? -1 : line.indexOf(u'}', open + 2);
        if (close < 0)
            break;
        out.append(line.mid(pos, open - pos));
        pos = close + 1;
    }
    out.append(line.mid(pos));
    return out;
}

QString DecodeReferences(QStringView text)
{
    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    for (qsizetype amp = text.indexOf(u'&'); amp >= 0; amp = text.indexOf(u'&', pos)) {
        out.append(text.mid(pos, amp - pos));
        const qsizetype taken = DecodeOneReference(text, amp, out);
        if (taken == 0)
            out.append(u'&');
        pos = amp + std::max<qsizetype>(taken, 1);
    }
    out.append(text.mid(pos));
    return out;
}

QString CleanTextPiece(QStringView piece, const CaptionRules &rules)
{
    QString out = rules.overrides ? RemoveOverrides(piece) : piece.toString();
    if (rules.references)
        out = DecodeReferences(out);
    if (rules.slashIsBlank)
        out.replace(u'/', u' ');
    return out;
}

bool IsKnownTag(QStringView text, qsizetype open, qsizetype close)
{
    QStringView inside = text.mid(open + 1, close - open - 1);
    if (IsTimestamp(inside))
        return true;
    if (inside.startsWith(u'/'))
        inside = inside.mid(1);
    qsizetype end = 0;
    while (end < inside.size() && IsAsciiLetter(inside[end]))
        ++end;
    // The name ends the tag or is followed by a class, a blank and an
    // annotation, or the "/" of "<br/>".
    if (end < inside.size() && inside[end] != u'.' && inside[end] != u'/' && !inside[end].isSpace())
        return false;
    const QStringView name = inside.left(end);
    return std::any_of(std::begin(kKnownTags), std::end(kKnownTags),
                       [name](const char *known) { return name.compare(QLatin1StringView(known), Qt::CaseInsensitive) == 0; });
}

} // namespace velmo
