#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QFileDialog;

namespace velmo {

/// The folder an open dialog starts in: that of the medium playing when it
/// is a file whose folder is there, else `lastFolder` when it is there, else
/// the home folder. Paths are the platform's bytes.
QString DialogStartFolder(const std::string &mediumPath, const std::string &lastFolder);

/// Makes `dialog` choose one existing file, starting in `folder`, with
/// `nameFilters` (Qt's form, the first one selected) shown by their labels.
void PrepareOpenDialog(QFileDialog &dialog, const QStringList &nameFilters, const QString &folder);

/// Runs `dialog` modally; the chosen files as the platform's bytes, none when cancelled.
std::vector<std::string> RunOpenDialog(QFileDialog &dialog);

/// The folder of `path` (platform bytes), "" when it has none that a
/// settings line can hold.
std::string FolderOf(const std::string &path);

} // namespace velmo
