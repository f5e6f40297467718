#pragma once

#include "subtitles/CaptionFormat.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace velmo {

/// One caption of the chosen class: its start and the P element exactly as the
/// file holds it, from its start tag to the end of its content.
struct SamiCaption {
    int64_t startMs = 0;
    int64_t endMs = -1; ///< start of the next caption of the class; -1 for the last, which lasts to the end
    QString text;
};

/// One language of a SAMI file: a declared class that holds captions.
struct SamiLanguage {
    QString className; ///< as declared ("KRCC")
    QString title;     ///< its "Name" property ("한국어"); the class name when it has none
};

/// What the reader makes of a SAMI file.
struct SamiDocument {
    QString className;                 ///< the chosen class; empty when none is declared
    std::vector<SamiCaption> captions; ///< chosen class only, in playing order
    /// The declared classes that hold captions, in the order declared (at
    /// most kMaxSamiLanguages); the menu of languages lists them.
    std::vector<SamiLanguage> languages;
    bool everyLanguage = false; ///< the captions are every language's at once
};

/// Languages listed at most: no real file declares more than a handful.
inline constexpr size_t kMaxSamiLanguages = 8;
/// The choice that shows every language at once, the default one's lines
/// last (nearest the bottom). No class can be called this.
inline constexpr char kEverySamiLanguage[] = "*";

struct SamiResult {
    bool ok = false;
    SamiDocument document;
    QString error; ///< why the file was refused, short and in Korean, naming the format tried
    CaptionFormat format = CaptionFormat::Unknown;    ///< the format read; Unknown when refused
    CaptionEncoding encoding = CaptionEncoding::Utf8; ///< the encoding the text was read in
};

struct DecodedCaption;

/// Files larger than this are refused unread: no subtitle file comes near it.
inline constexpr qint64 kMaxSamiFileBytes = 64 * 1024 * 1024;
/// The characters of all the events one file may give, once cues are merged.
inline constexpr qsizetype kMaxCaptionEventChars = 32 * 1024 * 1024;

/// Reads the bytes of a caption file of at most kMaxSamiFileBytes; false,
/// with the reason in *why, when it cannot be read or is too large.
bool ReadCaptionBytes(const std::string &path, QByteArray *bytes, QString *why);

/// Appends the event that shows `text` from `startMs` on to `events` (which
/// ends the one before), unless it shows what the last one shows; false,
/// appending nothing, once `budget` characters are spent: a bound no real
/// file comes near, so that a hostile one stays cheap.
bool AppendCaptionEvent(std::vector<SamiCaption> &events, int64_t startMs, QString text, qsizetype &budget);

/// Reads and parses a SAMI file; refuses unreadable, empty and non-SAMI files.
SamiResult ReadSamiFile(const std::string &path);

/// Parses SAMI text already decoded, as ParseSami does.
SamiResult ParseSamiText(const DecodedCaption &decoded, const QString &choice = {});

/// Parses SAMI bytes in any of the supported encodings. `choice` names the
/// class to show, or kEverySamiLanguage; empty, or a class the file does not
/// use, leaves the reader's own choice (the Korean class, else the first).
SamiResult ParseSami(const QByteArray &bytes, const QString &choice = {});

} // namespace velmo
