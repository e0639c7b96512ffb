#include "menu_entries.h"

QAction* MenuEntry(QWidget* owner, const QString& text, const QList<QKeySequence>& keys) {
    auto* entry = new QAction(text, owner);
    entry->setShortcuts(keys);
    entry->setShortcutContext(Qt::WindowShortcut);
    entry->setShortcutVisibleInContextMenu(true);
    return entry;
}

QAction* Separator(QWidget* owner) {
    auto* separator = new QAction(owner);
    separator->setSeparator(true);
    return separator;
}

void PlainDialog(QFileDialog& dialog, const QString& accept) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("папка:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("имя:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("вид:"));
    dialog.setLabelText(QFileDialog::Accept, accept);
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("отмена"));
}

void SaveKinds(QFileDialog& dialog, const QList<QPair<QString, QString>>& filtersAndSuffixes) {
    QStringList filters;
    for (const auto& [filter, suffix] : filtersAndSuffixes)
        filters << filter;
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(filtersAndSuffixes.front().second);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, filtersAndSuffixes](const QString& chosen) {
                         for (const auto& [filter, suffix] : filtersAndSuffixes) {
                             if (filter == chosen)
                                 dialog.setDefaultSuffix(suffix);
                         }
                     });
}
