#pragma once

#include <QString>

#include <vector>

namespace velmo {

/// Font-type bits of a listed face, as the font enumeration reports them.
inline constexpr int kRasterFontType = 1;
inline constexpr int kTrueTypeFontType = 4;

/// One installed font face.
struct FontFace {
    QString name; ///< the face's family name, as fonts are asked for by name
    int fontType; ///< kTrueTypeFontType, kRasterFontType or 0
};

/// The installed faces, one per family name, in fontconfig's order (the first
/// file seen of a family gives its type bits).
std::vector<FontFace> EnumerateFontFaces();

} // namespace velmo
