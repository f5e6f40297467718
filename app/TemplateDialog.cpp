#include "app/TemplateDialog.h"

#include "app/ProgramIcon.h"
#include "resources/DialogUnits.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmo {

void BuildTemplateDialog(QDialog &dialog, const DialogTemplate &t)
{
    const QFont font = TemplateFont(t.fontFace, t.pointSize);
    const QSize base = DialogBaseUnits(font);
    dialog.setFont(font);
    dialog.setWindowTitle(QString::fromUtf8(t.caption));
    dialog.setWindowIcon(ProgramIcon());
    dialog.setFixedSize(DialogSizeToPixels(t.width, t.height, base));

    for (const TemplateControl &c : t.controls) {
        const QRect rect = DialogRectToPixels(c.x, c.y, c.width, c.height, base);
        QString text = QString::fromUtf8(c.text);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QWidget *widget = nullptr;
        switch (c.kind) {
        case ControlKind::PushButton: {
            auto *button = new QPushButton(text, &dialog);
            button->setFlat(true);
            // Enter acts on OK only; every other button closes the dialog as a cancel.
            button->setAutoDefault(false);
            if (c.id == IDC_OK) {
                button->setDefault(true);
                QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::accept);
            } else {
                QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::reject);
            }
            widget = button;
            break;
        }
        case ControlKind::Edit: widget = new QLineEdit(&dialog); break;
        case ControlKind::StaticText: widget = new QLabel(text, &dialog); break;
        case ControlKind::StaticIcon: {
            auto *icon = new QLabel(&dialog);
            icon->setPixmap(ProgramIcon().pixmap(32, 32));
            icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = icon;
            break;
        }
        case ControlKind::StaticBitmap:
        case ControlKind::Trackbar:
            break; // skinned controls belong to the panels
        case ControlKind::GroupBox:
        case ControlKind::CheckBox:
        case ControlKind::DropDownList:
        case ControlKind::FontList:
        case ControlKind::UpDown:
        case ControlKind::SunkenStatic:
        case ControlKind::ColorSwatch:
            break; // the subtitle settings dialog builds these itself
        }
        if (!widget)
            continue;
        widget->setGeometry(rect);
        if (c.id >= 0)
            widget->setObjectName(QString::number(c.id));
    }
}

} // namespace velmo
