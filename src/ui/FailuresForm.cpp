#include "FailuresForm.h"

#include <QHeaderView>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <QStringList>
#include <QTableWidgetItem>

#include "guarded_connect.h"
#include "numconv.h"
#include "texts.h"

namespace {

// Two lines where a caption is wider than its figures, so the table fits beside the drawing.
const QStringList Captions = {
    QStringLiteral("отказ"),
    QStringLiteral("связность"),
    QStringLiteral("размещено"),
    QStringLiteral("не\nразмещено"),
    QStringLiteral("неразмещённая\nнагрузка"),
    QStringLiteral("ушло с\nмаршрутизатором"),
    QStringLiteral("ушедшая\nнагрузка"),
    QStringLiteral("наибольшая сумма\nзадержек"),
    QStringLiteral("самый\nзагруженный канал"),
    QStringLiteral("его\nостаток"),
};

QString ChannelName(const net::TNetObj& net, int channel) {
    const net::ChannelRecord& record = net.Channels[channel];
    return QStringLiteral("%1 (%2-%3)").arg(channel).arg(record.HostA).arg(record.HostB);
}

QString FailedElement(const net::TNetObj& net, const net::FailureRow& row) {
    switch (row.Kind) {
        case net::FailedKind::Channel:
            return QStringLiteral("канал ") + ChannelName(net, row.Element);
        case net::FailedKind::Host:
            return QStringLiteral("маршрутизатор %1").arg(row.Element);
        case net::FailedKind::None:
            break;
    }
    return QStringLiteral("нет");
}

QStringList Cells(const net::TNetObj& net, const net::FailureRow& row) {
    const bool anyPath = row.PlacedCount > 0;
    const bool anyChannel = net::IsChannelNumber(row.BusiestChannel);
    return {
        FailedElement(net, row),
        QString::fromStdString(net::ClassText(row.Class)),
        QString::number(row.PlacedCount),
        QString::number(row.UnplacedCount),
        QString::number(row.UnplacedLoad),
        QString::number(row.LostCount),
        QString::number(row.LostLoad),
        anyPath ? QString::fromStdString(net::FormatFixed3(row.MaxPathDelay)) : QStringLiteral("-"),
        anyChannel ? ChannelName(net, row.BusiestChannel) : QStringLiteral("-"),
        anyChannel ? QString::number(row.BusiestResidual) : QStringLiteral("-"),
    };
}

}  // namespace

TFailuresForm::TFailuresForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setupUi(this);
    Table1->setColumnCount(static_cast<int>(Captions.size()));
    Table1->setHorizontalHeaderLabels(Captions);
    Table1->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Table1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    ui::ConnectHandler(Table1, &QTableWidget::cellClicked, this, &TFailuresForm::Table1Click);
    ui::ConnectHandler(Button1, &QPushButton::clicked, this, &TFailuresForm::Button1Click);
}

void TFailuresForm::ShowRows(const net::TNetObj& net, const std::vector<net::FailureRow>& rows) {
    rows_ = rows;
    Table1->clearContents();
    Table1->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const QStringList cells = Cells(net, rows[r]);
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Table1->setItem(r, c, item);
        }
    }
    FitWidthToColumns();
}

// Wide enough to show every column without scrolling sideways, as far as the
// screen allows; the height stays what the user made it.
void TFailuresForm::FitWidthToColumns() {
    const int tableWidth = Table1->horizontalHeader()->length() +
                           Table1->verticalScrollBar()->sizeHint().width() +
                           2 * Table1->frameWidth();
    const QMargins margins = layout()->contentsMargins();
    const int wanted = tableWidth + margins.left() + margins.right();
    const int available = screen() != nullptr ? screen()->availableGeometry().width() : wanted;
    resize(std::min(wanted, available), height());
}

void TFailuresForm::Table1Click(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return;
    emit ElementChosen(static_cast<int>(rows_[row].Kind), rows_[row].Element);
}

void TFailuresForm::Button1Click() {
    close();
}
