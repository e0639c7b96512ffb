// The window of the routing quality: the greedy routing, the improved one
// and the bound over every splittable routing side by side, each with its
// distance to the bound, and below them the cost of the network. A click on
// a row asks the main window to mark the busiest channel of that routing, or
// the channels that limit the bound; the button asks it to make the improved
// paths the routing results. It is not modal.
#pragma once

#include <QWidget>
#include <vector>

#include "netobj.h"
#include "routing_quality.h"
#include "ui_QualityForm.h"

class TQualityForm : public QWidget, public Ui::TQualityForm {
    Q_OBJECT
public:
    explicit TQualityForm(QWidget* parent = nullptr);

    // Shows the report of `net`.
    void ShowReport(const net::TNetObj& net, const optimize::QualityReport& report);

    // The percent by which `value` is above `bound`, "-" where either is
    // missing or the bound is 0.
    static QString GapText(const std::optional<double>& value, const std::optional<double>& bound);

signals:
    // The channels of the clicked row: the busiest, or the bottlenecks.
    void ChannelsChosen(const std::vector<int>& channels);
    void ApplyRequested();

private:
    void Table1Click(int row);
    void Button1Click();
    void Button2Click();

    std::vector<std::vector<int>> rowChannels_;
};
