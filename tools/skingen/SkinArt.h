#pragma once

// The pictures of the default skin, drawn with QPainter.

#include <QImage>

#include <string>
#include <vector>

namespace velmo::skingen {

/// One file of the skin: its name in the skin folder and its picture.
struct SkinPicture {
    std::string fileName;
    QImage image; ///< RGB32, magenta where a button is transparent
};

/// Every picture of the skin, in the order the loader reads them, at
/// `ratio` pixels per layout pixel (the layout is the same at every ratio).
std::vector<SkinPicture> DrawSkinPictures(int ratio = 1);

/// The description file that places the pictures.
std::string SkinDescription();

/// The font the skin's text is drawn with.
QFont SkinFont(int pixelSize, int weight);

} // namespace velmo::skingen
