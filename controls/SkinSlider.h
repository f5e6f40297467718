#pragma once

#include <QImage>
#include <QWidget>

#include <vector>

namespace velmo {

struct SkinSliderImages;

/// What a slider reports to its owner, with the value at the time of the report.
enum SliderCode : int {
    TB_LINEUP = 0,
    TB_LINEDOWN = 1,
    TB_PAGEUP = 2,
    TB_PAGEDOWN = 3,
    TB_THUMBPOSITION = 4,
    TB_THUMBTRACK = 5,
    TB_TOP = 6,
    TB_BOTTOM = 7,
    TB_ENDTRACK = 8,
};

/// Where the thumb's left edge goes for `value`: margin + trunc(value × step −
/// minimum × step), step = (clientWidth − 2 × margin − thumbWidth) / (maximum
/// + 1 − minimum) in floating point.
int SliderThumbLeft(int minimum, int maximum, int value, int clientWidth, int margin, int thumbWidth);

/// The value under pointer x, within [minimum, maximum + 1]: minimum +
/// trunc((maximum + 1 − minimum) / usable × (x − trunc(thumbWidth / 2) −
/// margin)), usable = clientWidth − 2 × margin − thumbWidth. With no usable
/// width the pointer cannot choose a value: the minimum.
int SliderValueAt(int x, int minimum, int maximum, int clientWidth, int margin, int thumbWidth);

/// The x of the point `fraction` (0 to 1) of the range: where the thumb's
/// centre stands for that value, margin + trunc(thumbWidth / 2) +
/// trunc(fraction × usable), usable = clientWidth − 2 × margin − thumbWidth.
int SliderMarkX(double fraction, int clientWidth, int margin, int thumbWidth);

/// The skinned horizontal slider of the timeline and the volume: a track
/// drawn from three 5-pixel columns of its picture, a thumb moved under the
/// pointer, keys for lines, pages and the ends. Every change is reported to
/// the owner through Scroll(), always queued: it arrives after the handler
/// that caused it has returned, carrying the value read when it was posted.
class SkinSlider : public QWidget {
    Q_OBJECT
public:
    explicit SkinSlider(QWidget *parent = nullptr);

    /// Takes the track, thumb and held-thumb pictures of `images` and the
    /// margin; the thumb's top is computed here, once, from the current height.
    void SetBitmaps(const SkinSliderImages &images, int margin);
    /// Sets the range; the value is kept within it.
    void SetRange(int minimum, int maximum);
    /// Stores `value` kept within the range and repaints.
    void SetPos(int value);
    int GetPos() const { return value_; }
    /// Tints a thin band under the track's line from `from` to `to`
    /// (fractions of the range, 0 to 1); `from` >= `to` shows none.
    void SetMarkedRange(double from, double to);
    /// Thin ticks across the track at `fractions` of the range (the
    /// chapters' starts); those at or past either end are not drawn.
    void SetTicks(std::vector<double> fractions);
    /// The top of the thumb, set by SetBitmaps.
    int thumbTop() const { return thumbTop_; }

signals:
    /// A change, with a SliderCode and the value when it was posted.
    void Scroll(int code, int value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    bool TrackPointer(int x);
    void Post(int code);
    void RedrawNow();

    int minimum_ = 0;
    int maximum_ = 100;
    int value_ = 0;
    int lineSize_ = 1;
    int pageSize_ = 10;
    int margin_ = 0;
    int thumbWidth_ = 0;
    int thumbHeight_ = 0;
    int trackHeight_ = 0;
    QImage track_;
    QImage thumb_;     ///< shown while focused and otherwise
    QImage heldThumb_; ///< shown while dragged
    int thumbLeft_ = 0;
    int thumbTop_ = 0;
    bool moved_ = false;
    bool dragging_ = false;
    double markedFrom_ = 0.0;
    double markedTo_ = 0.0;
    std::vector<double> ticks_;
};

} // namespace velmo
