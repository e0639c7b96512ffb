// The window shown while the design search runs: the best cost found, the
// bound, the gap between them, the time taken out of the limit, and "Отмена",
// which stops the search and keeps the best design found. The window closes
// only when the search has ended; Escape and the frame's close button ask to
// stop it as "Отмена" does.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include "network_design.h"
#include "ui_DesignProgressForm.h"

class TDesignProgressForm : public QDialog, public Ui::TDesignProgressForm {
    Q_OBJECT
public:
    // `seconds`: the time limit the progress bar fills up to.
    explicit TDesignProgressForm(double seconds, QWidget* parent = nullptr);

    // The latest figures of the search; the time shown is the window's own,
    // so that it goes on while the search reports nothing.
    void ShowProgress(const design::DesignProgress& progress);
    // The search has ended: the window closes.
    void Finish();

    bool StopAsked() const { return stopAsked_; }

    // "1234.567", "-" while no design is known.
    static QString CostText(double cost);
    // The percent by which the cost is above the bound, "-" where it does not exist.
    static QString GapText(double cost, double bound);

signals:
    void StopRequested();

public slots:
    void reject() override;

private:
    void Button1Click();
    void ShowTime();

    double seconds_;
    QElapsedTimer clock_;
    bool stopAsked_ = false;
    bool finished_ = false;
};
