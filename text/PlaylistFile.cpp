#include "text/PlaylistFile.h"

#include "text/Cp949.h"
#include "text/MediaAddress.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>

namespace velmo {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool StartsWithFolded(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Lower(text[i]) != prefix[i])
            return false;
    return true;
}

bool EndsWithFolded(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && StartsWithFolded(text.substr(text.size() - suffix.size()), suffix);
}

std::string_view Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        if (const std::string_view line = Trimmed(text.substr(0, end)); !line.empty())
            lines.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// The text as UTF-8 bytes and whether it was CP949 (then each line also
// keeps its own bytes, for names never converted).
struct Decoded {
    std::string text;
    bool legacy = false;
};

Decoded Decode(std::string_view bytes, bool utf8Name)
{
    if (bytes.starts_with(kUtf8Bom))
        return {std::string(bytes.substr(kUtf8Bom.size())), false};
    const bool le = bytes.starts_with("\xFF\xFE");
    if (le || bytes.starts_with("\xFE\xFF")) {
        std::u16string units;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto a = static_cast<unsigned char>(bytes[i]);
            const auto b = static_cast<unsigned char>(bytes[i + 1]);
            units.push_back(char16_t(le ? a | (b << 8) : (a << 8) | b));
        }
        return {QString::fromStdU16String(units).toStdString(), false};
    }
    if (utf8Name || QByteArrayView(bytes.data(), qsizetype(bytes.size())).isValidUtf8())
        return {std::string(bytes), false};
    return {std::string(bytes), true};
}

std::string FromCp949(std::string_view line)
{
    return fromCp949(QByteArray(line.data(), qsizetype(line.size()))).toStdString();
}

// A valid UTF-8 title whatever the bytes were; valid text stays as it is.
std::string CleanTitle(std::string_view title)
{
    if (QByteArrayView(title.data(), qsizetype(title.size())).isValidUtf8())
        return std::string(title);
    return QString::fromUtf8(title.data(), qsizetype(title.size())).toStdString();
}

bool IsDriveName(std::string_view path)
{
    return path.size() >= 2 && path[1] == ':' && (path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z';
}

// "file:///a/b%20c" or "file://host/a" as the path it names, bytes kept.
std::string PathOfFileUri(std::string_view uri)
{
    uri.remove_prefix(7); // "file://"
    const size_t slash = uri.find('/');
    if (slash == std::string_view::npos)
        return {};
    uri.remove_prefix(slash); // the host, "localhost" or none
    return QByteArray::fromPercentEncoding(QByteArray(uri.data(), qsizetype(uri.size()))).toStdString();
}

// A name of the list as a path or an address: Windows' separators become
// ours, a relative name is taken from the list's folder.
std::string Resolve(std::string_view name, const std::string &listFolder)
{
    if (StartsWithFolded(name, "file://")) {
        const std::string path = PathOfFileUri(name);
        return path.empty() ? path : fs::path(path).lexically_normal().string();
    }
    if (IsAddress(name))
        return std::string(name);
    std::string path(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    // "C:/..." names a Windows drive: no folder here holds it.
    if (IsDriveName(path) || path.empty())
        return path;
    fs::path resolved(path);
    if (!resolved.is_absolute())
        resolved = fs::path(listFolder.empty() ? std::string(".") : listFolder) / resolved;
    return resolved.lexically_normal().string();
}

// "#EXTINF:<seconds>[ attributes],<title>": the title follows the first
// comma outside quotes.
// Leading seconds, whole or not, as milliseconds; -1 when there are none or they are negative.
int64_t LeadingSecondsMs(std::string_view text)
{
    double seconds = -1;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    return error == std::errc() && stop != text.data() && seconds >= 0 && seconds < 1e12 ? std::llround(seconds * 1000.0)
                                                                                        : -1;
}

void ReadExtInf(std::string_view info, PlaylistItem *item)
{
    item->durationMs = LeadingSecondsMs(Trimmed(info));
    bool quoted = false;
    for (size_t i = 0; i < info.size(); ++i) {
        if (info[i] == '"')
            quoted = !quoted;
        else if (info[i] == ',' && !quoted) {
            item->title = std::string(Trimmed(info.substr(i + 1)));
            return;
        }
    }
}

std::vector<PlaylistItem> ReadM3u(const std::vector<std::string_view> &lines, const Decoded &text,
                                  const std::string &listFolder)
{
    std::vector<PlaylistItem> items;
    PlaylistItem pending;
    for (const std::string_view raw : lines) {
        const std::string converted = text.legacy ? FromCp949(raw) : std::string(raw);
        const std::string_view line = converted;
        if (line.front() == '#') {
            if (StartsWithFolded(line, "#extinf:"))
                ReadExtInf(line.substr(8), &pending);
            continue;
        }
        pending.path = Resolve(line, listFolder);
        pending.title = CleanTitle(pending.title);
        if (text.legacy && raw != line)
            pending.pathAsWritten = Resolve(raw, listFolder);
        if (!pending.path.empty())
            items.push_back(std::move(pending));
        pending = PlaylistItem();
    }
    return items;
}

// "File12" as 12; 0 when the key is not `stem` and a number.
int KeyNumber(std::string_view key, std::string_view stem)
{
    if (!StartsWithFolded(key, stem) || key.size() == stem.size() || key.size() > stem.size() + 6)
        return 0;
    int number = 0;
    const auto [stop, error] = std::from_chars(key.data() + stem.size(), key.data() + key.size(), number);
    return error == std::errc() && stop == key.data() + key.size() && number > 0 ? number : 0;
}

std::vector<PlaylistItem> ReadPls(const std::vector<std::string_view> &lines, const Decoded &text,
                                  const std::string &listFolder)
{
    std::map<int, PlaylistItem> byNumber; // FileN in the order of N
    for (const std::string_view raw : lines) {
        const size_t equals = raw.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = Trimmed(raw.substr(0, equals));
        const std::string_view rawValue = Trimmed(raw.substr(equals + 1));
        const std::string converted = text.legacy ? FromCp949(rawValue) : std::string(rawValue);
        if (const int n = KeyNumber(key, "file"); n > 0 && !converted.empty()) {
            byNumber[n].path = Resolve(converted, listFolder);
            if (text.legacy && rawValue != converted)
                byNumber[n].pathAsWritten = Resolve(rawValue, listFolder);
        } else if (const int t = KeyNumber(key, "title"); t > 0) {
            byNumber[t].title = CleanTitle(converted);
        } else if (const int l = KeyNumber(key, "length"); l > 0) {
            byNumber[l].durationMs = LeadingSecondsMs(converted);
        }
    }
    std::vector<PlaylistItem> items;
    for (auto &[number, item] : byNumber)
        if (!item.path.empty())
            items.push_back(std::move(item));
    return items;
}

std::string SecondsText(int64_t durationMs)
{
    return std::to_string(durationMs < 0 ? -1 : (durationMs + 500) / 1000);
}

// A local name that a list line would not give back as it is: one with a
// backslash, one that reads as a comment, an address or a Windows drive, or
// one with blanks at an end.
bool NeedsUri(std::string_view path)
{
    return path.find('\\') != std::string_view::npos || path.starts_with('#') || Trimmed(path) != path ||
           IsAddress(path) || IsDriveName(path) || StartsWithFolded(path, "file://");
}

std::string WrittenPath(const std::string &path, const std::string &listFolder)
{
    if (IsAddress(path) || !fs::path(path).is_absolute())
        return path;
    std::string written = path;
    if (!listFolder.empty()) {
        const std::string relative = fs::path(path).lexically_relative(fs::path(listFolder).lexically_normal()).string();
        if (!relative.empty() && !relative.starts_with(".."))
            written = relative;
    }
    if (NeedsUri(written))
        return "file://" + QByteArray(path.data(), qsizetype(path.size())).toPercentEncoding("/").toStdString();
    return written;
}

} // namespace

bool IsPlaylistFileName(std::string_view name)
{
    return EndsWithFolded(name, ".m3u") || EndsWithFolded(name, ".m3u8") || EndsWithFolded(name, ".pls");
}

PlaylistFormat PlaylistFormatOf(std::string_view name)
{
    if (EndsWithFolded(name, ".m3u8"))
        return PlaylistFormat::M3u8;
    return EndsWithFolded(name, ".pls") ? PlaylistFormat::Pls : PlaylistFormat::M3u;
}

std::vector<PlaylistItem> ReadPlaylist(std::string_view bytes, const std::string &listFolder, bool utf8Name)
{
    const Decoded text = Decode(bytes, utf8Name);
    const std::vector<std::string_view> lines = Lines(text.text);
    if (!lines.empty() && StartsWithFolded(lines.front(), "[playlist]"))
        return ReadPls(lines, text, listFolder);
    return ReadM3u(lines, text, listFolder);
}

std::string WritePlaylist(const std::vector<PlaylistItem> &items, PlaylistFormat format,
                          const std::string &listFolder)
{
    std::string out = format == PlaylistFormat::Pls ? "[playlist]\n" : "#EXTM3U\n";
    int written = 0;
    for (const PlaylistItem &item : items) {
        if (item.path.empty() || item.path.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            continue;
        std::string title = CleanTitle(item.title.empty() ? ListedFileName(item.path) : item.title);
        std::replace_if(title.begin(), title.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        title = std::string(Trimmed(title));
        const std::string path = WrittenPath(item.path, listFolder);
        if (format == PlaylistFormat::Pls) {
            const std::string n = std::to_string(++written);
            out += "File" + n + "=" + path + "\nTitle" + n + "=" + title + "\nLength" + n + "=" +
                   SecondsText(item.durationMs) + "\n";
        } else {
            out += "#EXTINF:" + SecondsText(item.durationMs) + "," + title + "\n" + path + "\n";
        }
    }
    if (format == PlaylistFormat::Pls)
        out += "NumberOfEntries=" + std::to_string(written) + "\nVersion=2\n";
    return out;
}

std::string ListedFileName(const std::string &path)
{
    if (IsAddress(path))
        return path;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace velmo
