#pragma once

namespace velmo {

/// Makes the dates of Qt's standard dialogs Korean: Qt formats them in the
/// system locale, which it reads from the environment once, when the
/// application object is made. So call this before it, from main(). A user's
/// LC_ALL, which overrides every category, is left alone.
void PrepareKoreanLocale();

/// Loads Qt's own Korean texts (qtbase_ko from Qt's translations folder) into
/// the application, with the few words that catalogue lacks ("Folder"), and
/// makes Korean the default locale (the names of file types), so that the
/// standard dialogs Qt draws itself (colour chooser, file dialogs, their
/// buttons) speak Korean like the rest of the player. Call once after the
/// QApplication exists. False when the translations are not installed; the
/// dialogs then stay in English.
bool InstallQtTranslations();

} // namespace velmo
