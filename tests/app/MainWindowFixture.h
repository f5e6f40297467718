#pragma once

// A player driven by the engine's fake graph: a PlayerApp with the shipped
// skin, a settings file in a temporary folder, the exit path captured and
// message boxes recorded instead of shown.

#include "MainWindowSeam.h"
#include "app/MainWindow.h"
#include "controls/PlaybackPanel.h"
#include "player/PlaybackRules.h"
#include "app/PlayerApp.h"
#include "support/FakeMediaBackend.h"
#include "app/MessageBox.h"
#include "support/TempDir.h"

#include <QString>
#include <QWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace velmo::test {

/// A panel that keeps its slider values the way the skin's sliders do (0 to
/// 100) and counts what the main window asks of it.
class RecordingPanel : public PlaybackPanel {
public:
    RecordingPanel(MediaGraph &graph, QWidget *parent) : graph_(graph), widget_(new QWidget(parent)) {}
    QWidget *widget() override { return widget_; }
    void TogglePlayPause() override
    {
        ++toggles;
        if (TogglePlayback(graph_))
            timeline = 0;
    }
    void RefreshPlayButton() override { ++refreshes; }
    void UpdateTime() override
    {
        ++updates;
        double position = 0, duration = 0;
        graph_.position->get_CurrentPosition(&position);
        graph_.position->get_Duration(&duration);
        timeline = AdvanceTimeline(timeline, position, duration);
    }
    int TimelinePosition() const override { return timeline; }
    void SetTimelinePosition(int value) override { timeline = std::clamp(value, 0, 100); }
    int VolumePosition() const override { return volume; }
    void SetVolumePosition(int value) override { volume = std::clamp(value, 0, 100); }
    void InvalidateVolumeSlider() override { ++volumeRedraws; }
    void SetTimeText(const QString &text) override { timeText = text; }
    void ShowPlayPicture() override { playPicture = true; }
    void SetMarkedRange(double from, double to) override { marked = {from, to}; }

    int timeline = 0;
    int volume = 100;
    int toggles = 0;
    int refreshes = 0;
    int updates = 0;
    int volumeRedraws = 0;
    QString timeText;
    bool playPicture = false;
    std::pair<double, double> marked{0.0, 0.0};

private:
    MediaGraph &graph_;
    QWidget *widget_;
};

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

    /// Makes a fake medium at `name` in the temporary folder.
    std::string Media(const std::string &name, const FakeMediaInfo &info = {})
    {
        const std::string path = dir.path(name);
        backend->AddMedia(path, info);
        return path;
    }

    /// Gives the window both panels, as a skin that shows them would.
    void AttachPanels()
    {
        controlPanel = std::make_unique<RecordingPanel>(app->mediaGraph, window.get());
        fullScreenPanel = std::make_unique<RecordingPanel>(app->mediaGraph, window.get());
        MainWindowSeam::SetPanels(*window, controlPanel.get(), fullScreenPanel.get(), nullptr);
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
    SkinMetrics Skin() const { return SkinMetrics::From(app->skinSet); }

    TempDir dir;
    MessageBoxCapture messages;
    std::shared_ptr<FakeMediaBackend> backend;
    std::unique_ptr<PlayerApp> app;
    PlayerApp::ExitFunction previousExit;
    std::vector<int> exitCodes;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<RecordingPanel> controlPanel;
    std::unique_ptr<RecordingPanel> fullScreenPanel;
};

} // namespace velmo::test
