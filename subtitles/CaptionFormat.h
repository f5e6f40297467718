#pragma once

// What a caption file is: its format, told by its content, and the encoding
// its bytes are read in.

#include <cstdint>
#include <optional>
#include <string_view>

namespace velmo {

/// The caption formats a subtitle file may hold.
enum class CaptionFormat : uint8_t { Unknown, Sami, SubRip, WebVtt, Ass, Ssa };

/// The encodings a caption file may be read in. Auto: a byte-order mark
/// decides, then UTF-8 when the bytes are valid UTF-8, then CP949 (and, for
/// SubRip and WebVTT, Windows-1252 where CP949 would not read cleanly).
enum class CaptionEncoding : uint8_t { Auto, Utf8, Cp949, Windows1252, ShiftJis, Gb18030, Big5, Utf16 };

/// Every encoding, in the order the menu lists them.
inline constexpr CaptionEncoding kCaptionEncodings[] = {
    CaptionEncoding::Auto,     CaptionEncoding::Utf8,    CaptionEncoding::Cp949, CaptionEncoding::Windows1252,
    CaptionEncoding::ShiftJis, CaptionEncoding::Gb18030, CaptionEncoding::Big5,  CaptionEncoding::Utf16,
};

/// The format's own name ("SubRip"), as messages name it.
constexpr std::string_view CaptionFormatName(CaptionFormat format)
{
    switch (format) {
    case CaptionFormat::Sami: return "SAMI";
    case CaptionFormat::SubRip: return "SubRip";
    case CaptionFormat::WebVtt: return "WebVTT";
    case CaptionFormat::Ass: return "ASS";
    case CaptionFormat::Ssa: return "SSA";
    case CaptionFormat::Unknown: break;
    }
    return "";
}

/// The encoding's usual name ("Windows-1252"); "자동" for Auto (UTF-8).
constexpr std::string_view CaptionEncodingName(CaptionEncoding encoding)
{
    switch (encoding) {
    case CaptionEncoding::Auto: return "자동";
    case CaptionEncoding::Utf8: return "UTF-8";
    case CaptionEncoding::Cp949: return "CP949";
    case CaptionEncoding::Windows1252: return "Windows-1252";
    case CaptionEncoding::ShiftJis: return "Shift_JIS";
    case CaptionEncoding::Gb18030: return "GB18030";
    case CaptionEncoding::Big5: return "Big5";
    case CaptionEncoding::Utf16: return "UTF-16";
    }
    return "";
}

/// The encoding of `name` as CaptionEncodingName gives it; none for another text.
constexpr std::optional<CaptionEncoding> CaptionEncodingNamed(std::string_view name)
{
    for (CaptionEncoding e : kCaptionEncodings)
        if (CaptionEncodingName(e) == name)
            return e;
    return std::nullopt;
}

} // namespace velmo
