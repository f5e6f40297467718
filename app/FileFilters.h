#pragma once

#include <QString>
#include <QStringList>

namespace velmo {

/// The filter list of the media file dialog, in its classic "label|patterns|...||" form.
extern const char *const kMediaFileFilter;
/// The filter list of the subtitle file dialog.
extern const char *const kSubtitleFileFilter;

/// A classic filter list ("label|*.a;*.b|label|*.c||") as Qt's name filters
/// ("label (*.a *.b)"), one per entry, in order. A pattern written without
/// the dot of its extension ("*wma") gets it. The first entry also covers
/// every other entry's patterns (all but "*.*") and then `moreForFirst`, each
/// pattern once: it is the one that shows every file of the kinds listed.
QStringList DialogNameFilters(const char *classicFilter, const QStringList &moreForFirst = {});

/// The MIME types the GStreamer plugins installed here play, as the desktop
/// entry announces them (SAMI included).
QStringList InstalledMimeTypes();
/// The file name patterns ("*.mkv") of `mimeTypes`, each once, in order.
QStringList PatternsOfMimeTypes(const QStringList &mimeTypes);

/// The media dialog's name filters: its first entry covers every file kind
/// the installed plugins play; caption files are left to the subtitle dialog.
QStringList MediaDialogFilters();
/// The subtitle dialog's name filters: its first entry covers every caption kind read.
QStringList SubtitleDialogFilters();

} // namespace velmo
