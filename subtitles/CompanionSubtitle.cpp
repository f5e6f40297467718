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

// Names in `folder` that are `stem` + "." + `extension` with the extension in
// any letter case, sorted so that the choice among several is repeatable.
std::vector<std::string> namesWithExtension(const std::string &folder, const std::string &stem,
                                            const std::string &extension)
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
        const std::string name = it->path().filename().string();
        if (name.size() == prefix.size() + extension.size() && name.compare(0, prefix.size(), prefix) == 0
            && equalsIgnoringAsciiCase(std::string_view(name).substr(prefix.size()), extension))
            found.push_back(name);
    }
    std::sort(found.begin(), found.end());
    return found;
}

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

    for (const char *extension : {"smi", "sami"}) {
        const std::string exact = folder + stem + "." + extension;
        if (isRegularFile(exact))
            return exact;
        for (const std::string &name : namesWithExtension(folder, stem, extension)) {
            if (isRegularFile(folder + name))
                return folder + name;
        }
    }
    return {};
}

} // namespace velmo
