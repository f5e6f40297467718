#pragma once

#include "skin/SkinBitmap.h"
#include "support/TempDir.h"

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace velmo::test {

/// Vertical bands of colour, left to right: {width, colour}.
inline QImage Bands(int height, const std::vector<std::pair<int, QColor>> &bands)
{
    int width = 0;
    for (const auto &band : bands)
        width += band.first;
    QImage image(width, height, QImage::Format_RGB32);
    int x = 0;
    for (const auto &[w, colour] : bands) {
        for (int i = 0; i < w; ++i, ++x)
            for (int y = 0; y < height; ++y)
                image.setPixelColor(x, y, colour);
    }
    return image;
}

/// Loads `image` into `bitmap` through a file, as the skin does.
inline void LoadInto(SkinBitmap &bitmap, const TempDir &dir, const std::string &name, const QImage &image)
{
    const std::string path = dir.path(name);
    ASSERT_TRUE(image.save(QString::fromStdString(path)));
    ASSERT_TRUE(bitmap.Load(path));
}

/// A shown window filled with one colour, to put controls on.
inline void PaintAsPanel(QWidget &panel, QColor colour, QSize size)
{
    QPalette palette = panel.palette();
    palette.setColor(QPalette::Window, colour);
    panel.setPalette(palette);
    panel.setAutoFillBackground(true);
    panel.resize(size);
    panel.show();
}

} // namespace velmo::test
