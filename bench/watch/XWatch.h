// The shared part of the X watcher (velmo_first_picture): a player started
// as a child, the screen seen through the X server, keys and the mouse sent
// through XTest. Every mode uses the same sampling for every player.
#pragma once

#include <X11/Xlib.h>

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace watch {

double NowMs();
void SleepMs(double ms);

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The screen of the default display.
struct Screen {
    Display *display = nullptr;
    Window root = 0;
    int width = 0, height = 0;
};
bool OpenScreen(Screen &screen);

// Pixels of kRows rows across a rectangle (every other column).
using Sample = std::vector<uint32_t>;
Sample TakeSample(const Screen &screen, const Rect &area, int rows);
// The share of pixels (0 to 1) that differ between two samples of one area.
double Difference(const Sample &a, const Sample &b);
uint64_t Hash(const Sample &sample);

// Strongly coloured pixels: the benchmark clips are colourful test patterns;
// window frames, panels and logos are grey or small.
bool IsStronglyColoured(uint32_t pixel);
int CountColoured(const Sample &sample);
// The bounding box of the strongly coloured pixels of the whole screen.
Rect PictureBox(const Screen &screen);

// The player. With a pseudo-terminal it reads its keys from there.
struct Child {
    pid_t pid = -1;
    int pty = -1;
    bool ended = false;
    bool Start(char **argv, bool withPty);
    bool HasEnded();   // reaps it when it has ended
    void DrainPty();   // keeps a chatty player from blocking on its terminal
    void End();        // SIGTERM, SIGKILL after 2 s
};

// A key as "ctrl+Right", "space", "End" (X key names, modifiers before '+').
// Sent with XTest to the focused window, or as terminal bytes to the pty.
bool SendKey(const Screen &screen, const Child &child, const std::string &key);
// The top-level window under a point, given the input focus.
Window FocusWindowAt(const Screen &screen, int x, int y, Rect *geometry);

// Waits for the player's first picture (kColouredPixels coloured pixels in
// the sampled rows); returns its time from `start`, or -1.
double WaitFirstPicture(const Screen &screen, Child &child, double start, double timeoutMs);
// Waits until the picture in `area` stays the same for `stillMs`; returns the
// still sample (empty after timeoutMs).
Sample WaitStill(const Screen &screen, Child &child, const Rect &area, double stillMs, double timeoutMs);

// Sampled rows of a picture area, and how much of it must change for a new picture.
constexpr int kPictureRows = 16;
constexpr double kNewPicture = 0.2;

} // namespace watch
