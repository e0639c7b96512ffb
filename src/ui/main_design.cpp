// The design advisor through the drawing's context menu: "проектирование
// сети…" asks for the options, searches in a worker thread under a progress
// window, and shows the result in its own window, whose design is drawn over
// the picture while it is open; "применить" replaces the channels by it as
// one undo step. Nothing changes the network before "применить".
#include <algorithm>

#include "DesignForm.h"
#include "DesignOptionsForm.h"
#include "design_picture.h"
#include "design_run.h"
#include "guarded_connect.h"
#include "main.h"

void TForm1::DesignClick() {
    if (DesignOptionsForm == nullptr)
        DesignOptionsForm = new TDesignOptionsForm(this);
    DesignOptionsForm->exec();
    if (!DesignOptionsForm->Confirmed)
        return;
    DesignOutcome outcome = RunDesignSearch(this, *net_, DesignOptionsForm->Options);
    if (DesignForm == nullptr) {
        DesignForm = new TDesignForm(this);
        ui::ConnectHandler(DesignForm, &TDesignForm::ApplyRequested, this,
                           &TForm1::ApplyDesignClick);
        ui::ConnectHandler(DesignForm, &TDesignForm::ChosenChanged, this,
                           &TForm1::DesignShownChanged);
        ui::ConnectHandler(DesignForm, &TDesignForm::Closed, this, &TForm1::DesignShownChanged);
        // At the main window's right edge, where it hides the least of the drawing.
        const QRect frame = frameGeometry();
        DesignForm->move(std::max(frame.left(), frame.right() - DesignForm->width()),
                         frame.top() + 40);
    }
    DesignForm->ShowOutcome(std::move(outcome));
    DesignForm->show();
    DesignForm->raise();
    DesignForm->activateWindow();
    DesignShownChanged();
}

void TForm1::ApplyDesignClick() {
    const design::Design* chosen = DesignForm->ChosenDesign();
    if (chosen == nullptr)
        return;
    DesignForm->CheckMadeFor(*net_);
    const design::Design applied = *chosen;
    RunAsStep([this, &applied] { design::ApplyDesign(*net_, applied); });
    // The design is the network now: nothing is left to draw over it.
    DesignForm->close();
    RedrawAll();
}

void TForm1::DesignShownChanged() {
    PaintNetworkAndStatus();
}

void TForm1::PaintDesignProposal() {
    if (DesignForm == nullptr || !DesignForm->Showing())
        return;
    const design::Design* shown = DesignForm->ChosenDesign();
    if (shown == nullptr)
        return;
    const net::TNetObj& net = *net_;
    Image1->Paint([&net, shown](paint::CanvasPainter& canvas) {
        paint::PaintDesign(canvas, net, shown->Channels);
    });
}
