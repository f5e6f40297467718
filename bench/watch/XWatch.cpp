#include "XWatch.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <sstream>

namespace watch {

double NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

void SleepMs(double ms)
{
    usleep(useconds_t(ms * 1000));
}

bool OpenScreen(Screen &screen)
{
    screen.display = XOpenDisplay(nullptr);
    if (!screen.display)
        return false;
    const int number = DefaultScreen(screen.display);
    screen.root = RootWindow(screen.display, number);
    screen.width = DisplayWidth(screen.display, number);
    screen.height = DisplayHeight(screen.display, number);
    return true;
}

Sample TakeSample(const Screen &screen, const Rect &area, int rows)
{
    Sample sample;
    sample.reserve(size_t(rows) * size_t(area.width / 2 + 1));
    for (int i = 0; i < rows; ++i) {
        const int y = area.y + (area.height * (2 * i + 1)) / (2 * rows);
        XImage *row = XGetImage(screen.display, screen.root, area.x, y, unsigned(area.width), 1, AllPlanes, ZPixmap);
        if (!row)
            continue;
        for (int x = 0; x < area.width; x += 2)
            sample.push_back(uint32_t(XGetPixel(row, x, 0) & 0xffffff));
        XDestroyImage(row);
    }
    return sample;
}

double Difference(const Sample &a, const Sample &b)
{
    if (a.size() != b.size() || a.empty())
        return 1.0;
    size_t differ = 0;
    for (size_t i = 0; i < a.size(); ++i)
        differ += a[i] != b[i];
    return double(differ) / double(a.size());
}

uint64_t Hash(const Sample &sample)
{
    uint64_t hash = 14695981039346656037ull;
    for (uint32_t pixel : sample)
        hash = (hash ^ pixel) * 1099511628211ull;
    return hash;
}

bool IsStronglyColoured(uint32_t pixel)
{
    const int r = int((pixel >> 16) & 0xff);
    const int g = int((pixel >> 8) & 0xff);
    const int b = int(pixel & 0xff);
    return std::max({r, g, b}) - std::min({r, g, b}) > 100;
}

int CountColoured(const Sample &sample)
{
    return int(std::count_if(sample.begin(), sample.end(), IsStronglyColoured));
}

Rect PictureBox(const Screen &screen)
{
    XImage *image = XGetImage(screen.display, screen.root, 0, 0, unsigned(screen.width), unsigned(screen.height),
                              AllPlanes, ZPixmap);
    if (!image)
        return {};
    int left = screen.width, right = -1, top = screen.height, bottom = -1;
    for (int y = 0; y < screen.height; y += 2) {
        for (int x = 0; x < screen.width; x += 2) {
            if (!IsStronglyColoured(uint32_t(XGetPixel(image, x, y))))
                continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    XDestroyImage(image);
    if (right < left)
        return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

bool Child::Start(char **argv, bool withPty)
{
    pid = withPty ? forkpty(&pty, nullptr, nullptr, nullptr) : fork();
    if (pid == 0) {
        // A group of its own, so that helpers it starts (a player behind a
        // front end, a program run as another user) end with it.
        // What it prints goes to the watcher's stderr: stdout carries the answers.
        if (!withPty) {
            setpgid(0, 0);
            dup2(2, 1);
        }
        execvp(argv[0], argv);
        _exit(127);
    }
    if (pty >= 0)
        fcntl(pty, F_SETFL, fcntl(pty, F_GETFL) | O_NONBLOCK);
    return pid > 0;
}

bool Child::HasEnded()
{
    if (!ended && waitpid(pid, nullptr, WNOHANG) == pid)
        ended = true;
    return ended;
}

void Child::DrainPty()
{
    char buffer[4096];
    while (pty >= 0 && read(pty, buffer, sizeof buffer) > 0) {
    }
}

// Ends the whole group and waits until none of it is left, so that the next
// run starts on an empty screen.
void Child::End()
{
    kill(-pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        DrainPty();
        HasEnded();
        if (ended && kill(-pid, 0) != 0)
            return;
        SleepMs(10);
    }
    kill(-pid, SIGKILL);
    if (!ended)
        waitpid(pid, nullptr, 0);
    ended = true;
    for (int i = 0; i < 100 && kill(-pid, 0) == 0; ++i)
        SleepMs(10);
}

namespace {

// What a terminal sends for a key; other keys are sent as their name.
const std::map<std::string, std::string> kTerminalKeys = {
    {"space", " "}, {"Right", "\033[C"}, {"Left", "\033[D"}, {"Up", "\033[A"}, {"Down", "\033[B"},
};

std::vector<std::string> Split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        parts.push_back(part);
    return parts;
}

bool FakeKey(Display *display, const std::string &name, bool press)
{
    std::string keysym = name == "ctrl" ? "Control_L" : name == "shift" ? "Shift_L" : name;
    const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(keysym.c_str()));
    return code != 0 && XTestFakeKeyEvent(display, code, press ? True : False, CurrentTime);
}

} // namespace

bool SendKey(const Screen &screen, const Child &child, const std::string &key)
{
    if (child.pty >= 0) {
        const auto found = kTerminalKeys.find(key);
        const std::string bytes = found != kTerminalKeys.end() ? found->second : key;
        return write(child.pty, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    }
    const std::vector<std::string> names = Split(key, '+');
    bool sent = true;
    for (const std::string &name : names)
        sent = FakeKey(screen.display, name, true) && sent;
    for (auto name = names.rbegin(); name != names.rend(); ++name)
        sent = FakeKey(screen.display, *name, false) && sent;
    XSync(screen.display, False);
    return sent;
}

Window FocusWindowAt(const Screen &screen, int x, int y, Rect *geometry)
{
    Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(screen.display, screen.root, &rootReturn, &parent, &children, &count))
        return 0;
    Window found = 0;
    // Children come in stacking order, the top one last.
    for (unsigned i = count; i-- > 0 && !found;) {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(screen.display, children[i], &a) || a.map_state != IsViewable
            || a.c_class != InputOutput)
            continue;
        if (x >= a.x && x < a.x + a.width && y >= a.y && y < a.y + a.height) {
            found = children[i];
            if (geometry)
                *geometry = {a.x, a.y, a.width, a.height};
        }
    }
    if (children)
        XFree(children);
    if (found) {
        XSetInputFocus(screen.display, found, RevertToPointerRoot, CurrentTime);
        XSync(screen.display, False);
    }
    return found;
}

double WaitFirstPicture(const Screen &screen, Child &child, double start, double timeoutMs)
{
    const Rect whole{0, 0, screen.width, screen.height};
    constexpr int kRows = 24;
    constexpr int kColouredPixels = 400 / 2; // the sample holds every other column
    while (NowMs() - start < timeoutMs) {
        if (CountColoured(TakeSample(screen, whole, kRows)) >= kColouredPixels)
            return NowMs() - start;
        child.DrainPty();
        if (child.HasEnded())
            return -1;
        SleepMs(1);
    }
    return -1;
}

Sample WaitStill(const Screen &screen, Child &child, const Rect &area, double stillMs, double timeoutMs)
{
    const double start = NowMs();
    Sample still = TakeSample(screen, area, kPictureRows);
    double since = start;
    while (NowMs() - start < timeoutMs && !child.HasEnded()) {
        SleepMs(5);
        child.DrainPty();
        Sample now = TakeSample(screen, area, kPictureRows);
        // A small change (a time text, a message over the picture) is not a new picture.
        if (Difference(now, still) >= 0.02) {
            still = std::move(now);
            since = NowMs();
        } else if (NowMs() - since >= stillMs) {
            return now;
        }
    }
    return {};
}

} // namespace watch
