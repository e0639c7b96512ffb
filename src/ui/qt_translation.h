// Qt's own texts (file dialogs, message box buttons, the context menus of
// text fields) in Russian, like the program's.
#pragma once

class QCoreApplication;

// Loads Qt's Russian translation from Qt's translations path and installs it
// in the application; false when it is not installed.
bool InstallQtTranslation(QCoreApplication& application);
