#pragma once

#include <QString>

namespace velmo {

/// Turns a caption as the readers hand it on (the P element with its markup)
/// into the text to show: everything up to the first ">" dropped,
/// "<br>"/"<BR>" made "\r\n", then the tags removed and the text cleaned by
/// its format's rules (CaptionTags.h). For SAMI: "/" and "&nbsp;"/"&NBSP;"
/// made spaces and every "<…>" a tag. A text without ">" is returned unchanged.
QString CleanCaption(const QString &raw);

} // namespace velmo
