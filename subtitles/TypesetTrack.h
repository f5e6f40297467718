#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QSize>

#include <cstdint>
#include <memory>

namespace velmo {

/// Typeset captions as drawn over one picture: premultiplied ARGB device
/// pixels, placed at `at` of the picture; a null image when nothing shows.
struct TypesetLayer {
    QImage image;
    QPoint at;
};

/// One ASS or SSA track drawn as its author typeset it (positions,
/// rotations, karaoke, fades, clips), by libass. The track's events are kept
/// as they are fed, never read again; each track has its own fonts (the
/// medium's attachments), let go with it, and falls back to fontconfig's
/// face for Korean, so that Hangul never shows as boxes. UI thread only.
class TypesetTrack {
public:
    /// A track of a whole script (UTF-8); null when libass reads no track from it.
    static std::unique_ptr<TypesetTrack> FromScript(const QByteArray &utf8);
    /// An empty track of an embedded stream, its styles from the stream's
    /// header (Matroska's codec private data); null when libass cannot start.
    static std::unique_ptr<TypesetTrack> FromHeader(const QByteArray &header);
    ~TypesetTrack();
    TypesetTrack(const TypesetTrack &) = delete;
    TypesetTrack &operator=(const TypesetTrack &) = delete;

    /// Adds one event as an embedded stream carries it ("ReadOrder, Layer,
    /// Style, Name, MarginL, MarginR, MarginV, Effect, Text"); an event sent
    /// again (after a seek) is kept once. Events past kMaxEvents are dropped.
    void AddEvent(const QByteArray &chunk, int64_t startMs, int64_t durationMs);
    /// Adds a font the styles may name; false when `data` is no font file
    /// (TrueType, OpenType or a collection) or is larger than kMaxFontBytes.
    bool AddFont(const QByteArray &name, const QByteArray &data);
    /// The events held.
    int EventCount() const;
    /// The fonts added.
    int FontCount() const { return fonts_; }

    /// Draws the captions at `ms` of the track over a picture of `size`
    /// device pixels into *layer. False, leaving *layer as it was, when they
    /// look as they did at the last call (same size, nothing changed).
    bool Render(int64_t ms, const QSize &size, TypesetLayer *layer);
    /// The next Render draws, changed or not (another layer was shown meanwhile).
    void Invalidate() { drawn_ = false; }

    /// Events of one stream kept at most: a stream past it is noise.
    static constexpr int kMaxEvents = 200000;
    /// The largest font file taken.
    static constexpr qsizetype kMaxFontBytes = 64 * 1024 * 1024;

private:
    struct Library;
    explicit TypesetTrack(std::unique_ptr<Library> library);

    std::unique_ptr<Library> library_;
    QSize size_;
    bool drawn_ = false;
    int fonts_ = 0;
};

/// The bytes start as a font file does: TrueType, OpenType, a collection.
bool LooksLikeFont(const QByteArray &data);

} // namespace velmo
