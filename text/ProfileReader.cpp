#include "text/ProfileReader.h"

#include "text/IniFile.h"

#include <fstream>

namespace velmo {

namespace {

std::string trimBlanks(const std::string &text)
{
    const char *blanks = " \t\r\n\v\f";
    const size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos)
        return {};
    const size_t end = text.find_last_not_of(blanks);
    return text.substr(begin, end - begin + 1);
}

} // namespace

std::string ReadProfileString(const std::string &fileName, const std::string &section,
                              const std::string &key, size_t maxChars)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return {};
    const std::string wantSection = IniFile::Fold(trimBlanks(section));
    const std::string wantKey = IniFile::Fold(trimBlanks(key));
    bool inSection = false;
    std::string line;
    while (std::getline(in, line)) {
        line = trimBlanks(line);
        if (line.empty())
            continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            if (close != std::string::npos) {
                inSection = IniFile::Fold(trimBlanks(line.substr(1, close - 1))) == wantSection;
                continue;
            }
        }
        if (!inSection)
            continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        if (IniFile::Fold(trimBlanks(line.substr(0, eq))) != wantKey)
            continue;
        return trimBlanks(line.substr(eq + 1)).substr(0, maxChars);
    }
    return {};
}

Colour ParseColorText(const std::string &text)
{
    const size_t first = text.find(',');
    const size_t second = first == std::string::npos ? std::string::npos : text.find(',', first + 1);
    std::string red = text.substr(0, first);
    std::string green;
    std::string blue;
    if (first != std::string::npos)
        green = text.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    if (second != std::string::npos) {
        blue = text.substr(second + 1);
        blue = blue.substr(0, blue.find(' '));
    }
    const auto byte = [](const std::string &part) {
        return static_cast<Colour>(static_cast<uint32_t>(IniFile::ParseInt(part)) & 0xFFu);
    };
    return byte(red) + byte(green) * 256u + byte(blue) * 65536u;
}

Colour ReadColor(const std::string &fileName, const std::string &section, const std::string &key)
{
    return ParseColorText(ReadProfileString(fileName, section, key, 11));
}

std::string FormatColor(Colour colour)
{
    return std::to_string(colour & 0xFF) + "," + std::to_string((colour >> 8) & 0xFF) + ","
           + std::to_string((colour >> 16) & 0xFF);
}

} // namespace velmo
