#include "player/FolderPlaylist.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace velmo {

namespace {

// The open dialog's media patterns, then the desktop entry's MIME types by their usual extensions.
constexpr std::array<std::string_view, 38> kMediaExtensions = {
    "avi", "wmv", "asf", "mpg", "mpeg", "mpe", "dat", "m1v", "m2", "qt", "mov", "mp3", "wav",
    "wma", "mkv", "webm", "mp4", "m4v", "3gp", "3g2", "ts", "m2ts", "mts", "vob", "flv", "ogv",
    "ogg", "ogm", "dv", "rm", "rmvb", "aif", "aiff", "au", "flac", "opus", "m4a", "aac",
};
constexpr std::array<std::string_view, 4> kMoreMediaExtensions = {"ac3", "mka", "oga", "snd"};

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool IsMediaFileName(std::string_view name)
{
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || name.size() - dot - 1 > 4)
        return false;
    std::string extension;
    for (char c : name.substr(dot + 1))
        extension += Lower(c);
    const auto known = [&](const auto &table) {
        return std::find(table.begin(), table.end(), extension) != table.end();
    };
    return known(kMediaExtensions) || known(kMoreMediaExtensions);
}

int NaturalCompare(std::string_view a, std::string_view b)
{
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            // Compare the runs' values: skip leading zeros, then the longer run is larger.
            size_t ia = i, jb = j;
            while (ia < a.size() && a[ia] == '0')
                ++ia;
            while (jb < b.size() && b[jb] == '0')
                ++jb;
            size_t ea = ia, eb = jb;
            while (ea < a.size() && IsDigit(a[ea]))
                ++ea;
            while (eb < b.size() && IsDigit(b[eb]))
                ++eb;
            if (ea - ia != eb - jb)
                return ea - ia < eb - jb ? -1 : 1;
            if (const int c = a.substr(ia, ea - ia).compare(b.substr(jb, eb - jb)))
                return c;
            i = ea;
            j = eb;
            continue;
        }
        const unsigned char ca = static_cast<unsigned char>(Lower(a[i]));
        const unsigned char cb = static_cast<unsigned char>(Lower(b[j]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

FolderStep NeighbourInFolder(const std::string &path, int step)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::unique_ptr<DIR, int (*)(DIR *)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir)
        return {{}, false, false};
    // Only the nearest name on the asked side is kept: no list, no sort.
    std::string best;
    while (const dirent *entry = ::readdir(dir.get())) {
        const std::string_view candidate(entry->d_name);
        if (!IsMediaFileName(candidate) || candidate == name)
            continue;
        const int side = NaturalCompare(candidate, name);
        if ((step > 0 && side <= 0) || (step < 0 && side >= 0))
            continue;
        if (!best.empty() && (step > 0 ? NaturalCompare(candidate, best) >= 0 : NaturalCompare(candidate, best) <= 0))
            continue;
        bool file = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info {};
            file = ::stat((folder + '/' + entry->d_name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
        }
        if (file)
            best = candidate;
    }
    if (best.empty())
        return {{}, true, true};
    return {folder == "/" ? "/" + best : folder + '/' + best, false, true};
}

} // namespace velmo
