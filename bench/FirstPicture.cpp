// Starts a player and reports when its first picture reaches the X server,
// seen from outside the way a user sees it: the screen is sampled until a
// run of strongly coloured pixels appears (the benchmark clips are colourful
// test patterns; window frames, panels and logos are grey or small).
//
//   velmo_first_picture [--keep] -- COMMAND [ARGS...]
//
// Prints "first_picture_ms=<ms from starting COMMAND>", or "first_picture_ms=none"
// after 20 s. The player is then ended (SIGTERM, SIGKILL after 2 s) unless
// --keep is given, in which case it is waited for.
//
// Every player is watched by the same code with the same sampling, so the
// watcher's own cost (a few screen rows read every millisecond) weighs on all
// of them alike.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

double NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// Rows sampled across the screen: enough to cross any picture larger than
// a few dozen pixels, few enough to cost little.
constexpr int kRows = 24;
// A picture counts when this many sampled pixels are strongly coloured.
constexpr int kColouredPixels = 400;

bool IsStronglyColoured(unsigned long pixel)
{
    const int r = int((pixel >> 16) & 0xff);
    const int g = int((pixel >> 8) & 0xff);
    const int b = int(pixel & 0xff);
    const int high = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const int low = r < g ? (r < b ? r : b) : (g < b ? g : b);
    return high - low > 100;
}

int CountColoured(Display *display, Window root, int width, int height)
{
    int count = 0;
    for (int i = 0; i < kRows; ++i) {
        const int y = (height * (2 * i + 1)) / (2 * kRows);
        XImage *row = XGetImage(display, root, 0, y, unsigned(width), 1, AllPlanes, ZPixmap);
        if (!row)
            continue;
        for (int x = 0; x < width; ++x)
            count += IsStronglyColoured(XGetPixel(row, x, 0));
        XDestroyImage(row);
    }
    return count;
}

void EndChild(pid_t child)
{
    kill(child, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return;
        usleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

} // namespace

int main(int argc, char **argv)
{
    bool keep = false;
    int first = 1;
    for (; first < argc && std::strcmp(argv[first], "--") != 0; ++first)
        keep = keep || std::strcmp(argv[first], "--keep") == 0;
    ++first;
    if (first >= argc) {
        std::fprintf(stderr, "usage: %s [--keep] -- COMMAND [ARGS...]\n", argv[0]);
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const int width = DisplayWidth(display, screen);
    const int height = DisplayHeight(display, screen);
    if (CountColoured(display, root, width, height) >= kColouredPixels) {
        std::fprintf(stderr, "the screen is already coloured; nothing to watch\n");
        return 2;
    }

    const double start = NowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[first], argv + first);
        _exit(127);
    }
    double seen = -1;
    bool ended = false;
    while (NowMs() - start < 20000) {
        if (CountColoured(display, root, width, height) >= kColouredPixels) {
            seen = NowMs() - start;
            break;
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            ended = true;
            break;
        }
        usleep(1000);
    }
    if (seen >= 0)
        std::printf("first_picture_ms=%.1f\n", seen);
    else
        std::printf("first_picture_ms=none\n");
    std::fflush(stdout);
    if (!ended && keep)
        waitpid(child, nullptr, 0);
    else if (!ended)
        EndChild(child);
    XCloseDisplay(display);
    return seen >= 0 ? 0 : 1;
}
