#pragma once

#include "engine/MediaGraph.h"
#include "player/Player.h"
#include "player/PlayerSettings.h"
#include "skin/SkinSet.h"
#include "subtitles/SubtitleStyle.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmo {

class MediaBackend;

/// The command-line rule: the text after the program name (the arguments
/// joined with single spaces) is one path; at most the first two double-quote
/// characters are removed, wherever they stand.
std::string StartupPathFromArguments(const std::vector<std::string> &arguments);

/// Where PlayerApp finds its files and how it builds graphs; the defaults are
/// those of a normal run.
struct PlayerAppOptions {
    std::string skinFile = SkinSet::kDefaultSkinFile;   ///< the skin description
    std::string settingsFile = kSettingsFileName;       ///< the settings file
    std::shared_ptr<MediaBackend> mediaBackend;          ///< null: GStreamer
    PrefetchedMedia startupMedia;                        ///< the command line's medium, begun early
    /// The end of the media (without repeat) ends the program, so benchmarks
    /// can time a whole playback (VELMO_QUIT_AT_END=1).
    bool quitAtEnd = false;
};

/// Begins the command line's medium on GStreamer's threads before anything
/// else is made, so that its first picture is ready when the window is; the
/// main window's open of the same path then takes it. Call before the
/// QApplication exists; does nothing without a path or without GStreamer.
void PrefetchStartupMedia(const std::vector<std::string> &arguments, PlayerAppOptions *options);

/// The application object: owns the long-lived services of the player for the
/// whole run, built in this order and destroyed in reverse. Build it after the
/// QApplication; the main window is given it.
class PlayerApp {
public:
    /// Builds the members in order and brings up GStreamer; a GStreamer that
    /// cannot start ends the process with exit code 1, before any window.
    explicit PlayerApp(PlayerAppOptions options = {});
    ~PlayerApp();
    PlayerApp(const PlayerApp &) = delete;
    PlayerApp &operator=(const PlayerApp &) = delete;

    /// Takes the command line into startupPath and runs the main window until
    /// the program ends; returns the exit code.
    int Run(const std::vector<std::string> &arguments);

    /// What ending the process does: the default leaves every event loop with
    /// `code` (so the windows, the graph and the services are torn down in
    /// order and main returns the code), or exits at once when no loop runs.
    using ExitFunction = std::function<void(int code)>;
    /// Replaces the exit path (tests observe it instead of ending the process);
    /// an empty function restores the default. Returns the previous one.
    static ExitFunction SetExitFunction(ExitFunction exit);
    /// Ends the process with `code` through the installed exit path.
    static void EndProcess(int code);

    SkinSet skinSet;
    SubtitleStyle subtitleStyle;
    PlayerSettings playerSettings{subtitleStyle.settingsFile}; ///< kept in the caption look's settings file
    Player player;

private:
    bool quitAtEnd_;
};

} // namespace velmo
