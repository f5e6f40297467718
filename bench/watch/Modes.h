// The watcher's modes: each starts a player and times one thing about it.
#pragma once

#include "XWatch.h"

#include <string>
#include <vector>

namespace watch {

struct Options {
    bool keep = false;             // wait for the player instead of ending it
    bool pty = false;              // the player reads its keys from a terminal
    std::string pauseKey = "space";
    std::vector<std::string> keys; // seek keys, in order
    // Drag from one point of the player's window to another; negative
    // coordinates count from its right or bottom edge.
    int fromX = 0, fromY = 0, toX = 0, toY = 0;
    bool moveFirst = false;        // move the pointer over the picture first (to show a seek bar)
    double stillMs = 2000;         // the start mode: how long the screen must stand
    char **command = nullptr;
};

int FirstPictureMode(const Screen &screen, const Options &options);
int SeekMode(const Screen &screen, const Options &options);
int DragMode(const Screen &screen, const Options &options);
int StartMode(const Screen &screen, const Options &options);

// Starts the player, waits for its first picture, lets it play 1.5 s, gives
// its window the focus and pauses it; returns the still picture (empty when
// any step failed). `picture` is the picture's area, `window` the window's.
Sample StartPaused(const Screen &screen, const Options &options, Child &child, Rect &picture, Rect &window);

} // namespace watch
