#pragma once

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace velmo::test {

/// A temporary folder that tests write files into; removed with the object.
class TempDir {
public:
    TempDir() { dir_.setAutoRemove(true); }
    std::string path(const std::string &name = {}) const
    {
        return name.empty() ? dir_.path().toStdString() : (dir_.path() + "/" + QString::fromStdString(name)).toStdString();
    }
    std::string write(const std::string &name, const QByteArray &bytes) const
    {
        const std::string p = path(name);
        QDir().mkpath(QFileInfo(QString::fromStdString(p)).path());
        QFile f(QString::fromStdString(p));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
        return p;
    }
    QByteArray read(const std::string &name) const
    {
        QFile f(QString::fromStdString(path(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir_;
};

/// Writes `bytes` at `path` taken as the file system's own bytes (a name that
/// is not UTF-8 cannot pass through QFile); returns whether all were written.
inline bool WriteAtBytePath(const std::string &path, const QByteArray &bytes)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file) == size_t(bytes.size());
    return std::fclose(file) == 0 && written;
}

/// Changes the working directory for the life of the object.
class WorkingDir {
public:
    explicit WorkingDir(const std::string &path) : old_(QDir::currentPath()) { QDir::setCurrent(QString::fromStdString(path)); }
    ~WorkingDir() { QDir::setCurrent(old_); }

private:
    QString old_;
};

} // namespace velmo::test
