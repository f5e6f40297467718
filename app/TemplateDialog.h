#pragma once

#include "resources/DialogTemplates.h"

class QDialog;

namespace velmo {

/// Gives `dialog` the template's font, caption, the program icon and its
/// fixed size, and creates the controls at their places, each named by its
/// id (objectName). The OK button (IDC_OK) is the default and accepts; every
/// other push button rejects.
void BuildTemplateDialog(QDialog &dialog, const DialogTemplate &t);

} // namespace velmo
