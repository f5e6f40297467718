#pragma once

#include "resources/DialogTemplates.h"
#include "skin/SkinSet.h"

#include <QWidget>

namespace velmo {

class BitmapButton;
class Player;
class SkinSlider;
class TimeDisplay;

/// The skinned strip below (or above) the picture: play/pause, stop, previous,
/// next, open and full-screen buttons, the timeline and volume sliders and the
/// time display, on the skin's panel background. It shows the player's
/// state as the player reports it; its buttons ask for commands through
/// Command() (play/pause, stop, previous and next file of the folder, open,
/// full screen), and its sliders seek and set the volume on the player.
/// Input on its background is passed on to the top-level window as copies, so
/// the borderless window moves and sizes from the panel too.
class ControlPanel : public QWidget {
    Q_OBJECT
public:
    /// Builds the controls of the control-panel template, gives them the
    /// skin's pictures, shows those the skin shows and lays them out.
    ControlPanel(SkinSet &skin, Player &player, QWidget *parent = nullptr);
    ~ControlPanel() override;

    /// Shows the play or the pause picture by the player's state.
    void RefreshPlayButton();
    /// Moves the timeline forward to the position and rewrites the time text.
    void UpdateTime();
    /// The timeline slider's value, 0 to 100.
    int TimelinePosition() const;
    /// The volume slider's value, 0 to 100.
    int VolumePosition() const;

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
    /// A command for the main window (ID_PLAY_PAUSE, ID_STOP, ID_PREV_FILE,
    /// ID_NEXT_FILE, ID_FILE_OPEN, ID_FULL_SCREEN).
    void Command(int id);

protected:
    /// The panel of template `t` (the full-screen panel has its own).
    ControlPanel(const DialogTemplate &t, SkinSet &skin, Player &player, QWidget *parent);

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    void OnInitDialog();
    void LayOut();
    void OnButton(int controlId);
    void OnTimelineScroll(int code, int value);
    void OnVolumeScroll(int code, int value);
    /// Puts the timeline, the time text and the play button back as before any playback.
    /// Ticks on the timeline at the chapters' starts.
    void ShowChapterTicks();
    void ResetDisplays();
    void ShowPlayPicture();
    void Follow();

    SkinSet &skin_;
    Player &player_;
};

} // namespace velmo
