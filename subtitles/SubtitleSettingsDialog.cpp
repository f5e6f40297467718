#include "subtitles/SubtitleSettingsDialog.h"

#include "resources/TemplateWidgets.h"
#include "text/Cp949.h"
#include "subtitles/ColorSwatch.h"
#include "subtitles/FontListCombo.h"
#include "subtitles/SubtitleStyle.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include <algorithm>
#include <cstdint>

namespace velmo {

namespace {

constexpr int kSizeMin = 10;
constexpr int kSizeMax = 80;
constexpr int kPositionMax = 100;
constexpr int32_t kBold = 700;
constexpr int32_t kNormal = 400;
constexpr uint8_t kAntialiasedQuality = 4;

} // namespace

SubtitleSettingsDialog::SubtitleSettingsDialog(SubtitleStyle &style, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , style_(style)
{
    const TemplateWidgets layout(kSubtitleSettingsTemplate);
    layout.SetUpWindow(*this);
    layout.Build([&](const TemplateControl &c) { return MakeControl(c, layout); });
    sizeEdit_ = upDown_->findChild<QLineEdit *>();
    sizeEdit_->setObjectName(QString::number(IDC_SIZE_EDIT));
    sizeEdit_->setReadOnly(true);

    ShowStyle();
    // Placed once the trackbar has its range, under the values it names.
    for (const TemplateControl &c : kSubtitleSettingsTemplate.controls) {
        if (c.kind == ControlKind::TrackbarScale)
            layout.MakeScale(c, *trackbar_, this);
    }
    ConnectControls();
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

void SubtitleSettingsDialog::ConnectButton(QPushButton *button, const TemplateControl &c)
{
    // Enter always means "닫기", whichever button has the focus.
    button->setDefault(c.defaultButton);
    if (c.id == IDC_OK)
        connect(button, &QPushButton::clicked, this, &SubtitleSettingsDialog::accept);
    else if (c.id == IDC_COLOR_BUTTON)
        connect(button, &QPushButton::clicked, this, [this] { ChooseColor(style_.Color, colorSwatch_); });
    else if (c.id == IDC_OUTLINE_BUTTON)
        connect(button, &QPushButton::clicked, this, [this] { ChooseColor(style_.Outline, outlineSwatch_); });
    else if (c.id == IDC_SHADOW_BUTTON)
        connect(button, &QPushButton::clicked, this, [this] { ChooseColor(style_.Shadow, shadowSwatch_); });
}

QWidget *SubtitleSettingsDialog::MakeControl(const TemplateControl &c, const TemplateWidgets &layout)
{
    switch (c.kind) {
    case ControlKind::Edit:
        return nullptr; // the size edit is part of the up-down
    case ControlKind::FontList: {
        const QRect rect = layout.Rect(c);
        fontList_ = new FontListCombo(this);
        fontList_->setGeometry(rect.x(), rect.y(), rect.width(), fontList_->sizeHint().height());
        DropPlainList(fontList_, rect.height(), fontList_->previewHeight + 4);
        return fontList_;
    }
    case ControlKind::ColorSwatch: {
        auto *swatch = new ColorSwatch(this);
        ColorSwatch **member = c.id == IDC_COLOR_SWATCH     ? &colorSwatch_
                               : c.id == IDC_OUTLINE_SWATCH ? &outlineSwatch_
                                                            : &shadowSwatch_;
        *member = swatch;
        swatch->setGeometry(layout.Rect(c));
        return swatch;
    }
    default: break;
    }
    QWidget *widget = layout.MakeStandard(c, this);
    switch (c.kind) {
    case ControlKind::PushButton: ConnectButton(static_cast<QPushButton *>(widget), c); break;
    case ControlKind::CheckBox: {
        QCheckBox **member = c.id == IDC_BOLD           ? &boldCheck_
                             : c.id == IDC_OUTLINE_USE  ? &outlineUse_
                             : c.id == IDC_SHADOW_USE   ? &shadowUse_
                             : c.id == IDC_OUTLINE_DEEP ? &outlineDeep_
                                                        : &shadowDeep_;
        *member = static_cast<QCheckBox *>(widget);
        break;
    }
    case ControlKind::DropDownList: qualityList_ = static_cast<QComboBox *>(widget); break;
    case ControlKind::UpDown:
        // The size edit and its arrows are one spin box over both places.
        upDown_ = static_cast<QSpinBox *>(widget);
        upDown_->setGeometry(layout.Rect(c).united(layout.Rect(IDC_SIZE_EDIT)));
        break;
    case ControlKind::SunkenStatic: positionValue_ = static_cast<QLabel *>(widget); break;
    case ControlKind::Trackbar:
        trackbar_ = static_cast<QSlider *>(widget);
        // The page the trackbar moves by on a click beside the thumb: a fifth of its range.
        trackbar_->setPageStep(kPositionMax / 5);
        break;
    default: break;
    }
    return widget;
}

void SubtitleSettingsDialog::ShowStyle()
{
    upDown_->setRange(kSizeMin, kSizeMax);
    upDown_->setValue(static_cast<int16_t>(style_.Size));

    fontList_->Fill();
    const QByteArray face = QByteArray::fromStdString(style_.Font);
    int selected = -1;
    for (int i = 0; i < fontList_->count() && selected < 0; ++i) {
        if (toCp949(fontList_->itemText(i)) == face)
            selected = i;
    }
    // A stored face that is not installed (the Windows faces of the shipped
    // settings) is drawn with a substitute: show that one, so the list tells
    // what the captions look like. Only the user's choice changes the style.
    if (selected < 0) {
        const QString drawn = QFontInfo(style_.font ? *style_.font : QFont()).family();
        selected = fontList_->findText(drawn, Qt::MatchFixedString);
    }
    if (selected >= 0)
        fontList_->setCurrentIndex(selected);

    colorSwatch_->color = style_.Color;
    outlineSwatch_->color = style_.Outline;
    shadowSwatch_->color = style_.Shadow;

    outlineUse_->setChecked(style_.Outline_Use);
    shadowUse_->setChecked(style_.Shadow_Use);
    outlineDeep_->setChecked(style_.Outline_Deep);
    shadowDeep_->setChecked(style_.Shadow_Deep);
    boldCheck_->setChecked(style_.Style == kBold);

    qualityList_->setCurrentIndex(style_.Quality ? 1 : 0);
    positionValue_->setText(QString::number(style_.Position));
    trackbar_->setRange(0, kPositionMax);
    trackbar_->setValue(style_.Position);
}

// Connected after ShowStyle, so that only the user's changes reach the style.
void SubtitleSettingsDialog::ConnectControls()
{
    connect(outlineUse_, &QCheckBox::clicked, this, [this](bool on) { SetFlag(style_.Outline_Use, on); });
    connect(shadowUse_, &QCheckBox::clicked, this, [this](bool on) { SetFlag(style_.Shadow_Use, on); });
    connect(outlineDeep_, &QCheckBox::clicked, this, [this](bool on) { SetFlag(style_.Outline_Deep, on); });
    connect(shadowDeep_, &QCheckBox::clicked, this, [this](bool on) { SetFlag(style_.Shadow_Deep, on); });
    connect(boldCheck_, &QCheckBox::clicked, this, [this](bool on) {
        style_.Style = on ? kBold : kNormal;
        RebuildAndNotify();
    });
    connect(upDown_, &QSpinBox::valueChanged, this, [this](int size) {
        style_.Size = size;
        RebuildAndNotify();
    });
    connect(fontList_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        // A face that CP949 cannot hold keeps "?" in its place.
        style_.Font = toCp949(fontList_->itemText(index)).toStdString();
        RebuildAndNotify();
    });
    connect(qualityList_, &QComboBox::currentIndexChanged, this, [this](int index) {
        style_.Quality = index != 0;
        style_.fontQuality = style_.Quality ? kAntialiasedQuality : 0;
        RebuildAndNotify();
    });
    // Every move the user makes, not only pages and drags, so that the
    // trackbar, the number and the caption never disagree.
    connect(trackbar_, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderNoAction)
            FollowTrackbar();
    });
}

void SubtitleSettingsDialog::accept()
{
    style_.SaveSettings();
    QDialog::accept();
}

bool SubtitleSettingsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right)
            FollowTrackbar();
    }
    return QDialog::eventFilter(watched, event);
}

void SubtitleSettingsDialog::ChooseColor(Colour &target, ColorSwatch *swatch)
{
    // At the colour in use: 확인 without a change must leave it as it was.
    const QColor inUse(int(target & 0xFF), int((target >> 8) & 0xFF), int((target >> 16) & 0xFF));
    const QColor chosen = QColorDialog::getColor(inUse, this);
    if (chosen.isValid()) {
        target = Colour(chosen.red()) | Colour(chosen.green()) << 8 | Colour(chosen.blue()) << 16;
        swatch->color = target;
        swatch->update();
    }
    emit SubtitleChanged();
}

void SubtitleSettingsDialog::FollowTrackbar()
{
    // During a drag the thumb leads the value.
    style_.Position = trackbar_->sliderPosition();
    positionValue_->setText(QString::number(style_.Position));
    emit SubtitleChanged();
}

void SubtitleSettingsDialog::SetFlag(bool &flag, bool checked)
{
    flag = checked;
    emit SubtitleChanged();
}

void SubtitleSettingsDialog::RebuildAndNotify()
{
    style_.RebuildFont();
    emit SubtitleChanged();
}

} // namespace velmo
