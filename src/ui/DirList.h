// The project directories offered by the open and save dialogs.
#pragma once

#include <QListWidget>
#include <QString>
#include <QStringList>
#include <string>

// Names of the subdirectories of `directory` as shown: "." and ".." first,
// then the others sorted by name (ignoring case, then by case). Names
// starting with a dot are hidden and left out. A name that is not valid UTF-8
// is shown decoded as Windows-1251.
QStringList ListSubdirectories(const QString& directory);

// Fills the list with those names; each entry keeps the name as the file
// system spells it, byte for byte.
void FillDirectoryList(QListWidget& list, const QString& directory);

// Adds the subdirectory `name` (as the file system spells it) at its place in
// a list filled so, unless the list holds it already.
void AddDirectoryEntry(QListWidget& list, const std::string& name);

// The name of the selected entry as the file system spells it. With nothing
// selected raises "List index out of bounds (-1)".
std::string SelectedDirectory(const QListWidget& list);
