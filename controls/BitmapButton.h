#pragma once

#include "skin/SkinBitmap.h"

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace velmo {

struct SkinImage;

/// The x of the frame a button shows in its picture strip: the normal frame
/// (0) unless hovered, then the pressed frame (2 × stateWidth) while pressed,
/// else the hover frame (stateWidth).
int ButtonFrameX(bool hovered, bool pressed, int stateWidth);

/// The one push button of the skin: a strip of three equal frames (normal,
/// hover, pressed) side by side, magenta (255, 0, 255) transparent. It draws
/// only the stateWidth × height rectangle at its top-left corner. A left press
/// emits clicked() at once; what a click means is the owner's business.
class BitmapButton : public QWidget {
    Q_OBJECT
public:
    explicit BitmapButton(QWidget *parent = nullptr);

    /// Assigns the picture strip (shared with the skin set, never changed
    /// here) and repaints. A null image draws nothing but still clicks.
    void SetImage(const SkinImage &image);
    /// The same from a picture and its description.
    void SetImage(const QImage &image, const BitmapInfo &info);
    /// Sets or replaces the text of the button's one tooltip.
    void SetTooltipText(const QString &text);

    /// Width of one frame: the image width / 3, truncated.
    int StateWidth() const { return info_.width / kStateCount; }
    /// The picture strip now assigned.
    const QImage &image() const { return image_; }

    static constexpr int kStateCount = 3;

signals:
    /// The left button went down on the button.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void SetHovered(bool hovered, bool pressed);

    QImage image_;
    BitmapInfo info_;
    QPixmap masked_;       ///< image_ with its magenta pixels transparent
    qint64 maskedKey_ = 0; ///< cacheKey of the image masked_ was made from
    bool hovered_ = false;
    bool pressed_ = false;
};

} // namespace velmo
