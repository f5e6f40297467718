#include "subtitles/FontFaces.h"

#include <QLoggingCategory>
#include <QHash>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace velmo {

Q_LOGGING_CATEGORY(lcFontFaces, "velmo.fontfaces")

namespace {

struct PatternDeleter {
    void operator()(FcPattern *p) const { FcPatternDestroy(p); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet *s) const { FcObjectSetDestroy(s); }
};
struct FontSetDeleter {
    void operator()(FcFontSet *s) const { FcFontSetDestroy(s); }
};

int fontTypeOf(FcPattern *font)
{
    FcChar8 *format = nullptr;
    if (FcPatternGetString(font, FC_FONTFORMAT, 0, &format) == FcResultMatch
        && std::strcmp(reinterpret_cast<const char *>(format), "TrueType") == 0)
        return kTrueTypeFontType;
    FcBool scalable = FcTrue;
    if (FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch && !scalable)
        return kRasterFontType;
    return 0;
}

bool drawsKorean(FcPattern *font)
{
    FcLangSet *languages = nullptr;
    return FcPatternGetLangSet(font, FC_LANG, 0, &languages) == FcResultMatch
           && FcLangSetHasLang(languages, reinterpret_cast<const FcChar8 *>("ko")) != FcLangDifferentLang;
}

} // namespace

std::vector<FontFace> EnumerateFontFaces()
{
    std::vector<FontFace> faces;
    const std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    const std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
        FcObjectSetBuild(FC_FAMILY, FC_FONTFORMAT, FC_SCALABLE, FC_LANG, nullptr));
    if (!pattern || !objects)
        return faces;
    const std::unique_ptr<FcFontSet, FontSetDeleter> fonts(FcFontList(nullptr, pattern.get(), objects.get()));
    if (!fonts) {
        qCWarning(lcFontFaces) << "fontconfig listed no fonts";
        return faces;
    }
    QHash<QString, size_t> seen;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcChar8 *family = nullptr;
        // The first family name is the one fonts are registered and asked for by.
        if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch)
            continue;
        const QString name = QString::fromUtf8(reinterpret_cast<const char *>(family));
        if (name.isEmpty())
            continue;
        const bool korean = drawsKorean(fonts->fonts[i]);
        if (const auto known = seen.constFind(name); known != seen.constEnd()) {
            faces[*known].hangul = faces[*known].hangul || korean;
            continue;
        }
        seen.insert(name, faces.size());
        faces.push_back({name, fontTypeOf(fonts->fonts[i]), korean});
    }
    return faces;
}

std::vector<FontFace> SortFontFaces(std::vector<FontFace> faces)
{
    std::stable_sort(faces.begin(), faces.end(), [](const FontFace &a, const FontFace &b) {
        if (a.hangul != b.hangul)
            return a.hangul;
        const int byName = a.name.compare(b.name, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a.name < b.name;
    });
    return faces;
}

} // namespace velmo
