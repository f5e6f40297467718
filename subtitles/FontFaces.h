#pragma once

#include <QString>

#include <vector>

namespace velmo {

/// Font-type bits of a listed face, as the font enumeration reports them.
inline constexpr int kRasterFontType = 1;
inline constexpr int kTrueTypeFontType = 4;

/// One installed font face.
struct FontFace {
    QString name;        ///< the face's family name, as fonts are asked for by name
    int fontType;        ///< kTrueTypeFontType, kRasterFontType or 0
    bool hangul = false; ///< the face draws Korean
};

/// The installed faces, one per family name, in fontconfig's order (the first
/// file seen of a family gives its type bits; any file of it, its Korean).
std::vector<FontFace> EnumerateFontFaces();

/// `faces` in the order a user looks for them: the faces that draw Korean
/// first, then the rest, each part by name regardless of letter case.
std::vector<FontFace> SortFontFaces(std::vector<FontFace> faces);

} // namespace velmo
