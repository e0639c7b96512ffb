#include "DirList.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <memory>
#include <vector>

#include "cp1251.h"
#include "errors.h"

namespace {

// One subdirectory: the name shown and the name the file system knows.
struct Subdirectory {
    QString shown;
    QByteArray raw;
};

// Names copied from another system may be in its single-byte code page; they
// are shown readably and opened by their bytes.
QString ShownName(const QByteArray& raw) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(raw);
    if (!utf8.hasError())
        return decoded;
    return QString::fromStdString(net::Cp1251ToUtf8(raw.toStdString()));
}

// The subdirectories (and links to them) whose names do not start with a dot.
std::vector<Subdirectory> ReadSubdirectories(const QString& directory) {
    std::vector<Subdirectory> found;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(
        ::opendir(QFile::encodeName(directory).constData()), ::closedir);
    if (!dir)
        return found;
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray raw(entry->d_name);
        struct stat info {};
        if (raw.startsWith('.') || ::fstatat(::dirfd(dir.get()), entry->d_name, &info, 0) != 0 ||
            !S_ISDIR(info.st_mode)) {
            continue;
        }
        found.push_back({ShownName(raw), raw});
    }
    return found;
}

// The order of the list: by name ignoring case, then by case, then by bytes.
bool ListedBefore(const Subdirectory& a, const Subdirectory& b) {
    const int folded = QString::compare(a.shown, b.shown, Qt::CaseInsensitive);
    if (folded != 0)
        return folded < 0;
    const int cased = QString::compare(a.shown, b.shown, Qt::CaseSensitive);
    return cased != 0 ? cased < 0 : a.raw < b.raw;
}

std::vector<Subdirectory> SortedWithDots(const QString& directory) {
    std::vector<Subdirectory> names = ReadSubdirectories(directory);
    std::sort(names.begin(), names.end(), ListedBefore);
    names.insert(names.begin(), {{QStringLiteral("."), "."}, {QStringLiteral(".."), ".."}});
    return names;
}

}  // namespace

QStringList ListSubdirectories(const QString& directory) {
    QStringList shown;
    for (const Subdirectory& name : SortedWithDots(directory))
        shown.append(name.shown);
    return shown;
}

void FillDirectoryList(QListWidget& list, const QString& directory) {
    for (const Subdirectory& name : SortedWithDots(directory)) {
        auto* item = new QListWidgetItem(name.shown, &list);
        item->setData(Qt::UserRole, name.raw);
    }
}

void AddDirectoryEntry(QListWidget& list, const std::string& name) {
    const Subdirectory added{ShownName(QByteArray::fromStdString(name)),
                             QByteArray::fromStdString(name)};
    int row = 0;
    for (; row < list.count(); ++row) {
        const QListWidgetItem& item = *list.item(row);
        const Subdirectory listed{item.text(), item.data(Qt::UserRole).toByteArray()};
        if (listed.raw == added.raw)
            return;
        // "." and ".." stay first.
        if (listed.raw != "." && listed.raw != ".." && ListedBefore(added, listed))
            break;
    }
    auto* item = new QListWidgetItem(added.shown);
    item->setData(Qt::UserRole, added.raw);
    list.insertItem(row, item);
}

std::string SelectedDirectory(const QListWidget& list) {
    const QList<QListWidgetItem*> selected = list.selectedItems();
    const int index = selected.isEmpty() ? -1 : list.row(selected.first());
    if (index < 0 || index >= list.count()) {
        throw net::NetError("List index out of bounds (" + std::to_string(index) + ")");
    }
    const QListWidgetItem& item = *list.item(index);
    const QVariant raw = item.data(Qt::UserRole);
    if (raw.isValid())
        return raw.toByteArray().toStdString();
    return QFile::encodeName(item.text()).toStdString();
}
