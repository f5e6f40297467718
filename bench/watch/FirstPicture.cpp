// Starts a player and watches it from outside, through the X server, the way
// a user sees it. Every player is watched by the same code with the same
// sampling, so the watcher's own cost weighs on all of them alike.
//
//   velmo_first_picture [--keep] -- COMMAND...
//       first_picture_ms=<ms from starting COMMAND> (or "none" after 20 s):
//       the first time 24 rows across the screen hold 400 strongly
//       coloured pixels (the clips are colourful test patterns).
//   velmo_first_picture --seek [--pty] [--pause KEY] KEY... -- COMMAND...
//       key=<KEY> seek_ms=<ms> per key: from the key to the first change of
//       the paused picture (see SeekMode.cpp).
//   velmo_first_picture --drag X0,Y0:X1,Y1 [--move-first] [--pause KEY] -- COMMAND...
//       drag_pictures=<n> drag_s=<s> drag_fps=<n/s> (see DragMode.cpp).
//   velmo_first_picture --start [--still MS] -- COMMAND...
//       start_ms=<ms> to the window as it will stand (see StartMode.cpp).
//
// Keys are X key names with modifiers before '+' ("ctrl+Right"); with --pty
// the player runs in a pseudo-terminal and reads them from there.

#include "Modes.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool ParsePoints(const char *text, watch::Options &options)
{
    return std::sscanf(text, "%d,%d:%d,%d", &options.fromX, &options.fromY, &options.toX, &options.toY) == 4;
}

// Returns the mode's name, or "" for a bad command line.
std::string Parse(int argc, char **argv, watch::Options &options)
{
    std::string mode = "first";
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--keep")
            options.keep = true;
        else if (arg == "--pty")
            options.pty = true;
        else if (arg == "--move-first")
            options.moveFirst = true;
        else if (arg == "--seek" || arg == "--start")
            mode = arg.substr(2);
        else if (arg == "--drag" && hasValue && ParsePoints(argv[i + 1], options))
            mode = "drag", ++i;
        else if (arg == "--pause" && hasValue)
            options.pauseKey = argv[++i];
        else if (arg == "--still" && hasValue)
            options.stillMs = std::atof(argv[++i]);
        else if (mode == "seek" && arg.rfind("--", 0) != 0)
            options.keys.push_back(arg);
        else
            return "";
    }
    if (i + 1 >= argc)
        return "";
    options.command = argv + i + 1;
    return mode;
}

} // namespace

int main(int argc, char **argv)
{
    watch::Options options;
    const std::string mode = Parse(argc, argv, options);
    if (mode.empty()) {
        std::fprintf(stderr, "usage: %s [--keep | --seek [--pty] [--pause KEY] KEY... | --drag X0,Y0:X1,Y1 "
                             "[--move-first] | --start [--still MS]] -- COMMAND [ARGS...]\n", argv[0]);
        return 2;
    }
    watch::Screen screen;
    if (!watch::OpenScreen(screen)) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    const int result = mode == "seek"  ? watch::SeekMode(screen, options)
                       : mode == "drag"  ? watch::DragMode(screen, options)
                       : mode == "start" ? watch::StartMode(screen, options)
                                         : watch::FirstPictureMode(screen, options);
    std::fflush(stdout);
    XCloseDisplay(screen.display);
    return result;
}
