#pragma once

#include <QString>

namespace velmo {

/// Turns a caption as the SAMI reader hands it on (the P element with its
/// markup) into the text to show: everything up to the first ">" dropped,
/// "<br>"/"<BR>" made "\r\n", "/" and "&nbsp;"/"&NBSP;" made spaces, then
/// every remaining tag removed. A text without ">" is returned unchanged.
QString CleanCaption(const QString &raw);

} // namespace velmo
