#include "controls/TimeDisplay.h"

#include "skin/SkinSet.h"
#include "subtitles/SubtitleStyle.h"

#include <QPainter>


namespace velmo {

namespace {

constexpr int kCellHeight = 11; // ascent + descent of the display's font, in pixels
constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine;

// Skin colours keep red in the lowest byte.
QColor toQColor(Colour c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

} // namespace

QFont TimeDisplayFont()
{
    QFont font(QString::fromUtf8("돋움"));
    font.setWeight(QFont::Black);
    // Small heavy digits stay crisp, as the face's own bitmaps are at this size.
    font.setStyleStrategy(QFont::NoAntialias);
    // The size asked for is the whole cell, ascent plus descent, not the em.
    SetCellHeight(font, kCellHeight);
    return font;
}

TimeDisplay::TimeDisplay(const SkinTimeImages &time, QWidget *parent)
    : QWidget(parent)
    , time_(time)
    , leftCap_(time.leftCap.image())
    , rightCap_(time.rightCap.image())
    , back_(time.back.image())
    , text_(QStringLiteral("00:00:00 / 00:00:00"))
    , font_(TimeDisplayFont())
{
}

void TimeDisplay::SetText(const QString &text)
{
    text_ = text;
    update();
}

void TimeDisplay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect field = rect();
    if (!back_.isNull())
        painter.drawImage(field, back_, ImagePixels(back_, QRect(0, 0, 1, LayoutSize(back_).height())));
    if (!leftCap_.isNull())
        painter.drawImage(QPoint(0, 0), leftCap_);
    if (!rightCap_.isNull())
        painter.drawImage(QPoint(field.width() - LayoutSize(rightCap_).width(), 0), rightCap_);

    painter.setFont(font_);
    painter.setPen(toQColor(time_.shadowColor));
    painter.drawText(field.translated(2, 1), kTextFlags, text_);
    painter.setPen(toQColor(time_.textColor));
    painter.drawText(field, kTextFlags, text_);
}

} // namespace velmo
