#include "DirList.h"

#include <QDir>
#include <QFile>
#include <algorithm>

#include "errors.h"

QStringList ListSubdirectories(const QString& directory) {
    QDir dir(directory);
    // Without QDir::Hidden the names starting with a dot are skipped.
    QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = QString::compare(a, b, Qt::CaseInsensitive);
        if (folded != 0)
            return folded < 0;
        return QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    names.prepend(QStringLiteral(".."));
    names.prepend(QStringLiteral("."));
    return names;
}

std::string SelectedDirectory(const QListWidget& list) {
    const QList<QListWidgetItem*> selected = list.selectedItems();
    const int index = selected.isEmpty() ? -1 : list.row(selected.first());
    if (index < 0 || index >= list.count()) {
        throw net::NetError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return QFile::encodeName(list.item(index)->text()).toStdString();
}
