#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace velmo {

/// How a run of caption text looks, as its markup says; the defaults are the
/// caption style's own look.
struct SpanLook {
    std::optional<uint32_t> rgb; ///< 0xRRGGBB from <font color>; none: the style's colour
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const SpanLook &) const = default;
};

/// What a run of text is to a ruby: ordinary text, the base a reading sits
/// over, the reading itself, or the parenthesis shown only where ruby is not.
enum class SpanRole : uint8_t { Text, RubyBase, RubyText, RubyParen };

/// A run of caption text with one look. Line breaks stay in the text ("\r\n"
/// from <br>, and whatever the caption itself holds).
struct CaptionSpan {
    QString text;
    SpanLook look;
    SpanRole role = SpanRole::Text;
    uint32_t rubyPair = 0; ///< the base and the reading of one pair share it; 0 outside a ruby

    bool operator==(const CaptionSpan &) const = default;
};

/// Splits a caption as the readers hand it on (the P element with its markup)
/// into styled runs. The cleaning is CleanCaption's, step for step, so the
/// runs' texts put together are exactly CleanCaption(raw). <font color>, <b>,
/// <i>, <u> (and <strong>, <em>) set the look; <ruby>, <rt>, <rp> set the
/// role; every other tag is dropped. Tags nest up to a fixed depth (deeper
/// ones are counted, not kept) and the cost is linear in the caption.
std::vector<CaptionSpan> ParseCaptionSpans(const QString &raw);

/// Whether any run looks other than plain text: when none does, the caption
/// is drawn as its clean text.
bool HasMarkup(const std::vector<CaptionSpan> &spans);

/// A colour as caption files write it: a name ("yellow", any letter case),
/// "#rrggbb", "#rgb", or six hex digits without "#"; quotes and blanks around
/// it ignored. None when it is none of these.
std::optional<uint32_t> ParseCaptionColour(QStringView value);

} // namespace velmo
