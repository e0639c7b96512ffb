#include "project_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "errors.h"

namespace {

std::string Quoted(const QString& name) {
    return "«" + name.toStdString() + "»";
}

}  // namespace

std::string FolderBytes(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

ProjectFolder CheckProjectFolderName(const QString& name) {
    if (name.isEmpty())
        throw net::NetError("Введите имя папки проекта");
    if (name.contains('/'))
        throw net::NetError("Имя папки " + Quoted(name) + " не должно содержать «/»");
    if (name == "." || name == "..")
        throw net::NetError(Quoted(name) + " не может быть именем новой папки проекта");
    if (name.startsWith('.')) {
        throw net::NetError("Имя папки " + Quoted(name) +
                            " начинается с точки: такая папка скрыта и не попадёт в списки "
                            "проектов");
    }
    struct stat info {};
    if (::stat(FolderBytes(name).c_str(), &info) != 0)
        return ProjectFolder::Missing;
    if (!S_ISDIR(info.st_mode))
        throw net::NetError(Quoted(name) + " — это файл, а не папка");
    return ProjectFolder::Existing;
}

void CreateProjectFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0777) != 0) {
        throw net::IoError("Папка «" + folder + "» не создана: " + net::IoMessage(errno));
    }
}

void RemoveEmptyFolder(const std::string& folder) {
    ::rmdir(folder.c_str());
}
