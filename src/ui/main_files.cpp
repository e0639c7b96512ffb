// The file menu's open and save commands and the load table entry.
#include "DirList.h"
#include "HNagr.h"
#include "OpenForm.h"
#include "SaveForm.h"
#include "main.h"

void TForm1::N1Click() {
    Form5->exec();
    if (Form5->Confirmed)
        net_->LoadProject(SelectedDirectory(*Form5->ListBox1));
    // Also after "отмена": the grid shows the loads the network now holds.
    Form7->ReloadStringGrid();
    RedrawAll();
}

void TForm1::N2Click() {
    Form6->exec();
    if (Form6->Confirmed)
        net_->SaveProject(SelectedDirectory(*Form6->ListBox1));
}

void TForm1::N21Click() {
    Form7->exec();
}
