#include "subtitles/SamiReader.h"

#include "text/BytePath.h"

#include "subtitles/CaptionText.h"
#include "subtitles/SamiEncoding.h"
#include "subtitles/SamiMarkup.h"

#include <QFile>
#include <QSet>

#include <algorithm>

namespace velmo {

namespace {

constexpr int64_t kNoStart = -1;

// One P element as found, before the class is chosen.
struct FoundCaption {
    QString className; // empty: the P names no class
    int64_t startMs = 0;
    QString text;
};

class SamiParser {
public:
    explicit SamiParser(QStringView text) : view_(text), comments_(text) {}

    void run()
    {
        qsizetype pos = 0;
        while (pos < view_.size()) {
            const qsizetype lt = view_.indexOf(u'<', pos);
            if (lt < 0)
                break;
            pos = element(lt);
        }
    }

    bool sawSync = false;
    SamiClassList classes;
    std::vector<FoundCaption> captions;

private:
    // Handles the markup that starts at `lt`; returns where to go on.
    qsizetype element(qsizetype lt)
    {
        if (IsCommentAt(view_, lt))
            return comments_.After(lt);
        if (IsTagAt(view_, lt, "style", false))
            return rawBlock(lt, "style", true);
        if (IsTagAt(view_, lt, "samiparam", false))
            return rawBlock(lt, "samiparam", false);
        if (IsTagAt(view_, lt, "sync", false))
            return sync(lt);
        if (IsTagAt(view_, lt, "sync", true) || IsTagAt(view_, lt, "body", true) || IsTagAt(view_, lt, "body", false)) {
            syncStart_ = kNoStart;
            return lt + 1;
        }
        if (IsTagAt(view_, lt, "p", false))
            return paragraph(lt);
        return lt + 1;
    }

    // STYLE and SAMIParam hold text that is never shown; STYLE declares the
    // classes. A block left open ends with the head, so it cannot hide the body.
    qsizetype rawBlock(qsizetype lt, const char *name, bool declaresClasses)
    {
        const qsizetype gt = view_.indexOf(u'>', lt);
        if (gt < 0)
            return view_.size();
        qsizetype end = gt + 1;
        while (end < view_.size()) {
            end = view_.indexOf(u'<', end);
            if (end < 0 || IsTagAt(view_, end, name, true) || IsTagAt(view_, end, "head", true)
                || IsTagAt(view_, end, "body", false))
                break;
            ++end;
        }
        if (end < 0)
            end = view_.size();
        if (declaresClasses)
            ParseClassDeclarations(view_.mid(gt + 1, end - gt - 1), classes);
        return end;
    }

    qsizetype sync(qsizetype lt)
    {
        sawSync = true;
        const qsizetype gt = view_.indexOf(u'>', lt);
        const qsizetype tagEnd = gt < 0 ? view_.size() : gt;
        const auto start = AttributeValue(view_.mid(lt, tagEnd - lt), "start");
        syncStart_ = start ? LeadingNumber(*start) : kNoStart;
        return tagEnd;
    }

    qsizetype paragraph(qsizetype lt)
    {
        const qsizetype gt = view_.indexOf(u'>', lt);
        if (gt < 0)
            return view_.size();
        const QStringView tag = view_.mid(lt, gt + 1 - lt);
        QString content;
        const qsizetype end = ParagraphContent(comments_, gt + 1, content);
        if (syncStart_ != kNoStart) {
            const auto cls = AttributeValue(tag, "class");
            captions.push_back({cls ? cls->trimmed().toString() : QString(), syncStart_,
                                tag.toString() + NormaliseLineBreaks(content)});
        }
        return end;
    }

    QStringView view_;
    CommentEnds comments_;
    int64_t syncStart_ = kNoStart;
};

bool isKoreanClass(const SamiClass &c)
{
    const auto starts = [&c](const char *prefix) { return c.lang.startsWith(QLatin1String(prefix), Qt::CaseInsensitive); };
    return starts("ko") || starts("kr") || c.name.compare(QLatin1String("KRCC"), Qt::CaseInsensitive) == 0
           || c.name.compare(QLatin1String("KR"), Qt::CaseInsensitive) == 0;
}

QString chooseClass(const std::vector<SamiClass> &classes)
{
    if (classes.empty())
        return {};
    const auto korean = std::find_if(classes.begin(), classes.end(), isKoreanClass);
    return korean != classes.end() ? korean->name : classes.front().name;
}

// Keeps the captions of `className` (with `unclassed`, a P without a class
// too: it belongs to any), ordered by start; equal starts keep the file's order.
std::vector<SamiCaption> captionsOfClass(const std::vector<FoundCaption> &found, const QString &className,
                                         bool unclassed = true)
{
    std::vector<SamiCaption> kept;
    for (const FoundCaption &c : found) {
        if (className.isEmpty() || (unclassed && c.className.isEmpty())
            || c.className.compare(className, Qt::CaseInsensitive) == 0)
            kept.push_back({c.startMs, -1, c.text});
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const SamiCaption &a, const SamiCaption &b) { return a.startMs < b.startMs; });
    for (size_t i = 0; i + 1 < kept.size(); ++i)
        kept[i].endMs = kept[i + 1].startMs;
    return kept;
}

// The declared classes that some paragraph uses, in the order declared.
std::vector<SamiLanguage> languagesOf(const std::vector<SamiClass> &classes, const std::vector<FoundCaption> &found)
{
    QSet<QString> used;
    for (const FoundCaption &c : found)
        used.insert(c.className.toCaseFolded());
    std::vector<SamiLanguage> languages;
    for (const SamiClass &c : classes) {
        if (languages.size() == kMaxSamiLanguages)
            break;
        if (used.contains(c.name.toCaseFolded()))
            languages.push_back({c.name, c.title.isEmpty() ? c.name : c.title});
    }
    return languages;
}

// Every language's captions at once: at each change in any of them, the
// lines of each that shows something, in the order given.
std::vector<SamiCaption> mergedCaptions(const std::vector<std::vector<SamiCaption>> &languages)
{
    struct Track {
        const std::vector<SamiCaption> *captions;
        size_t next = 0;
        QString text; // what shows now; empty for nothing
    };
    std::vector<Track> tracks;
    std::vector<int64_t> points;
    for (const auto &captions : languages) {
        tracks.push_back({&captions, 0, {}});
        for (const SamiCaption &c : captions)
            points.push_back(c.startMs);
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    qsizetype budget = kMaxCaptionEventChars;
    std::vector<SamiCaption> merged;
    for (int64_t t : points) {
        QString text;
        for (Track &track : tracks) {
            for (; track.next < track.captions->size() && (*track.captions)[track.next].startMs <= t; ++track.next) {
                const QString &raw = (*track.captions)[track.next].text;
                track.text = CleanCaption(raw).trimmed().isEmpty() ? QString() : raw;
            }
            if (!track.text.isEmpty())
                text += (text.isEmpty() ? QString() : QStringLiteral("<br>")) + track.text;
        }
        if (text.isEmpty())
            text = QStringLiteral("<P>&nbsp;");
        if (!AppendCaptionEvent(merged, t, std::move(text), budget))
            break;
    }
    return merged;
}

// Every language, the default one last; a paragraph without a class goes
// with the default.
std::vector<SamiCaption> everyLanguage(const std::vector<FoundCaption> &found,
                                       const std::vector<SamiLanguage> &languages, const QString &fallback)
{
    std::vector<std::vector<SamiCaption>> perLanguage;
    for (const SamiLanguage &l : languages) {
        if (l.className.compare(fallback, Qt::CaseInsensitive) != 0)
            perLanguage.push_back(captionsOfClass(found, l.className, false));
    }
    perLanguage.push_back(captionsOfClass(found, fallback));
    return mergedCaptions(perLanguage);
}

SamiResult refused(const QString &why)
{
    SamiResult result;
    result.error = why;
    return result;
}

} // namespace

SamiResult ParseSami(const QByteArray &bytes, const QString &choice)
{
    if (bytes.isEmpty())
        return refused(QStringLiteral("빈 파일입니다"));
    return ParseSamiText(DecodeCaptionBytes(bytes, CaptionEncoding::Auto, false), choice);
}

SamiResult ParseSamiText(const DecodedCaption &decoded, const QString &choice)
{
    SamiParser parser(decoded.text);
    parser.run();
    if (!parser.sawSync)
        return refused(QStringLiteral("SAMI 자막으로 읽을 수 없습니다")); // no SYNC element

    SamiResult result;
    result.ok = true;
    result.format = CaptionFormat::Sami;
    result.encoding = decoded.encoding;
    SamiDocument &doc = result.document;
    doc.languages = languagesOf(parser.classes.items(), parser.captions);
    doc.className = chooseClass(parser.classes.items());
    const auto chosen = std::find_if(doc.languages.begin(), doc.languages.end(), [&](const SamiLanguage &l) {
        return l.className.compare(choice, Qt::CaseInsensitive) == 0;
    });
    if (choice == QLatin1String(kEverySamiLanguage) && doc.languages.size() > 1) {
        doc.everyLanguage = true;
        doc.captions = everyLanguage(parser.captions, doc.languages, doc.className);
        return result;
    }
    if (chosen != doc.languages.end())
        doc.className = chosen->className;
    doc.captions = captionsOfClass(parser.captions, doc.className);
    if (doc.captions.empty() && !doc.className.isEmpty() && !parser.captions.empty()) {
        // The declared classes name none of the file's paragraphs: show them all
        // rather than nothing.
        doc.className.clear();
        doc.captions = captionsOfClass(parser.captions, {});
    }
    return result;
}

bool ReadCaptionBytes(const std::string &path, QByteArray *bytes, QString *why)
{
    QFile file;
    if (!OpenForReading(file, path, why)) {
        *why = QStringLiteral("파일을 열 수 없습니다: ") + *why;
        return false;
    }
    *bytes = file.read(kMaxSamiFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        *why = QStringLiteral("파일을 읽을 수 없습니다: ") + file.errorString();
        return false;
    }
    if (bytes->size() > kMaxSamiFileBytes) {
        *why = QStringLiteral("자막 파일로는 너무 큽니다");
        return false;
    }
    return true;
}

bool AppendCaptionEvent(std::vector<SamiCaption> &events, int64_t startMs, QString text, qsizetype &budget)
{
    if (!events.empty() && events.back().text == text)
        return true;
    if ((budget -= text.size()) < 0)
        return false;
    if (!events.empty())
        events.back().endMs = startMs;
    events.push_back({startMs, -1, std::move(text)});
    return true;
}

SamiResult ReadSamiFile(const std::string &path)
{
    QByteArray bytes;
    QString why;
    if (!ReadCaptionBytes(path, &bytes, &why))
        return refused(why);
    return ParseSami(bytes);
}

} // namespace velmo
