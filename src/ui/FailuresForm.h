// The window of the single-failure analysis: one row for the network without
// failure, then one per failed channel or host, worst first. A click on a row
// asks the main window to mark the failed element on the drawing. It is not
// modal: the user may keep it open beside the drawing.
#pragma once

#include <QWidget>
#include <vector>

#include "failures.h"
#include "netobj.h"
#include "ui_FailuresForm.h"

class TFailuresForm : public QWidget, public Ui::TFailuresForm {
    Q_OBJECT
public:
    explicit TFailuresForm(QWidget* parent = nullptr);

    // Shows the rows of the analysis of `net`, in their order.
    void ShowRows(const net::TNetObj& net, const std::vector<net::FailureRow>& rows);

signals:
    // The failed element of the clicked row: its kind (net::FailedKind) and number.
    void ElementChosen(int kind, int number);

private:
    void Table1Click(int row);
    void Button1Click();
    void FitWidthToColumns();

    std::vector<net::FailureRow> rows_;
};
