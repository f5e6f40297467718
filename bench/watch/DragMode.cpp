// Pictures shown while a seek bar is dragged across a paused player.

#include "Modes.h"

#include <X11/extensions/XTest.h>

#include <cstdio>

namespace watch {

namespace {

constexpr double kDragMs = 4000;
constexpr int kSteps = 200;

// A point of the window; negative coordinates count from its far edge.
void WindowPoint(const Rect &window, int x, int y, int &screenX, int &screenY)
{
    screenX = window.x + (x < 0 ? window.width + x : x);
    screenY = window.y + (y < 0 ? window.height + y : y);
}

void MovePointer(const Screen &screen, int x, int y)
{
    XTestFakeMotionEvent(screen.display, DefaultScreen(screen.display), x, y, CurrentTime);
    XFlush(screen.display);
}

void Button(const Screen &screen, bool press)
{
    XTestFakeButtonEvent(screen.display, 1, press ? True : False, CurrentTime);
    XFlush(screen.display);
}

} // namespace

// Presses the first button at the start point, moves in kSteps even steps to
// the end point over kDragMs, and releases there. Meanwhile the picture area
// is sampled without pause; every sample of which more than kNewPicture
// differs from the one before counts as a new picture.
int DragMode(const Screen &screen, const Options &options)
{
    Child child;
    Rect picture, window;
    if (StartPaused(screen, options, child, picture, window).empty()) {
        child.End();
        return 1;
    }
    int fromX = 0, fromY = 0, toX = 0, toY = 0;
    WindowPoint(window, options.fromX, options.fromY, fromX, fromY);
    WindowPoint(window, options.toX, options.toY, toX, toY);
    if (options.moveFirst) {
        MovePointer(screen, fromX, fromY - 40);
        SleepMs(300);
    }
    MovePointer(screen, fromX, fromY);
    SleepMs(300);
    Sample last = TakeSample(screen, picture, kPictureRows);
    Button(screen, true);
    const double start = NowMs();
    int pictures = 0, step = 0;
    while (step <= kSteps) {
        const double now = NowMs() - start;
        if (now >= step * kDragMs / kSteps) {
            MovePointer(screen, fromX + (toX - fromX) * step / kSteps, fromY + (toY - fromY) * step / kSteps);
            ++step;
        }
        child.DrainPty();
        Sample sample = TakeSample(screen, picture, kPictureRows);
        if (Difference(sample, last) > kNewPicture) {
            ++pictures;
            last = std::move(sample);
        }
    }
    Button(screen, false);
    const double seconds = (NowMs() - start) / 1000;
    std::printf("drag_pictures=%d drag_s=%.2f drag_fps=%.1f\n", pictures, seconds, pictures / seconds);
    child.End();
    return 0;
}

} // namespace watch
