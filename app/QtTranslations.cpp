#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

namespace velmo {

Q_LOGGING_CATEGORY(lcTranslations, "velmo.translations")

bool InstallQtTranslations()
{
    // Owned by the application, which drops it from its list when it goes.
    auto *translator = new QTranslator(QCoreApplication::instance());
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_ko"), folder) || !QCoreApplication::installTranslator(translator)) {
        qCWarning(lcTranslations) << "no Korean texts for Qt's dialogs in" << folder;
        delete translator;
        return false;
    }
    return true;
}

} // namespace velmo
