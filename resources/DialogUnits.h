#pragma once

// Dialog units to pixels, the classic way: the template's font gives the base
// units (its average character width and its height), a horizontal dialog unit
// is a quarter of the first and a vertical one an eighth of the second.

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

namespace velmo {

/// Screen resolution the point sizes of templates are converted at.
inline constexpr int kTemplateDotsPerInch = 96;

/// a × b / c rounded to the nearest integer, halves away from zero.
inline int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const int64_t magnitude = (product < 0 ? -product : product);
    const int64_t divisor = c < 0 ? -static_cast<int64_t>(c) : c;
    const int64_t rounded = (magnitude + divisor / 2) / divisor;
    return static_cast<int>(negative ? -rounded : rounded);
}

/// The font a template names: face and point size at kTemplateDotsPerInch.
inline QFont TemplateFont(const char *faceUtf8, int pointSize)
{
    QFont font(QString::fromUtf8(faceUtf8));
    font.setPixelSize(MulDiv(pointSize, kTemplateDotsPerInch, 72));
    return font;
}

/// The base units of a font: the rounded average width of the 52 Latin
/// letters, and the character height.
inline QSize DialogBaseUnits(const QFont &font)
{
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

/// Horizontal dialog units to pixels.
inline int DialogUnitsToPixelsX(int units, QSize base) { return MulDiv(units, base.width(), 4); }
/// Vertical dialog units to pixels.
inline int DialogUnitsToPixelsY(int units, QSize base) { return MulDiv(units, base.height(), 8); }

/// A rectangle of x, y, width, height in dialog units, in pixels.
inline QRect DialogRectToPixels(int x, int y, int width, int height, QSize base)
{
    return {DialogUnitsToPixelsX(x, base), DialogUnitsToPixelsY(y, base), DialogUnitsToPixelsX(width, base),
            DialogUnitsToPixelsY(height, base)};
}

/// A size in dialog units, in pixels.
inline QSize DialogSizeToPixels(int width, int height, QSize base)
{
    return {DialogUnitsToPixelsX(width, base), DialogUnitsToPixelsY(height, base)};
}

} // namespace velmo
