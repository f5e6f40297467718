#include "app/OpenDialog.h"

#include "text/MediaAddress.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace velmo {

namespace {

QString FolderIfThere(const std::string &folder)
{
    if (folder.empty())
        return {};
    const QFileInfo info(QFile::decodeName(QByteArray::fromStdString(folder)));
    return info.isDir() ? info.absoluteFilePath() : QString();
}

} // namespace

std::string FolderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (path.empty() || slash == std::string::npos || IsAddress(path))
        return {};
    const std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
    // A line break would end the settings line early.
    return folder.find_first_of("\r\n") == std::string::npos ? folder : std::string();
}

QString DialogStartFolder(const std::string &mediumPath, const std::string &lastFolder)
{
    if (const QString medium = FolderIfThere(FolderOf(mediumPath)); !medium.isEmpty())
        return medium;
    if (const QString last = FolderIfThere(lastFolder); !last.isEmpty())
        return last;
    return QDir::homePath();
}

void PrepareOpenDialog(QFileDialog &dialog, const QStringList &nameFilters, const QString &folder)
{
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The labels already name their patterns (or, for the first, stand for
    // a long list): the patterns are not shown a second time.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(nameFilters);
    if (!nameFilters.isEmpty())
        dialog.selectNameFilter(nameFilters.front());
    dialog.setDirectory(folder);
}

std::vector<std::string> RunOpenDialog(QFileDialog &dialog)
{
    std::vector<std::string> chosen;
    if (dialog.exec() != QDialog::Accepted)
        return chosen;
    for (const QString &file : dialog.selectedFiles())
        chosen.push_back(QFile::encodeName(file).toStdString());
    return chosen;
}

} // namespace velmo
