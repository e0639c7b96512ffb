// The project directories offered by the open and save dialogs.
#pragma once

#include <QListWidget>
#include <QString>
#include <QStringList>
#include <string>

// Names of the subdirectories of `directory`: "." and ".." first, then the
// others sorted by name (ignoring case, then by case). Names starting with a
// dot are hidden and left out.
QStringList ListSubdirectories(const QString& directory);

// The name of the selected entry as the file system spells it. With nothing
// selected raises "List index out of bounds (-1)".
std::string SelectedDirectory(const QListWidget& list);
