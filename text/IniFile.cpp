#include "text/IniFile.h"

#include "text/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace velmo {

namespace {

const char kMissingName[] = "파일명이 누락되었습니다.";

std::string cannotOpen(const std::string &fileName)
{
    return "파일(" + fileName + ")을 열 수 없습니다.";
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string trimmed(const std::string &line)
{
    size_t begin = 0;
    size_t end = line.size();
    while (begin < end && isBlank(line[begin]))
        ++begin;
    while (end > begin && isBlank(line[end - 1]))
        --end;
    return line.substr(begin, end - begin);
}

// Reads a file by its line ends. A NUL byte is an ordinary byte of its line,
// as it is everywhere else in the store.
class LineReader {
public:
    explicit LineReader(FILE *file) : file_(file) {}
    ~LineReader() { std::free(buffer_); }
    LineReader(const LineReader &) = delete;
    LineReader &operator=(const LineReader &) = delete;

    /// The next line with its line end; false at the end of the file or on a
    /// read error, which ends the file as well.
    bool Next(std::string &line)
    {
        const ssize_t n = ::getline(&buffer_, &capacity_, file_);
        if (n < 0)
            return false;
        line.assign(buffer_, static_cast<size_t>(n));
        return true;
    }

private:
    FILE *file_;
    char *buffer_ = nullptr; // getline's own, grown as lines need
    size_t capacity_ = 0;
};

// The file a save replaces: `path` with the symbolic links that name it
// followed, so that a link stays a link and the file it names gets the new
// contents (a dangling link names the file to create). None for a loop.
std::optional<std::string> linkTarget(std::string path)
{
    constexpr int kMaxLinks = 40; // as the kernel allows in one path
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        std::error_code ec;
        const std::filesystem::path target = std::filesystem::read_symlink(path, ec);
        if (ec)
            return path; // not a link, or nothing there yet
        path = target.is_absolute() ? target.string() : (std::filesystem::path(path).parent_path() / target).string();
    }
    return std::nullopt;
}

} // namespace

std::string IniFile::Fold(std::string text)
{
    for (char &c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

int32_t IniFile::ParseInt(const std::string &text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Accumulate in 64 bits and wrap like the 32-bit long of the file's origin.
    uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    if (negative)
        value = ~value + 1;
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

bool IniFile::Load(std::string fileName)
{
    fileName_ = std::move(fileName);
    entries_.clear();
    lastError_.clear();
    if (fileName_.empty()) {
        lastError_ = kMissingName;
        return false;
    }
    const std::unique_ptr<FILE, int (*)(FILE *)> file(std::fopen(fileName_.c_str(), "r"), &std::fclose);
    if (!file) {
        lastError_ = cannotOpen(fileName_);
        return false;
    }

    std::string section;
    std::string raw;
    LineReader reader(file.get());
    while (reader.Next(raw)) { // lines are read whole, however long
        const std::string line = trimmed(raw);
        if (line.empty())
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0)
            continue;
        Store(section, line.substr(0, eq), line.substr(eq + 1));
    }
    return true;
}

std::string IniFile::Render() const
{
    std::string out;
    std::string lastHeader;
    size_t count = 0;
    for (const auto &[key, entry] : entries_) {
        ++count;
        if (!entry.section.empty() && entry.section != lastHeader) {
            if (count > 1)
                out += "\n\n";
            out += "[" + entry.section + "]\n";
            lastHeader = entry.section;
        }
        out += entry.key + "=" + entry.value + "\n";
    }
    out += "\n\n";
    return out;
}

bool IniFile::Save()
{
    lastError_.clear();
    if (fileName_.empty()) {
        lastError_ = kMissingName;
        return false;
    }
    const std::optional<std::string> target = linkTarget(fileName_);
    if (!target || !ReplaceFile(*target, Render())) {
        lastError_ = cannotOpen(fileName_);
        return false;
    }
    return true;
}

void IniFile::Store(const std::string &section, const std::string &key, const std::string &value)
{
    entries_[Key(Fold(section), Fold(key))] = Entry{section, key, value};
}

std::string IniFile::GetString(std::string section, std::string key) const
{
    const auto it = entries_.find(Key(Fold(std::move(section)), Fold(std::move(key))));
    return it == entries_.end() ? std::string() : it->second.value;
}

int32_t IniFile::GetInt(std::string section, std::string key) const
{
    return ParseInt(GetString(std::move(section), std::move(key)));
}

bool IniFile::GetBool(std::string section, std::string key) const
{
    const std::string value = Fold(GetString(std::move(section), std::move(key)));
    return !(value == "0" || value == "false");
}

bool IniFile::SetString(std::string section, std::string key, std::string value)
{
    Store(section, key, value);
    return true;
}

bool IniFile::SetInt(std::string section, std::string key, int32_t value)
{
    return SetString(std::move(section), std::move(key), std::to_string(value));
}

bool IniFile::SetBool(std::string section, std::string key, bool value)
{
    return SetString(std::move(section), std::move(key), value ? "True" : "False");
}

} // namespace velmo
