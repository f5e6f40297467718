#pragma once

#include <QByteArray>
#include <QString>

namespace velmo {

/// A SAMI file's text: a BOM decides (UTF-8, UTF-16 LE, UTF-16 BE); otherwise
/// bytes that are valid UTF-8 are UTF-8, and anything else is CP949.
QString DecodeSamiBytes(const QByteArray &bytes);

/// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or
/// code points past U+10FFFF).
bool IsValidUtf8(const QByteArray &bytes);

/// The same text as fromCp949 gives, read through a table of every two-byte
/// code that is built once from fromCp949: subtitle files are large, and the
/// code-page converter is slow for them.
QString DecodeCp949(const QByteArray &bytes);

} // namespace velmo
