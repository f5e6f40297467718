#pragma once

#include <QLoggingCategory>

namespace velmo::mpris {

/// The log of the player's session-bus services (velmo.mpris).
Q_DECLARE_LOGGING_CATEGORY(lcMpris)

} // namespace velmo::mpris
