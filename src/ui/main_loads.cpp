// "нагрузка…" of the drawing's context menu: a load table made in one step,
// put in place as one undo step and shown at once in the load table; with
// dynamic routing on, the network is routed again as after any change.
#include "HNagr.h"
#include "LoadGenForm.h"
#include "main.h"

void TForm1::LoadsClick() {
    TLoadGenForm form(this);
    form.ShowNetwork(*net_);
    form.exec();
    if (!form.Confirmed)
        return;
    net_->LoadMatrix = form.Loads;
    if (Form7 != nullptr)
        Form7->ReloadStringGrid();
    RedrawAll();
}
