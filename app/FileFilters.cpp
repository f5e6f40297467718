#include "app/FileFilters.h"

#include "desktop/PlayableMimeTypes.h"
#include "engine/GstHandles.h"

#include <QMimeDatabase>

#include <gst/gst.h>

namespace velmo {

const char *const kMediaFileFilter =
    "재생가능한 미디어(전부)|*.avi;*.wmv;*.asf;*.mpg;*.mpeg;*.mpe;*.dat;*.m1v;*.m2;*.qt;*.mov;*.mp3;*.wav;*wma;*.lst|"
    "AVI(*.avi)|*.avi|ASF/WMV파일(*.asf *.wmv)|*.asf;*.wmv|ASX파일(*.asx)|*.asx|"
    "MPEG파일(*.mpg *.mpe *.mpeg *.dat *.m1v *m2)|*.mpg;*.mpe;*.mpeg;*.dat;*.m1v;*.m2|"
    "퀵타임 파일(*.qt *.mov)|*.qt;*.mov|사운드 파일(*.mp3 *.wav *wma)|*.mp3;*.wav;*.wma|모든파일(*.*)|*.*||";

const char *const kSubtitleFileFilter =
    "사미파일(벨모)|*.smi;*.sami|자막 파일(*.smi *.sami *.srt *.vtt *.ass *.ssa)|*.smi;*.sami;*.srt;*.vtt;*.ass;*.ssa|";

namespace {

const QString kEveryFile = QStringLiteral("*.*");

// "*wma" matches "wma" at the end of any name; the extension was meant.
QString WithDot(const QString &pattern)
{
    if (pattern.startsWith(QLatin1Char('*')) && pattern.size() > 1 && !pattern.contains(QLatin1Char('.')))
        return QStringLiteral("*.") + pattern.mid(1);
    return pattern;
}

struct Entry {
    QString label;
    QStringList patterns;
};

std::vector<Entry> EntriesOf(const char *classicFilter)
{
    const QStringList parts = QString::fromUtf8(classicFilter).split(QLatin1Char('|'));
    std::vector<Entry> entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break; // "||" ends the list
        Entry entry{parts[i], {}};
        for (const QString &pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            entry.patterns << WithDot(pattern);
        entries.push_back(std::move(entry));
    }
    return entries;
}

void AddOnce(QStringList &to, const QString &pattern)
{
    if (pattern != kEveryFile && !to.contains(pattern, Qt::CaseInsensitive))
        to << pattern;
}

} // namespace

QStringList DialogNameFilters(const char *classicFilter, const QStringList &moreForFirst)
{
    std::vector<Entry> entries = EntriesOf(classicFilter);
    if (entries.empty())
        return {};
    for (size_t i = 1; i < entries.size(); ++i)
        for (const QString &pattern : entries[i].patterns)
            AddOnce(entries[0].patterns, pattern);
    for (const QString &pattern : moreForFirst)
        AddOnce(entries[0].patterns, pattern);
    QStringList filters;
    for (const Entry &entry : entries)
        filters << entry.label + QStringLiteral(" (") + entry.patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    return filters;
}

QStringList InstalledMimeTypes()
{
    QStringList types;
    if (!gst_is_initialized() && !gst_init_check(nullptr, nullptr, nullptr))
        return types;
    const auto found = PlayableMimeTypes([](const std::string &factory) {
        return GstObjectPtr(GST_OBJECT(gst_element_factory_find(factory.c_str()))) != nullptr;
    });
    for (const std::string &type : found)
        types << QString::fromStdString(type);
    return types;
}

QStringList PatternsOfMimeTypes(const QStringList &mimeTypes)
{
    const QMimeDatabase database;
    QStringList patterns;
    for (const QString &type : mimeTypes)
        for (const QString &pattern : database.mimeTypeForName(type).globPatterns())
            AddOnce(patterns, pattern);
    return patterns;
}

QStringList MediaDialogFilters()
{
    // Caption files are opened by "자막열기"; as media they would fail.
    QStringList captions;
    for (const Entry &entry : EntriesOf(kSubtitleFileFilter))
        for (const QString &pattern : entry.patterns)
            AddOnce(captions, pattern);
    QStringList media;
    for (const QString &pattern : PatternsOfMimeTypes(InstalledMimeTypes()))
        if (!captions.contains(pattern, Qt::CaseInsensitive))
            media << pattern;
    // A playlist file opens as the list it holds.
    media << QStringLiteral("*.m3u") << QStringLiteral("*.m3u8") << QStringLiteral("*.pls");
    return DialogNameFilters(kMediaFileFilter, media);
}

QStringList SubtitleDialogFilters()
{
    return DialogNameFilters(kSubtitleFileFilter);
}

} // namespace velmo
