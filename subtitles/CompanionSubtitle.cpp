#include "subtitles/CompanionSubtitle.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace velmo {

namespace {

bool isRegularFile(const std::string &path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// The names in `folder` that start with `stem` + ".", sorted so that the
// choice among several spellings of one extension is repeatable.
std::vector<std::string> namesAfterStem(const std::string &folder, const std::string &stem)
{
    std::vector<std::string> found;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder.empty() ? std::string(".") : folder, ec);
    if (ec)
        return found;
    const std::string prefix = stem + ".";
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) == 0)
            found.push_back(std::move(name));
    }
    std::sort(found.begin(), found.end());
    return found;
}

// SAMI first, as it always was; then the other caption formats, bare and
// then with the Korean language part that downloaded files carry.
constexpr const char *kExtensions[] = {"smi",    "sami",    "srt",     "vtt",    "ass",    "ssa",
                                       "ko.srt", "kor.srt", "kr.srt",  "ko.vtt", "kor.vtt", "kr.vtt",
                                       "ko.ass", "kor.ass", "kr.ass",  "ko.ssa", "kor.ssa", "kr.ssa"};

} // namespace

std::string FindCompanionSubtitle(const std::string &mediaPath)
{
    const size_t slash = mediaPath.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = mediaPath.rfind('.');
    const size_t stemEnd = (dot == std::string::npos || dot < nameStart) ? mediaPath.size() : dot;
    if (stemEnd == nameStart)
        return {}; // no file name, or a name that is all extension (".avi")
    const std::string folder = mediaPath.substr(0, nameStart);
    const std::string stem = mediaPath.substr(nameStart, stemEnd - nameStart);

    std::vector<std::string> names;
    bool listed = false;
    for (const char *extension : kExtensions) {
        const std::string exact = folder + stem + "." + extension;
        if (isRegularFile(exact))
            return exact;
        if (!listed) {
            names = namesAfterStem(folder, stem);
            listed = true;
        }
        const std::string_view ext(extension);
        for (const std::string &name : names) {
            if (name.size() == stem.size() + 1 + ext.size()
                && equalsIgnoringAsciiCase(std::string_view(name).substr(stem.size() + 1), ext)
                && isRegularFile(folder + name))
                return folder + name;
        }
    }
    return {};
}

} // namespace velmo
