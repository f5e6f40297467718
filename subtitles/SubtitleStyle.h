#pragma once

#include "text/IniFile.h"
#include "text/ProfileReader.h"

#include <QFont>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace velmo {

/// The settings file, relative to the working directory.
inline constexpr char kSettingsFileName[] = "./velmo_init.ini";

/// Maps the Windows Korean faces ("굴림", "돋움", "Gulim", "Dotum") onto an
/// installed Hangul font. Call once at start, after the application object.
void InstallKoreanFontSubstitutes();

/// The caption's look: its face, size, weight, colours, outline, shadow and
/// position, whether captions are shown, and the settings file's section
/// "Sami" they are kept in. The player's own settings live beside it in the
/// same file (PlayerSettings).
class SubtitleStyle {
public:
    /// Sets the initial values, then loads `settingsFileName`.
    explicit SubtitleStyle(std::string settingsFileName = kSettingsFileName);
    ~SubtitleStyle() = default;
    SubtitleStyle(const SubtitleStyle &) = delete;
    SubtitleStyle &operator=(const SubtitleStyle &) = delete;

    /// False when the file could not be read; nothing changes then.
    bool LoadSettings();
    /// Stores the thirteen keys of section "Sami" and writes the file.
    bool SaveSettings();
    /// The colour of `key` in section "Sami", read from the file on disk.
    Colour ReadColor(const std::string &key) const;
    /// Rebuilds `font` from Size, Style, fontQuality and Font.
    void RebuildFont();

    IniFile settingsFile;
    bool subtitleVisible = true;
    Colour Color = 0;
    Colour Outline = 0;
    Colour Shadow = 0;
    int32_t Size = 0;
    std::string Font; ///< face name, CP949
    int32_t Position = 0;
    bool Outline_Use = false;
    bool Shadow_Use = false;
    bool Outline_Deep = false;
    bool Shadow_Deep = false;
    int32_t Style = 0;
    bool Quality = false;
    uint8_t fontQuality = 0;
    std::optional<QFont> font; ///< none: draw with the default font

private:
    std::string fileName_;
};

/// Gives `font` the largest pixel size whose line height (ascent + descent)
/// is at most `cellHeight` pixels, from the face's own metrics.
void SetCellHeight(QFont &font, int cellHeight);

/// The font that the style's fields describe (GDI weights mapped to Qt's). A
/// positive `size` is the line height in pixels, a negative one the em size,
/// 0 the default size.
QFont MakeSubtitleFont(int32_t size, int32_t weight, uint8_t quality, const std::string &faceCp949);

} // namespace velmo
