#pragma once

#include "subtitles/CaptionFormat.h"

#include <QByteArray>
#include <QString>

namespace velmo {

/// A SAMI file's text: a BOM decides (UTF-8, UTF-16 LE, UTF-16 BE); otherwise
/// bytes that are valid UTF-8 are UTF-8, and anything else is CP949.
QString DecodeSamiBytes(const QByteArray &bytes);

/// A caption file's text and the encoding it was read in.
struct DecodedCaption {
    QString text;
    CaptionEncoding encoding = CaptionEncoding::Utf8; ///< never Auto
};

/// `bytes` read in `wanted`. Auto reads as DecodeSamiBytes and, with
/// `western`, reads bytes that CP949 cannot read cleanly (it would give
/// replacement characters) as Windows-1252. A byte-order mark of the wanted
/// encoding is dropped. An encoding this build cannot decode reads as Auto.
DecodedCaption DecodeCaptionBytes(const QByteArray &bytes, CaptionEncoding wanted, bool western);

/// Windows-1252 text; the five bytes it leaves undefined read as the C1
/// controls of the same number, as browsers read them.
QString DecodeWindows1252(const QByteArray &bytes);

/// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or
/// code points past U+10FFFF).
bool IsValidUtf8(const QByteArray &bytes);

/// The same text as fromCp949 gives, read through a table of every two-byte
/// code that is built once from fromCp949: subtitle files are large, and the
/// code-page converter is slow for them.
QString DecodeCp949(const QByteArray &bytes);

} // namespace velmo
