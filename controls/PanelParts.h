#pragma once

#include "controls/BitmapButton.h"
#include "skin/SkinSet.h"

#include <QPainter>
#include <QRect>

namespace velmo {

/// A panel's background: `middle` stretched whole over `middleRect`, `left`
/// at (0, 0) and `right` at (clientWidth − its width, 0), each end at its own
/// size. What no picture covers is black.
inline void PaintPanelBackground(QPainter &painter, const SkinImage &middle, const SkinImage &left,
                                 const SkinImage &right, const QRect &middleRect, int clientWidth)
{
    const QRect all = painter.viewport();
    if (middle.bitmap.isNull() || !middleRect.contains(all))
        painter.fillRect(all, Qt::black);
    if (!middle.bitmap.isNull() && !middleRect.isEmpty())
        painter.drawImage(middleRect, middle.bitmap.image());
    if (!left.bitmap.isNull())
        painter.drawImage(QPoint(0, 0), left.bitmap.image());
    if (!right.bitmap.isNull())
        painter.drawImage(QPoint(clientWidth - right.width, 0), right.bitmap.image());
}

/// A button of `parent` at `rect` (its template place) with the skin's
/// picture, hidden until the skin shows it.
inline BitmapButton *MakeTemplateButton(QWidget *parent, const QRect &rect, const SkinImage &image)
{
    auto *b = new BitmapButton(parent);
    b->setGeometry(rect);
    b->SetImage(image);
    b->hide();
    return b;
}

/// Shows `button` with its tooltip when the skin shows `image`.
inline void ShowSkinButton(BitmapButton *button, const SkinImage &image, const char *tooltipUtf8)
{
    if (!image.shown)
        return;
    button->SetTooltipText(QString::fromUtf8(tooltipUtf8));
    button->show();
}

} // namespace velmo
