#pragma once

#include "subtitles/SubtitleStyle.h"

#include <string>
#include <vector>

namespace velmo {

/// The command-line rule: the text after the program name (the arguments
/// joined with single spaces) is one path; at most the first two double-quote
/// characters are removed, wherever they stand.
std::string StartupPathFromArguments(const std::vector<std::string> &arguments);

/// The application object: owns the long-lived services of the player for the
/// whole run. Build it after the QApplication.
class PlayerApp {
public:
    /// Builds the members in order and brings up GStreamer; a GStreamer that
    /// cannot start ends the process with exit code 1.
    PlayerApp();
    ~PlayerApp();
    PlayerApp(const PlayerApp &) = delete;
    PlayerApp &operator=(const PlayerApp &) = delete;

    /// The one application object, or null before it exists.
    static PlayerApp *instance();

    /// Takes the command line into startupPath and runs the main window until it ends.
    int Run(const std::vector<std::string> &arguments);

    SubtitleStyle subtitleStyle;
};

} // namespace velmo
