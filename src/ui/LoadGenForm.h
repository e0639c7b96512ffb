// The dialog of "нагрузка…": a whole load table made in one step — uniform
// random, split by weights (with or without distance), multiplied by a
// factor, loaded to a share of what the network can carry, or made
// symmetric — with the total and the largest load it would give shown while
// the parameters are typed. The network is only read here; the main window
// puts the confirmed table in place.
#pragma once

#include <QDialog>

#include "load_generators.h"
#include "netobj.h"
#include "ui_LoadGenForm.h"

class TLoadGenForm : public QDialog, public Ui::TLoadGenForm {
    Q_OBJECT
public:
    // The entries of KindBox, in its order.
    enum Kind { kUniform, kGravity, kDistance, kFactor, kTarget, kSymmetric };

    explicit TLoadGenForm(QWidget* parent = nullptr);

    // The network the table is made for; it must outlive the dialog's showing.
    void ShowNetwork(const net::TNetObj& network);

    // The table the fields describe; raises NetError naming a bad value.
    net::LoadTable ComputeLoads() const;

    // Set by Button1Click alone, with the table it computed; cleared at every showing.
    bool Confirmed = false;
    net::LoadTable Loads{};

    // The page of the chosen kind, then the preview.
    void KindChanged();
    // The total and the largest load of the table, or why there is none.
    void UpdatePreview();
    // Computes the table; a good one confirms and closes.
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    net::LoadTable GeneratedLoads() const;

    const net::TNetObj* network_ = nullptr;
};
