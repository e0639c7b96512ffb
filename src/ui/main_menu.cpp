// The menu commands that need no dialog of their own: leaving, the help and
// about windows, a new network, the spanning tree over the channels, removing
// every channel and the two routing commands.
#include "about.h"
#include "helpu.h"
#include "main.h"

void TForm1::N3Click() {
    close();
}

void TForm1::N6Click() {
    Form2->exec();
}

void TForm1::N7Click() {
    Form3->exec();
}

void TForm1::N8Click() {
    net_->Reset();
    MarkSaved("");
    RedrawAll();
}

void TForm1::N12Click() {
    net_->BuildSpanningTree();
    RedrawAll();
}

void TForm1::N16Click() {
    net_->DeleteAllChannels();
    RedrawAll();
}

void TForm1::N18Click() {
    net_->RouteAll();
    UpdatePrTree();
}

void TForm1::N19Click() {
    net_->ToggleDynamic();
    N19->setChecked(net_->DynamicRouting);
    UpdatePrTree();
}
