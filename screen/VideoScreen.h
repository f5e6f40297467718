#pragma once

#include "engine/VideoFrameSink.h"
#include "screen/PaintedPicture.h"
#include "subtitles/ShownCaption.h"
#include "subtitles/TypesetTrack.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

namespace velmo {

class SkinSet;
class SubtitleStyle;

/// The child window of the main window that shows the picture. Without a
/// picture it paints the skin's borders, background and logo; with one, the
/// borders and the frames the graph hands over, plus the caption layer.
///
/// Placing: the main window creates it as a child, shows it and sets its
/// geometry (setGeometry); every resize refits the picture to the whole client
/// area and clears the caption layer.
///
/// Input: every mouse press, release, double click, move and wheel, and every
/// key press and release that reaches the screen is also posted, as a copy with
/// coordinates relative to the screen, to the top-level window. Keys of the accelerator table never get here: the
/// application's key filter dispatches and consumes them first. Drops are not
/// accepted here, so Qt hands them to the main window.
class VideoScreen : public QWidget, public VideoFrameSink {
    Q_OBJECT
public:
    /// Captions and messages are drawn in `style`'s look; both outlive the screen.
    VideoScreen(SkinSet &skinSet, const SubtitleStyle &style, QWidget *parent = nullptr);
    ~VideoScreen() override;

    /// Whether media is open and whether it has a picture: without one the
    /// screen shows the skin's background and logo, and no caption.
    void SetMedium(bool open, bool picture);
    /// Whether the window covers the screen: the full-screen bar and panel
    /// then show when the pointer nears their edge.
    void SetCoversScreen(bool covers) { coversScreen_ = covers; }
    /// Draws `caption` as the caption layer over the picture (only while media
    /// is open). The layer is drawn once per change and kept; frames do not
    /// redraw it.
    void DrawSubtitle(const ShownCaption &caption);
    /// Invalidates the whole screen; with `erase` the caption layer is cleared
    /// until the next DrawSubtitle (as after a resize or a close).
    void Invalidate(bool erase = true);
    /// Clears the caption layer and repaints at once (the wipe before a new caption).
    void RedrawErase();
    /// Shows `text` as a short message over the picture's top left (drawn
    /// like the caption, smaller) for `durationMs`; a new message replaces
    /// it, an empty one takes it away.
    void ShowMessage(const QString &text, int durationMs = kMessageMs);
    /// How long a message stays.
    static constexpr int kMessageMs = 1500;

    /// Draws typeset captions for a picture's time `ms` over `pixels`
    /// device pixels into *layer; false when they look as they did last.
    using TypesetSource = std::function<bool(int64_t ms, const QSize &pixels, TypesetLayer *layer)>;
    /// Where each frame's typeset captions come from (null: none). They are
    /// asked with each frame's own time and drawn as the caption layer is.
    void SetTypesetSource(TypesetSource source) { typesetSource_ = std::move(source); }
    /// Asks the typeset captions again for the picture shown (a choice or
    /// the offset changed while no new frame comes).
    void RefreshTypeset();

    /// Whether a caption layer is being shown.
    bool HasSubtitleLayer() const { return !subtitleLayer_.isNull(); }
    /// The rectangle of the caption layer in screen coordinates (empty when none).
    QRect SubtitleRect() const { return subtitleRect_; }
    /// Whether a picture is being shown.
    bool HasPicture() const { return !frame_.image.isNull(); }
    /// The frame shown (null image when none).
    const VideoFrame &CurrentFrame() const { return frame_; }

    // VideoFrameSink
    void ShowFrame(const VideoFrame &frame) override;
    void ClearFrame() override;
    qreal PixelRatio() const override { return devicePixelRatioF(); }

    QWidget *fullScreenPanel = nullptr;    ///< control panel over the picture in the full-screen modes; null: none
    QWidget *fullScreenTitleBar = nullptr; ///< title bar over the picture in the full-screen modes; null: none
    QRect clientRect;                      ///< the client rectangle at the last resize

signals:
    /// The screen's area changed: the picture is to fill `area`.
    void AreaChanged(const QRect &area);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    /// The picture window cannot put pictures: this screen paints them from now on.
    void OnPictureRefused();
    /// Shows or hides the full-screen title bar and panel for a pointer at height `y`.
    void ShowFullScreenPanels(int y);
    void PaintBackground(QPainter &painter);
    void PaintPicture(QPainter &painter);
    void ClearSubtitleLayer();
    /// Hands the caption, the typeset captions and the message, as one
    /// layer, to the output; with `putNow` false it waits for the frame on its way.
    void UpdateOverlay(bool putNow = true);
    /// Takes the typeset captions for `frame`; true when they changed.
    bool TakeTypeset(const VideoFrame &frame);
    /// A rectangle of device pixels as the screen's coordinates, grown to whole ones.
    QRect ToScreen(const QRect &pixels) const;

    SkinSet &skinSet_;
    const SubtitleStyle &style_;
    bool mediumOpen_ = false;
    bool mediumHasPicture_ = false;
    bool coversScreen_ = false;
    VideoFrame frame_;
    // The layers hold device pixels (their devicePixelRatio is 1) and their
    // rectangles are in device pixels of the screen: at a ratio of 1.5 a
    // layer's edge may fall inside one of the screen's coordinate units.
    QImage subtitleLayer_;  ///< the caption's pixels, cropped to subtitlePixels_
    QRect subtitlePixels_;
    QRect subtitleRect_;    ///< subtitlePixels_ in screen coordinates
    QString subtitleKey_;   ///< what the cached layer was drawn from
    TypesetSource typesetSource_;
    QImage typesetLayer_;   ///< the typeset captions' pixels, over typesetPixels_
    QRect typesetPixels_;
    QImage messageLayer_;   ///< the message's pixels, cropped to messagePixels_
    QRect messagePixels_;
    QTimer messageTimer_;
    QImage overlay_;        ///< caption and message together, over overlayPixels_
    QRect overlayPixels_;
    PaintedPicture painted_{*this};
    /// Where frames go: the picture window (a child, owned as such) or painted_.
    PictureOutput *output_ = &painted_;
};

} // namespace velmo
