#include "resources/TemplateWidgets.h"

#include "resources/DialogUnits.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>

namespace velmo {

TemplateWidgets::TemplateWidgets(const DialogTemplate &t)
    : t_(t), font_(TemplateFont(t.fontFace, t.pointSize)), base_(DialogBaseUnits(font_))
{
}

QSize TemplateWidgets::Size() const
{
    return DialogSizeToPixels(t_.width, t_.height, base_);
}

QRect TemplateWidgets::Rect(const TemplateControl &c) const
{
    return DialogRectToPixels(c.x, c.y, c.width, c.height, base_);
}

QRect TemplateWidgets::Rect(int id) const
{
    const TemplateControl *c = FindTemplateControl(t_, id);
    return c ? Rect(*c) : QRect();
}

void TemplateWidgets::SetUpWindow(QWidget &window) const
{
    window.setFont(font_);
    window.setWindowTitle(QString::fromUtf8(t_.caption));
    window.setFixedSize(Size());
}

QWidget *TemplateWidgets::MakeStandard(const TemplateControl &c, QWidget *parent) const
{
    const QRect rect = Rect(c);
    QString text = QString::fromUtf8(c.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QWidget *widget = nullptr;
    switch (c.kind) {
    case ControlKind::PushButton: {
        auto *button = new QPushButton(text, parent);
        // Enter acts on the default button only, whichever button has the focus.
        button->setAutoDefault(false);
        widget = button;
        break;
    }
    case ControlKind::Edit: widget = new QLineEdit(parent); break;
    case ControlKind::StaticText: widget = new QLabel(text, parent); break;
    case ControlKind::GroupBox: widget = new QGroupBox(text, parent); break;
    case ControlKind::CheckBox: widget = new QCheckBox(text, parent); break;
    case ControlKind::DropDownList: {
        // The template's height is the dropped list's; the box keeps its own.
        auto *list = new QComboBox(parent);
        list->addItems(text.split(u'\n'));
        list->setGeometry(rect.x(), rect.y(), rect.width(), list->sizeHint().height());
        DropPlainList(list, rect.height(), list->fontMetrics().height() + 4);
        return list;
    }
    case ControlKind::UpDown: widget = new QSpinBox(parent); break;
    case ControlKind::SunkenStatic: {
        auto *label = new QLabel(parent);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        widget = label;
        break;
    }
    case ControlKind::Trackbar: widget = new QSlider(Qt::Horizontal, parent); break;
    case ControlKind::StaticIcon:
    case ControlKind::StaticBitmap:
    case ControlKind::FontList:
    case ControlKind::ColorSwatch:
    case ControlKind::TrackbarScale:
        return nullptr;
    }
    widget->setGeometry(rect);
    return widget;
}

namespace {

// The centre of the handle `slider` shows at `value`, in its parent's coordinates.
int HandleCentreX(const QSlider &slider, int value)
{
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = value;
    option.sliderValue = value;
    option.singleStep = slider.singleStep();
    option.pageStep = slider.pageStep();
    option.tickPosition = slider.tickPosition();
    option.tickInterval = slider.tickInterval();
    option.upsideDown = slider.invertedAppearance() != (slider.layoutDirection() == Qt::RightToLeft);
    const QRect handle = slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider);
    return slider.x() + handle.x() + handle.width() / 2;
}

} // namespace

void TemplateWidgets::MakeScale(const TemplateControl &c, const QSlider &trackbar, QWidget *parent) const
{
    // Spaces cannot put a number under its place: their width is the font's, not the track's.
    const QRect rows = Rect(c);
    for (const QString &number : QString::fromUtf8(c.text).split(u' ', Qt::SkipEmptyParts)) {
        auto *label = new QLabel(number, parent);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        const int width = label->fontMetrics().horizontalAdvance(number) + 2;
        label->setGeometry(HandleCentreX(trackbar, number.toInt()) - width / 2, rows.y(), width, rows.height());
    }
}

void TemplateWidgets::Build(const Maker &make) const
{
    for (const TemplateControl &c : t_.controls) {
        if (QWidget *widget = make(c); widget && c.id >= 0)
            widget->setObjectName(QString::number(c.id));
    }
}

void DropPlainList(QComboBox *combo, int droppedHeight, int entryHeight)
{
    combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    combo->setMaxVisibleItems(std::max(1, (droppedHeight - combo->height()) / std::max(1, entryHeight)));
    // The view was made for the style's menu, which has no scroll bar; a
    // plain list that holds more than it shows needs one to say so.
    combo->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

} // namespace velmo
