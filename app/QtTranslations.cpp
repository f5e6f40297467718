#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

#include <cstdlib>
#include <cstring>

namespace velmo {

Q_LOGGING_CATEGORY(lcTranslations, "velmo.translations")

namespace {

// Words of Qt's file dialogs that qtbase_ko does not hold.
class MissingKoreanTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        struct Text {
            const char *context;
            const char *source;
            const char *korean;
        };
        static const Text texts[] = {
            {"QAbstractFileIconProvider", "Folder", "폴더"},
            {"QAbstractFileIconProvider", "File", "파일"},
            {"QAbstractFileIconProvider", "Drive", "드라이브"},
        };
        for (const Text &t : texts)
            if (std::strcmp(context, t.context) == 0 && std::strcmp(sourceText, t.source) == 0)
                return QString::fromUtf8(t.korean);
        return {};
    }
};

} // namespace

void PrepareKoreanLocale()
{
    const char *all = std::getenv("LC_ALL");
    if (!all || !*all)
        setenv("LC_TIME", "ko_KR.UTF-8", 1);
}

bool InstallQtTranslations()
{
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    // Owned by the application, which drops them from its list when they go.
    // Installed first, so searched last: Qt's own catalogue wins where it has a text.
    QCoreApplication::installTranslator(new MissingKoreanTexts(QCoreApplication::instance()));
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
