#pragma once

#include "skin/SkinBitmap.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

namespace velmo {

struct SkinTimeImages;

/// The font of the time display: "돋움", 11 pixels from the top of the
/// tallest glyph to the bottom of the lowest (the cell height), weight 900.
QFont TimeDisplayFont();

/// The skinned field that shows "position / duration": a left cap, a middle
/// column stretched over the whole field, a right cap, and the text drawn
/// twice, first as a shadow 2 pixels right and 1 down, then in the text
/// colour, centred horizontally at the top and clipped to the field. The
/// colours are read from the skin at every paint.
class TimeDisplay : public QWidget {
    Q_OBJECT
public:
    /// Copies the three pictures of `time`, which must outlive the display
    /// (its colours are read from it at each paint).
    explicit TimeDisplay(const SkinTimeImages &time, QWidget *parent = nullptr);

    /// Replaces the text and repaints.
    void SetText(const QString &text);
    /// The line shown; "00:00:00 / 00:00:00" at first.
    const QString &text() const { return text_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const SkinTimeImages &time_;
    QImage leftCap_;
    QImage rightCap_;
    QImage back_;
    QString text_;
    QFont font_;
};

} // namespace velmo
