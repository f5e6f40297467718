#pragma once

#include <QByteArray>
#include <QString>

namespace velmo {

/// CP949 bytes to text. Bytes that are not valid CP949 become U+FFFD and the
/// conversion goes on; nothing is cut.
QString fromCp949(const QByteArray &bytes);

/// Text to CP949 bytes. A character that CP949 lacks becomes "?".
QByteArray toCp949(const QString &text);

} // namespace velmo
