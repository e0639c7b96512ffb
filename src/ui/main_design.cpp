// The design advisor through the drawing's context menu: "проектирование
// сети…" asks for the options, searches in a worker thread under a progress
// window, and shows the result in its own window, whose design is drawn over
// the picture while it is open; "применить" replaces the channels by it as
// one undo step. Nothing changes the network before "применить". The report
// holds the proposed design while the window shows it for the network as it is.
#include <algorithm>

#include "DesignForm.h"
#include "DesignOptionsForm.h"
#include "design_picture.h"
#include "design_run.h"
#include "guarded_connect.h"
#include "main.h"

namespace {

// The report's account of a result; none without a proposed design.
std::optional<paint::DesignSummary> SummaryOf(const DesignOutcome& outcome) {
    const design::DesignResult& result = outcome.Result;
    if (!result.Proposed)
        return std::nullopt;
    paint::DesignSummary summary;
    summary.Status = outcome.Status == design::DesignStatus::Optimal ? "оптимальное решение"
                     : result.Cancelled ? "поиск прерван: лучшее найденное решение"
                                        : "поиск остановлен по времени: лучшее найденное решение";
    summary.Cost = result.Proposed->Cost;
    summary.Bound = result.Bound;
    for (const design::DesignChannel& c : result.Proposed->Channels)
        summary.Channels.push_back({c.HostA, c.HostB, c.Type, c.Kept});
    return summary;
}

}  // namespace

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
    UpdateDesignSummary();
    PaintNetworkAndStatus();
}

void TForm1::UpdateDesignSummary() {
    const bool current =
        DesignForm != nullptr && DesignForm->Showing() && DesignForm->MadeFor(*net_);
    design_ = current ? SummaryOf(DesignForm->Outcome()) : std::nullopt;
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
