// Seek latency of a paused player: from a seek key to the first change of
// the picture on screen.

#include "Modes.h"

#include <cstdio>

namespace watch {

namespace {

// The picture's area less a margin, so that a window edge or a letter-box
// bar never counts; a new picture changes most of what is left.
Rect Inside(const Rect &box)
{
    const int dx = box.width / 16, dy = box.height / 16;
    return {box.x + dx, box.y + dy, box.width - 2 * dx, box.height - 2 * dy};
}

} // namespace

Sample StartPaused(const Screen &screen, const Options &options, Child &child, Rect &picture, Rect &window)
{
    const double start = NowMs();
    if (!child.Start(options.command, options.pty) || WaitFirstPicture(screen, child, start, 20000) < 0) {
        std::fprintf(stderr, "no first picture\n");
        return {};
    }
    SleepMs(300); // the picture settles at its place and size
    picture = Inside(PictureBox(screen));
    if (picture.width < 64 || picture.height < 64) {
        std::fprintf(stderr, "no picture area\n");
        return {};
    }
    if (!FocusWindowAt(screen, picture.x + picture.width / 2, picture.y + picture.height / 2, &window)) {
        std::fprintf(stderr, "no window under the picture\n");
        return {};
    }
    SleepMs(1200);
    if (!SendKey(screen, child, options.pauseKey)) {
        std::fprintf(stderr, "cannot send %s\n", options.pauseKey.c_str());
        return {};
    }
    Sample still = WaitStill(screen, child, picture, 500, 5000);
    if (still.empty())
        std::fprintf(stderr, "the picture does not stand still after %s\n", options.pauseKey.c_str());
    return still;
}

// Each key is sent to the still picture; the time runs from the key to the
// first sample of which more than kNewPicture differs. Then the new picture
// must stand still for a second before the next key: a player may show a
// keyframe first and the exact picture a few hundred milliseconds later.
int SeekMode(const Screen &screen, const Options &options)
{
    Child child;
    Rect picture, window;
    Sample still = StartPaused(screen, options, child, picture, window);
    int failures = still.empty() ? 1 : 0;
    for (size_t i = 0; i < options.keys.size() && !still.empty(); ++i) {
        const std::string &key = options.keys[i];
        SendKey(screen, child, key);
        const double sent = NowMs();
        double seen = -1;
        while (seen < 0 && NowMs() - sent < 10000 && !child.HasEnded()) {
            child.DrainPty();
            if (Difference(TakeSample(screen, picture, kPictureRows), still) > kNewPicture)
                seen = NowMs() - sent;
        }
        if (seen >= 0)
            std::printf("key=%s seek_ms=%.1f\n", key.c_str(), seen);
        else
            std::printf("key=%s seek_ms=none\n", key.c_str());
        std::fflush(stdout);
        failures += seen < 0;
        still = WaitStill(screen, child, picture, 1000, 10000);
    }
    child.End();
    return failures ? 1 : 0;
}

} // namespace watch
