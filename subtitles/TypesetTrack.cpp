#include "subtitles/TypesetTrack.h"

#include <QLoggingCategory>

#include <fontconfig/fontconfig.h>

extern "C" {
#include <ass/ass.h>
}

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace velmo {

Q_LOGGING_CATEGORY(lcTypeset, "velmo.subtitles.typeset")

namespace {

// An event longer than this is no caption: its text alone would take
// seconds to shape at every change. Drawings of real signs stay far below.
constexpr qsizetype kMaxEventBytes = 64 * 1024;

void LogMessage(int level, const char *format, va_list args, void *)
{
    if (level > 4)
        return; // libass's own chatter (glyphs cached)
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    if (level <= 2)
        qCInfo(lcTypeset, "libass: %s", text);
    else
        qCDebug(lcTypeset, "libass: %s", text); // the fonts chosen, the files read

}

// The face fontconfig gives for Korean text, and its file: the fallback of
// every style whose font is not found, so that Hangul never shows as boxes.
struct KoreanFace {
    std::string family;
    std::string file;
};

const KoreanFace &DefaultKoreanFace()
{
    static const KoreanFace face = [] {
        KoreanFace found;
        FcPattern *pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8 *>("ko"));
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern *match = FcFontMatch(nullptr, pattern, &result)) {
            FcChar8 *value = nullptr;
            if (FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch)
                found.family = reinterpret_cast<const char *>(value);
            if (FcPatternGetString(match, FC_FILE, 0, &value) == FcResultMatch)
                found.file = reinterpret_cast<const char *>(value);
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
        return found;
    }();
    return face;
}

// What a script's lines longer than kMaxEventBytes are left out of.
QByteArray WithoutOverlongLines(const QByteArray &script)
{
    if (script.size() <= kMaxEventBytes)
        return script;
    QByteArray kept;
    kept.reserve(script.size());
    qsizetype from = 0;
    while (from < script.size()) {
        qsizetype end = script.indexOf('\n', from);
        end = end < 0 ? script.size() : end + 1;
        if (end - from <= kMaxEventBytes)
            kept.append(script.constData() + from, end - from);
        from = end;
    }
    return kept;
}

// Draws one of libass's coverage maps in its colour over `layer`, whose
// top left is `origin` of the picture.
void Blend(QImage &layer, const QPoint &origin, const ASS_Image &image)
{
    const uint32_t colour = image.color;
    const uint32_t alpha = 255 - (colour & 0xFF);
    if (alpha == 0)
        return;
    const uint32_t red = colour >> 24;
    const uint32_t green = (colour >> 16) & 0xFF;
    const uint32_t blue = (colour >> 8) & 0xFF;
    for (int y = 0; y < image.h; ++y) {
        const unsigned char *coverage = image.bitmap + ptrdiff_t(y) * image.stride;
        auto *row = reinterpret_cast<uint32_t *>(layer.scanLine(image.dst_y - origin.y() + y)) + (image.dst_x - origin.x());
        for (int x = 0; x < image.w; ++x) {
            const uint32_t k = coverage[x] * alpha / 255;
            if (k == 0)
                continue;
            const uint32_t under = row[x];
            const uint32_t keep = 255 - k;
            const uint32_t a = k + ((under >> 24) * keep) / 255;
            const uint32_t r = (red * k + ((under >> 16) & 0xFF) * keep) / 255;
            const uint32_t g = (green * k + ((under >> 8) & 0xFF) * keep) / 255;
            const uint32_t b = (blue * k + (under & 0xFF) * keep) / 255;
            row[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
}

} // namespace

struct TypesetTrack::Library {
    ASS_Library *library = nullptr;
    ASS_Renderer *renderer = nullptr;
    ASS_Track *track = nullptr;

    Library()
    {
        library = ass_library_init();
        if (!library)
            return;
        ass_set_message_cb(library, LogMessage, nullptr);
        ass_set_extract_fonts(library, 1); // a script's own [Fonts] section
        renderer = ass_renderer_init(library);
        if (!renderer)
            return;
        const KoreanFace &face = DefaultKoreanFace();
        ass_set_fonts(renderer, face.file.empty() ? nullptr : face.file.c_str(),
                      face.family.empty() ? "sans-serif" : face.family.c_str(), ASS_FONTPROVIDER_AUTODETECT, nullptr, 1);
    }
    ~Library()
    {
        if (track)
            ass_free_track(track);
        if (renderer)
            ass_renderer_done(renderer);
        if (library)
            ass_library_done(library);
    }
    bool Ready() const { return library && renderer && track; }
};

TypesetTrack::TypesetTrack(std::unique_ptr<Library> library) : library_(std::move(library)) {}

TypesetTrack::~TypesetTrack() = default;

std::unique_ptr<TypesetTrack> TypesetTrack::FromScript(const QByteArray &utf8)
{
    auto library = std::make_unique<Library>();
    if (!library->library || !library->renderer)
        return nullptr;
    QByteArray script = WithoutOverlongLines(utf8);
    library->track = ass_read_memory(library->library, script.data(), size_t(script.size()), nullptr);
    if (!library->Ready())
        return nullptr;
    return std::unique_ptr<TypesetTrack>(new TypesetTrack(std::move(library)));
}

std::unique_ptr<TypesetTrack> TypesetTrack::FromHeader(const QByteArray &header)
{
    auto library = std::make_unique<Library>();
    if (!library->library || !library->renderer)
        return nullptr;
    library->track = ass_new_track(library->library);
    if (!library->Ready())
        return nullptr;
    QByteArray bytes = WithoutOverlongLines(header);
    if (!bytes.isEmpty())
        ass_process_codec_private(library->track, bytes.data(), int(bytes.size()));
    return std::unique_ptr<TypesetTrack>(new TypesetTrack(std::move(library)));
}

void TypesetTrack::AddEvent(const QByteArray &chunk, int64_t startMs, int64_t durationMs)
{
    if (chunk.isEmpty() || chunk.size() > kMaxEventBytes || durationMs <= 0 || EventCount() >= kMaxEvents)
        return;
    QByteArray bytes = chunk; // libass may write into what it parses
    ass_process_chunk(library_->track, bytes.data(), int(bytes.size()), startMs, durationMs);
}

bool TypesetTrack::AddFont(const QByteArray &name, const QByteArray &data)
{
    if (data.size() > kMaxFontBytes || !LooksLikeFont(data))
        return false;
    ass_add_font(library_->library, name.constData(), data.constData(), int(data.size()));
    ++fonts_;
    return true;
}

int TypesetTrack::EventCount() const
{
    return library_->track->n_events;
}

bool TypesetTrack::Render(int64_t ms, const QSize &size, TypesetLayer *layer)
{
    if (size.isEmpty())
        return false;
    const bool resized = size != size_;
    if (resized) {
        size_ = size;
        ass_set_frame_size(library_->renderer, size.width(), size.height());
        ass_set_storage_size(library_->renderer, size.width(), size.height());
    }
    int change = 0;
    const ASS_Image *images = ass_render_frame(library_->renderer, library_->track, ms, &change);
    if (drawn_ && !resized && change == 0)
        return false;
    drawn_ = true;
    QRect bounds;
    for (const ASS_Image *image = images; image; image = image->next)
        if (image->w > 0 && image->h > 0)
            bounds |= QRect(image->dst_x, image->dst_y, image->w, image->h);
    bounds &= QRect(QPoint(0, 0), size);
    if (bounds.isEmpty()) {
        *layer = TypesetLayer();
        return true;
    }
    QImage pixels(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::transparent);
    for (const ASS_Image *image = images; image; image = image->next)
        if (image->w > 0 && image->h > 0 && bounds.contains(QRect(image->dst_x, image->dst_y, image->w, image->h)))
            Blend(pixels, bounds.topLeft(), *image);
    *layer = TypesetLayer{std::move(pixels), bounds.topLeft()};
    return true;
}

bool LooksLikeFont(const QByteArray &data)
{
    if (data.size() < 12)
        return false;
    const QByteArray head = data.left(4);
    return head == QByteArray("\x00\x01\x00\x00", 4) || head == "OTTO" || head == "true" || head == "ttcf";
}

} // namespace velmo
