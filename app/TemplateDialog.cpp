#include "app/TemplateDialog.h"

#include "resources/ProgramIcon.h"
#include "resources/TemplateWidgets.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace velmo {

void BuildTemplateDialog(QDialog &dialog, const DialogTemplate &t)
{
    const TemplateWidgets layout(t);
    layout.SetUpWindow(dialog);
    dialog.setWindowIcon(ProgramIcon());
    layout.Build([&](const TemplateControl &c) -> QWidget * {
        if (c.kind == ControlKind::StaticIcon) {
            auto *icon = new QLabel(&dialog);
            icon->setPixmap(ProgramIcon().pixmap(32, 32));
            icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            icon->setGeometry(layout.Rect(c));
            return icon;
        }
        QWidget *widget = layout.MakeStandard(c, &dialog);
        if (auto *button = qobject_cast<QPushButton *>(widget)) {
            // Enter acts on OK only; every other button closes the dialog as a cancel.
            button->setDefault(c.id == IDC_OK);
            if (c.id == IDC_OK)
                QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::accept);
            else
                QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::reject);
        }
        return widget;
    });
}

} // namespace velmo
