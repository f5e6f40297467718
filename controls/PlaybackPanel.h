#pragma once

class QString;
class QWidget;

namespace velmo {

/// What the main window asks of a control panel, the normal one below the
/// picture and the full-screen one over it. The panels of the skin implement
/// it; the main window works the same when a skin shows no panel at all.
class PlaybackPanel {
public:
    virtual ~PlaybackPanel() = default;
    /// The panel's window: shown, hidden and placed by its owner.
    virtual QWidget *widget() = 0;
    /// Play/pause on the graph; stopped puts the timeline and the position back to 0 first.
    virtual void TogglePlayPause() = 0;
    /// Shows the play or the pause picture by the graph's state.
    virtual void RefreshPlayButton() = 0;
    /// Moves the timeline forward to the position and rewrites the time text.
    virtual void UpdateTime() = 0;
    /// The timeline slider's value, 0 to 100.
    virtual int TimelinePosition() const = 0;
    /// Sets the timeline slider (redrawn at once).
    virtual void SetTimelinePosition(int value) = 0;
    /// The volume slider's value, 0 to 100.
    virtual int VolumePosition() const = 0;
    /// Sets the volume slider, kept within 0 to 100.
    virtual void SetVolumePosition(int value) = 0;
    /// Redraws the volume slider.
    virtual void InvalidateVolumeSlider() = 0;
    /// Tints the timeline from `from` to `to` (fractions of the medium);
    /// `from` >= `to` clears it.
    virtual void SetMarkedRange(double from, double to) = 0;
    /// Replaces the time display's text.
    virtual void SetTimeText(const QString &text) = 0;
    /// Gives the play/pause button the play picture and the tooltip "재생".
    virtual void ShowPlayPicture() = 0;
};

} // namespace velmo
