#include "app/PlayerApp.h"

#include "app/MainWindow.h"
#include "app/MessageBox.h"
#include "app/PlayerBus.h"
#include "engine/GstHandles.h"
#include "resources/CommandIds.h"
#include "text/MediaAddress.h"
#include "text/PlaylistFile.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QThread>
#include <QTimer>

#include <gst/gst.h>

#include <cstdlib>
#include <optional>
#include <utility>

namespace velmo {

namespace {

Q_LOGGING_CATEGORY(lcPlayerApp, "velmo.app")

// An exit asked for while only a local loop ran (an open waiting for its
// medium before the main loop starts): the main loop must not start then.
std::optional<int> pendingExit;

void DefaultExit(int code)
{
    if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0) {
        pendingExit = code;
        QCoreApplication::exit(code);
    } else {
        std::exit(code);
    }
}

PlayerApp::ExitFunction &ExitPath()
{
    static PlayerApp::ExitFunction exit = DefaultExit;
    return exit;
}

} // namespace

std::string StartupPathFromArguments(const std::vector<std::string> &arguments)
{
    std::string path;
    for (size_t i = 1; i < arguments.size(); ++i) {
        if (i > 1)
            path += ' ';
        path += arguments[i];
    }
    for (int removed = 0; removed < 2; ++removed) {
        const size_t quote = path.find('"');
        if (quote == std::string::npos)
            break;
        path.erase(quote, 1);
    }
    return path;
}

void PrefetchStartupMedia(const std::vector<std::string> &arguments, PlayerAppOptions *options)
{
    const std::string path = StartupPathFromArguments(arguments);
    // A playlist file is no medium: its first entry is opened once the list is read.
    const bool list = !IsAddress(path) && IsPlaylistFileName(path);
    if (path.empty() || list || !gst_init_check(nullptr, nullptr, nullptr))
        return;
    if (!options->mediaBackend)
        options->mediaBackend = CreateGstMediaBackend();
    options->startupMedia = PrefetchMedia(*options->mediaBackend, path);
}

PlayerApp::PlayerApp(PlayerAppOptions options)
    : skinSet(options.skinFile),
      subtitleStyle(options.settingsFile),
      player(options.mediaBackend, playerSettings, subtitleStyle),
      quitAtEnd_(options.quitAtEnd)
{
    GError *raw = nullptr;
    const bool started = gst_init_check(nullptr, nullptr, &raw);
    const GErrorPtr error(raw);
    if (!started) {
        // Nothing is shown: no window exists yet.
        qCWarning(lcPlayerApp) << "GStreamer cannot start:" << (error ? error->message : "no reason given");
        std::exit(1);
    }
    // Taken, not copied: a medium closed must not live on in the options.
    player.AdoptPrefetch(std::move(options.startupMedia));
}

PlayerApp::~PlayerApp() = default;

int PlayerApp::Run(const std::vector<std::string> &arguments)
{
    playerSettings.startupPath = StartupPathFromArguments(arguments);
    pendingExit.reset();
    MainWindow window(*this);
    // Media keys, desktop controls, no blanking mid-film. The session bus is
    // joined once the window is up: connecting (or finding that there is no
    // bus) is no step towards the first picture.
    std::unique_ptr<PlayerBus> bus;
    constexpr int kJoinBusAfterMs = 300;
    QTimer::singleShot(kJoinBusAfterMs, &window, [&] { bus = std::make_unique<PlayerBus>(window, player); });
    if (quitAtEnd_)
        QObject::connect(&player, &Player::ended, &window, [&window] { window.OnCommand(ID_EXIT); });
    window.OnInitDialog();
    if (pendingExit)
        return *pendingExit;
    window.show();
    return QApplication::exec();
}

PlayerApp::ExitFunction PlayerApp::SetExitFunction(ExitFunction exit)
{
    ExitFunction previous = ExitPath();
    ExitPath() = exit ? std::move(exit) : ExitFunction(DefaultExit);
    return previous;
}

void PlayerApp::EndProcess(int code)
{
    ExitPath()(code);
}

} // namespace velmo
