#include "ContactSheet.h"

#include "SkinArt.h"
#include "skin/SkinSet.h"

#include <QPainter>

#include <utility>
#include <vector>

namespace velmo::skingen {

namespace {

const QColor kSheetBack(0x2B, 0x2B, 0x2B);
const QColor kLabel(0xB0, 0xB0, 0xB0);

// One frame of a button strip with magenta made transparent, as the buttons
// draw it.
QImage buttonFrame(const SkinImage &image, int frame)
{
    if (image.bitmap.isNull())
        return {};
    const int stateWidth = image.width / 3;
    QImage part = image.bitmap.image().copy(frame * stateWidth, 0, stateWidth, image.height)
                      .convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < part.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == 0xFF00FF)
                line[x] = 0;
        }
    }
    return part;
}

void drawButton(QPainter &p, const SkinImage &image, int x, int frame = 0)
{
    p.drawImage(x, image.y, buttonFrame(image, frame));
}

// A slider as it paints itself: ends at their own size, middle stretched,
// the thumb copied opaquely with its top from the slider's template height.
void drawSlider(QPainter &p, const SkinSliderImages &s, const QRect &r, int templateHeight, double fraction, bool held)
{
    const QImage &track = s.track.image();
    p.drawImage(r, track, QRect(10, 0, 5, s.height));
    p.drawImage(r.topLeft(), track, QRect(0, 0, 5, s.height));
    p.drawImage(QPoint(r.right() - 4, r.top()), track, QRect(5, 0, 5, s.height));
    const QImage &thumb = held ? s.heldThumb.image() : s.thumb.image();
    const int usable = r.width() - thumb.width();
    const int top = templateHeight / 2 - thumb.height() / 2;
    p.drawImage(r.left() + static_cast<int>(usable * fraction), r.top() + top, thumb);
}

void drawTimeDisplay(QPainter &p, const SkinTimeImages &t, const QRect &r, const QString &text)
{
    p.drawImage(r, t.back.image(), QRect(0, 0, 1, t.backInfo.height));
    p.drawImage(r.topLeft(), t.leftCap.image());
    p.drawImage(r.left() + r.width() - t.rightCapInfo.width, r.top(), t.rightCap.image());
    QFont font(QStringLiteral("돋움"));
    font.setPixelSize(11);
    font.setWeight(QFont::Black);
    p.setFont(font);
    const auto colour = [](Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); };
    p.save();
    p.setClipRect(r);
    p.setPen(colour(t.shadowColor));
    p.drawText(r.translated(2, 1), Qt::AlignHCenter | Qt::AlignTop, text);
    p.setPen(colour(t.textColor));
    p.drawText(r, Qt::AlignHCenter | Qt::AlignTop, text);
    p.restore();
}

// The main window at `size`, laid out as the player lays it out. `busy`
// shows hover and pressed frames and a held thumb.
QImage composeWindow(const SkinSet &s, QSize size, bool busy)
{
    QImage window(size, QImage::Format_RGB32);
    window.fill(Qt::black);
    QPainter p(&window);
    const int w = size.width();
    const int h = size.height();

    // Title bar.
    p.drawImage(QRect(0, 0, w, s.topPanel.height), s.topPanel.bitmap.image());
    p.drawImage(0, 0, s.topPanelLeft.bitmap.image());
    p.drawImage(w - s.topPanelRight.width, 0, s.topPanelRight.bitmap.image());
    drawButton(p, s.titleIcon, s.titleIcon.x);
    drawButton(p, s.titleString, s.titleString.x);
    drawButton(p, s.minimize, w - s.minimize.x, busy ? 1 : 0);
    drawButton(p, s.maximize, w - s.maximize.x);
    drawButton(p, s.close, w - s.close.x, busy ? 1 : 0);

    // Video screen, as wide as the window minus its right border and moved
    // right by the left border, so both borders meet the window's edges.
    const int top = s.topReserved;
    const int screenW = w - s.screenRight.width;
    const int screenH = h - s.bottomReserved - s.topReserved;
    p.save();
    p.translate(s.screenLeft.width, top);
    p.setClipRect(QRect(-s.screenLeft.width, 0, w, screenH));
    p.drawImage(0, 0, s.screenLeft.bitmap.image(), 0, 0, s.screenLeft.width, screenH);
    p.drawImage(screenW - s.screenRight.width, 0, s.screenRight.bitmap.image(), 0, 0, s.screenRight.width, screenH);
    p.drawImage(QRect(s.screenLeft.width, 0, screenW - s.screenLeft.width - s.screenRight.width, screenH),
                s.screenBack.bitmap.image());
    p.drawImage(screenW / 2 - s.logo.width / 2, screenH / 2 - s.logo.height / 2, s.logo.bitmap.image());
    p.restore();

    // Control panel.
    const int panelTop = h - s.controlPanel.height;
    p.translate(0, panelTop);
    p.drawImage(QRect(0, 0, w, s.controlPanel.height), s.controlPanel.bitmap.image());
    p.drawImage(0, 0, s.controlPanelLeft.bitmap.image());
    p.drawImage(w - s.controlPanelRight.width, 0, s.controlPanelRight.bitmap.image());
    drawSlider(p, s.timeline, QRect(s.timeline.x, s.timeline.y, w - s.timeline.blank, s.timeline.height), 23,
               busy ? 0.62 : 0.3, busy);
    drawSlider(p, s.soundSlider,
               QRect(w - s.soundSlider.x, s.soundSlider.y, s.soundSlider.width, s.soundSlider.height), 18,
               busy ? 0.4 : 1.0, false);
    drawButton(p, busy ? s.pause : s.play, s.play.x, busy ? 1 : 0);
    drawButton(p, s.stop, s.stop.x, busy ? 2 : 0);
    drawButton(p, s.prev, s.prev.x);
    drawButton(p, s.next, s.next.x);
    drawButton(p, s.open, s.open.x, busy ? 1 : 0);
    drawButton(p, s.controlPanelFull, w - s.controlPanelFull.x);
    drawTimeDisplay(p, s.time, QRect(w - s.time.x, s.time.y, s.time.x - s.time.blank, s.time.backInfo.height),
                    busy ? QStringLiteral("00:01:05 / 01:32:10") : QStringLiteral("00:00:00 / 00:00:00"));
    return window;
}

using NamedPictures = std::vector<std::pair<const char *, const QImage *>>;

// Every picture of the skin, by its file's name.
NamedPictures namedPictures(const SkinSet &s)
{
    return {
        {"controlpanel", &s.controlPanel.bitmap.image()},
        {"controlpanel_left", &s.controlPanelLeft.bitmap.image()},
        {"controlpanel_right", &s.controlPanelRight.bitmap.image()},
        {"toppanel", &s.topPanel.bitmap.image()},
        {"toppanel_left", &s.topPanelLeft.bitmap.image()},
        {"toppanel_right", &s.topPanelRight.bitmap.image()},
        {"screen_back", &s.screenBack.bitmap.image()},
        {"screen_left (top)", &s.screenLeft.bitmap.image()},
        {"screen_right (top)", &s.screenRight.bitmap.image()},
        {"play", &s.play.bitmap.image()},
        {"pause", &s.pause.bitmap.image()},
        {"stop", &s.stop.bitmap.image()},
        {"prev", &s.prev.bitmap.image()},
        {"next", &s.next.bitmap.image()},
        {"open", &s.open.bitmap.image()},
        {"controlPanel_full", &s.controlPanelFull.bitmap.image()},
        {"sound_on", &s.soundOn.bitmap.image()},
        {"sound_off", &s.soundOff.bitmap.image()},
        {"minimize", &s.minimize.bitmap.image()},
        {"maximize", &s.maximize.bitmap.image()},
        {"close", &s.close.bitmap.image()},
        {"title_ico", &s.titleIcon.bitmap.image()},
        {"title_str", &s.titleString.bitmap.image()},
        {"mainslider", &s.timeline.track.image()},
        {"mainslider_ball", &s.timeline.thumb.image()},
        {"mainslider_sel", &s.timeline.heldThumb.image()},
        {"soundslider", &s.soundSlider.track.image()},
        {"soundslider_ball", &s.soundSlider.thumb.image()},
        {"soundslider_sel", &s.soundSlider.heldThumb.image()},
        {"time_infor_left", &s.time.leftCap.image()},
        {"time_infor_back", &s.time.back.image()},
        {"time_infor_right", &s.time.rightCap.image()},
        {"logo", &s.logo.bitmap.image()},
    };
}

} // namespace

QImage DrawContactSheet(const SkinSet &s)
{
    const NamedPictures pictures = namedPictures(s);
    const QImage small = composeWindow(s, QSize(320, 260), false);
    const QImage wide = composeWindow(s, QSize(560, 330), true);
    const int margin = 16;
    const int cellW = 200;
    const int cellH = 84;
    const int columns = 4;
    const int rows = (static_cast<int>(pictures.size()) + columns - 1) / columns;
    const int sheetW = std::max(margin * 3 + small.width() + wide.width(), margin * 2 + columns * cellW);
    const int sheetH = margin * 3 + wide.height() + rows * cellH;

    QImage sheet(sheetW, sheetH, QImage::Format_RGB32);
    sheet.fill(kSheetBack);
    QPainter p(&sheet);
    p.drawImage(margin, margin, small);
    p.drawImage(margin * 2 + small.width(), margin, wide);
    p.setFont(SkinFont(11, QFont::Normal));
    const int gridTop = margin * 2 + wide.height();
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int col = static_cast<int>(i) % columns;
        const int row = static_cast<int>(i) / columns;
        const QPoint at(margin + col * cellW, gridTop + row * cellH);
        const QImage &image = *pictures[i].second;
        p.setPen(kLabel);
        p.drawText(at + QPoint(0, 12),
                   QStringLiteral("%1  %2x%3").arg(QString::fromUtf8(pictures[i].first)).arg(image.width()).arg(image.height()));
        // Tall borders are shown by their top only; wide pictures are clipped to the cell.
        p.drawImage(at + QPoint(0, 18), image, QRect(0, 0, std::min(image.width(), cellW - 8), std::min(image.height(), cellH - 22)));
    }
    return sheet;
}

} // namespace velmo::skingen
