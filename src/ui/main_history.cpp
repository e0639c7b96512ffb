// Undo and redo of the user's changes to the network: a whole copy of the
// network before every action that may change it, kept when it did. Every
// change the user makes passes here, so the report's design section is
// checked against the network here too.
#include <QAction>
#include <memory>

#include "main.h"

void TForm1::RunAsStep(const std::function<void()>& action) {
    const auto before = std::make_unique<net::TNetObj>(*net_);
    // What an action changed before an error stays changed, so it is a step too.
    auto record = [this, &before] {
        if (!net::SameNetwork(*before, *net_)) {
            history_.Record(*before);
            UpdateDesignSummary();
        }
        UpdateHistoryActions();
    };
    try {
        action();
    } catch (...) {
        record();
        throw;
    }
    record();
}

void TForm1::UndoClick() {
    if (!history_.CanUndo())
        return;
    history_.Undo(*net_);
    ShowRestoredNetwork();
}

void TForm1::RedoClick() {
    if (!history_.CanRedo())
        return;
    history_.Redo(*net_);
    ShowRestoredNetwork();
}

void TForm1::ShowRestoredNetwork() {
    UpdateHistoryActions();
    UpdateDesignSummary();
    PaintNetworkAndStatus();
    N19->setChecked(net_->DynamicRouting);
    UpdatePrTree();
}

void TForm1::UpdateHistoryActions() {
    UndoAction->setEnabled(history_.CanUndo());
    RedoAction->setEnabled(history_.CanRedo());
}
