#pragma once

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

/// What the reader makes of a SAMI file.
struct SamiDocument {
    QString className;                 ///< the chosen class; empty when none is declared
    std::vector<SamiCaption> captions; ///< chosen class only, in playing order
};

struct SamiResult {
    bool ok = false;
    SamiDocument document;
    QString error; ///< why the file was refused, for logs and the dump tool
};

/// Files larger than this are refused unread: no subtitle file comes near it.
inline constexpr qint64 kMaxSamiFileBytes = 64 * 1024 * 1024;

/// Reads and parses a SAMI file; refuses unreadable, empty and non-SAMI files.
SamiResult ReadSamiFile(const std::string &path);

/// Parses SAMI bytes in any of the supported encodings.
SamiResult ParseSami(const QByteArray &bytes);

} // namespace velmo
