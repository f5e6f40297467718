#pragma once

#include <QIcon>
#include <QImage>

namespace velmo {

/// The program icon drawn at `size` x `size` pixels: the one drawing behind
/// the window's icon and the installed theme icons.
QImage DrawProgramIcon(int size);

/// The program icon (icon 128): the window's, the about box's and the
/// open-address dialog's. Drawn once, in 16, 32 and 48 pixels.
QIcon ProgramIcon();

} // namespace velmo
