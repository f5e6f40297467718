#pragma once

// A player driven by the engine's fake graph: a PlayerApp with the shipped
// skin, a settings file in a temporary folder, the exit path captured and
// message boxes recorded instead of shown. The window's own panels are the
// real ones OnInitDialog makes.

#include "MainWindowSeam.h"
#include "app/MainWindow.h"
#include "app/MessageBox.h"
#include "app/PlayerApp.h"
#include "controls/ControlPanel.h"
#include "support/FakeMediaBackend.h"
#include "support/TempDir.h"

#include <QSignalSpy>
#include <QString>
#include <QTest>
#include <QWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace velmo::test {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        backend = std::make_shared<FakeMediaBackend>();
        PlayerAppOptions options;
        options.skinFile = VELMO_SOURCE_DIR "/skin/default/skin.ini";
        options.settingsFile = dir.path("velmo_init.ini");
        options.mediaBackend = backend;
        app = std::make_unique<PlayerApp>(options);
        previousExit = PlayerApp::SetExitFunction([this](int code) { exitCodes.push_back(code); });
        window = std::make_unique<MainWindow>(*app);
        // A screen large enough for every fitted size of the tests, unless a test says otherwise.
        MainWindowSeam::SetAvailableArea(*window, QRect(0, 0, 3840, 2160));
    }

    void TearDown() override
    {
        window.reset();
        PlayerApp::SetExitFunction(previousExit);
        app.reset();
    }

    /// Makes a fake medium at `name` in the temporary folder (the file exists, for folder steps).
    std::string Media(const std::string &name, const FakeMediaInfo &info = {})
    {
        const std::string path = dir.write(name, "x");
        backend->AddMedia(path, info);
        return path;
    }

    /// Waits for the open under way to end; true when it opened.
    bool WaitForOpen()
    {
        QSignalSpy opened(&app->player, &Player::opened);
        QSignalSpy failed(&app->player, &Player::failed);
        if (!app->player.Opening())
            return app->player.HasMedium();
        return QTest::qWaitFor([&] { return opened.size() + failed.size() > 0; }, 2000) && opened.size() == 1;
    }
    /// Opens `path` through the window and waits for the player to say how it went.
    bool OpenAndWait(const std::string &path)
    {
        window->OpenMedia(path);
        return WaitForOpen();
    }
    /// Runs `id` as a command and lets the open it begins end.
    bool CommandAndWait(int id)
    {
        QSignalSpy opened(&app->player, &Player::opened);
        QSignalSpy failed(&app->player, &Player::failed);
        window->OnCommand(id);
        return QTest::qWaitFor([&] { return opened.size() + failed.size() > 0; }, 2000) && opened.size() == 1;
    }

    /// The panel below the picture and its full-screen twin, as OnInitDialog made them.
    ControlPanel *Panel() const { return window->findChild<ControlPanel *>(QString(), Qt::FindDirectChildrenOnly); }
    ControlPanel *FullScreenPanel() const
    {
        VideoScreen *screen = MainWindowSeam::Screen(*window);
        return screen ? qobject_cast<ControlPanel *>(screen->fullScreenPanel) : nullptr;
    }

    std::vector<std::string> &Calls() { return backend->script->calls; }
    /// The calls logged since `from`.
    std::vector<std::string> CallsSince(size_t from) const
    {
        const auto &calls = backend->script->calls;
        return {calls.begin() + std::min(from, calls.size()), calls.end()};
    }
    std::shared_ptr<FakeFilterGraph> Graph() const { return backend->LastGraph(); }
    SubtitleStyle &Style() { return app->subtitleStyle; }
    PlayerSettings &Settings() { return app->playerSettings; }
    SkinMetrics Skin() const { return SkinMetrics::From(app->skinSet); }

    TempDir dir;
    MessageBoxCapture messages;
    std::shared_ptr<FakeMediaBackend> backend;
    std::unique_ptr<PlayerApp> app;
    PlayerApp::ExitFunction previousExit;
    std::vector<int> exitCodes;
    std::unique_ptr<MainWindow> window;
};

} // namespace velmo::test
