#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace velmo {

/// The player's INI reader and writer. Holds the whole file as a table sorted
/// by folded (ASCII-lowercased) section and key; names and values are CP949
/// byte strings.
class IniFile {
public:
    IniFile() = default;
    ~IniFile() = default;
    IniFile(const IniFile &) = delete;
    IniFile &operator=(const IniFile &) = delete;

    /// Remembers `fileName`, empties the table and reads the file line by line.
    bool Load(std::string fileName);
    /// Writes the table to the file of the last Load, atomically; through a
    /// symbolic link, to the file the link names.
    bool Save();

    std::string GetString(std::string section, std::string key) const;
    /// The value read like atol; 0 for a missing entry.
    int32_t GetInt(std::string section, std::string key) const;
    /// False only for "0" and "false" in any letter case.
    bool GetBool(std::string section, std::string key) const;

    bool SetString(std::string section, std::string key, std::string value);
    bool SetInt(std::string section, std::string key, int32_t value);
    bool SetBool(std::string section, std::string key, bool value);

    const std::string &fileName() const { return fileName_; }
    const std::string &lastError() const { return lastError_; }
    size_t entryCount() const { return entries_.size(); }

    /// Lowercases ASCII A-Z only; every other byte (CP949 included) is kept.
    static std::string Fold(std::string text);
    /// Reads a decimal number the way the C library's atol does.
    static int32_t ParseInt(const std::string &text);

private:
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };
    using Key = std::pair<std::string, std::string>;

    void Store(const std::string &section, const std::string &key, const std::string &value);
    std::string Render() const;

    std::string fileName_;
    std::string lastError_;
    std::map<Key, Entry> entries_; // std::string compares bytes as unsigned
};

} // namespace velmo
