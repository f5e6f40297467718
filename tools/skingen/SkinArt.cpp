#include "SkinArt.h"

#include "ButtonGlyphs.h"

#include "SkinLayout.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace velmo::skingen {

namespace {

enum class State { Normal, Hover, Pressed };

// Pixels per layout pixel of the pictures being drawn. Every canvas carries
// it as its device pixel ratio, so the drawing code keeps layout coordinates.
qreal gRatio = 1;

QImage canvas(int width, int height, QImage::Format format)
{
    QImage image(qRound(width * gRatio), qRound(height * gRatio), format);
    image.setDevicePixelRatio(gRatio);
    return image;
}

// The part of `image` at `rect`, in layout coordinates.
QImage part(const QImage &image, int x, int y, int width, int height)
{
    QImage copied = image.copy(qRound(x * gRatio), qRound(y * gRatio), qRound(width * gRatio),
                               qRound(height * gRatio));
    copied.setDevicePixelRatio(gRatio);
    return copied;
}

// Paints an antialiased drawing onto `under` and turns every pixel the
// drawing left untouched into the transparent magenta, so that edges blend
// with the panel the button sits on and no pink fringe appears.
QImage flatten(const QImage &drawing, const QColor &under)
{
    QImage out(drawing.size(), QImage::Format_RGB32);
    out.setDevicePixelRatio(drawing.devicePixelRatio());
    out.fill(under);
    {
        QPainter p(&out);
        p.drawImage(0, 0, drawing);
    }
    for (int y = 0; y < drawing.height(); ++y) {
        const auto *src = reinterpret_cast<const QRgb *>(drawing.constScanLine(y));
        auto *dst = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < drawing.width(); ++x) {
            if (qAlpha(src[x]) == 0)
                dst[x] = kTransparent.rgb();
        }
    }
    return out;
}

QImage transparentCanvas(int width, int height)
{
    QImage image = canvas(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Three frames side by side: normal, hover, pressed.
QImage buttonStrip(int frameW, int frameH, const QColor &under,
                   const std::function<void(QPainter &, State)> &draw)
{
    QImage strip = transparentCanvas(3 * frameW, frameH);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    const State states[] = {State::Normal, State::Hover, State::Pressed};
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(i * frameW, 0);
        p.setClipRect(0, 0, frameW, frameH);
        draw(p, states[i]);
        p.restore();
    }
    p.end();
    return flatten(strip, under);
}

void hoverBack(QPainter &p, State state, int w, int h, qreal radius = 4)
{
    if (state == State::Normal)
        return;
    p.setPen(Qt::NoPen);
    p.setBrush(state == State::Hover ? kHoverBack : kPressedBack);
    p.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), radius, radius);
}

QColor iconColour(State state)
{
    switch (state) {
    case State::Normal: return kIcon;
    case State::Hover: return kIconHover;
    case State::Pressed: return kAccentHover;
    }
    return kIcon;
}

// A transport button: rounded hover plate, glyph centred, pressed glyph
// nudged down a pixel.
QImage transportButton(const std::function<void(QPainter &, const QColor &)> &glyph)
{
    return buttonStrip(kButtonW, kButtonH, kPanel, [&](QPainter &p, State s) {
        hoverBack(p, s, kButtonW, kButtonH);
        p.translate(kButtonW / 2.0, kButtonH / 2.0 + (s == State::Pressed ? 1 : 0));
        glyph(p, iconColour(s));
    });
}

// Play and pause: an accent disc with a white glyph.
QImage discButton(bool pauseGlyph)
{
    return buttonStrip(kButtonW, kButtonH, kPanel, [&](QPainter &p, State s) {
        const QColor disc = s == State::Normal ? kAccent : s == State::Hover ? kAccentHover : kAccentPressed;
        p.setPen(Qt::NoPen);
        p.setBrush(disc);
        p.drawEllipse(QRectF(kButtonW / 2.0 - 11, kButtonH / 2.0 - 11, 22, 22));
        p.setBrush(Qt::white);
        p.translate(kButtonW / 2.0, kButtonH / 2.0);
        if (pauseGlyph) {
            p.drawRoundedRect(QRectF(-4, -5, 3, 10), 0.8, 0.8);
            p.drawRoundedRect(QRectF(1, -5, 3, 10), 0.8, 0.8);
        } else {
            p.drawPath(TriangleRight(-3, -5.5, 9, 11));
        }
    });
}

QImage soundButton(bool on)
{
    return transportButton([on](QPainter &p, const QColor &c) {
        SpeakerGlyph(p, c);
        QPen pen(c, 1.4, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        if (on) {
            p.drawArc(QRectF(-3, -3.5, 7, 7), -50 * 16, 100 * 16);
            p.drawArc(QRectF(-5.5, -6.5, 13, 13), -50 * 16, 100 * 16);
        } else {
            p.drawLine(QPointF(2.5, -3), QPointF(7.5, 3));
            p.drawLine(QPointF(7.5, -3), QPointF(2.5, 3));
        }
    });
}

// A title bar button: full-height plate on hover, red for close.
QImage titleButton(bool closeButton, const std::function<void(QPainter &, const QColor &)> &glyph)
{
    return buttonStrip(kTitleButtonW, kTitleButtonH, kPanel, [&](QPainter &p, State s) {
        if (s != State::Normal) {
            QColor back = s == State::Hover ? kHoverBack : kPressedBack;
            if (closeButton)
                back = s == State::Hover ? kCloseHover : kClosePressed;
            p.fillRect(QRect(0, 0, kTitleButtonW, kTitleButtonH), back);
        }
        const QColor c = s == State::Normal ? kIcon : closeButton ? Qt::white : kIconHover;
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(kTitleButtonW / 2, kTitleButtonH / 2);
        glyph(p, c);
    });
}

// The program's mark: a rounded square in the accent colour with a play glyph.
void drawMark(QPainter &p, const QRectF &box, const QColor &top, const QColor &bottom)
{
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
    const qreal r = box.width() * 0.26;
    p.drawRoundedRect(box, r, r);
    p.setBrush(Qt::white);
    const qreal w = box.width() * 0.36;
    const qreal h = box.height() * 0.42;
    p.drawPath(TriangleRight(box.center().x() - w * 0.38, box.center().y() - h / 2, w, h));
}

QImage titleIcon()
{
    return buttonStrip(kIconSize, kIconSize, kPanel, [](QPainter &p, State s) {
        const QColor top = s == State::Hover ? kAccentHover.lighter(108) : s == State::Pressed ? kAccentPressed : kAccentHover;
        const QColor bottom = s == State::Pressed ? kAccentPressed.darker(115) : kAccent;
        drawMark(p, QRectF(0.5, 0.5, kIconSize - 1, kIconSize - 1), top, bottom);
    });
}

QImage titleString()
{
    const QFont hangul = SkinFont(13, QFont::Bold);
    const QFont latin = SkinFont(11, QFont::Normal);
    const QString name = QStringLiteral("벨모");
    const QString sub = QStringLiteral("Velmo");
    const int nameW = QFontMetrics(hangul).horizontalAdvance(name);
    const int subW = QFontMetrics(latin).horizontalAdvance(sub);
    const int frameW = nameW + 6 + subW + 2;
    // The title does nothing when clicked: all three frames look the same.
    return buttonStrip(frameW, kTitleStringH, kPanel, [&](QPainter &p, State) {
        const int baseline = kTitleStringH / 2 + 5;
        p.setFont(hangul);
        p.setPen(QColor(0xE2, 0xE5, 0xEA));
        p.drawText(0, baseline, name);
        p.setFont(latin);
        p.setPen(QColor(0x7D, 0x85, 0x91));
        p.drawText(nameW + 6, baseline, sub);
    });
}

// A panel background: flat, with a line on top and bottom. Stretched
// sideways by the panels, so every column is the same.
QImage panelBack(int height, const QColor &topLine, const QColor &bottomLine)
{
    QImage image = canvas(16, height, QImage::Format_RGB32);
    image.fill(kPanel);
    QPainter p(&image);
    p.fillRect(0, 0, 16, 1, topLine);
    p.fillRect(0, height - 1, 16, 1, bottomLine);
    return image;
}

// An end piece of a panel: the window's outline on the outer column.
QImage panelEnd(int height, bool left, const QColor &topLine, const QColor &bottomLine)
{
    QImage image = part(panelBack(height, topLine, bottomLine), 0, 0, kBorder, height);
    QPainter p(&image);
    p.fillRect(left ? 0 : kBorder - 1, 0, 1, height, kOutline);
    return image;
}

QImage screenBorder(bool left)
{
    QImage image = canvas(kBorder, kBorderHeight, QImage::Format_RGB32);
    image.fill(kScreen);
    QPainter p(&image);
    p.fillRect(left ? 0 : kBorder - 1, 0, 1, kBorderHeight, kOutline);
    return image;
}

QImage logo()
{
    QImage drawing = transparentCanvas(kLogoW, kLogoH);
    QPainter p(&drawing);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawMark(p, QRectF(4, 8, 48, 48), kAccentHover, kAccentPressed);
    p.setFont(SkinFont(30, QFont::Bold));
    p.setPen(QColor(0xE6, 0xE9, 0xEE));
    p.drawText(64, 37, QStringLiteral("Velmo"));
    p.setFont(SkinFont(12, QFont::Normal));
    p.setPen(QColor(0x7D, 0x85, 0x91));
    p.drawText(66, 55, QStringLiteral("벨모 미디어 플레이어"));
    p.end();
    QImage out = canvas(kLogoW, kLogoH, QImage::Format_RGB32);
    out.fill(kScreen);
    QPainter(&out).drawImage(0, 0, drawing);
    return out;
}

// A slider track: left end, right end and middle, 5 columns each, then the
// middle repeated to `width`. The groove is centred on `grooveCentre`.
QImage sliderTrack(int width, int height, int grooveCentre)
{
    QImage drawing = transparentCanvas(width, height);
    QPainter p(&drawing);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kGrooveColour);
    const qreal top = grooveCentre - kGrooveHeight / 2.0;
    const qreal r = kGrooveHeight / 2.0;
    p.drawRoundedRect(QRectF(1, top, 12, kGrooveHeight), r, r);        // left end, cut at x 5
    p.fillRect(QRectF(10, top, width - 10, kGrooveHeight), kGrooveColour);    // middle onwards
    p.end();
    QImage track = canvas(width, height, QImage::Format_RGB32);
    track.fill(kPanel);
    QPainter out(&track);
    out.drawImage(0, 0, part(drawing, 0, 0, 5, height));
    // The right end mirrors the left end.
    out.drawImage(5, 0, part(drawing, 0, 0, 5, height).mirrored(true, false));
    out.drawImage(10, 0, part(drawing, 10, 0, width - 10, height));
    return track;
}

// A thumb, drawn opaquely by the slider: a disc on the panel colour.
QImage sliderThumb(int size, bool held)
{
    QImage image = canvas(size, size, QImage::Format_RGB32);
    image.fill(kPanel);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRectF disc(0.5, 0.5, size - 1, size - 1);
    p.setBrush(held ? kAccentHover : kIconHover);
    p.drawEllipse(disc);
    p.setBrush(held ? Qt::white : kAccent);
    const qreal inset = size * (held ? 0.3 : 0.28);
    p.drawEllipse(disc.adjusted(inset, inset, -inset, -inset));
    return image;
}

// The time display's pieces: a recessed rounded box.
QImage timePiece(int width, bool left, bool right)
{
    const int boxW = 2 * kTimeCap + 2;
    QImage box = transparentCanvas(boxW, kTimeH);
    QPainter p(&box);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x26, 0x2A, 0x31), 1));
    p.setBrush(kTimeBack);
    p.drawRoundedRect(QRectF(0.5, 0.5, boxW - 1, kTimeH - 1), 3.5, 3.5);
    p.end();
    QImage out = canvas(width, kTimeH, QImage::Format_RGB32);
    out.fill(kPanel);
    QPainter o(&out);
    if (left)
        o.drawImage(0, 0, part(box, 0, 0, width, kTimeH));
    else if (right)
        o.drawImage(0, 0, part(box, boxW - width, 0, width, kTimeH));
    else
        o.drawImage(0, 0, part(box, kTimeCap + 1, 0, width, kTimeH));
    return out;
}

} // namespace

QFont SkinFont(int pixelSize, int weight)
{
    QFont font(QStringLiteral("NanumGothic"));
    font.setPixelSize(pixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

std::vector<SkinPicture> DrawSkinPictures(int ratio)
{
    gRatio = ratio;
    std::vector<SkinPicture> pictures;
    const auto add = [&](const char *name, QImage image) { pictures.push_back({name, std::move(image)}); };

    add("controlpanel.bmp", panelBack(kPanelHeight, kSeparator, kOutline));
    add("controlpanel_left.bmp", panelEnd(kPanelHeight, true, kSeparator, kOutline));
    add("controlpanel_right.bmp", panelEnd(kPanelHeight, false, kSeparator, kOutline));
    add("toppanel.bmp", panelBack(kTitleHeight, kOutline, kSeparator));
    add("toppanel_left.bmp", panelEnd(kTitleHeight, true, kOutline, kSeparator));
    add("toppanel_right.bmp", panelEnd(kTitleHeight, false, kOutline, kSeparator));
    QImage back = canvas(32, 32, QImage::Format_RGB32);
    back.fill(kScreen);
    add("screen_back.bmp", back);
    add("screen_right.bmp", screenBorder(false));
    add("screen_left.bmp", screenBorder(true));
    add("play.bmp", discButton(false));
    add("pause.bmp", discButton(true));
    add("stop.bmp", transportButton(StopGlyph));
    add("next.bmp", transportButton(NextGlyph));
    add("prev.bmp", transportButton(PrevGlyph));
    add("open.bmp", transportButton(OpenGlyph));
    add("controlPanel_full.bmp", transportButton(FullScreenGlyph));
    add("sound_on.bmp", soundButton(true));
    add("sound_off.bmp", soundButton(false));
    add("maximize.bmp", titleButton(false, MaximizeGlyph));
    add("close.bmp", titleButton(true, CloseGlyph));
    add("title_ico.bmp", titleIcon());
    add("title_str.bmp", titleString());
    add("minimize.bmp", titleButton(false, MinimizeGlyph));
    add("logo.bmp", logo());
    add("mainslider.bmp", sliderTrack(40, kTimelineH, kTimelineTemplateH / 2));
    add("mainslider_ball.bmp", sliderThumb(kTimelineThumb, false));
    add("mainslider_sel.bmp", sliderThumb(kTimelineThumb, true));
    add("soundslider.bmp", sliderTrack(kVolumeW, kVolumeH, kVolumeTemplateH / 2));
    add("soundslider_ball.bmp", sliderThumb(kVolumeThumb, false));
    add("soundslider_sel.bmp", sliderThumb(kVolumeThumb, true));
    add("time_infor_left.bmp", timePiece(kTimeCap, true, false));
    add("time_infor_back.bmp", timePiece(1, false, false));
    add("time_infor_right.bmp", timePiece(kTimeCap, false, true));
    return pictures;
}

} // namespace velmo::skingen
