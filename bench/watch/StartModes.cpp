// From process start: to the first picture, and to the window as it will stand.

#include "Modes.h"

#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <vector>

namespace watch {

int FirstPictureMode(const Screen &screen, const Options &options)
{
    const Rect whole{0, 0, screen.width, screen.height};
    if (CountColoured(TakeSample(screen, whole, 24)) >= 200) {
        std::fprintf(stderr, "the screen is already coloured; nothing to watch\n");
        return 2;
    }
    Child child;
    const double start = NowMs();
    if (!child.Start(options.command, false))
        return 2;
    const double seen = WaitFirstPicture(screen, child, start, 20000);
    if (seen >= 0)
        std::printf("first_picture_ms=%.1f\n", seen);
    else
        std::printf("first_picture_ms=none\n");
    std::fflush(stdout);
    if (options.keep && !child.HasEnded())
        waitpid(child.pid, nullptr, 0);
    if (options.keep)
        kill(-child.pid, SIGTERM); // what it left behind
    else
        child.End();
    return seen >= 0 ? 0 : 1;
}

// Samples the whole screen (every 16th row) from process start until it has
// changed and then stood for `stillMs`, keeping each sample's hash and time;
// the answer is when the last run of samples equal to the final one began.
// Measured so, a window painted in steps counts from its last step.
int StartMode(const Screen &screen, const Options &options)
{
    const Rect whole{0, 0, screen.width, screen.height};
    const int rows = screen.height / 16;
    const uint64_t empty = Hash(TakeSample(screen, whole, rows));
    Child child;
    const double start = NowMs();
    if (!child.Start(options.command, false))
        return 2;
    struct Seen {
        double ms;
        uint64_t hash;
    };
    std::vector<Seen> samples;
    double standing = -1; // when the newest run of equal samples began
    while (NowMs() - start < 20000 && !child.HasEnded()) {
        const uint64_t hash = Hash(TakeSample(screen, whole, rows));
        const double ms = NowMs() - start;
        if (samples.empty() || samples.back().hash != hash)
            standing = ms;
        samples.push_back({ms, hash});
        if (hash != empty && ms - standing >= options.stillMs)
            break;
        SleepMs(1);
    }
    const bool stood = !samples.empty() && samples.back().hash != empty
                       && samples.back().ms - standing >= options.stillMs;
    if (stood)
        std::printf("start_ms=%.1f samples=%zu\n", standing, samples.size());
    else
        std::printf("start_ms=none\n");
    child.End();
    return stood ? 0 : 1;
}

} // namespace watch
