#include "app/OpenUrlDialog.h"

#include "app/ProgramIcon.h"
#include "resources/DialogTemplates.h"
#include "resources/DialogUnits.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmo {

OpenUrlDialog::OpenUrlDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    const DialogTemplate &t = kOpenUrlTemplate;
    const QFont font = TemplateFont(t.fontFace, t.pointSize);
    const QSize base = DialogBaseUnits(font);
    setFont(font);
    setWindowTitle(QString::fromUtf8(t.caption));
    setWindowIcon(ProgramIcon());
    setFixedSize(DialogSizeToPixels(t.width, t.height, base));

    for (const TemplateControl &c : t.controls) {
        const QRect rect = DialogRectToPixels(c.x, c.y, c.width, c.height, base);
        QString text = QString::fromUtf8(c.text);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QWidget *widget = nullptr;
        switch (c.kind) {
        case ControlKind::PushButton: {
            auto *button = new QPushButton(text, this);
            button->setFlat(true);
            // Enter acts on OK only; "닫기" closes the dialog as a cancel.
            button->setAutoDefault(false);
            if (c.id == IDC_OK) {
                button->setDefault(true);
                connect(button, &QPushButton::clicked, this, &OpenUrlDialog::accept);
            } else {
                connect(button, &QPushButton::clicked, this, &OpenUrlDialog::reject);
            }
            widget = button;
            break;
        }
        case ControlKind::Edit:
            addressEdit_ = new QLineEdit(this);
            widget = addressEdit_;
            break;
        case ControlKind::StaticText:
            widget = new QLabel(text, this);
            break;
        case ControlKind::StaticIcon: {
            auto *icon = new QLabel(this);
            icon->setPixmap(ProgramIcon().pixmap(32, 32));
            icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = icon;
            break;
        }
        case ControlKind::StaticBitmap:
        case ControlKind::Trackbar:
            break; // skinned controls belong to the panels, not this dialog
        }
        if (!widget)
            continue;
        widget->setGeometry(rect);
        if (c.id >= 0)
            widget->setObjectName(QString::number(c.id));
    }
    addressEdit_->setFocus();
}

void OpenUrlDialog::accept()
{
    address = addressEdit_->text().toStdString();
    QDialog::accept();
}

} // namespace velmo
