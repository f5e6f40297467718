#pragma once

#include "text/ProfileReader.h"

#include <QWidget>

namespace velmo {

/// A static area filled with one colour: shows a colour of the subtitle style
/// beside the button that chooses it.
class ColorSwatch : public QWidget {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget *parent = nullptr);

    /// The colour shown (red in the lowest byte); set it, then update().
    Colour color = 0;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace velmo
