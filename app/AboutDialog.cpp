#include "app/AboutDialog.h"

#include "app/TemplateDialog.h"

namespace velmo {

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    BuildTemplateDialog(*this, kAboutTemplate);
}

} // namespace velmo
