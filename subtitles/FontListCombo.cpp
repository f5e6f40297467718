#include "subtitles/FontListCombo.h"

#include "subtitles/SubtitleStyle.h"
#include "subtitles/TrueTypeMark.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>

namespace velmo {

namespace {

QColor toQColor(Colour c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// Measures and draws the dropped list's entries through the combo box.
class EntryDelegate : public QAbstractItemDelegate {
public:
    explicit EntryDelegate(FontListCombo *combo) : QAbstractItemDelegate(combo), combo_(combo) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        combo_->DrawEntry(*painter, option.rect, index.row(), option.state, false);
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        // A face without a preview keeps the height of a plain text entry.
        const int height = combo_->MeasureEntry(index.row()).value_or(combo_->fontMetrics().height() + 4);
        return {combo_->DroppedWidth(), height};
    }

private:
    FontListCombo *combo_;
};

} // namespace

FontListCombo::FontListCombo(QWidget *parent) : QComboBox(parent)
{
    setItemDelegate(new EntryDelegate(this));
}

void FontListCombo::Fill()
{
    Fill(SortFontFaces(EnumerateFontFaces()));
}

void FontListCombo::Fill(const std::vector<FontFace> &faces)
{
    mark_ = TrueTypeMark();
    drawable_.clear();
    clear();
    for (const FontFace &face : faces) {
        addItem(face.name, face.fontType);
        setItemData(count() - 1, face.hangul, kHangulRole);
    }
    setCurrentIndex(faces.empty() ? -1 : 0);
}

bool FontListCombo::CanDraw(const QString &face) const
{
    // Made once per face: resolving a font goes through fontconfig's aliases
    // each time, which made measuring a long list slow.
    const auto known = drawable_.constFind(face);
    if (known != drawable_.constEnd())
        return *known;
    // The family list names a face that two foundries provide only as
    // "Name [foundry]", so ask what the font really resolves to: a face that
    // is not there falls back to another family.
    QString resolved = QFontInfo(QFont(face)).family();
    if (const qsizetype foundry = resolved.indexOf(QStringLiteral(" [")); foundry > 0)
        resolved.truncate(foundry);
    const bool drawable = resolved.compare(face, Qt::CaseInsensitive) == 0;
    drawable_.insert(face, drawable);
    return drawable;
}

std::optional<QFont> FontListCombo::PreviewFont(int index) const
{
    const QString face = itemText(index);
    if (face.isEmpty() || !CanDraw(face))
        return std::nullopt;
    QFont font(face);
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::PreferAntialias);
    SetCellHeight(font, previewHeight);
    return font;
}

std::optional<int> FontListCombo::MeasureEntry(int index)
{
    const std::optional<QFont> preview = PreviewFont(index);
    if (!preview)
        return std::nullopt;
    // The name is measured in the font it is drawn in, so the column of
    // samples never cuts into a long name.
    nameWidth = std::max(nameWidth, fontMetrics().horizontalAdvance(itemText(index)));
    sampleWidth = std::max(sampleWidth, QFontMetrics(*preview).horizontalAdvance(SampleText(index)));
    return previewHeight + 4;
}

QString FontListCombo::SampleText(int index) const
{
    return itemData(index, kHangulRole).toBool() ? hangulSampleText : sampleText;
}

int FontListCombo::DroppedWidth() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) + sampleWidth + nameWidth + 35;
}

void FontListCombo::DrawEntry(QPainter &painter, QRect rect, int index, QStyle::State state, bool editArea) const
{
    const auto drawFocus = [&] {
        if (!(state & QStyle::State_HasFocus))
            return;
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    };
    if (index < 0) {
        drawFocus();
        return;
    }
    painter.save();
    // A long name or its sample must not run out of the entry: in the closed
    // box that would be over the drop arrow.
    painter.setClipRect(rect, Qt::IntersectClip);
    const bool selected = state & QStyle::State_Selected;
    const QPalette &pal = palette();
    const QColor textColour = selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text);
    const QColor sampleColour = selected ? pal.color(QPalette::HighlightedText) : toQColor(sampleColor);
    painter.fillRect(rect, selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));

    if (itemData(index).toInt() & kTrueTypeFontType)
        painter.drawImage(rect.left() + 5, rect.top() + 4, mark_);
    rect.setLeft(rect.left() + 15);

    const std::optional<QFont> preview = PreviewFont(index);
    if (preview) {
        const QString name = itemText(index);
        const QFontMetrics nameMetrics(font());
        painter.setFont(font());
        painter.setPen(textColour);
        const int nameTop = rect.top() + (rect.height() - nameMetrics.height()) / 2;
        painter.drawText(rect.left() + 10, nameTop + nameMetrics.ascent(), name);

        const int column = editArea ? nameMetrics.horizontalAdvance(name) : nameWidth;
        const QFontMetrics sampleMetrics(*preview);
        painter.setFont(*preview);
        painter.setPen(sampleColour);
        const int sampleTop = rect.top() + (rect.height() - sampleMetrics.height()) / 2;
        painter.drawText(rect.left() + column + 20, sampleTop + sampleMetrics.ascent(), SampleText(index));
    }
    painter.restore();
    // Last, so that the entry's background does not cover it.
    drawFocus();
}

void FontListCombo::showPopup()
{
    for (int i = 0; i < count(); ++i)
        MeasureEntry(i);
    view()->setMinimumWidth(DroppedWidth());
    QComboBox::showPopup();
}

QSize FontListCombo::sizeHint() const
{
    // The closed box holds one entry of the preview's height.
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QSize field(QComboBox::sizeHint().width(), previewHeight + 4);
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, field, this);
}

QSize FontListCombo::minimumSizeHint() const
{
    return sizeHint();
}

void FontListCombo::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const QStyle::State state = hasFocus() ? QStyle::State_Selected | QStyle::State_HasFocus : QStyle::State_None;
    DrawEntry(painter, field, currentIndex(), state, true);
}

} // namespace velmo
