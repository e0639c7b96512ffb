// The window of the design advisor's result: the network as it is (its cost
// and how the method routes it), the proposed design with its cost, the
// bound and the status of the search, the method's figures on it, the
// design the method carries completely when the proposed one is not, and
// the channel types left out. The main window draws the design shown here
// over its picture while the window is open, and applies it on request. It
// is not modal.
#pragma once

#include <QWidget>
#include <vector>

#include "design_run.h"
#include "ui_DesignForm.h"

class TDesignForm : public QWidget, public Ui::TDesignForm {
    Q_OBJECT
public:
    explicit TDesignForm(QWidget* parent = nullptr);

    void ShowOutcome(DesignOutcome outcome);
    const DesignOutcome& Outcome() const { return outcome_; }

    // The design chosen in the list, nullptr when there is none.
    const design::Design* ChosenDesign() const;
    // True from ShowOutcome until the window is closed.
    bool Showing() const { return showing_; }
    // False when `net` is no longer the network designed for in what the
    // design rests on: hosts and their places, loads, channel types and,
    // with the present channels kept, those channels.
    bool MadeFor(const net::TNetObj& net) const;
    // Raises a NetError where MadeFor is false.
    void CheckMadeFor(const net::TNetObj& net) const;

signals:
    // Another design was chosen in the list.
    void ChosenChanged();
    void ApplyRequested();
    void Closed();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void ComboBox1Change(int index);
    void Button1Click();
    void Button2Click();
    void ShowChosen();

    DesignOutcome outcome_;
    // The designs of the list, in its order.
    std::vector<const design::Design*> variants_;
    bool showing_ = false;
};
