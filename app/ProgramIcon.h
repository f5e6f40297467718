#pragma once

#include <QIcon>

namespace velmo {

/// The program icon (icon 128): the window's, the about box's and the
/// open-address dialog's. Drawn once, in 16, 32 and 48 pixels.
QIcon ProgramIcon();

} // namespace velmo
