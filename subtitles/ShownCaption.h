#pragma once

#include <QString>

namespace velmo {

/// A caption as it is to be drawn: its cleaned text, and the text as its
/// file holds it when its looks (colours, weights, ruby) are to be drawn too.
struct ShownCaption {
    QString text;   ///< cleaned: what is drawn; empty: no caption
    QString markup; ///< markup and all; empty: the plain look

    bool operator==(const ShownCaption &) const = default;
};

} // namespace velmo
