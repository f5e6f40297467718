#pragma once

// The main window's inner parts that a test sets or reads but a user cannot
// reach: the file dialog, the panels, the screen's free area, the timer.

#include "app/MainWindow.h"
#include "controls/ControlPanel.h"
#include "screen/VideoScreen.h"

#include <QFileDialog>
#include <QRect>
#include <QTimer>

namespace velmo {

class MainWindowSeam {
public:
    using FileChooser = MainWindow::FileChooser;

    /// Replaces the file dialog; empty restores it.
    static void SetFileChooser(MainWindow &w, FileChooser chooser) { w.fileChooser_ = std::move(chooser); }
    /// Replaces the panels made at initialisation; null: that panel is absent.
    static void SetPanels(MainWindow &w, ControlPanel *control, ControlPanel *fullScreen, QWidget *titleBar)
    {
        w.SetPanels(control, fullScreen, titleBar);
    }
    /// Pretends the screen's free area is `area` when the window is fitted to
    /// a picture (an invalid rectangle: the real screen's).
    static void SetAvailableArea(MainWindow &w, const QRect &area) { w.availableAreaForTests_ = area; }
    /// Whether the window stands in a full-screen mode's place.
    static bool CoveringScreen(const MainWindow &w) { return w.coveringScreen_; }
    /// The video screen, null before OnInitDialog.
    static VideoScreen *Screen(const MainWindow &w)
    {
        return w.findChild<VideoScreen *>(QString(), Qt::FindDirectChildrenOnly);
    }
};

} // namespace velmo
