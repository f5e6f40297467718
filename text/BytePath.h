#pragma once

#include <QFile>
#include <QString>

#include <string>

namespace velmo {

/// Opens `file` read-only at `path`, the file system's own bytes. A name that
/// is not UTF-8 (CP949 names from Windows archives) cannot pass through a
/// QString, so the file is opened by its bytes and handed to `file`. On
/// failure returns false and, when `error` is given, says why.
bool OpenForReading(QFile &file, const std::string &path, QString *error = nullptr);

} // namespace velmo
