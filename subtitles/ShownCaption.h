#pragma once

#include <QString>

#include <utility>

namespace velmo {

/// A caption as it is to be drawn: its cleaned text, and the text as its
/// file holds it when its looks (colours, weights, ruby) are to be drawn too.
struct ShownCaption {
    ShownCaption() = default;
    /// A caption of `text`, with the looks of `markup` (none when empty).
    ShownCaption(QString text, QString markup = {}) : text(std::move(text)), markup(std::move(markup)) {}

    QString text;   ///< cleaned: what is drawn; empty: no caption
    QString markup; ///< markup and all; empty: the plain look

    bool operator==(const ShownCaption &) const = default;
};

} // namespace velmo
