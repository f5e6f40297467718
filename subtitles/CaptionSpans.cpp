#include "subtitles/CaptionSpans.h"

#include "subtitles/CaptionTags.h"
#include "subtitles/SamiMarkup.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace velmo {

namespace {

struct NamedColour {
    const char *name;
    uint32_t rgb;
};

// The colour names of the web, sorted, as caption files use them.
constexpr NamedColour kNamedColours[] = {
    {"aliceblue", 0xF0F8FF}, {"antiquewhite", 0xFAEBD7}, {"aqua", 0x00FFFF}, {"aquamarine", 0x7FFFD4},
    {"azure", 0xF0FFFF}, {"beige", 0xF5F5DC}, {"bisque", 0xFFE4C4}, {"black", 0x000000},
    {"blanchedalmond", 0xFFEBCD}, {"blue", 0x0000FF}, {"blueviolet", 0x8A2BE2}, {"brown", 0xA52A2A},
    {"burlywood", 0xDEB887}, {"cadetblue", 0x5F9EA0}, {"chartreuse", 0x7FFF00}, {"chocolate", 0xD2691E},
    {"coral", 0xFF7F50}, {"cornflowerblue", 0x6495ED}, {"cornsilk", 0xFFF8DC}, {"crimson", 0xDC143C},
    {"cyan", 0x00FFFF}, {"darkblue", 0x00008B}, {"darkcyan", 0x008B8B}, {"darkgoldenrod", 0xB8860B},
    {"darkgray", 0xA9A9A9}, {"darkgreen", 0x006400}, {"darkgrey", 0xA9A9A9}, {"darkkhaki", 0xBDB76B},
    {"darkmagenta", 0x8B008B}, {"darkolivegreen", 0x556B2F}, {"darkorange", 0xFF8C00}, {"darkorchid", 0x9932CC},
    {"darkred", 0x8B0000}, {"darksalmon", 0xE9967A}, {"darkseagreen", 0x8FBC8F}, {"darkslateblue", 0x483D8B},
    {"darkslategray", 0x2F4F4F}, {"darkslategrey", 0x2F4F4F}, {"darkturquoise", 0x00CED1}, {"darkviolet", 0x9400D3},
    {"deeppink", 0xFF1493}, {"deepskyblue", 0x00BFFF}, {"dimgray", 0x696969}, {"dimgrey", 0x696969},
    {"dodgerblue", 0x1E90FF}, {"firebrick", 0xB22222}, {"floralwhite", 0xFFFAF0}, {"forestgreen", 0x228B22},
    {"fuchsia", 0xFF00FF}, {"gainsboro", 0xDCDCDC}, {"ghostwhite", 0xF8F8FF}, {"gold", 0xFFD700},
    {"goldenrod", 0xDAA520}, {"gray", 0x808080}, {"green", 0x008000}, {"greenyellow", 0xADFF2F},
    {"grey", 0x808080}, {"honeydew", 0xF0FFF0}, {"hotpink", 0xFF69B4}, {"indianred", 0xCD5C5C},
    {"indigo", 0x4B0082}, {"ivory", 0xFFFFF0}, {"khaki", 0xF0E68C}, {"lavender", 0xE6E6FA},
    {"lavenderblush", 0xFFF0F5}, {"lawngreen", 0x7CFC00}, {"lemonchiffon", 0xFFFACD}, {"lightblue", 0xADD8E6},
    {"lightcoral", 0xF08080}, {"lightcyan", 0xE0FFFF}, {"lightgoldenrodyellow", 0xFAFAD2}, {"lightgray", 0xD3D3D3},
    {"lightgreen", 0x90EE90}, {"lightgrey", 0xD3D3D3}, {"lightpink", 0xFFB6C1}, {"lightsalmon", 0xFFA07A},
    {"lightseagreen", 0x20B2AA}, {"lightskyblue", 0x87CEFA}, {"lightslategray", 0x778899}, {"lightslategrey", 0x778899},
    {"lightsteelblue", 0xB0C4DE}, {"lightyellow", 0xFFFFE0}, {"lime", 0x00FF00}, {"limegreen", 0x32CD32},
    {"linen", 0xFAF0E6}, {"magenta", 0xFF00FF}, {"maroon", 0x800000}, {"mediumaquamarine", 0x66CDAA},
    {"mediumblue", 0x0000CD}, {"mediumorchid", 0xBA55D3}, {"mediumpurple", 0x9370DB}, {"mediumseagreen", 0x3CB371},
    {"mediumslateblue", 0x7B68EE}, {"mediumspringgreen", 0x00FA9A}, {"mediumturquoise", 0x48D1CC}, {"mediumvioletred", 0xC71585},
    {"midnightblue", 0x191970}, {"mintcream", 0xF5FFFA}, {"mistyrose", 0xFFE4E1}, {"moccasin", 0xFFE4B5},
    {"navajowhite", 0xFFDEAD}, {"navy", 0x000080}, {"oldlace", 0xFDF5E6}, {"olive", 0x808000},
    {"olivedrab", 0x6B8E23}, {"orange", 0xFFA500}, {"orangered", 0xFF4500}, {"orchid", 0xDA70D6},
    {"palegoldenrod", 0xEEE8AA}, {"palegreen", 0x98FB98}, {"paleturquoise", 0xAFEEEE}, {"palevioletred", 0xDB7093},
    {"papayawhip", 0xFFEFD5}, {"peachpuff", 0xFFDAB9}, {"peru", 0xCD853F}, {"pink", 0xFFC0CB},
    {"plum", 0xDDA0DD}, {"powderblue", 0xB0E0E6}, {"purple", 0x800080}, {"red", 0xFF0000},
    {"rosybrown", 0xBC8F8F}, {"royalblue", 0x4169E1}, {"saddlebrown", 0x8B4513}, {"salmon", 0xFA8072},
    {"sandybrown", 0xF4A460}, {"seagreen", 0x2E8B57}, {"seashell", 0xFFF5EE}, {"sienna", 0xA0522D},
    {"silver", 0xC0C0C0}, {"skyblue", 0x87CEEB}, {"slateblue", 0x6A5ACD}, {"slategray", 0x708090},
    {"slategrey", 0x708090}, {"snow", 0xFFFAFA}, {"springgreen", 0x00FF7F}, {"steelblue", 0x4682B4},
    {"tan", 0xD2B48C}, {"teal", 0x008080}, {"thistle", 0xD8BFD8}, {"tomato", 0xFF6347},
    {"turquoise", 0x40E0D0}, {"violet", 0xEE82EE}, {"wheat", 0xF5DEB3},
    {"white", 0xFFFFFF}, {"whitesmoke", 0xF5F5F5}, {"yellow", 0xFFFF00}, {"yellowgreen", 0x9ACD32}
};

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

std::optional<uint32_t> hexColour(QStringView digits)
{
    if (!std::all_of(digits.begin(), digits.end(), isHexDigit))
        return std::nullopt;
    if (digits.size() == 6)
        return uint32_t(digits.toUInt(nullptr, 16));
    if (digits.size() == 3) {
        uint32_t rgb = 0;
        for (QChar c : digits) {
            const uint32_t nibble = QStringView(&c, 1).toUInt(nullptr, 16);
            rgb = (rgb << 8) | (nibble << 4) | nibble;
        }
        return rgb;
    }
    return std::nullopt;
}

std::optional<uint32_t> namedColour(QStringView name)
{
    if (name.size() > 32)
        return std::nullopt;
    char lower[33] = {};
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c > 0x7F)
            return std::nullopt;
        lower[i] = char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    const std::string_view key(lower);
    const auto *end = std::end(kNamedColours);
    const auto *found = std::lower_bound(std::begin(kNamedColours), end, key,
                                         [](const NamedColour &a, std::string_view b) { return a.name < b; });
    return found != end && found->name == key ? std::optional<uint32_t>(found->rgb) : std::nullopt;
}

enum class TagKind : uint8_t { Font, Bold, Italic, Underline, Ruby, Rt, Rp, Other };

struct TagName {
    const char *name;
    TagKind kind;
};

constexpr TagName kTagNames[] = {
    {"font", TagKind::Font}, {"b", TagKind::Bold},      {"strong", TagKind::Bold}, {"i", TagKind::Italic},
    {"em", TagKind::Italic}, {"u", TagKind::Underline}, {"ruby", TagKind::Ruby},   {"rt", TagKind::Rt},
    {"rp", TagKind::Rp},
};

TagKind kindOf(QStringView name)
{
    for (const TagName &t : kTagNames)
        if (name.compare(QLatin1StringView(t.name), Qt::CaseInsensitive) == 0)
            return t.kind;
    return TagKind::Other;
}

bool isNameChar(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// Builds the runs from the cleaned text's pieces and the tags between them.
class SpanBuilder {
public:
    void Text(QStringView piece)
    {
        if (piece.isEmpty())
            return;
        const Open now = current();
        const uint32_t pair = now.role == SpanRole::Text ? 0 : pair_;
        if (spans_.empty() || spans_.back().look != now.look || spans_.back().role != now.role
            || spans_.back().rubyPair != pair)
            spans_.push_back({QString(), now.look, now.role, pair});
        spans_.back().text.append(piece); // cleaned by the scan; tags keep their "/" to tell closers
    }

    void Tag(QStringView tag)
    {
        qsizetype i = 1;
        const bool closing = i < tag.size() && tag[i] == u'/';
        if (closing)
            ++i;
        const qsizetype nameStart = i;
        while (i < tag.size() && isNameChar(tag[i]))
            ++i;
        const TagKind kind = kindOf(tag.mid(nameStart, i - nameStart));
        if (kind == TagKind::Other)
            return;
        if (closing)
            Close(kind);
        else if (!tag.endsWith(u"/>"))
            OpenTag(kind, tag);
    }

    std::vector<CaptionSpan> Take() { return std::move(spans_); }

private:
    // Real captions nest a handful of tags; deeper ones only count.
    static constexpr size_t kMaxDepth = 64;

    struct Open {
        TagKind kind = TagKind::Other;
        SpanLook look;
        SpanRole role = SpanRole::Text;
    };

    Open current() const { return stack_.empty() ? Open() : stack_.back(); }

    void OpenTag(TagKind kind, QStringView tag)
    {
        Open next = current();
        next.kind = kind;
        switch (kind) {
        case TagKind::Font:
            if (const auto colour = AttributeValue(tag, "color"))
                if (const auto rgb = ParseCaptionColour(*colour))
                    next.look.rgb = rgb;
            break;
        case TagKind::Bold: next.look.bold = true; break;
        case TagKind::Italic: next.look.italic = true; break;
        case TagKind::Underline: next.look.underline = true; break;
        case TagKind::Ruby:
            next.role = SpanRole::RubyBase;
            pair_ = ++lastPair_;
            break;
        case TagKind::Rt:
        case TagKind::Rp:
            if (next.role == SpanRole::RubyText || next.role == SpanRole::RubyParen) {
                EndReading(); // one reading or parenthesis ends where the next begins
                next = current();
                next.kind = kind;
            }
            if (next.role != SpanRole::RubyBase)
                return; // a reading with no ruby around it is plain text
            next.role = kind == TagKind::Rt ? SpanRole::RubyText : SpanRole::RubyParen;
            break;
        case TagKind::Other: return;
        }
        if (stack_.size() >= kMaxDepth) {
            ++overflow_;
            return;
        }
        stack_.push_back(next);
    }

    void Close(TagKind kind)
    {
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        const auto found = std::find_if(stack_.rbegin(), stack_.rend(), [kind](const Open &o) { return o.kind == kind; });
        if (found == stack_.rend())
            return;
        stack_.erase(found.base() - 1, stack_.end());
        if (kind == TagKind::Rt)
            pair_ = ++lastPair_; // the base after a reading is another pair's
    }

    void EndReading()
    {
        const auto found = std::find_if(stack_.rbegin(), stack_.rend(),
                                        [](const Open &o) { return o.kind == TagKind::Rt || o.kind == TagKind::Rp; });
        if (found != stack_.rend())
            stack_.erase(found.base() - 1, stack_.end());
    }

    std::vector<CaptionSpan> spans_;
    std::vector<Open> stack_;
    size_t overflow_ = 0;
    uint32_t pair_ = 0;
    uint32_t lastPair_ = 0;
};

} // namespace

std::optional<uint32_t> ParseCaptionColour(QStringView value)
{
    const QStringView v = value.trimmed();
    if (v.startsWith(u'#'))
        return hexColour(v.mid(1));
    if (v.size() == 6)
        if (const auto rgb = hexColour(v))
            return rgb;
    return namedColour(v);
}

std::vector<CaptionSpan> ParseCaptionSpans(const QString &raw)
{
    // Read as CleanCaption reads it, so the runs hold its text.
    const std::optional<CaptionBody> body = ReadCaptionBody(raw);
    if (!body)
        return raw.isEmpty() ? std::vector<CaptionSpan>() : std::vector<CaptionSpan>{{raw, {}, SpanRole::Text, 0}};
    SpanBuilder builder;
    ScanCaptionTags(
        *body, [&](QStringView piece) { builder.Text(piece); }, [&](QStringView tag) { builder.Tag(tag); });
    return builder.Take();
}

bool HasMarkup(const std::vector<CaptionSpan> &spans)
{
    return std::any_of(spans.begin(), spans.end(),
                       [](const CaptionSpan &s) { return s.look != SpanLook() || s.role != SpanRole::Text; });
}

} // namespace velmo
