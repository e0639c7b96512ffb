#include "QualityForm.h"

#include <QHeaderView>
#include <QStringList>
#include <QTableWidgetItem>

#include "cost_text.h"
#include "guarded_connect.h"

namespace {

const QStringList Captions = {
    QStringLiteral("маршрутизация"),        QStringLiteral("размещено"),
    QStringLiteral("не\nразмещено"),        QStringLiteral("неразмещённая\nнагрузка"),
    QStringLiteral("средняя\nзадержка"),    QStringLiteral("выше границы\nзадержки, %"),
    QStringLiteral("наибольшая\nзагрузка"), QStringLiteral("выше границы\nзагрузки, %"),
};

QString Figure(const std::optional<double>& value) {
    return QString::fromStdString(optimize::FigureText(value));
}

QString ChannelName(const net::TNetObj& net, int channel) {
    const net::ChannelRecord& record = net.Channels[channel];
    return QStringLiteral("%1 (%2-%3)").arg(channel).arg(record.HostA).arg(record.HostB);
}

std::optional<double> DelayLower(const optimize::QualityBounds& bounds) {
    if (!bounds.Delay)
        return std::nullopt;
    return bounds.Delay->Lower;
}

QStringList RoutingCells(const QString& name, const optimize::RoutingFigures& figures,
                         const optimize::QualityBounds& bounds) {
    return {name,
            QString::number(figures.Placed),
            QString::number(figures.Unplaced),
            QString::number(figures.UnplacedLoad),
            Figure(figures.MeanDelay),
            TQualityForm::GapText(figures.MeanDelay, DelayLower(bounds)),
            Figure(figures.Busiest),
            TQualityForm::GapText(figures.Busiest, bounds.BusiestMin)};
}

QStringList BoundCells(const optimize::QualityBounds& bounds) {
    return {QStringLiteral("граница"),          QString::number(bounds.Carried),
            QString::number(bounds.NotCarried), QString::number(bounds.NotCarriedLoad),
            Figure(DelayLower(bounds)),         QString(),
            Figure(bounds.BusiestMin),          QString()};
}

QString BoundText(const net::TNetObj& net, const optimize::QualityBounds& bounds) {
    if (!bounds.BusiestMin)
        return QStringLiteral("Нет требований, которые можно провести: границы нет.");
    if (bounds.LoadDoesNotFit()) {
        QStringList channels;
        for (const int32_t channel : bounds.Bottlenecks)
            channels << ChannelName(net, channel);
        return QStringLiteral(
                   "Нагрузку не провести никакой маршрутизацией: даже при делении "
                   "требований между путями самый загруженный канал занят на %1 "
                   "своей пропускной способности. Узкие каналы: %2.")
            .arg(Figure(bounds.BusiestMin), channels.join(QStringLiteral(", ")));
    }
    const optimize::DelayBound& delay = *bounds.Delay;
    QString text = delay.GapReached
                       ? QStringLiteral(
                             "Средняя задержка любой маршрутизации не меньше %1; маршрутизация "
                             "с делением требований достигает %2.")
                             .arg(Figure(delay.Lower), Figure(delay.Upper))
                       : QStringLiteral(
                             "Расчёт границы задержки остановлен после %1 проходов, не достигнув "
                             "точности: граница не меньше %2, достигнуто %3.")
                             .arg(delay.Passes)
                             .arg(Figure(delay.Lower), Figure(delay.Upper));
    if (bounds.NotCarried > 0)
        text += QStringLiteral(
                    " Требований между несвязанными частями сети: %1, их нагрузка %2 — "
                    "в границу они не входят.")
                    .arg(bounds.NotCarried)
                    .arg(bounds.NotCarriedLoad);
    return text;
}

std::vector<int> Busiest(const optimize::RoutingFigures& figures) {
    if (figures.BusiestChannel == 0)
        return {};
    return {figures.BusiestChannel};
}

}  // namespace

TQualityForm::TQualityForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setupUi(this);
    Table1->setColumnCount(static_cast<int>(Captions.size()));
    Table1->setHorizontalHeaderLabels(Captions);
    Table1->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Table1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    ui::ConnectHandler(Table1, &QTableWidget::cellClicked, this, &TQualityForm::Table1Click);
    ui::ConnectHandler(Button1, &QPushButton::clicked, this, &TQualityForm::Button1Click);
    ui::ConnectHandler(Button2, &QPushButton::clicked, this, &TQualityForm::Button2Click);
}

QString TQualityForm::GapText(const std::optional<double>& value,
                              const std::optional<double>& bound) {
    if (!value || !bound || *bound <= 0.0)
        return QStringLiteral("-");
    return QString::number((*value - *bound) / *bound * 100.0, 'f', 2);
}

void TQualityForm::ShowReport(const net::TNetObj& net, const optimize::QualityReport& report) {
    const std::vector<QStringList> rows = {
        RoutingCells(QStringLiteral("жадная"), report.Greedy, report.Bounds),
        RoutingCells(QStringLiteral("улучшенная"), report.Improved, report.Bounds),
        BoundCells(report.Bounds)};
    rowChannels_ = {
        Busiest(report.Greedy), Busiest(report.Improved),
        std::vector<int>(report.Bounds.Bottlenecks.begin(), report.Bounds.Bottlenecks.end())};
    Table1->clearContents();
    Table1->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(rows[r][c]);
            if (c >= 1)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Table1->setItem(r, c, item);
        }
    }
    Label2->setText(BoundText(net, report.Bounds));
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
