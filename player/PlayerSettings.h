#pragma once

#include "player/Playlist.h"

#include <cstdint>
#include <string>

namespace velmo {

class IniFile;

/// The player's own settings and modes, beside the caption's look: the
/// volume and mute, the window modes, repeat, and the options of our own that
/// the settings file keeps in section "Velmo". The file is the one the
/// caption's look lives in (it is written whole at each save), so both are
/// given the same IniFile.
class PlayerSettings {
public:
    /// Reads the options of section "Velmo" from `file`, which outlives this.
    explicit PlayerSettings(IniFile &file);

    /// Reads the options again from the file as it stands in memory.
    void Load();
    /// Writes the options of section "Velmo" and saves the file at once,
    /// leaving section "Sami" as the file last had it.
    bool SaveOptions();
    /// The settings file's path.
    const std::string &FileName() const;

    int32_t volumeLevel = 0;     ///< hundredths of a dB: -10000 (silence) to 0 (full)
    bool soundEnabled = true;    ///< false: muted (the level waits for the unmute)
    bool fullScreenMode = false;
    bool filledScreenMode = false;
    bool hiddenMode = false;     ///< minimised, muted and paused by the hide command
    bool repeatMode = false;
    // Options of our own: off unless the file turns them on ("1" or "true").
    bool captionMarkup = false;  ///< "Caption_Markup": draw the colours and weights a caption file carries
    bool continuousPlay = false; ///< "Continuous_Play": at the end of a medium, open the next file of its folder
    bool assStyled = true;       ///< "Ass_Styled": ASS and SSA drawn as typeset (on unless the file says off)
    std::string lastFolder;      ///< "Last_Folder": where the last file was chosen in an open dialog
    std::string audioLanguages;    ///< "Audio_Language": the sound languages preferred, in order ("ko,en")
    std::string subtitleLanguages; ///< "Subtitle_Language": the subtitle languages preferred, in order
    std::string audioDevice;     ///< "Audio_Device": the sound output chosen, by its id; empty: the default
    /// The playlist's order: "Playlist_Repeat" and "Playlist_Shuffle" (off
    /// unless on), "Playlist_End" ("stop", "restart" or "quit"; stop when other).
    ListOrder listOrder;
    std::string startupPath;     ///< the path from the command line, as given

    /// Either full-screen mode: the window covers the screen.
    bool CoversScreen() const { return fullScreenMode || filledScreenMode; }

private:
    IniFile &file_;
};

/// The volume slider's scale: position 0 (silence) to 100 (full) as a level
/// in hundredths of a decibel, and back.
int32_t VolumeLevelAt(int position);
int VolumePositionOf(int32_t volumeLevel);

} // namespace velmo
