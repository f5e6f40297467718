#pragma once

// Where the screenshot key puts its pictures and how it writes them.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string>

namespace velmo {

/// The user's pictures folder: XDG_PICTURES_DIR from the environment, else
/// the one named in $XDG_CONFIG_HOME/user-dirs.dirs (~/.config by default),
/// else ~/Pictures. Bytes, as the file system takes them.
std::string PicturesFolder();

/// The longest file name the file systems we write to take, in bytes.
inline constexpr size_t kMaxFileNameBytes = 255;

/// "<media name>_<hh-mm-ss.mmm>.png" for `mediaPath` at `positionMs`: the
/// name is the file's (or the address's last part) without its extension;
/// "Velmo" when there is none. A name part too long for kMaxFileNameBytes
/// loses its end at a character boundary (UTF-8, else CP949).
std::string ScreenshotName(const std::string &mediaPath, int64_t positionMs);

/// Writes `data` to `path`, making its folder when missing, beside it first
/// (under a short hidden name) and renamed into place once it is all on disk:
/// a failure or a kill leaves no half picture under that name. On failure
/// returns false with `error` set to the system's errno.
bool WritePictureFile(const std::string &path, const QByteArray &data, int *error);

/// What the user is told when writing a screenshot failed with errno `error`.
QString ScreenshotFailure(int error);

/// "화면 저장: <path>", the home folder shown as "~".
QString ScreenshotSaved(const std::string &path);

} // namespace velmo
