#include "player/Screenshot.h"

#include "text/MediaAddress.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string_view>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

namespace velmo {

namespace {

std::string Env(const char *name)
{
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

/// The XDG_PICTURES_DIR line of user-dirs.dirs, "$HOME" expanded; empty when none.
std::string FromUserDirs(const std::string &home)
{
    const std::string config = Env("XDG_CONFIG_HOME").empty() ? home + "/.config" : Env("XDG_CONFIG_HOME");
    std::ifstream file(config + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_PICTURES_DIR=\"";
    while (std::getline(file, line)) {
        if (line.compare(0, key.size(), key) != 0 || line.back() != '"')
            continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.compare(0, 5, "$HOME") == 0)
            value = home + value.substr(5);
        if (!value.empty() && value[0] == '/')
            return value;
    }
    return {};
}

bool IsUtf8(std::string_view text)
{
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

// The longest start of `name` within `bytes` that ends between characters:
// UTF-8 ones when the name is UTF-8, else CP949's (a byte from 0x81 up leads
// a pair), as names from Windows archives are.
std::string CutAtCharacter(const std::string &name, size_t bytes)
{
    if (name.size() <= bytes)
        return name;
    size_t end = 0;
    if (IsUtf8(name)) {
        end = bytes;
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
            --end;
    } else {
        for (size_t next = 0; next <= bytes; next += static_cast<unsigned char>(name[next]) >= 0x81 ? 2 : 1)
            end = next;
    }
    return name.substr(0, end);
}

bool MakeFolders(const std::string &folder)
{
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

} // namespace

std::string PicturesFolder()
{
    if (const std::string given = Env("XDG_PICTURES_DIR"); !given.empty())
        return given;
    const std::string home = Env("HOME");
    if (const std::string listed = FromUserDirs(home); !listed.empty())
        return listed;
    return home + "/Pictures";
}

std::string ScreenshotName(const std::string &mediaPath, int64_t positionMs)
{
    // An address's query and fragment are not part of its name.
    std::string name = mediaPath;
    if (IsAddress(mediaPath))
        name.resize(std::min(name.size(), name.find_first_of("?#", name.find("://"))));
    while (!name.empty() && name.back() == '/')
        name.pop_back();
    name = name.substr(name.rfind('/') + 1);
    if (const size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.resize(dot);
    if (name.empty())
        name = "Velmo";
    const int64_t ms = std::max<int64_t>(positionMs, 0);
    char time[64]; // room for any hour count
    std::snprintf(time, sizeof time, "_%02lld-%02lld-%02lld.%03lld.png", static_cast<long long>(ms / 3600000),
                  static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                  static_cast<long long>(ms % 1000));
    const size_t room = kMaxFileNameBytes - std::min(kMaxFileNameBytes, std::strlen(time));
    return CutAtCharacter(name, room) + time;
}

bool WritePictureFile(const std::string &path, const QByteArray &data, int *error)
{
    const auto fail = [&](int code) {
        if (error)
            *error = code;
        return false;
    };
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash)))
        return fail(errno);
    // Named apart from the picture, so that a name of the longest length still has room.
    std::string temp = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".velmo-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return fail(errno);
    const char *at = data.constData();
    qsizetype left = data.size();
    bool ok = true;
    while (ok && left > 0) {
        const ssize_t wrote = ::write(fd, at, size_t(left));
        ok = wrote > 0 || (wrote < 0 && errno == EINTR);
        if (wrote > 0) {
            at += wrote;
            left -= wrote;
        }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ok = ok && ::fchmod(fd, 0666 & ~mask) == 0 && ::fsync(fd) == 0;
    const int code = errno;
    ::close(fd);
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        const int reason = ok ? errno : code;
        ::unlink(temp.c_str());
        return fail(reason);
    }
    return true;
}

QString ScreenshotFailure(int error)
{
    const char *reason = "파일을 쓸 수 없습니다";
    switch (error) {
    case ENAMETOOLONG: reason = "이름이 너무 깁니다"; break;
    case ENOSPC:
    case EDQUOT: reason = "저장 공간이 부족합니다"; break;
    case EACCES:
    case EPERM:
    case EROFS: reason = "쓰기 권한이 없습니다"; break;
    case ENOTDIR:
    case EEXIST: reason = "폴더를 만들 수 없습니다"; break;
    default: break;
    }
    return QStringLiteral("화면 저장 실패: ") + QString::fromUtf8(reason);
}

QString ScreenshotSaved(const std::string &path)
{
    QString shown = QString::fromStdString(path);
    const QString home = QString::fromStdString(Env("HOME"));
    if (home.size() > 1 && shown.startsWith(home + QLatin1Char('/')))
        shown = QLatin1Char('~') + shown.mid(home.size());
    return QStringLiteral("화면 저장: ") + shown;
}

} // namespace velmo
