// The file menu's open, save and save-as commands and the load table entry.
#include <QMessageBox>

#include "DirList.h"
#include "HNagr.h"
#include "OpenForm.h"
#include "SaveAsForm.h"
#include "SaveForm.h"
#include "main.h"
#include "project_folder.h"

namespace {

// The routing results belong to the network they were computed for: a newly
// loaded one starts without them, as after "новый".
void ClearRoutingResults(net::TNetObj& net) {
    net.DelayMatrix = {};
    net.PathTable = {};
    net.Unrouted = {};
    net.ResidualMatrix = {};
}

// An existing folder is used only when the user agrees to replace its project files.
bool MayUseExistingFolder(QWidget* parent, const QString& name) {
    const QMessageBox::StandardButton answer = QMessageBox::question(
        parent, QStringLiteral("сохранить как"),
        QStringLiteral("Папка «%1» уже есть. Сохранить проект в неё, заменив её файлы проекта?")
            .arg(name),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

}  // namespace

void TForm1::N1Click() {
    Form5->exec();
    if (Form5->Confirmed) {
        const std::string folder = SelectedDirectory(*Form5->ListBox1);
        net_->LoadProject(folder);
        ClearRoutingResults(*net_);
        MarkSaved(folder);
    }
    // Also after "отмена": the grid shows the loads the network now holds.
    Form7->ReloadStringGrid();
    RedrawAll();
}

void TForm1::N2Click() {
    Form6->exec();
    if (Form6->Confirmed) {
        const std::string folder = SelectedDirectory(*Form6->ListBox1);
        net_->SaveProject(folder);
        MarkSaved(folder);
    }
}

void TForm1::N9Click() {
    SaveAsNewFolder();
}

bool TForm1::SaveAsNewFolder() {
    TForm8 dialog(this);
    dialog.exec();
    if (!dialog.Confirmed)
        return false;
    const QString name = dialog.Edit1->text();
    const std::string folder = FolderBytes(name);
    const bool existing = CheckProjectFolderName(name) == ProjectFolder::Existing;
    if (existing && !MayUseExistingFolder(this, name))
        return false;
    if (!existing)
        CreateProjectFolder(folder);
    try {
        net_->SaveProject(folder);
    } catch (...) {
        if (!existing)
            RemoveEmptyFolder(folder);
        throw;
    }
    // The lists are otherwise filled once at start.
    AddDirectoryEntry(*Form5->ListBox1, folder);
    AddDirectoryEntry(*Form6->ListBox1, folder);
    MarkSaved(folder);
    return true;
}

void TForm1::N21Click() {
    Form7->exec();
}
