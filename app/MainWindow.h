#pragma once

#include "app/WindowGeometry.h"
#include "skin/SkinSet.h"

#include <QIcon>
#include <QMenu>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <span>
#include <string>
#include <vector>

class QFileDialog;

namespace velmo {

class AcceleratorFilter;
class ControlPanel;
class Player;
class PlayerApp;
class PlayerSettings;
class PlaylistPanel;
class SubtitleStyle;
struct MenuEntry;
class TitleBar;
class VideoScreen;
struct CommandRows;

/// The player's one top-level window: borderless, covered by the video screen
/// and the skin's panels, sized to the video, with a normal, a full-screen and
/// a filled-screen mode. Every user action reaches it as a command id through
/// OnCommand; what a command does to the medium is the player's business
/// (Player), and the window shows what the player reports.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    /// A frameless window of the main template's size, centred on the screen,
    /// with the program's title and icon, accepting drops. It works on the
    /// skin, the player, its settings and the caption's look that `app` owns,
    /// which outlive it.
    explicit MainWindow(PlayerApp &app, QWidget *parent = nullptr);
    ~MainWindow() override;

    /// Creates the children, lays them out and opens the command line's path.
    bool OnInitDialog();
    /// The one entry of every command: menus, keys, panel buttons and the bus end here.
    void OnCommand(int id);
    /// Begins opening `path`; the window fits itself once the player says it opened.
    void OpenMedia(const std::string &path);
    /// The context menu as it would show now: check marks, greyed entries and the filter list.
    QMenu *BuildContextMenu();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    friend struct CommandRows;     // the command table's handlers act on the window
    friend class MainWindowSeam;   // tests reach the window's inner parts through it

    /// What a file dialog chose: no path when the user cancelled. One path
    /// (or "") stands for a dialog of one choice.
    struct ChosenFiles {
        ChosenFiles(std::string path)
        {
            if (!path.empty())
                paths.push_back(std::move(path));
        }
        ChosenFiles(std::vector<std::string> chosen) : paths(std::move(chosen)) {}
        std::vector<std::string> paths;
    };
    /// Chooses files with `dialog`, made ready (mode, folder, filters) and not yet shown.
    using FileChooser = std::function<ChosenFiles(QFileDialog &dialog)>;

    // What the window shows of the player (MainWindowPlayback.cpp).
    void ListenToPlayer();
    void OnOpened();
    void OnPlayerState();
    void OnCaptionChanged();
    /// Redraws the caption now shown, when there is one to show.
    void DrawCaption();
    /// Takes the size of the medium's picture, when it has one, as the size to fit to.
    void KeepPictureSize();

    // Commands that need the window (the rest call the player straight from the table).
    void OnFileOpen();
    void OnOpenAddress();
    /// Lets the user add a caption file to the open media.
    void OnOpenSubtitle();
    void OnCloseMedia();
    /// Changes the caption's look by the command and redraws the picture.
    void OnSubtitleStyle(int id);
    /// Steps the volume slider by `step`.
    void OnVolumeStep(int step);
    void OnFullScreen();
    void OnFilledScreen();
    /// One of the four size presets.
    void OnSizePreset(int id);
    /// The subtitle settings dialog, modal.
    void OnSubtitleSettings();
    /// The about box, modal.
    void OnAbout();
    /// Opens the property pages of the filter whose entry of the last context menu has `id`.
    void OnFilterCommand(int id);
    /// Opens the `id`-th recent medium.
    void OnRecentFile(int id);
    /// Minimises, mutes and pauses, or undoes that; nothing without media.
    void ToggleHide();

    // The playlist's window and the commands that need a dialog (MainWindowPlaylist.cpp).
    /// Shows the list's window beside this one, or hides it.
    void TogglePlaylist();
    bool PlaylistShown() const;
    /// Adds the files chosen in the open dialog (several at once) to the list.
    void OnAddFilesToList();
    /// Writes the list as the playlist file chosen in a save dialog.
    void OnSaveList();
    /// The list's own menu at `globalPos`.
    void ShowPlaylistMenu(QPoint globalPos);
    /// Puts the list's window beside this one, on the side the screen has room on.
    void PlacePlaylist();
    void OnExit();

    // The context menu's lists (MainWindowCommands.cpp).
    /// Adds `entries` to `menu` with their check marks, greyed entries and lists.
    void FillMenu(QMenu &menu, std::span<const MenuEntry> entries);
    void AddFilterMenu(QMenu &menu, bool media);
    void AddLanguageMenu(QMenu &parent, const char *title);
    QMenu &AddRecentMenu(QMenu &parent, const char *title);

    // Layout and modes (MainWindow.cpp).
    /// Shows or hides the panels and covers the screen or not by the two mode flags.
    void ApplyWindowMode();
    /// Replaces the panels made at initialisation; null: that panel is absent.
    void SetPanels(ControlPanel *controlPanel, ControlPanel *fullScreenPanel, QWidget *titleBar);
    void LayOut();
    void ConnectPanel(ControlPanel *panel);
    void ConnectTitleBar(TitleBar *bar);
    void EnsureCoveringScreen();
    void Reshape(const QRect &geometry);
    QRect AvailableScreenArea() const;
    /// In normal mode, sizes the window to the last picture plus the skin's
    /// borders, keeping `topLeft` where the screen allows.
    void FitToVideo(QPoint topLeft);
    /// Runs the open dialog with `nameFilters` from the medium's (or the last)
    /// folder, and remembers the folder of the file chosen.
    std::string ChooseFile(const QStringList &nameFilters);
    /// The same, letting the user choose several files at once when `many`.
    std::vector<std::string> ChooseFiles(const QStringList &nameFilters, bool many);
    /// Runs `dialog` through the chooser (the real dialog unless a test set one).
    std::vector<std::string> RunChooser(QFileDialog &dialog);
    void BeginMouseAction(HitZone zone, QPoint pressedAt);
    void ContinueManualDrag(QPoint mouseAt);
    ClientRect CurrentClientRect() const;

    SkinSet &skinSet_;
    SubtitleStyle &style_;
    PlayerSettings &settings_;
    Player &player_;
    VideoScreen *videoScreen_ = nullptr;
    ClientRect clientRect_;
    ControlPanel *controlPanel_ = nullptr;
    ControlPanel *fullScreenPanel_ = nullptr;
    QWidget *titleBar_ = nullptr;
    QIcon icon_;
    QMenu contextMenu_;        ///< rebuilt at each right click; the filter entries keep their names here
    AcceleratorFilter *accelerators_ = nullptr; ///< null before initialisation
    PlaylistPanel *playlistPanel_ = nullptr;    ///< made when first shown
    FileChooser fileChooser_;
    QRect normalGeometry_;
    QSize pictureSize_;          ///< the last picture's size; empty until a medium with one opened
    bool coveringScreen_ = false; ///< the window is in a full-screen mode's place
    QRect availableAreaForTests_; ///< valid: stands in for the screen's free area

    /// How long a window manager gets to cover the screen before it is done by hand.
    static constexpr int kCoverCheckDelayMs = 250;

    // A move or resize done by hand when the window system cannot do it.
    bool manualDrag_ = false;
    Qt::Edges dragEdges_;
    QPoint dragStart_;
    QRect dragGeometry_;
};

} // namespace velmo
