#pragma once

#include "text/ProfileReader.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;

namespace velmo {

class ColorSwatch;
class FontListCombo;
class SubtitleStyle;
class TemplateWidgets;
struct TemplateControl;

/// The subtitle settings dialog. Every control writes its value straight into
/// the style (rebuilding the font where the font is concerned) and emits
/// SubtitleChanged(), so the caption follows each change at once. "닫기" and
/// Enter save the style to its file and close; Esc and the close box close
/// without saving, the changes staying in force. Controls are named by their
/// template ids (objectName "1078", ...).
class SubtitleSettingsDialog : public QDialog {
    Q_OBJECT
public:
    /// Builds the dialog from its template and shows the values of `style`,
    /// which it then edits in place; `style` must outlive the dialog.
    explicit SubtitleSettingsDialog(SubtitleStyle &style, QWidget *parent = nullptr);

    /// Saves the style to the settings file, then ends the dialog.
    void accept() override;

signals:
    /// Sent after every change: the subtitle must be drawn again.
    void SubtitleChanged();

protected:
    /// Left and right arrow keys, pressed or released anywhere in the dialog,
    /// make the position follow the trackbar.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /// The widget of control `c`, kept in its member; null for the size edit.
    QWidget *MakeControl(const TemplateControl &c, const TemplateWidgets &layout);
    /// Makes push button `c` the default as the template says and gives it its action.
    void ConnectButton(QPushButton *button, const TemplateControl &c);
    void ShowStyle();
    void ConnectControls();
    void ChooseColor(Colour &target, ColorSwatch *swatch);
    void FollowTrackbar();
    void SetFlag(bool &flag, bool checked);
    void RebuildAndNotify();

    SubtitleStyle &style_;
    QSlider *trackbar_ = nullptr;
    QLabel *positionValue_ = nullptr;
    QSpinBox *upDown_ = nullptr;
    QLineEdit *sizeEdit_ = nullptr;
    QCheckBox *boldCheck_ = nullptr;
    QComboBox *qualityList_ = nullptr;
    QCheckBox *shadowDeep_ = nullptr;
    QCheckBox *outlineDeep_ = nullptr;
    QCheckBox *shadowUse_ = nullptr;
    QCheckBox *outlineUse_ = nullptr;
    ColorSwatch *shadowSwatch_ = nullptr;
    ColorSwatch *outlineSwatch_ = nullptr;
    ColorSwatch *colorSwatch_ = nullptr;
    FontListCombo *fontList_ = nullptr;
};

} // namespace velmo
