#pragma once

#include <QString>

namespace velmo {

/// The filter list of the media file dialog, in its classic "label|patterns|...||" form.
extern const char *const kMediaFileFilter;
/// The filter list of the subtitle file dialog.
extern const char *const kSubtitleFileFilter;

/// A classic filter list ("label|*.a;*.b|label|*.c||") as Qt's name filters
/// ("label (*.a *.b);;label (*.c)"): the same labels and patterns, in order.
QString QtFileFilter(const char *classicFilter);

} // namespace velmo
