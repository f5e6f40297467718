#pragma once

#include "controls/PlaybackPanel.h"
#include "resources/DialogTemplates.h"
#include "skin/SkinSet.h"

#include <QWidget>

namespace velmo {

class BitmapButton;
class MediaGraph;
class SkinSlider;
class SubtitleStyle;
class TimeDisplay;

/// The skinned strip below (or above) the picture: play/pause, stop, previous,
/// next, open and full-screen buttons, the timeline and volume sliders and the
/// time display, on the skin's panel background. It drives the graph itself
/// for play, pause, stop, seeking and volume, and asks its owner for open and
/// full screen through Command(). Input on its background is passed on to the
/// top-level window as copies, so the borderless window moves and sizes from
/// the panel too.
class ControlPanel : public QWidget, public PlaybackPanel {
    Q_OBJECT
public:
    /// Builds the controls of the control-panel template, gives them the
    /// skin's pictures, shows those the skin shows and lays them out.
    ControlPanel(SkinSet &skin, MediaGraph &graph, SubtitleStyle &style, QWidget *parent = nullptr);
    ~ControlPanel() override;

    // PlaybackPanel
    QWidget *widget() override { return this; }
    void TogglePlayPause() override;
    void RefreshPlayButton() override;
    void UpdateTime() override;
    int TimelinePosition() const override;
    void SetTimelinePosition(int value) override;
    int VolumePosition() const override;
    void SetVolumePosition(int value) override;
    void InvalidateVolumeSlider() override;
    void SetTimeText(const QString &text) override;
    void SetMarkedRange(double from, double to) override;
    void ShowPlayPicture() override;

    TimeDisplay *timeDisplay = nullptr;
    BitmapButton *fullScreenButton = nullptr;
    BitmapButton *playButton = nullptr;
    BitmapButton *stopButton = nullptr;
    BitmapButton *prevButton = nullptr;
    BitmapButton *nextButton = nullptr;
    BitmapButton *openButton = nullptr;
    SkinSlider *timelineSlider = nullptr;
    SkinSlider *volumeSlider = nullptr;
    ClientRect clientRect; ///< the client rectangle of the last resize

signals:
    /// A command for the main window (ID_FILE_OPEN, ID_FULL_SCREEN).
    void Command(int id);
    /// The panel's own play/pause or stop button changed the playback state.
    void PlayStateChanged();
    /// The user moved the volume slider; the volume is applied.
    void VolumeMoved();
    /// The user moved the timeline; the medium is repositioned.
    void TimelineMoved();

protected:
    /// The panel of template `t` (the full-screen panel has its own).
    ControlPanel(const DialogTemplate &t, SkinSet &skin, MediaGraph &graph, SubtitleStyle &style, QWidget *parent);

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    void OnInitDialog();
    void LayOut();
    void OnButton(int controlId);
    void OnTimelineScroll(int code, int value);
    void OnVolumeScroll(int code, int value);

    SkinSet &skin_;
    MediaGraph &graph_;
    SubtitleStyle &style_;
};

} // namespace velmo
