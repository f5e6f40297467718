#pragma once

#include "app/AbRepeat.h"
#include "app/CommandHandlers.h"
#include "app/ResumeStore.h"
#include "app/WindowGeometry.h"
#include "engine/MediaResult.h"
#include "skin/SkinSet.h"

#include <QElapsedTimer>
#include <QIcon>
#include <QMenu>
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

namespace velmo {

class AcceleratorFilter;
class ControlPanel;
class MediaGraph;
class PlaybackPanel;
class PlayerApp;
class SubtitleStyle;
class TitleBar;
class VideoScreen;

/// The player's one top-level window: borderless, covered by the video screen
/// and the skin's panels, sized to the video, with a normal, a full-screen and
/// a filled-screen mode. Every user action reaches it as a command id through
/// OnCommand.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    /// A frameless window of the main template's size, centred on the screen,
    /// with the program's title and icon, accepting drops. It works on the
    /// skin, the graph and the style `app` owns, which outlive it.
    explicit MainWindow(PlayerApp &app, QWidget *parent = nullptr);
    ~MainWindow() override;

    /// Creates the children, lays them out and opens the command line's path.
    bool OnInitDialog();
    /// The one entry of every command: menus, keys and panel buttons end here.
    void OnCommand(int id);

    /// The common open: loads `path` into the video screen and, on success,
    /// adds the companion subtitle, resets the displays, fits the window to the
    /// video in normal mode and starts the position timer.
    void OpenMedia(std::string path);
    /// Drains the graph's event queue: repeats the media at its end and shows captions.
    void OnMediaEvent();
    /// One tick of the position timer.
    void OnTimer();

    /// The context menu as it would show now: check marks, greyed entries and the filter list.
    QMenu *BuildContextMenu();
    /// Moves the volume slider to `position` (0 to 100) and applies it, as a drag would.
    void SetVolumePosition(int position);
    /// Seeks to `seconds` of the open medium and moves the timeline there.
    void SeekTo(double seconds);

signals:
    /// The media played to its end and repeat is off.
    void PlaybackEnded();
    /// Media opened or closed, or its play state, rate or volume changed, whatever asked for it.
    void PlayerStateChanged();
    /// The position jumped: a seek, a jump or a drag of the timeline.
    void PositionJumped();

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
    friend CommandHandler FindCommandHandler(int id);
    friend struct CommandHandlerTables;
    friend class MainWindowSeam; // tests reach the window's inner parts through it

    /// Chooses one file to open: gets the dialog's name filters (Qt form) and
    /// returns the chosen path, or "" when the user cancelled.
    using FileChooser = std::function<std::string(QWidget *parent, const QString &nameFilters)>;

    // Command handlers: the rows of FindCommandHandler point here.
    void OnFileOpen();
    void OnOpenAddress();
    /// Lets the user add a SAMI file to the open media.
    void OnOpenSubtitle();
    void OnCloseMedia();
    void OnPlayPause();
    void OnStop();
    /// Seeks 5 or 30 seconds forward or back, by the command.
    void OnSeek(int id);
    /// Jumps to the start, the middle or five seconds before the end.
    void OnJump(int id);
    void OnRate(double rate);
    void OnRepeat();
    /// Changes the caption's look by the command and redraws the picture.
    void OnSubtitleStyle(int id);
    /// Steps the volume slider by `step` and applies it.
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
    /// Moves the captions in time (the sync keys) and says by how much.
    void OnCaptionSync(int id);
    /// Shows another language of the caption file (its submenu's entries).
    void OnCaptionLanguage(int id);
    /// Gives a newly opened graph the caption offset and language of its
    /// medium; another medium starts without them.
    void ApplyCaptionState();
    /// Shows or hides the looks a caption's markup gives, saves the choice at
    /// once and redraws the caption.
    void OnCaptionMarkup();
    void OnExit();

    // Resume and recent media (MainWindowResume.cpp).
    /// Writes or drops the open medium's record by where it stands now.
    void RememberPosition();
    /// Every kResumeSaveMs of playing, RememberPosition (called by the timer's tick).
    void RememberWhilePlaying();
    /// After an open: lists the medium first among the recent ones, gives it
    /// its remembered captions and sound stream, and offers its position.
    void OnMediaOpened();
    /// While the offer stands, the Enter key's command resumes and any other
    /// command ends the offer first; true when `id` was taken.
    bool TakeResumeCommand(int id);
    /// Ends the offer and takes its message away.
    void EndResumeOffer();
    /// Opens the `id`-th recent medium.
    void OnRecentFile(int id);
    /// Forgets the recent list and every record.
    void OnRecentClear();
    /// Adds the recent media submenu titled `title` to `parent`; returns it.
    QMenu &AddRecentMenu(QMenu &parent, const char *title);
    ResumeStore Resume() const;
    // The folder as a playlist, speed, A-B repeat, frame steps and the screenshot (MainWindowPlaylist.cpp).
    /// Opens the next or the previous media file of the medium's folder.
    void OnFolderStep(int id);
    void OnContinuousPlay();
    /// Steps the rate by the speed keys and says what it is.
    void OnSpeed(int id);
    /// Marks A, marks B and loops, or clears, by the press.
    void OnAbRepeat();
    /// Shows the next or the previous picture, paused.
    void OnFrameStep(int id);
    /// Saves the picture shown, at the video's own size, as PNG.
    void OnScreenshot();
    /// At the end of a medium without repeat: opens the next file of its
    /// folder when continuous play is on; true when it did.
    bool PlayNextInFolder();
    /// One position timer tick of the A-B loop: back to A once playback passed B.
    void CheckAbRepeat();
    /// Ends the A-B loop of the medium that goes, and its tint.
    void ClearAbRepeat();
    /// Shows the A-B range on both timelines.
    void ShowAbRange();
    /// Back to A, exactly at once: a loop that starts a few seconds early is no loop.
    void ReturnToA();
    void ShowMessage(const QString &text);

    /// Puts the panels' displays back as before any playback.
    void ResetDisplays();
    /// Turns a volume slider position (0 to 100) into volumeLevel and applies it.
    void ApplyVolumePosition(int position);
    /// Mutes or unmutes.
    void ToggleMute();
    /// Minimises, mutes and pauses, or undoes that; nothing without media.
    void ToggleHide();
    /// Shows or hides the panels and covers the screen or not by the two mode flags.
    void ApplyWindowMode();

    /// Replaces the panels made at initialisation; null: that panel is absent.
    void SetPanels(PlaybackPanel *controlPanel, PlaybackPanel *fullScreenPanel, QWidget *titleBar);
    /// Shows the modal property frame of the first filter called `name`, over this window.
    void ShowFilterPages(const std::string &name);
    void LayOut();
    void AddFilterMenu(QMenu &menu, bool media);
    void AddLanguageMenu(QMenu &parent, const char *title);
    void ConnectPanel(ControlPanel *panel);
    void ConnectTitleBar(TitleBar *bar);
    void SetAspectRatioMode(int32_t mode);
    void EnsureCoveringScreen();
    void Reshape(const QRect &geometry);
    QRect AvailableScreenArea() const;
    void RefreshPlayButtons();
    /// In normal mode, sizes the window to the video plus the skin's borders,
    /// keeping `topLeft` where the screen allows.
    void FitToVideo(QPoint topLeft);
    void SetControlTimeline(int value);
    std::string ChooseFile(const char *classicFilter);
    void BeginMouseAction(HitZone zone, QPoint pressedAt);
    void ContinueManualDrag(QPoint mouseAt);
    ClientRect CurrentClientRect() const;
    /// Renders a SAMI file into the open media: pauses, adds it, runs.
    void AddSubtitleToMedia(const std::string &path);

    SkinSet &skinSet_;
    MediaGraph &mediaGraph_;
    SubtitleStyle &style_;
    VideoScreen *videoScreen_ = nullptr;
    ClientRect clientRect_;
    PlaybackPanel *controlPanel_ = nullptr;
    PlaybackPanel *fullScreenPanel_ = nullptr;
    QWidget *titleBar_ = nullptr;
    QIcon icon_;
    QMenu contextMenu_;        ///< rebuilt at each right click; the filter entries keep their names here
    AcceleratorFilter *accelerators_ = nullptr; ///< null before initialisation
    QTimer positionTimer_;
    int64_t captionOffsetMs_ = 0;    ///< the caption sync keys' offset, for captionStatePath_
    QString captionLanguage_;        ///< the language chosen, for captionStatePath_; empty: the file's own
    std::string captionStatePath_;   ///< the medium the two above belong to
    FileChooser fileChooser_;
    ResumeRules resumeRules_;               ///< when leaving a medium remembers it
    std::optional<int64_t> resumeOfferMs_;  ///< the position offered, while the offer stands
    QElapsedTimer resumeOfferClock_;        ///< since the offer was made
    QElapsedTimer resumeSaveClock_;         ///< since the last write while playing
    AbRepeat abRepeat_;
    int64_t abLastTickMs_ = 0;       ///< the position at the A-B loop's last tick
    QRect normalGeometry_;
    bool coveringScreen_ = false; ///< the window is in a full-screen mode's place
    QRect availableAreaForTests_; ///< valid: stands in for the screen's free area

    /// How long the resume offer stands.
    static constexpr int kResumeOfferMs = 5000;
    /// How long the word that an address stopped sending stands.
    static constexpr int kConnectionLostMs = 5000;
    /// How often a playing medium's position is written (what a crash loses at most).
    static constexpr int kResumeSaveMs = 30000;
    /// How long a window manager gets to cover the screen before it is done by hand.
    static constexpr int kCoverCheckDelayMs = 250;

    // A move or resize done by hand when the window system cannot do it.
    bool manualDrag_ = false;
    Qt::Edges dragEdges_;
    QPoint dragStart_;
    QRect dragGeometry_;
};

} // namespace velmo
