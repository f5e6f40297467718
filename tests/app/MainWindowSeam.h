#pragma once

// The main window's inner parts that a test sets or reads but a user cannot
// reach: the file dialog, the panels, the screen's free area, the timer.

#include "app/MainWindow.h"
#include "screen/VideoScreen.h"

#include <QRect>
#include <QTimer>

namespace velmo {

class MainWindowSeam {
public:
    using FileChooser = MainWindow::FileChooser;

    /// Replaces the file dialog; empty restores it.
    static void SetFileChooser(MainWindow &w, FileChooser chooser) { w.fileChooser_ = std::move(chooser); }
    /// Replaces the panels made at initialisation; null: that panel is absent.
    static void SetPanels(MainWindow &w, PlaybackPanel *control, PlaybackPanel *fullScreen, QWidget *titleBar)
    {
        w.SetPanels(control, fullScreen, titleBar);
    }
    /// Pretends the screen's free area is `area` when the window is fitted to
    /// a picture (an invalid rectangle: the real screen's).
    static void SetAvailableArea(MainWindow &w, const QRect &area) { w.availableAreaForTests_ = area; }
    /// The position timer (100 ms).
    static const QTimer &PositionTimer(const MainWindow &w) { return w.positionTimer_; }
    /// Whether the window stands in a full-screen mode's place.
    static bool CoveringScreen(const MainWindow &w) { return w.coveringScreen_; }
    /// Lowers the lengths that resume takes to those of a test clip.
    static void SetResumeRules(MainWindow &w, const ResumeRules &rules) { w.resumeRules_ = rules; }
    /// The video screen, null before OnInitDialog.
    static VideoScreen *Screen(const MainWindow &w)
    {
        return w.findChild<VideoScreen *>(QString(), Qt::FindDirectChildrenOnly);
    }
};

} // namespace velmo
