#pragma once

// Where the screenshot key puts its pictures and how it writes them.

#include <QByteArray>

#include <cstdint>
#include <string>

namespace velmo {

/// The user's pictures folder: XDG_PICTURES_DIR from the environment, else
/// the one named in $XDG_CONFIG_HOME/user-dirs.dirs (~/.config by default),
/// else ~/Pictures. Bytes, as the file system takes them.
std::string PicturesFolder();

/// "<media name>_<hh-mm-ss.mmm>.png" for `mediaPath` at `positionMs`: the
/// name is the file's (or the address's last part) without its extension;
/// "Velmo" when there is none.
std::string ScreenshotName(const std::string &mediaPath, int64_t positionMs);

/// Writes `data` to `path`, making its folder when missing, beside it first
/// and renamed into place once it is all on disk: a failure or a kill leaves
/// no half picture under that name. On failure returns false with `error`
/// set to the system's reason.
bool WritePictureFile(const std::string &path, const QByteArray &data, std::string *error);

} // namespace velmo
