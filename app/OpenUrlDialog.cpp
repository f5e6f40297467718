#include "app/OpenUrlDialog.h"

#include "app/TemplateDialog.h"
#include "resources/CommandIds.h"
#include "resources/DialogTemplates.h"

#include <QLineEdit>

namespace velmo {

OpenUrlDialog::OpenUrlDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    BuildTemplateDialog(*this, kOpenUrlTemplate);
    addressEdit_ = findChild<QLineEdit *>(QString::number(IDC_URL_EDIT));
    addressEdit_->setFocus();
}

void OpenUrlDialog::OnCommand(int id)
{
    if (id == IDC_URL_CLOSE || id == ID_CLOSE_MEDIA)
        reject();
}

void OpenUrlDialog::accept()
{
    address = addressEdit_->text().toStdString();
    QDialog::accept();
}

} // namespace velmo
