// Pieces of the drawing's context menu and of the file dialogs it opens.
#pragma once

#include <QAction>
#include <QFileDialog>
#include <QKeySequence>
#include <QList>

// An entry owned by `owner`, with its shortcuts shown in the menu.
QAction* MenuEntry(QWidget* owner, const QString& text, const QList<QKeySequence>& keys = {});
QAction* Separator(QWidget* owner);

// A file dialog of the program's own look, whatever the desktop offers, with
// Russian captions. After the accept and file modes: setting them puts the
// button captions back to Qt's own.
void PlainDialog(QFileDialog& dialog, const QString& accept);

// A save dialog offering one file kind per filter, each with its suffix: the
// suffix of the chosen filter is added to a name typed without one.
void SaveKinds(QFileDialog& dialog, const QList<QPair<QString, QString>>& filtersAndSuffixes);
