#pragma once

namespace velmo {

/// Loads Qt's own Korean texts (qtbase_ko from Qt's translations folder) into
/// the application, so that the standard dialogs Qt draws itself (colour
/// chooser, file dialogs, their buttons) speak Korean like the rest of the
/// player. Call once after the QApplication exists. False when the
/// translations are not installed; the dialogs then stay in English.
bool InstallQtTranslations();

} // namespace velmo
