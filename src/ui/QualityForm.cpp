#include "QualityForm.h"

#include <QHeaderView>
#include <QStringList>
#include <QTableWidgetItem>

#include "cost_text.h"
#include "guarded_connect.h"
#include "quality_text.h"

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::vector<int> Busiest(const optimize::RoutingFigures& figures) {
    if (figures.BusiestChannel == 0)
        return {};
    return {figures.BusiestChannel};
}

}  // namespace

TQualityForm::TQualityForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setupUi(this);
    QStringList captions;
    for (const std::string& caption : optimize::QualityCaptions())
        captions << Text(caption);
    Table1->setColumnCount(static_cast<int>(captions.size()));
    Table1->setHorizontalHeaderLabels(captions);
    Table1->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Table1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    ui::ConnectHandler(Table1, &QTableWidget::cellClicked, this, &TQualityForm::Table1Click);
    ui::ConnectHandler(Button1, &QPushButton::clicked, this, &TQualityForm::Button1Click);
    ui::ConnectHandler(Button2, &QPushButton::clicked, this, &TQualityForm::Button2Click);
}

QString TQualityForm::GapText(const std::optional<double>& value,
                              const std::optional<double>& bound) {
    return Text(optimize::GapText(value, bound));
}

void TQualityForm::ShowReport(const net::TNetObj& net, const optimize::QualityReport& report) {
    const std::vector<std::vector<std::string>> rows = optimize::QualityRows(report);
    rowChannels_ = {
        Busiest(report.Greedy), Busiest(report.Improved),
        std::vector<int>(report.Bounds.Bottlenecks.begin(), report.Bounds.Bottlenecks.end())};
    Table1->clearContents();
    Table1->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c) {
            auto* item = new QTableWidgetItem(Text(rows[r][c]));
            if (c >= 1)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Table1->setItem(r, c, item);
        }
    }
    Label2->setText(Text(optimize::BoundSentence(net, report.Bounds)));
    Label3->setText(QStringLiteral("Сеть: %1 (сумма по каналам: второе число типа × длина).")
                        .arg(NetworkCostText(net::NetworkCost(net))));
}

void TQualityForm::Table1Click(int row) {
    if (row < 0 || row >= static_cast<int>(rowChannels_.size()))
        return;
    emit ChannelsChosen(rowChannels_[row]);
}

void TQualityForm::Button1Click() {
    close();
}

void TQualityForm::Button2Click() {
    emit ApplyRequested();
}
