#include "skin/IniFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
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

// Writes all of `data` to `fd`, retrying short writes.
bool writeAll(int fd, const std::string &data)
{
    const char *p = data.data();
    size_t left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

// Mode for a new settings file: the old file's, or 0666 less the umask.
mode_t modeFor(const std::string &fileName)
{
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
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
    FILE *file = std::fopen(fileName_.c_str(), "r");
    if (!file) {
        lastError_ = cannotOpen(fileName_);
        return false;
    }

    std::string section;
    std::string raw;
    char buffer[4096];
    bool more = true;
    while (more) {
        // Lines are read whole, however long.
        raw.clear();
        for (;;) {
            if (!std::fgets(buffer, sizeof buffer, file)) {
                more = false;
                break;
            }
            raw += buffer;
            if (!raw.empty() && raw.back() == '\n')
                break;
        }
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
    std::fclose(file);
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
    // Write beside the target and rename over it only when every byte is on
    // disk, so a failed save never leaves a half-written settings file.
    std::string temp = fileName_ + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        lastError_ = cannotOpen(fileName_);
        return false;
    }
    bool ok = ::fchmod(fd, modeFor(fileName_)) == 0;
    ok = ok && writeAll(fd, Render());
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), fileName_.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
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
